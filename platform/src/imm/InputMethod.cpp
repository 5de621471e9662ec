// The input method manager: key filtering while the Korean input method is open, the composition messages,
// and the Imm* functions applications call. Composition messages are sent (not posted) to the window that
// had the focus when the key was taken, so that a window's view of the strings is always current.
#include "imm/InputMethod.h"

#include "internal/user_hooks.h"

#include <imm.h>
#include <cehost/sim/imm.h>

#include <cstdlib>
#include <cstring>

namespace cehost::imm {

namespace {

// The thread's one input context. Any stable non-null value that is not a pointer will do.
HIMC const kContext = reinterpret_cast<HIMC>(static_cast<uintptr_t>(0x494D43));

constexpr LPARAM kCompositionFlags = GCS_COMPSTR | GCS_COMPATTR | CS_INSERTCHAR | CS_NOMOVECARET;

UINT ToggleKeyFromEnvironment()
{
    const char* text = std::getenv("CEHOST_IME_TOGGLE_KEY");
    if (text == nullptr || *text == 0)
        return VK_HANGUL;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 0);
    if (end == text || *end != 0 || value > 0xFF)
        return VK_HANGUL;
    return static_cast<UINT>(value);
}

bool IsModifierKey(UINT vk)
{
    switch (vk) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_CAPITAL:
        return true;
    default:
        return false;
    }
}

bool IsDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Where typed text can go: a system edit that is not read-only.
bool TakesText(HWND hwnd)
{
    if (hwnd == nullptr || !IsWindow(hwnd))
        return false;
    WCHAR name[16] = {};
    if (GetClassNameW(hwnd, name, 16) != 4)
        return false;
    const char16_t* edit = u"edit";
    for (int i = 0; i < 4; ++i)
        if ((name[i] | 0x20) != edit[i])
            return false;
    return (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) == 0;
}

char KeypadKey(UINT vk) { return vk == VK_F8 ? '*' : vk == VK_F9 ? '#' : static_cast<char>(vk); }

void CALLBACK LetterTimerProc(HWND, UINT, UINT_PTR, DWORD) { InputMethod::Instance().LetterTimeout(); }

} // namespace

InputMethod& InputMethod::Instance()
{
    static InputMethod instance;
    return instance;
}

InputMethod::InputMethod() : m_toggleKey(ToggleKeyFromEnvironment()) {}

HIMC InputMethod::Context() const { return kContext; }

