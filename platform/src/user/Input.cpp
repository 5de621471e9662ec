// Keyboard and stylus input: keybd_event and the simulator's stylus calls fill the input queue; a message's
// target is chosen when it is retrieved (keys: the focus window, else the active window; stylus: the capture
// window, else the window under the point), which is also when GetKeyState's view changes. GetAsyncKeyState
// sees keys as they are injected. TranslateMessage maps keys to characters on a US layout.
#include "user/WindowManager.h"

namespace cehost::user {

namespace {

bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }

// The left/right variants also drive the generic key.
BYTE GenericKey(BYTE vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return 0;
    }
}

void SetKey(BYTE* table, BYTE vk, bool down) {
    if (down) {
        if (!(table[vk] & 0x80)) table[vk] ^= 0x01; // the toggle flips on every press
        table[vk] |= 0x80;
    } else {
        table[vk] &= BYTE(~0x80);
    }
}

Window* KeyTarget() {
    State& s = S();
    return s.focus ? s.focus : s.active;
}

Window* MouseTarget(POINT pt) {
    State& s = S();
    if (s.capture) return s.capture;
    Window* w = HitTest(pt);
    if (w && (w->style & WS_DISABLED)) return nullptr; // e.g. the owner of a modal dialog
    return w;
}

void QueueStylus(UINT message, WPARAM keys, int x, int y) {
    State& s = S();
    const POINT pt{x, y};
    s.input.push_back(InputEvent{message, keys, 0, pt, DWORD(Now())});
    s.asyncState[VK_LBUTTON] = (message == WM_LBUTTONUP) ? 0 : (keys & MK_LBUTTON ? 0x80 : 0);
    if (message == WM_LBUTTONDOWN) s.asyncPressed[VK_LBUTTON] = true;
}

WCHAR CharFromKey(UINT vk) {
    State& s = S();
    const bool shift = (s.keyState[VK_SHIFT] & 0x80) != 0;
    const bool caps = (s.keyState[VK_CAPITAL] & 0x01) != 0;
    const bool ctrl = (s.keyState[VK_CONTROL] & 0x80) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return WCHAR(vk - 'A' + 1);
        return WCHAR((shift != caps) ? vk : vk + 32);
    }
    if (ctrl) return 0;
    if (vk >= '0' && vk <= '9') return shift ? u")!@#$%^&*("[vk - '0'] : WCHAR(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return WCHAR('0' + (vk - VK_NUMPAD0));
    switch (vk) {
    case VK_SPACE: return u' ';
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DECIMAL: return u'.';
    case VK_DIVIDE: return u'/';
    case VK_OEM_1: return shift ? u':' : u';';
    case VK_OEM_PLUS: return shift ? u'+' : u'=';
    case VK_OEM_COMMA: return shift ? u'<' : u',';
    case VK_OEM_MINUS: return shift ? u'_' : u'-';
    case VK_OEM_PERIOD: return shift ? u'>' : u'.';
    case VK_OEM_2: return shift ? u'?' : u'/';
    case VK_OEM_3: return shift ? u'~' : u'`';
    case VK_OEM_4: return shift ? u'{' : u'[';
    case VK_OEM_5: return shift ? u'|' : u'\\';
    case VK_OEM_6: return shift ? u'}' : u']';
    case VK_OEM_7: return shift ? u'"' : u'\'';
    default: return 0;
    }
}

} // namespace

void UpdateSyncKeyState(const MSG& m) {
    State& s = S();
    if (IsKeyMessage(m.message) && m.message != WM_CHAR && m.message != WM_SYSCHAR && m.message != WM_DEADCHAR &&
        m.message != WM_SYSDEADCHAR) {
        const BYTE vk = BYTE(m.wParam);
        const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
        SetKey(s.keyState, vk, down);
        if (BYTE g = GenericKey(vk)) SetKey(s.keyState, g, down);
    } else if (m.message == WM_LBUTTONDOWN) {
        SetKey(s.keyState, VK_LBUTTON, true);
    } else if (m.message == WM_LBUTTONUP) {
        SetKey(s.keyState, VK_LBUTTON, false);
    }
}

