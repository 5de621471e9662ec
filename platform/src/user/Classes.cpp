// The window manager's state and handle table, and window classes: registration in one process-wide,
// case-insensitive namespace (CE keeps no per-module class lists), built-in classes registered on first use,
// class information and class longs.
#include "user/WindowManager.h"

#include "internal/bridge.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace cehost::user {

State* g_state = nullptr;

namespace {

constexpr uint32_t kMaxSlots = 0x10000;
constexpr uint32_t kGenerations = 0x1FFF; // 13 bits, 0 never used

HWND MakeHandle(uint32_t index, uint32_t generation) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>((generation << 18) | (index << 2)));
}

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

bool VirtualTimeFromEnvironment() {
    const char* v = std::getenv("CEHOST_HEADLESS");
    return v && *v && std::strcmp(v, "0") != 0;
}

std::vector<internal::SystemClassInit>& Registrars() {
    static std::vector<internal::SystemClassInit> registrars;
    return registrars;
}

void EnsureSystemClasses() {
    State& s = S();
    if (s.systemClassesRegistered) return;
    s.systemClassesRegistered = true;
    // A registrar may register further classes; iterate by index because the list can grow.
    for (size_t i = 0; i < Registrars().size(); ++i) Registrars()[i]();
}

int ExtraSlots(int bytes) { return bytes <= 0 ? 0 : (bytes + 3) / 4; }

std::shared_ptr<WindowClass> MakeClass(const WNDCLASSW& wc) {
    auto c = std::make_shared<WindowClass>();
    c->name = std::u16string(View(wc.lpszClassName));
    c->style = wc.style;
    c->proc = wc.lpfnWndProc;
    c->clsExtra = wc.cbClsExtra;
    c->wndExtra = wc.cbWndExtra;
    c->instance = wc.hInstance;
    c->icon = wc.hIcon;
    c->cursor = wc.hCursor;
    c->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) {
        c->menuNameText = std::u16string(View(wc.lpszMenuName));
        c->menuName = c->menuNameText.c_str();
    } else {
        c->menuName = wc.lpszMenuName;
    }
    c->extra.assign(size_t(ExtraSlots(wc.cbClsExtra)), 0);
    return c;
}

bool ValidClass(const WNDCLASSW* wc) {
    return wc && wc->lpszClassName && !IS_INTRESOURCE(wc->lpszClassName) && *wc->lpszClassName && wc->lpfnWndProc &&
           wc->cbClsExtra >= 0 && wc->cbClsExtra <= 4096 && wc->cbWndExtra >= 0 && wc->cbWndExtra <= 4096;
}

ATOM AddClass(std::shared_ptr<WindowClass> c, ATOM fixedAtom) {
    State& s = S();
    if (FindClass(c->name.c_str())) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    if (fixedAtom) {
        for (auto& other : s.classes)
            if (other->atom == fixedAtom) {
                SetLastError(ERROR_CLASS_ALREADY_EXISTS);
                return 0;
            }
        c->atom = fixedAtom;
    } else {
        if (s.nextAtom == 0xFFFF) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        c->atom = s.nextAtom++;
    }
    s.classes.push_back(std::move(c));
    return s.classes.back()->atom;
}

} // namespace

State::State() {
    virtualTime = VirtualTimeFromEnvironment();
    realStartNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
    slots.resize(1);

    // The desktop: the root of the tree, covering the screen, painted by the window manager itself.
    auto desktopClass = std::make_shared<WindowClass>();
    desktopClass->name = u"#32769";
    desktopClass->atom = 0x8001;
    desktopClass->proc = DesktopProc;
    desktopClass->system = true;
    desktopClass->background = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BACKGROUND + 1));
    classes.push_back(desktopClass);

    auto w = std::make_unique<Window>();
    slots.push_back(Slot{1, nullptr});
    w->handle = MakeHandle(1, 1);
    w->cls = desktopClass;
    w->proc = DesktopProc;
    w->style = WS_VISIBLE | WS_CLIPCHILDREN;
    w->rect = RECT{0, 0, naturalWidth, naturalHeight};
    // Painted once at start, so that the screen shows the desktop colour wherever no window is.
    w->update.Add(w->rect);
    desktop = w.get();
    slots[1].window = std::move(w);
}

State& CreateState() {
    if (!g_state) g_state = new State(); // never destroyed: windows may outlive static destruction
    return *g_state;
}

void LookupFailed() { SetLastError(ERROR_INVALID_WINDOW_HANDLE); }

