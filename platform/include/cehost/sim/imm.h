// Host extension for the input method: which key switches the Korean input method on and off.
#pragma once
#include <windows.h>

// The key that toggles the input method (VK_HANGUL by default, or the virtual-key code given in the
// environment variable CEHOST_IME_TOGGLE_KEY, decimal or 0x-hex). 0 leaves only ImmSetOpenStatus.
CEHOST_API void WINAPI CehostSetImeToggleKey(UINT vk);
CEHOST_API UINT WINAPI CehostGetImeToggleKey(void);
