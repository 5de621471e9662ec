// The input method manager's state: one input context for the user-interface thread, open or closed, and
// the composition it is building for one target window.
#pragma once

#include "imm/HangulComposer.h"
#include "imm/KeypadComposer.h"

#include <windows.h>

#include <string>

namespace cehost::imm {

class InputMethod {
public:
    static InputMethod& Instance();

    HIMC Context() const;
    bool IsContext(HIMC himc) const { return himc != nullptr && himc == Context(); }

    bool IsOpen() const { return m_open; }
    // Switching off completes the composition first. Tells `notify` (if any) with WM_IME_NOTIFY.
    void SetOpen(bool open, HWND notify);

    UINT ToggleKey() const { return m_toggleKey; }
    void SetToggleKey(UINT vk) { m_toggleKey = vk; }
    UINT LastProcessedKey() const { return m_lastKey; }

    // Whether a key-down becomes VK_PROCESSKEY: the toggle key, the letters while open, Backspace while a
    // syllable is being built, and any other key but a modifier while a composition is showing.
    bool WantsKey(UINT vk) const;
    void TakeKey(UINT vk) { m_lastKey = vk; }
    // The composition step of a key the input method took, sent to `hwnd`; a key that is not the method's
    // own finishes the composition and comes back to `hwnd` as WM_IME_KEYDOWN with `keyData`.
    void ProcessKeyDown(HWND hwnd, UINT vk, LPARAM keyData);
    // A key the input method did not take: it finishes the syllable (modifier keys excepted).
    void KeyPassing(UINT vk);
    // Finishes the composition into its target window; nothing when nothing is composing.
    void Complete();
    // Drops the composition; the target sees a WM_IME_COMPOSITION without strings, then the end.
    void Cancel();
    HWND Target() const { return m_target; }

    // 12-key input: the keypad's digits, * (VK_F8) and # (VK_F9) compose text while an edit has the focus.
    bool KeypadInput() const { return m_keypadInput; }
    void SetKeypadInput(bool on);
    KeypadMode KeypadInputMode() const { return m_keypad.Mode(); }
    void SetKeypadInputMode(KeypadMode mode, HWND notify);
    // Finishes a pending multi-tap letter once its key has not come again in time.
    void LetterTimeout();
    // The mode the indicator strip shows for the focused window, or "" when it takes no text.
    std::u16string ModeLabel() const;

    // The strings as ImmGetCompositionStringW reports them.
    const std::u16string& CompositionString() const { return m_composing; }
    const std::u16string& ResultString() const { return m_result; }

    // Told after a composition ends in a window, whether or not the window let WM_IME_ENDCOMPOSITION reach
    // its class: a control that draws the composition drops it here even when a subclass swallowed the end.
    using EndObserver = void (*)(HWND hwnd);
    void SetEndObserver(EndObserver observer) { m_endObserver = observer; }

private:
    InputMethod();
    void Deliver(HWND hwnd, const std::u16string& committed, const std::u16string& composing);
    void EndIfIdle(HWND hwnd);

    bool ComposesWith(UINT vk) const;
    bool KeypadWantsKey(UINT vk) const;
    void KeypadKeyDown(HWND hwnd, UINT vk);
    bool Composing() const { return m_composer.IsComposing() || m_keypad.IsComposing(); }
    std::u16string FinishComposer();
    void SetLetterTimer();

    HangulComposer m_composer;
    KeypadComposer m_keypad;
    bool m_keypadInput = false;
    UINT_PTR m_letterTimer = 0;
    bool m_open = false;
    UINT m_toggleKey;
    UINT m_lastKey = 0;
    HWND m_target = nullptr;
    bool m_started = false;
    std::u16string m_composing;
    std::u16string m_result;
    EndObserver m_endObserver = nullptr;
};

} // namespace cehost::imm
