// Kernel services: last error, and (from other pieces) time, debug output and processes.
#pragma once
#include <cehost/win/types.h>

CEHOST_API DWORD WINAPI GetLastError(void);
CEHOST_API void WINAPI SetLastError(DWORD code);
