// Private state of the window manager, shared by the files of user/: window classes, the window tree with its
// handle table, the queues, timers, key state and display. Everything runs on the one user-interface thread.
#pragma once

#include <windows.h>

#include <cehost/sim/user.h>

#include "internal/user_hooks.h"
#include "user/Region.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cehost::user {

// Metrics of the frame and of system pieces (pixels).
constexpr int kBorder = 1;
constexpr int kDlgFrame = 3;
constexpr int kEdge = 2;
constexpr int kCaptionHeight = 26;
constexpr int kScrollBar = 13;
constexpr int kIcon = 32;
constexpr int kSmallIcon = 16;

// Flags that SetWindowPos adds to the WINDOWPOS of WM_WINDOWPOSCHANGED when the client area kept its size or
// its position; DefWindowProcW sends WM_SIZE / WM_MOVE only when they are absent.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuName = nullptr; // an integer resource id or a pointer into menuNameText
    std::u16string menuNameText;
    std::vector<LONG_PTR> extra; // class bytes, one pointer-sized slot per 4-byte offset
    bool system = false;
    int windows = 0; // live windows of the class
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0; // the menu argument: a child's control identifier
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra; // window bytes, one pointer-sized slot per 4-byte offset
    std::u16string text;

    Window* parent = nullptr; // the desktop for a top-level window; null for the desktop itself
    Window* owner = nullptr;  // top-level windows only
    std::vector<Window*> children; // z-order, topmost first
    HWND lastActivePopup = nullptr;

    RECT rect{};   // window rectangle in the parent's client coordinates
    RECT insets{}; // frame thickness on each side, as of the last frame calculation

    Region update; // client coordinates
    bool erasePending = false;
    bool frameDirty = false;

    bool destroying = false;
    bool dead = false;
};

// Raw input waiting in the input queue; the target window is chosen when the message is retrieved.
struct InputEvent {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    POINT pt{};
    DWORD time = 0;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct Observer {
    int id;
    sim::MessageObserver fn;
};

struct State {
    State();

    // Handles: index in bits 2..17, generation in bits 18..30, so a handle fits in 31 bits, bit 0 stays free
    // for SetForegroundWindow's flag and a destroyed handle stays invalid until its slot wraps around.
    struct Slot {
        uint32_t generation = 0;
        std::unique_ptr<Window> window;
    };
    std::vector<Slot> slots; // slot 0 unused
    std::deque<uint32_t> freeSlots;
    std::vector<std::unique_ptr<Window>> graveyard; // destroyed, freed when no callback is running
    long liveWindows = 0;
    Window* desktop = nullptr;
    int depth = 0; // window procedures, callbacks and DestroyWindow calls in progress

    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    bool systemClassesRegistered = false;

    Window* focus = nullptr;
    Window* active = nullptr;
    Window* capture = nullptr;

    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    bool quitPending = false;
    int quitCode = 0;
    MSG lastMessage{};

    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 1;

    bool virtualTime = false;
    uint64_t virtualNow = 0;
    uint64_t realBase = 0; // tick value at realStart
    int64_t realStartNs = 0;

    BYTE keyState[256]{};   // as of the last retrieved key message: 0x80 down, 0x01 toggled
    BYTE asyncState[256]{}; // as of the last keybd_event
    bool asyncPressed[256]{};
    POINT cursor{};

    int naturalWidth = 240; // at DMDO_0
    int naturalHeight = 320;
    DWORD orientation = DMDO_0;
    bool failNextDisplayChange = false;
    LONG failResult = DISP_CHANGE_FAILED;
    bool haveDisplayRequest = false;
    sim::DisplayChangeRequest lastDisplayRequest;

    sim::IdleHandler idleHandler;
    std::vector<Observer> observers;
    int nextObserverId = 1;
    int defProcSending = 0; // > 0 while DefWindowProcW sends a message of its own

