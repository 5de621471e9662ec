// The message queue of the user-interface thread. Retrieval follows CE's order: sent (always empty: with one
// thread SendMessageW calls the window procedure directly), posted, input, WM_QUIT, WM_PAINT, WM_TIMER.
// GetMessageW waits through the idle handler and the clock; in virtual time it never sleeps and never hangs.
#include "internal/profile.h"
#include "user/WindowManager.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace cehost::internal {

__attribute__((weak)) void RefreshShell() {}

} // namespace cehost::internal

namespace cehost::user {

LRESULT Deliver(Window* w, UINT msg, WPARAM wp, LPARAM lp, sim::Delivery how) {
    internal::ProfileScope profile(sim::FramePart::Dispatch);
    State& s = S();
    const bool fromDefProc = s.defProcSending > 0;
    if (!s.observers.empty()) {
        const sim::ObservedMessage seen{w->handle, msg, wp, lp, how, fromDefProc};
        const auto observers = s.observers; // an observer may remove itself
        for (const auto& o : observers) o.fn(seen);
    }
    const WNDPROC proc = w->proc;
    const HWND handle = w->handle;
    struct Scope {
        State& s;
        int savedDefProc;
        explicit Scope(State& st) : s(st), savedDefProc(st.defProcSending) {
            s.defProcSending = 0;
            ++s.depth;
        }
        ~Scope() {
            --s.depth;
            s.defProcSending = savedDefProc;
        }
    } scope(s);
    return proc ? proc(handle, msg, wp, lp) : DefWindowProcW(handle, msg, wp, lp);
}

void PurgeWindowMessages(HWND h) {
    auto& q = S().posted;
    q.erase(std::remove_if(q.begin(), q.end(), [h](const MSG& m) { return m.hwnd == h; }), q.end());
}

bool InRange(UINT msg, UINT min, UINT max) {
    if (min == 0 && max == 0) return true;
    if (min > max) return true; // an inverted range filters nothing, as Windows does
    return msg >= min && msg <= max;
}

bool MatchesWindow(Window* filter, bool threadOnly, HWND target) {
    if (threadOnly) return target == nullptr;
    if (!filter) return true;
    if (target == filter->handle) return true;
    return IsDescendant(filter, FromHandle(target));
}

bool PeekInternal(MSG* out, Window* filter, bool threadOnly, UINT min, UINT max, UINT flags, bool takeQuit) {
    State& s = S();
    const bool remove = (flags & PM_REMOVE) != 0;
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (!InRange(it->message, min, max) || !MatchesWindow(filter, threadOnly, it->hwnd)) continue;
        *out = *it;
        if (remove) {
            s.posted.erase(it);
            s.lastMessage = *out;
        }
        return true;
    }
    if (!threadOnly && TakeInput(filter, min, max, remove, out)) {
        if (remove) s.lastMessage = *out;
        return true;
    }
    if (s.quitPending && takeQuit) {
        *out = MSG{nullptr, WM_QUIT, WPARAM(s.quitCode), 0, DWORD(Now()), s.cursor};
        if (remove) {
            s.quitPending = false;
            s.lastMessage = *out;
        }
        return true;
    }
    if (!threadOnly && InRange(WM_PAINT, min, max)) {
        internal::RefreshShell();
        if (Window* w = FindWindowToPaint(filter)) {
            // Never removed: WM_PAINT comes back for as long as the update region is not empty.
            *out = MSG{w->handle, WM_PAINT, 0, 0, DWORD(Now()), s.cursor};
            if (remove) s.lastMessage = *out;
            return true;
        }
    }
    if (TakeExpiredTimer(filter, threadOnly, min, max, remove, out)) {
        if (remove) s.lastMessage = *out;
        return true;
    }
    return false;
}

namespace {

constexpr uint64_t kIdlePollMs = 10;

// Called when nothing is ready. Returns false when nothing can ever arrive.
bool WaitForMore() {
    State& s = S();
    if (s.idleHandler) {
        const sim::IdleHandler handler = s.idleHandler; // it may replace itself
        CallbackScope scope;
        if (handler()) return true;
    }
    uint64_t due = 0;
    const bool timer = NextTimerAfterNow(&due);
    if (s.virtualTime) {
        if (!timer) return false;
        AdvanceVirtualTo(due);
        return true;
    }
    if (!timer && !s.idleHandler) return false;
    uint64_t wait = timer ? due - Now() : kIdlePollMs;
    if (s.idleHandler) wait = std::min(wait, kIdlePollMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    return true;
}

void ReportEndlessWait(const char* who) {
    std::fprintf(stderr,
                 "cehost: %s has nothing left to wait for (no posted messages, input, painting or timers, and no "
                 "idle handler with more to give); answering WM_QUIT so that the message loop ends\n",
                 who);
}

} // namespace

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

LRESULT WINAPI SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    State& s = S();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        for (Window* t : s.desktop->children) tops.push_back(t->handle);
        for (HWND h : tops)
            if (Window* t = FromHandle(h)) Deliver(t, msg, wp, lp);
        return TRUE;
    }
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    return Deliver(w, msg, wp, lp);
}

