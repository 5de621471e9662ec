// The simulator's desktop window, as the simulator's main() starts it.
#pragma once

#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

namespace cehost::sim {

// Runs the application's WinMain with the window pumped from its message loop's idle turns, playing `steps`
// (the key script, possibly empty) first. Returns the process exit code (WinMain's result, 2 when the window or
// the key map could not be set up, 3 when the script failed).
int RunInWindow(const SimOptions& options, const WindowOptions& window, std::vector<ScriptStep> steps,
                const std::u16string& commandLine, WinMainProc winMain, const char* program);

} // namespace cehost::sim