// Allocates a window and its handle. Fresh slots are used until the table is full, then the oldest free ones,
// so a stale handle stays invalid for as long as possible.
Window* NewWindow() {
    State& s = S();
    uint32_t index;
    if (s.slots.size() < kMaxSlots) {
        index = uint32_t(s.slots.size());
        s.slots.push_back(State::Slot{1, nullptr});
    } else if (!s.freeSlots.empty()) {
        index = s.freeSlots.front();
        s.freeSlots.pop_front();
    } else {
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    w->handle = MakeHandle(index, s.slots[index].generation);
    Window* raw = w.get();
    s.slots[index].window = std::move(w);
    cehost::internal::WindowCountChanged(++s.liveWindows);
    return raw;
}

// Frees the handle at once (IsWindow answers 0) and keeps the memory until no callback can still hold it.
void ReleaseHandle(Window* w) {
    State& s = S();
    const uintptr_t v = reinterpret_cast<uintptr_t>(w->handle);
    const uint32_t index = uint32_t(v >> 2) & 0xFFFF;
    State::Slot& slot = s.slots[index];
    w->dead = true;
    s.graveyard.push_back(std::move(slot.window));
    slot.generation = slot.generation % kGenerations + 1;
    s.freeSlots.push_back(index);
    cehost::internal::WindowCountChanged(--s.liveWindows);
}

void CollectGarbage() {
    State& s = S();
    if (s.depth == 0) s.graveyard.clear();
}

std::u16string_view View(LPCWSTR s) {
    if (!s) return {};
    size_t n = 0;
    while (s[n]) ++n;
    return std::u16string_view(s, n);
}

static char16_t LowerUnit(char16_t c) {
    if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return char16_t(c + 32);
    return c;
}

std::u16string Lower(std::u16string_view s) {
    std::u16string out(s);
    for (auto& c : out) c = LowerUnit(c);
    return out;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerUnit(a[i]) != LowerUnit(b[i])) return false;
    return true;
}

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
    EnsureSystemClasses();
    State& s = S();
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) {
        const ATOM atom = ATOM(reinterpret_cast<uintptr_t>(name));
        for (auto& c : s.classes)
            if (c->atom == atom) return c;
        return nullptr;
    }
    const std::u16string_view n = View(name);
    for (auto& c : s.classes)
        if (EqualNoCase(c->name, n)) return c;
    return nullptr;
}

} // namespace cehost::user

namespace cehost::internal {

SystemClassRegistrar::SystemClassRegistrar(SystemClassInit init) {
    user::Registrars().push_back(init);
    if (user::g_state && user::g_state->systemClassesRegistered) init();
}

ATOM RegisterSystemClass(const WNDCLASSW& wc, ATOM fixedAtom) {
    if (!user::ValidClass(&wc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto c = user::MakeClass(wc);
    c->system = true;
    return user::AddClass(std::move(c), fixedAtom);
}

} // namespace cehost::internal

using namespace cehost::user;

extern "C" {

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
    if (!ValidClass(wc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AddClass(MakeClass(*wc), 0);
}

BOOL WINAPI UnregisterClassW(LPCWSTR name, HINSTANCE) {
    auto c = FindClass(name);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->system) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (c->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    auto& classes = S().classes;
    classes.erase(std::remove(classes.begin(), classes.end(), c), classes.end());
    return TRUE;
}

BOOL WINAPI GetClassInfoW(HINSTANCE, LPCWSTR name, LPWNDCLASSW wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto c = FindClass(name);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->clsExtra;
    wc->cbWndExtra = c->wndExtra;
    wc->hInstance = c->instance;
    wc->hIcon = c->icon;
    wc->hCursor = c->cursor;
    wc->hbrBackground = c->background;
    wc->lpszMenuName = c->menuName;
    wc->lpszClassName = IS_INTRESOURCE(name) ? c->name.c_str() : name;
    return TRUE;
}

int WINAPI GetClassNameW(HWND hwnd, LPWSTR buffer, int max) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    if (!buffer || max <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const size_t n = std::min(w->cls->name.size(), size_t(max - 1));
    std::copy_n(w->cls->name.data(), n, buffer);
    buffer[n] = 0;
    return int(n);
}

ULONG_PTR WINAPI GetClassLongW(HWND hwnd, int index) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    const WindowClass& c = *w->cls;
    switch (index) {
    case GCL_MENUNAME: return reinterpret_cast<ULONG_PTR>(c.menuName);
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return ULONG_PTR(c.wndExtra);
    case GCL_CBCLSEXTRA: return ULONG_PTR(c.clsExtra);
    case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
    default:
        if (index >= 0 && index % 4 == 0 && size_t(index / 4) < c.extra.size()) return ULONG_PTR(c.extra[size_t(index / 4)]);
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

ULONG_PTR WINAPI SetClassLongW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    WindowClass& c = *w->cls;
    ULONG_PTR old = 0;
    switch (index) {
    case GCL_HBRBACKGROUND:
        old = reinterpret_cast<ULONG_PTR>(c.background);
        c.background = reinterpret_cast<HBRUSH>(value);
        return old;
    case GCL_HCURSOR:
        old = reinterpret_cast<ULONG_PTR>(c.cursor);
        c.cursor = reinterpret_cast<HCURSOR>(value);
        return old;
    case GCL_HICON:
        old = reinterpret_cast<ULONG_PTR>(c.icon);
        c.icon = reinterpret_cast<HICON>(value);
        return old;
    case GCL_WNDPROC:
        if (!value) break;
        old = reinterpret_cast<ULONG_PTR>(c.proc);
        c.proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GCL_STYLE:
        old = c.style;
        c.style = UINT(value);
        return old;
    default:
        if (index >= 0 && index % 4 == 0 && size_t(index / 4) < c.extra.size()) {
            old = ULONG_PTR(c.extra[size_t(index / 4)]);
            c.extra[size_t(index / 4)] = value;
            return old;
        }
        break;
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

} // extern "C"
