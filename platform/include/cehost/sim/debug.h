// Host extension: reading and echoing the debug output (OutputDebugStringW, NKDbgPrintfW, DEBUGCHK).
#pragma once
#include <windows.h>

#include <string>

namespace cehost::sim {

// Starts collecting the debug output, dropping whatever was collected before.
void StartDebugCapture();
// What was written since the capture started or was last taken, exactly as written; collection goes on.
std::u16string TakeDebugOutput();
// Stops collecting and drops what was collected.
void StopDebugCapture();
// Echo to standard error (as UTF-8) on or off; the default comes from CEHOST_DEBUG (1 = on).
void SetDebugEcho(bool on);

} // namespace cehost::sim
