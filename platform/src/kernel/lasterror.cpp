// The calling thread's last-error slot. The platform has one user-interface thread, but the slot is
// thread-local as on Windows so that a worker thread never sees another thread's error.
#include <windows.h>

static thread_local DWORD t_lastError = ERROR_SUCCESS;

extern "C" DWORD GetLastError(void) { return t_lastError; }
extern "C" void SetLastError(DWORD code) { t_lastError = code; }