void InputMethod::SetOpen(bool open, HWND notify)
{
    if (open == m_open)
        return;
    if (!open || m_keypadInput)
        Complete();
    m_open = open;
    if (m_keypadInput)
        m_keypad.SetMode(open ? KeypadMode::Hangul : KeypadMode::Upper);
    if (notify != nullptr && IsWindow(notify))
        SendMessageW(notify, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
}

bool InputMethod::WantsKey(UINT vk) const
{
    if (m_toggleKey != 0 && vk == m_toggleKey)
        return true;
    if (ComposesWith(vk))
        return true;
    // Any other key finishes what is showing and is then handed back, so that what it does itself (move the
    // caret, the focus) comes after the finished text: the text arrives as posted characters.
    return (Composing() || !m_composing.empty()) && !IsModifierKey(vk) && vk != VK_PROCESSKEY;
}

bool InputMethod::ComposesWith(UINT vk) const
{
    if (m_keypadInput)
        return KeypadWantsKey(vk);
    if (!m_open)
        return false;
    if (vk >= 'A' && vk <= 'Z')
        return !IsDown(VK_CONTROL) && !IsDown(VK_MENU);
    return vk == VK_BACK && m_composer.IsComposing();
}

void InputMethod::KeyPassing(UINT vk)
{
    if (!IsModifierKey(vk))
        Complete();
}

void InputMethod::ProcessKeyDown(HWND hwnd, UINT vk, LPARAM keyData)
{
    if (m_toggleKey != 0 && vk == m_toggleKey) {
        SetOpen(!m_open, hwnd);
        return;
    }
    if (!ComposesWith(vk)) {
        Complete();
        if (IsWindow(hwnd))
            SendMessageW(hwnd, WM_IME_KEYDOWN, vk, keyData);
        return;
    }
    if (m_keypadInput) {
        KeypadKeyDown(hwnd, vk);
        return;
    }
    if (!m_open)
        return;
    if (m_target != nullptr && m_target != hwnd)
        Complete();
    if (vk >= 'A' && vk <= 'Z') {
        char ascii = static_cast<char>(IsDown(VK_SHIFT) ? vk : vk - 'A' + 'a');
        ComposeResult step = m_composer.Key(ascii);
        Deliver(hwnd, step.committed, step.composing);
    } else if (vk == VK_BACK && m_composer.IsComposing()) {
        ComposeResult step = m_composer.Backspace();
        Deliver(hwnd, std::u16string(), step.composing);
    }
}

void InputMethod::SetKeypadInput(bool on)
{
    if (on == m_keypadInput)
        return;
    Complete();
    m_keypadInput = on;
    if (on) {
        // Keypad input starts in Korean, as the phones do.
        m_keypad.SetMode(KeypadMode::Hangul);
        m_open = true;
    }
}

void InputMethod::SetKeypadInputMode(KeypadMode mode, HWND notify)
{
    Complete();
    m_keypad.SetMode(mode);
    const bool open = mode == KeypadMode::Hangul;
    if (open != m_open) {
        m_open = open;
        if (notify != nullptr && IsWindow(notify))
            SendMessageW(notify, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    }
    if (notify != nullptr && IsWindow(notify))
        SendMessageW(notify, WM_IME_NOTIFY, IMN_SETCONVERSIONMODE, 0);
}

bool InputMethod::KeypadWantsKey(UINT vk) const
{
    if (!TakesText(GetFocus()) || IsDown(VK_CONTROL) || IsDown(VK_MENU))
        return false;
    if (vk == VK_F8 || vk == VK_F9)
        return true;
    if (vk >= '0' && vk <= '9')
        return m_keypad.Mode() != KeypadMode::Digits; // digits type themselves through TranslateMessage
    // Backspace takes back a letter or a jamo, and the right arrow only finishes what is being composed.
    return (vk == VK_BACK || vk == VK_RIGHT) && m_keypad.IsComposing();
}

void InputMethod::KeypadKeyDown(HWND hwnd, UINT vk)
{
    if (m_target != nullptr && m_target != hwnd)
        Complete();
    if (vk == VK_RIGHT) {
        Complete();
        return;
    }
    if (vk == VK_BACK) {
        ComposeResult step = m_keypad.Backspace();
        Deliver(hwnd, std::u16string(), step.composing);
        SetLetterTimer();
        return;
    }
    const KeypadMode before = m_keypad.Mode();
    ComposeResult step = m_keypad.Key(KeypadKey(vk), GetTickCount());
    Deliver(hwnd, step.committed, step.composing);
    SetLetterTimer();
    if (m_keypad.Mode() != before) {
        const bool open = m_keypad.Mode() == KeypadMode::Hangul;
        if (open != m_open) {
            m_open = open;
            if (IsWindow(hwnd))
                SendMessageW(hwnd, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
        }
        if (IsWindow(hwnd))
            SendMessageW(hwnd, WM_IME_NOTIFY, IMN_SETCONVERSIONMODE, 0);
    }
}

// A multi-tap letter waits on the clock: a thread timer (it belongs to no window) commits it when its key
// has not come again within the cycle time, and exists only while a letter waits.
void InputMethod::SetLetterTimer()
{
    if (m_keypad.LetterPending()) {
        m_letterTimer = SetTimer(nullptr, m_letterTimer, KeypadComposer::kCycleMs, &LetterTimerProc);
    } else if (m_letterTimer != 0) {
        KillTimer(nullptr, m_letterTimer);
        m_letterTimer = 0;
    }
}

void InputMethod::LetterTimeout()
{
    if (m_letterTimer != 0)
        KillTimer(nullptr, m_letterTimer);
    m_letterTimer = 0;
    if (m_keypad.LetterPending())
        Complete();
}

std::u16string InputMethod::ModeLabel() const
{
    if (!TakesText(GetFocus()))
        return std::u16string();
    if (m_keypadInput)
        return KeypadModeLabel(m_keypad.Mode());
    return m_open ? u"한" : u"a";
}

std::u16string InputMethod::FinishComposer()
{
    std::u16string done = m_composer.Complete();
    done += m_keypad.Complete();
    SetLetterTimer();
    return done;
}

void InputMethod::Deliver(HWND hwnd, const std::u16string& committed, const std::u16string& composing)
{
    bool hadComposition = !m_composing.empty();
    if (committed.empty() && composing.empty() && !hadComposition)
        return;
    m_target = hwnd;
    if (!m_started) {
        m_started = true;
        m_result.clear();
        SendMessageW(hwnd, WM_IME_STARTCOMPOSITION, 0, 0);
        if (m_target != hwnd)
            return; // the window gave the composition away while starting it
    }
    // State first: the window reads it back through ImmGetCompositionStringW while handling the message.
    m_result = committed;
    m_composing = composing;
    LPARAM flags = 0;
    WPARAM latest = 0;
    if (!committed.empty()) {
        flags |= GCS_RESULTSTR;
        latest = committed.back();
    }
    if (!composing.empty() || hadComposition) {
        flags |= kCompositionFlags;
        if (!composing.empty())
            latest = composing.back();
    }
    SendMessageW(hwnd, WM_IME_COMPOSITION, latest, flags);
    EndIfIdle(hwnd);
}

void InputMethod::EndIfIdle(HWND hwnd)
{
    if (!m_composing.empty() || !m_started)
        return;
    m_started = false;
    m_target = nullptr;
    if (IsWindow(hwnd))
        SendMessageW(hwnd, WM_IME_ENDCOMPOSITION, 0, 0);
    if (m_endObserver != nullptr && IsWindow(hwnd))
        m_endObserver(hwnd);
}

void InputMethod::Complete()
{
    if (!Composing() && m_composing.empty())
        return;
    HWND hwnd = m_target;
    std::u16string done = FinishComposer();
    if (hwnd == nullptr || !IsWindow(hwnd)) {
        m_composing.clear();
        m_started = false;
        m_target = nullptr;
        return;
    }
    m_result = done;
    m_composing.clear();
    if (!done.empty())
        SendMessageW(hwnd, WM_IME_COMPOSITION, done.back(), GCS_RESULTSTR);
    EndIfIdle(hwnd);
}

void InputMethod::Cancel()
{
    if (!Composing() && m_composing.empty())
        return;
    HWND hwnd = m_target;
    m_composer.Cancel();
    m_keypad.Cancel();
    SetLetterTimer();
    m_composing.clear();
    m_result.clear();
    if (hwnd != nullptr && IsWindow(hwnd))
        SendMessageW(hwnd, WM_IME_COMPOSITION, 0, 0);
    EndIfIdle(hwnd);
}

} // namespace cehost::imm

using cehost::imm::InputMethod;

namespace {

// The window manager's hooks. A key the input method wants becomes VK_PROCESSKEY when it is taken from the
// queue; the composition itself happens in TranslateMessage, so its messages reach the window before the
// key-down does, as on Windows.
bool FilterKeyInput(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && InputMethod::Instance().WantsKey(static_cast<UINT>(msg->wParam))) {
        InputMethod::Instance().TakeKey(static_cast<UINT>(msg->wParam));
        msg->wParam = VK_PROCESSKEY;
    }
    return true;
}

bool TranslateKey(const MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return false;
    InputMethod& ime = InputMethod::Instance();
    if (msg->wParam == VK_PROCESSKEY) {
        ime.ProcessKeyDown(msg->hwnd, ime.LastProcessedKey(), msg->lParam);
        return true;
    }
    // Any other key finishes the syllable first, so its text comes before the key's own character.
    ime.KeyPassing(static_cast<UINT>(msg->wParam));
    return false;
}

void FocusChanging(HWND oldFocus, HWND)
{
    InputMethod& ime = InputMethod::Instance();
    if (oldFocus != nullptr && ime.Target() == oldFocus)
        ime.Complete();
}

// DefWindowProcW: a result string becomes one WM_IME_CHAR per UTF-16 unit, and WM_IME_CHAR becomes a
// posted WM_CHAR, so a window that ignores the input method still receives the finished text.
LRESULT DefImeComposition(HWND hwnd, UINT, WPARAM, LPARAM lParam, bool* handled)
{
    *handled = true;
    if (lParam & GCS_RESULTSTR) {
        // Copied first: the window may start the next composition while handling a character.
        std::u16string text = InputMethod::Instance().ResultString();
        for (char16_t unit : text)
            SendMessageW(hwnd, WM_IME_CHAR, unit, 1);
    }
    return 0;
}

LRESULT DefImeChar(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = true;
    PostMessageW(hwnd, WM_CHAR, wParam, lParam);
    return 0;
}

// A key the input method handed back is posted as itself, behind the characters of the text it finished.
LRESULT DefImeKeyDown(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = true;
    PostMessageW(hwnd, WM_KEYDOWN, wParam, lParam);
    return 0;
}

void InstallHooks()
{
    cehost::internal::SetKeyInputFilter(&FilterKeyInput);
    cehost::internal::SetTranslateHook(&TranslateKey);
    cehost::internal::SetFocusChangeObserver(&FocusChanging);
    cehost::internal::SetDefWindowProcHandler(WM_IME_COMPOSITION, &DefImeComposition);
    cehost::internal::SetDefWindowProcHandler(WM_IME_CHAR, &DefImeChar);
    cehost::internal::SetDefWindowProcHandler(WM_IME_KEYDOWN, &DefImeKeyDown);
}

// Installed together with the system classes: before the first window exists, whatever the order of
// static initialisation.
const cehost::internal::SystemClassRegistrar hooks(&InstallHooks);

} // namespace

namespace {

LONG CopyString(const std::u16string& text, LPVOID buffer, DWORD bufferBytes)
{
    DWORD needed = static_cast<DWORD>(text.size() * sizeof(char16_t));
    if (bufferBytes == 0)
        return static_cast<LONG>(needed);
    if (buffer == nullptr)
        return IMM_ERROR_GENERAL;
    DWORD copy = needed < bufferBytes ? needed : bufferBytes & ~1u;
    std::memcpy(buffer, text.data(), copy);
    return static_cast<LONG>(copy);
}

} // namespace

CEHOST_API HIMC WINAPI ImmGetContext(HWND hWnd)
{
    if (hWnd == nullptr || !IsWindow(hWnd))
        return nullptr;
    return InputMethod::Instance().Context();
}

CEHOST_API BOOL WINAPI ImmReleaseContext(HWND hWnd, HIMC hIMC)
{
    return hWnd != nullptr && InputMethod::Instance().IsContext(hIMC) ? TRUE : FALSE;
}

CEHOST_API LONG WINAPI ImmGetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen)
{
    InputMethod& ime = InputMethod::Instance();
    if (!ime.IsContext(hIMC))
        return IMM_ERROR_GENERAL;
    switch (dwIndex) {
    case GCS_COMPSTR:
        return CopyString(ime.CompositionString(), lpBuf, dwBufLen);
    case GCS_RESULTSTR:
        return CopyString(ime.ResultString(), lpBuf, dwBufLen);
    case GCS_COMPATTR: {
        // One attribute byte per composing unit: all of it is plain input.
        DWORD needed = static_cast<DWORD>(ime.CompositionString().size());
        if (dwBufLen == 0)
            return static_cast<LONG>(needed);
        if (lpBuf == nullptr)
            return IMM_ERROR_GENERAL;
        DWORD copy = needed < dwBufLen ? needed : dwBufLen;
        std::memset(lpBuf, ATTR_INPUT, copy);
        return static_cast<LONG>(copy);
    }
    case GCS_CURSORPOS:
        // The syllable being built stays in front of the caret.
        return 0;
    case GCS_COMPREADSTR:
    case GCS_COMPREADATTR:
    case GCS_COMPREADCLAUSE:
    case GCS_COMPCLAUSE:
    case GCS_RESULTREADSTR:
    case GCS_RESULTREADCLAUSE:
    case GCS_RESULTCLAUSE:
        return 0;
    default:
        return IMM_ERROR_GENERAL;
    }
}

