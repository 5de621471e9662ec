// Host extension for the input method: which key switches the Korean input method on and off.
#pragma once
#include <windows.h>

// The key that toggles the input method (VK_HANGUL by default, or the virtual-key code given in the
// environment variable CEHOST_IME_TOGGLE_KEY, decimal or 0x-hex). 0 leaves only ImmSetOpenStatus.
CEHOST_API void WINAPI CehostSetImeToggleKey(UINT vk);
CEHOST_API UINT WINAPI CehostGetImeToggleKey(void);

#ifdef __cplusplus
#include <string>

namespace cehost::sim {

// 12-key input: while on, the keypad's digits, * (VK_F8) and # (VK_F9) go to the input method whenever an
// edit has the focus. # cycles the modes 한 (the vowel-stroke Korean method), A and a (multi-tap Latin) and
// 123 (digits). Switching it on starts in 한; off, the PC keyboard's letters type again (the default).
void SetKeypadInput(bool on);
bool KeypadInput();
// What the indicator strip shows for the focused window: "한", "A", "a" or "123", or "" when the focused
// window takes no text.
std::u16string InputModeLabel();

} // namespace cehost::sim
#endif
