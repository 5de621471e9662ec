// Helpers for the window-manager tests: a test window class whose procedure hands every message to a
// replaceable handler, so that each test scripts only the replies it cares about.
#pragma once

#include <cehost/sim.h>
#include <gtest/gtest.h>

#include "MessageLog.h"

#include <functional>
#include <tuple>

namespace usertest {

// Return true from the handler to answer with *result; false lets DefWindowProcW answer.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;

inline Handler currentHandler;

inline LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (currentHandler && currentHandler(hwnd, msg, wp, lp, &result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

inline void OnMessage(Handler h) { currentHandler = std::move(h); }

inline ATOM RegisterTestClass(LPCWSTR name = u"TestWindow", UINT style = 0, HBRUSH background = nullptr,
                              int wndExtra = 0) {
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = TestProc;
    wc.cbWndExtra = wndExtra;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassW(&wc);
}

inline HWND TopLevel(int x, int y, int cx, int cy, DWORD style = WS_VISIBLE, LPCWSTR title = u"top",
                     LPCWSTR cls = u"TestWindow") {
    return CreateWindowExW(0, cls, title, style, x, y, cx, cy, nullptr, nullptr, nullptr, nullptr);
}

inline HWND Child(HWND parent, int id, int x, int y, int cx, int cy, DWORD style = WS_CHILD | WS_VISIBLE,
                  LPCWSTR cls = u"TestWindow") {
    return CreateWindowExW(0, cls, u"", style, x, y, cx, cy, parent, reinterpret_cast<HMENU>(intptr_t(id)), nullptr,
                           nullptr);
}

inline RECT Rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }
inline RECT WindowRect(HWND h) { RECT r{}; GetWindowRect(h, &r); return r; }
inline RECT ClientRect(HWND h) { RECT r{}; GetClientRect(h, &r); return r; }

// Registers the test window class; the fixture of tests that need nothing more than a message log.
struct UserTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(RegisterTestClass(), 0); }
    lxtest::MessageLog log;
};

// Also makes `top`, a visible 100 x 100 top-level window of the test class, and lets it paint.
struct UserTopTest : UserTest {
    void SetUp() override {
        UserTest::SetUp();
        top = TopLevel(0, 0, 100, 100);
        cehost::sim::RunUntilIdle();
    }
    HWND top = nullptr;
};

// The error a failing call leaves: `call` runs with the last error cleared and should return zero (FALSE,
// null); one that succeeds gives ~0u.
template <class Call> DWORD FailureOf(Call call) {
    SetLastError(0);
    return call() ? ~0u : GetLastError();
}

// Retrieves the next message without blocking; WM_NULL when there is none.
inline MSG Next(HWND filter = nullptr, UINT min = 0, UINT max = 0, UINT remove = PM_REMOVE) {
    MSG m{};
    if (!PeekMessageW(&m, filter, min, max, remove)) m.message = WM_NULL;
    return m;
}

// A message's kind, window and parameters, to compare at once.
using Fields = std::tuple<UINT, HWND, WPARAM, DWORD>;
inline Fields FieldsOf(const MSG& m) { return {m.message, m.hwnd, m.wParam, DWORD(m.lParam)}; }

} // namespace usertest

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(const POINT& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