CEHOST_API BOOL WINAPI ImmGetOpenStatus(HIMC hIMC)
{
    InputMethod& ime = InputMethod::Instance();
    return ime.IsContext(hIMC) && ime.IsOpen() ? TRUE : FALSE;
}

CEHOST_API BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen)
{
    InputMethod& ime = InputMethod::Instance();
    if (!ime.IsContext(hIMC))
        return FALSE;
    ime.SetOpen(fOpen != FALSE, GetFocus());
    return TRUE;
}

CEHOST_API BOOL WINAPI ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue)
{
    InputMethod& ime = InputMethod::Instance();
    if (!ime.IsContext(hIMC) || dwAction != NI_COMPOSITIONSTR)
        return FALSE;
    switch (dwIndex) {
    case CPS_COMPLETE:
        ime.Complete();
        return TRUE;
    case CPS_CANCEL:
        ime.Cancel();
        return TRUE;
    default:
        return FALSE;
    }
}

CEHOST_API UINT WINAPI ImmGetVirtualKey(HWND hWnd)
{
    if (hWnd == nullptr || !IsWindow(hWnd))
        return VK_PROCESSKEY;
    return InputMethod::Instance().LastProcessedKey();
}

namespace cehost::sim {

void SetKeypadInput(bool on) { InputMethod::Instance().SetKeypadInput(on); }
bool KeypadInput() { return InputMethod::Instance().KeypadInput(); }
std::u16string InputModeLabel() { return InputMethod::Instance().ModeLabel(); }

} // namespace cehost::sim

CEHOST_API void WINAPI CehostSetImeToggleKey(UINT vk) { InputMethod::Instance().SetToggleKey(vk); }
CEHOST_API UINT WINAPI CehostGetImeToggleKey(void) { return InputMethod::Instance().ToggleKey(); }