BOOL WINAPI PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    State& s = S();
    const DWORD time = DWORD(Now());
    if (hwnd == HWND_BROADCAST) {
        for (Window* t : s.desktop->children) s.posted.push_back(MSG{t->handle, msg, wp, lp, time, s.cursor});
        return TRUE;
    }
    // A null window posts a message to the thread itself.
    if (hwnd && !Lookup(hwnd)) return FALSE;
    s.posted.push_back(MSG{hwnd, msg, wp, lp, time, s.cursor});
    return TRUE;
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND hwnd, UINT min, UINT max, UINT flags) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CollectGarbage();
    const bool threadOnly = hwnd == reinterpret_cast<HWND>(LONG_PTR(-1));
    Window* filter = nullptr;
    if (hwnd && !threadOnly) {
        filter = Lookup(hwnd);
        if (!filter) return FALSE;
    }
    return PeekInternal(msg, filter, threadOnly, min, max, flags, true) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageW(LPMSG msg, HWND hwnd, UINT min, UINT max) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const bool threadOnly = hwnd == reinterpret_cast<HWND>(LONG_PTR(-1));
    const bool filtered = hwnd && !threadOnly;
    if (filtered && !Lookup(hwnd)) return -1;
    for (;;) {
        CollectGarbage();
        Window* filter = filtered ? FromHandle(hwnd) : nullptr;
        if (filtered && !filter) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        if (PeekInternal(msg, filter, threadOnly, min, max, PM_REMOVE, true)) return msg->message == WM_QUIT ? 0 : 1;
        if (!WaitForMore()) {
            ReportEndlessWait("GetMessageW");
            *msg = MSG{nullptr, WM_QUIT, 0, 0, DWORD(Now()), S().cursor};
            return 0;
        }
    }
}

BOOL WINAPI WaitMessage(void) {
    for (;;) {
        CollectGarbage();
        MSG m;
        if (PeekInternal(&m, nullptr, false, 0, 0, PM_NOREMOVE, true)) return TRUE;
        if (!WaitForMore()) {
            ReportEndlessWait("WaitMessage");
            PostQuitMessage(0);
            return FALSE;
        }
    }
}

void WINAPI PostQuitMessage(int code) {
    State& s = S();
    s.quitPending = true;
    s.quitCode = code;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        CallbackScope scope;
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd) return 0;
    Window* w = Lookup(msg->hwnd);
    if (!w) return 0;
    return Deliver(w, msg->message, msg->wParam, msg->lParam, cehost::sim::Delivery::Posted);
}

DWORD WINAPI GetMessagePos(void) {
    const MSG& m = S().lastMessage;
    return DWORD(MAKELONG(WORD(SHORT(m.pt.x)), WORD(SHORT(m.pt.y))));
}

LONG WINAPI GetMessageTime(void) { return LONG(S().lastMessage.time); }

} // extern "C"

namespace cehost::sim {

int RunUntilIdle() {
    CollectGarbage();
    constexpr int kLimit = 1000000;
    int n = 0;
    MSG m;
    while (PeekInternal(&m, nullptr, false, 0, 0, PM_REMOVE, false)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
        if (++n == kLimit) {
            std::fprintf(stderr, "cehost: RunUntilIdle stopped after %d messages without the queue running dry (a "
                                 "window that never validates its update region is painted forever)\n",
                         n);
            break;
        }
    }
    CollectGarbage();
    return n;
}

int RunFor(DWORD milliseconds) {
    State& s = S();
    const uint64_t end = Now() + milliseconds;
    int n = 0;
    for (;;) {
        n += RunUntilIdle();
        if (s.quitPending) break;
        const uint64_t now = Now();
        if (now >= end) break;
        uint64_t due = 0;
        const bool timer = NextTimerAfterNow(&due);
        const uint64_t next = timer ? std::min(due, end) : end;
        if (s.virtualTime)
            AdvanceVirtualTo(next);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(next - now));
    }
    return n;
}

void SetIdleHandler(IdleHandler handler) { S().idleHandler = std::move(handler); }

int AddMessageObserver(MessageObserver observer) {
    State& s = S();
    const int id = s.nextObserverId++;
    s.observers.push_back(Observer{id, std::move(observer)});
    return id;
}

void RemoveMessageObserver(int id) {
    auto& list = S().observers;
    list.erase(std::remove_if(list.begin(), list.end(), [id](const Observer& o) { return o.id == id; }), list.end());
}

} // namespace cehost::sim
