// Process-wide services of the library: the application's last-error slot (more joins with the framework).
#pragma once

#include <windows.h>

void LxSetLastError(int value);
int LxGetLastError(void);
