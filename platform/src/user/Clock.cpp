// The clock and timers. Time is a 64-bit millisecond count, virtual (moved only on request) in tests and
// scripted runs and real otherwise; GetTickCount is its low 32 bits. A timer is a due time, not a queued
// message: it is ready once its time has come, however many periods passed (expirations coalesce), its
// period restarts when WM_TIMER is removed from the queue, and KillTimer takes effect at once.
#include "user/WindowManager.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace cehost::user {

namespace {

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

uint64_t Now() {
    State& s = S();
    if (s.virtualTime) return s.virtualNow;
    return s.realBase + uint64_t((SteadyNs() - s.realStartNs) / 1000000);
}

void AdvanceVirtualTo(uint64_t tick) {
    State& s = S();
    if (s.virtualTime && tick > s.virtualNow) s.virtualNow = tick;
}

bool EarliestTimer(uint64_t* due) {
    const auto& timers = S().timers;
    if (timers.empty()) return false;
    uint64_t best = timers.front().due;
    for (const Timer& t : timers) best = std::min(best, t.due);
    *due = best;
    return true;
}

bool NextTimerAfterNow(uint64_t* due) {
    const uint64_t now = Now();
    bool found = false;
    for (const Timer& t : S().timers)
        if (t.due > now && (!found || t.due < *due)) {
            *due = t.due;
            found = true;
        }
    return found;
}

void KillWindowTimers(HWND h) {
    auto& timers = S().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [h](const Timer& t) { return t.hwnd == h; }),
                 timers.end());
}

bool TakeExpiredTimer(Window* filter, bool threadOnly, UINT min, UINT max, bool remove, MSG* out) {
    State& s = S();
    if (!InRange(WM_TIMER, min, max)) return false;
    const uint64_t now = Now();
    Timer* best = nullptr;
    for (Timer& t : s.timers) {
        if (t.due > now || !MatchesWindow(filter, threadOnly, t.hwnd)) continue;
        if (!best || t.due < best->due) best = &t;
    }
    if (!best) return false;
    *out = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), DWORD(now), s.cursor};
    if (remove) best->due = now + best->interval;
    return true;
}

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    State& s = S();
    if (hwnd && !Lookup(hwnd)) return 0;
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const uint64_t due = Now() + elapse;
    auto existing = std::find_if(s.timers.begin(), s.timers.end(),
                                 [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (hwnd || existing != s.timers.end()) {
        // The same window and identifier replace the timer and restart its period.
        if (existing != s.timers.end()) {
            existing->interval = elapse;
            existing->due = due;
            existing->proc = proc;
        } else {
            s.timers.push_back(Timer{hwnd, id, elapse, due, proc});
        }
        return hwnd ? (id ? id : 1) : id;
    }
    // A thread timer with an unknown identifier gets a fresh one.
    UINT_PTR fresh = s.nextThreadTimerId;
    auto used = [&](UINT_PTR v) {
        return std::any_of(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return !t.hwnd && t.id == v; });
    };
    while (fresh == 0 || used(fresh)) ++fresh;
    s.nextThreadTimerId = fresh + 1;
    s.timers.push_back(Timer{nullptr, fresh, elapse, due, proc});
    return fresh;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = S().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(it);
    return TRUE;
}

DWORD WINAPI GetTickCount(void) { return DWORD(Now()); }

// 2026-01-01 12:00:00, the moment virtual time starts from.
static constexpr int64_t kVirtualEpochSeconds = 1767268800;

static void FillSystemTime(LPSYSTEMTIME out, bool local) {
    if (!out) return;
    int64_t ms = 0;
    if (S().virtualTime) {
        ms = kVirtualEpochSeconds * 1000 + int64_t(Now());
        local = false; // the virtual day has no time zone
    } else {
        ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
                 .count();
    }
    const time_t seconds = time_t(ms / 1000);
    struct tm t {};
    if (local)
        localtime_r(&seconds, &t);
    else
        gmtime_r(&seconds, &t);
    *out = SYSTEMTIME{WORD(t.tm_year + 1900), WORD(t.tm_mon + 1), WORD(t.tm_wday), WORD(t.tm_mday),
                      WORD(t.tm_hour),        WORD(t.tm_min),     WORD(t.tm_sec),  WORD(ms % 1000)};
}

void WINAPI GetLocalTime(LPSYSTEMTIME out) { FillSystemTime(out, true); }

void WINAPI GetSystemTime(LPSYSTEMTIME out) { FillSystemTime(out, false); }

void WINAPI Sleep(DWORD ms) {
    State& s = S();
    if (s.virtualTime) {
        s.virtualNow += ms;
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // extern "C"

namespace cehost::sim {

void SetVirtualTime(bool on) {
    State& s = S();
    if (s.virtualTime == on) return;
    const uint64_t now = Now();
    s.virtualTime = on;
    if (on) {
        s.virtualNow = now;
    } else {
        s.realBase = now;
        s.realStartNs = SteadyNs();
    }
}

bool IsVirtualTime() { return S().virtualTime; }

void AdvanceClock(DWORD milliseconds) { AdvanceVirtualTo(Now() + milliseconds); }

bool NextTimerDue(DWORD* tick) {
    uint64_t due = 0;
    if (!EarliestTimer(&due)) return false;
    if (tick) *tick = DWORD(due);
    return true;
}

} // namespace cehost::sim