bool TakeInput(Window* filter, UINT min, UINT max, bool remove, MSG* out) {
    State& s = S();
    for (auto it = s.input.begin(); it != s.input.end();) {
        const InputEvent e = *it;
        const bool key = IsKeyMessage(e.message);
        Window* target = key ? KeyTarget() : MouseTarget(e.pt);
        if (!target) {
            // Nobody can receive it: a retrieving call drops it (the key state still follows).
            if (!remove) {
                ++it;
                continue;
            }
            it = s.input.erase(it);
            UpdateSyncKeyState(MSG{nullptr, e.message, e.wParam, e.lParam, e.time, e.pt});
            continue;
        }
        MSG m{target->handle, e.message, e.wParam, e.lParam, e.time, e.pt};
        if (!key) {
            const POINT o = ClientOriginScreen(target);
            m.lParam = MAKELPARAM(WORD(SHORT(e.pt.x - o.x)), WORD(SHORT(e.pt.y - o.y)));
        }
        if (!InRange(m.message, min, max) || !MatchesWindow(filter, false, m.hwnd)) {
            ++it;
            continue;
        }
        if (!remove) {
            *out = m;
            return true;
        }
        s.input.erase(it);
        UpdateSyncKeyState(m);
        s.cursor = e.pt;
        if (m.message == WM_LBUTTONDOWN) {
            // A tap on an inactive application window activates it first.
            Window* top = Root(target);
            if (top != s.active && !(top->exStyle & WS_EX_NOACTIVATE)) Activate(top);
            if (!FromHandle(m.hwnd)) return TakeInput(filter, min, max, remove, out);
        }
        if (key && s.keyFilter && !s.keyFilter(&m)) return TakeInput(filter, min, max, remove, out);
        *out = m;
        return true;
    }
    return false;
}

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, DWORD) {
    State& s = S();
    const bool up = (flags & KEYEVENTF_KEYUP) != 0;
    const bool wasDown = (s.asyncState[vk] & 0x80) != 0;
    SetKey(s.asyncState, vk, !up);
    if (BYTE g = GenericKey(vk)) SetKey(s.asyncState, g, !up);
    if (!up) s.asyncPressed[vk] = true;

    const bool alt = (s.asyncState[VK_MENU] & 0x80) != 0;
    const bool ctrl = (s.asyncState[VK_CONTROL] & 0x80) != 0;
    const bool altKey = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
    const bool sys = altKey || (alt && !ctrl);
    const UINT message = sys ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    DWORD lp = 1u | (DWORD(scan) << 16);
    if (flags & KEYEVENTF_EXTENDEDKEY) lp |= 1u << 24;
    if (alt && !ctrl) lp |= 1u << 29;
    if (up || wasDown) lp |= 1u << 30;
    if (up) lp |= 1u << 31;
    s.input.push_back(InputEvent{message, vk, LPARAM(lp), s.cursor, DWORD(Now())});
}

SHORT WINAPI GetKeyState(int vk) {
    const BYTE st = S().keyState[vk & 0xFF];
    return SHORT(((st & 0x80) ? 0x8000 : 0) | (st & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vk) {
    State& s = S();
    const BYTE v = BYTE(vk & 0xFF);
    const SHORT r = SHORT(((s.asyncState[v] & 0x80) ? 0x8000 : 0) | (s.asyncPressed[v] ? 1 : 0));
    s.asyncPressed[v] = false;
    return r;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    const UINT m = msg->message;
    if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP) return FALSE;
    State& s = S();
    if (s.translateHook && s.translateHook(msg)) return TRUE;
    if (m == WM_KEYUP || m == WM_SYSKEYUP) return TRUE;
    if (const WCHAR c = CharFromKey(UINT(msg->wParam & 0xFF))) {
        // CE leaves the scan code and extended bit out of the character's lParam.
        const LPARAM lp = LPARAM(DWORD(msg->lParam) & ~0x01FF0000u);
        PostMessageW(msg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, c, lp);
    }
    return TRUE;
}

} // extern "C"

namespace cehost::sim {

void Tap(int x, int y) {
    StylusDown(x, y);
    StylusUp(x, y);
}

void StylusDown(int x, int y) { QueueStylus(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }

void StylusMove(int x, int y) {
    const bool down = (S().asyncState[VK_LBUTTON] & 0x80) != 0;
    QueueStylus(WM_MOUSEMOVE, down ? MK_LBUTTON : 0, x, y);
}

void StylusUp(int x, int y) { QueueStylus(WM_LBUTTONUP, 0, x, y); }

} // namespace cehost::sim