    std::map<UINT, internal::DefWindowProcHandler> defProcHandlers;
    internal::KeyInputFilter keyFilter = nullptr;
    internal::TranslateHook translateHook = nullptr;
    internal::FocusChangeObserver focusObserver = nullptr;
};

// Every call that takes a window handle comes through S() and FromHandle, so both are inline.
extern State* g_state;
State& CreateState();
inline State& S() { return g_state ? *g_state : CreateState(); }

// ---- Handles and the tree ----------------------------------------------------------------------------------
// Null for null, stale or foreign handles.
inline Window* FromHandle(HWND h) {
    const uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (!v || (v & 3) || (v >> 31)) return nullptr;
    const uint32_t index = uint32_t(v >> 2) & 0xFFFF;
    const uint32_t generation = uint32_t(v >> 18);
    State& s = S();
    if (index == 0 || index >= s.slots.size()) return nullptr;
    State::Slot& slot = s.slots[index];
    if (!slot.window || slot.generation != generation) return nullptr;
    return slot.window.get();
}
void LookupFailed();             // sets ERROR_INVALID_WINDOW_HANDLE
// The same, setting ERROR_INVALID_WINDOW_HANDLE on failure.
inline Window* Lookup(HWND h) {
    Window* w = FromHandle(h);
    if (!w) LookupFailed();
    return w;
}
inline bool Alive(const Window* w) { return w && !w->dead; }
inline HWND H(const Window* w) { return w ? w->handle : nullptr; }
bool IsTopLevel(const Window* w);
Window* Root(Window* w);         // the top-level ancestor (the window itself when top-level)
bool IsDescendant(const Window* ancestor, const Window* w); // strict descendant through parents
Window* NewWindow();             // a fresh window with a handle; null when the table is full
void ReleaseHandle(Window* w);   // the handle dies now, the memory at the next CollectGarbage
void FreeWindowTree(Window* w);  // unlinks and frees without messages
void CollectGarbage();
struct CallbackScope {
    CallbackScope() { ++S().depth; }
    ~CallbackScope() { --S().depth; }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
};

// ---- Classes ------------------------------------------------------------------------------------------------
std::shared_ptr<WindowClass> FindClass(LPCWSTR name); // by name (case-insensitive) or integer atom
std::u16string Lower(std::u16string_view s);
std::u16string_view View(LPCWSTR s); // empty for null
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

// ---- Messages ------------------------------------------------------------------------------------------------
LRESULT Deliver(Window* w, UINT msg, WPARAM wp, LPARAM lp, sim::Delivery how = sim::Delivery::Sent);
inline LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp) { return Deliver(w, msg, wp, lp); }
void PurgeWindowMessages(HWND h);

// ---- Geometry ------------------------------------------------------------------------------------------------
RECT ComputeInsets(DWORD style, DWORD exStyle);
POINT WindowOriginScreen(const Window* w);
POINT ClientOriginScreen(const Window* w);
RECT WindowRectScreen(const Window* w);
RECT ClientRectScreen(const Window* w);
RECT ClientRectLocal(const Window* w); // (0, 0, width, height)
SIZE ClientSize(const Window* w);
bool IsReallyVisible(const Window* w);
Region VisibleRegion(const Window* w, bool clientArea); // screen coordinates
Window* HitTest(POINT screen);                          // deepest visible window under the point
BOOL SetWindowPosInternal(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ShowWindowInternal(Window* w, int cmd);
bool Restack(Window* w, HWND insertAfter); // true when the z-order changed
void BringToTopInternal(Window* w);       // a top-level window with its owned windows above it

// ---- Painting ------------------------------------------------------------------------------------------------
void InvalidateClient(Window* w, const RECT* rect, bool erase);
void InvalidateTree(Window* w);                // whole window and frame, descendants too, with erase
void InvalidateScreenArea(const Region& area); // whatever shows through `area` now
void ClearUpdateTree(Window* w);
Window* FindWindowToPaint(Window* filter);    // visible window with a pending update; frames drawn on the way
void DrawFrame(Window* w);
void PaintDesktop();

// ---- Focus and activation ------------------------------------------------------------------------------------
HWND SetFocusInternal(Window* w);
void Activate(Window* w);
void ActivateOther(Window* leaving);
void ReleaseCaptureInternal();

// ---- Time -----------------------------------------------------------------------------------------------------
uint64_t Now();
void AdvanceVirtualTo(uint64_t tick);
bool EarliestTimer(uint64_t* due);
bool NextTimerAfterNow(uint64_t* due); // the earliest timer still to fall due
void KillWindowTimers(HWND h);
bool TakeExpiredTimer(Window* filter, bool threadOnly, UINT min, UINT max, bool remove, MSG* out);

// ---- Input -----------------------------------------------------------------------------------------------------
bool TakeInput(Window* filter, UINT min, UINT max, bool remove, MSG* out);
void UpdateSyncKeyState(const MSG& msg);

// ---- Display ---------------------------------------------------------------------------------------------------
SIZE ScreenSize();

// ---- Queue -----------------------------------------------------------------------------------------------------
// The heart of GetMessageW and PeekMessageW in CE retrieval order; `takeQuit` false leaves WM_QUIT pending.
bool PeekInternal(MSG* msg, Window* filter, bool threadOnly, UINT min, UINT max, UINT flags, bool takeQuit);
bool InRange(UINT msg, UINT min, UINT max);
bool MatchesWindow(Window* filter, bool threadOnly, HWND target);

} // namespace cehost::user
