// Debug output: OutputDebugStringW, NKDbgPrintfW and the debug-check and retail-message macros.
// The text goes to standard error when debug output is enabled (environment variable CEHOST_DEBUG=1, or
// cehost::sim::SetDebugEcho) and to the capture of cehost/sim/debug.h, where tests read it.
#pragma once
#include <cehost/win/types.h>

CEHOST_API void WINAPI OutputDebugStringW(LPCWSTR text);
// Formats as _vsnwprintf does (%s takes 16-bit text) with no length limit.
CEHOST_API void WINAPIV NKDbgPrintfW(LPCWSTR format, ...);
// Stops in the debugger when one is attached; without one it returns, as there is nobody to stop for.
CEHOST_API void WINAPI DebugBreak(void);

// A failed check writes one line naming the file and line, then breaks into the debugger. The checks stay
// on in every build: the host is a development platform, and tests read the line.
#define DEBUGCHK(exp)                                                                                          \
    ((void)((exp) ? 1                                                                                          \
                  : (NKDbgPrintfW(TEXT("%s: DEBUGCHK failed in file %s at line %d \r\n"), TEXT("Unknown"),    \
                                  TEXT(__FILE__), __LINE__),                                                   \
                     DebugBreak(), 0)))

// RETAILMSG(condition, (format, arguments...)): a formatted line when the condition holds.
#define RETAILMSG(cond, printf_exp) ((void)((cond) ? (NKDbgPrintfW printf_exp), 1 : 0))
