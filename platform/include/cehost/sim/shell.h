// Host extension for the shell: the indicator strip the system draws over the top rows of the screen.
#pragma once
#include <windows.h>

namespace cehost::sim {

constexpr int kIndicatorStripHeight = 21;

// Shows the strip (a topmost window across the screen's top 21 rows, repainted when the minute, the input
// mode or the orientation changes) or removes it. The simulator's main() shows it unless told --no-strip;
// tests that want it call this. False when the window could not be created.
bool ShowIndicatorStrip(bool show);
// The strip's window, or NULL while it is not shown.
HWND IndicatorStripWindow();

} // namespace cehost::sim
