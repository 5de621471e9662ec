// The library's process-wide state. The last-error slot belongs to applications: the library never writes it.
#include "LxLibrary.h"

namespace {
int g_lastError = 0;
}

void LxSetLastError(int value) { g_lastError = value; }
int LxGetLastError(void) { return g_lastError; }
