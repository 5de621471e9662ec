// Helpers of the control and framework tests: a main window that hosts controls (it hands the list messages to
// its list and records what the controls post to it), keys and focus moves through the queue, and pixel readers.
#pragma once

#include <cehost/sim.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "LxBaseWindow.h"
#include "LxListBase.h"
#include "QueueInput.h"
#include "MessageLog.h"

namespace lxtest {

inline void Settle() { cehost::sim::RunUntilIdle(); }
// Press and release a key and let everything it causes happen, timers of the next `ms` included.
inline void Press(BYTE vk, DWORD ms = 20) {
    Stroke(vk);
    cehost::sim::RunFor(ms);
}
// Half a key stroke, or a focus move, and everything it causes.
inline void Hold(BYTE vk) { KeyDown(vk), Settle(); }
inline void Release(BYTE vk) { KeyUp(vk), Settle(); }
inline void Focus(HWND hwnd) { SetFocus(hwnd), Settle(); }
template <class Control> void Focus(Control& control) { control.SetFocus(), Settle(); }

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Posted& p) {
    return out << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}";
}

// The application's main window: it owns the list (measure and draw go to it), records the messages `record`
// picks as its OnWndProc sees them (the library's and WM_COMMAND, by default) and lets `handler` answer first.
class Host : public LxBaseWindow {
public:
    // Without a title of its own each host gets a new one, so that a second one in the same process is not taken
    // for a second instance of the first.
    explicit Host(const char16_t* className = u"ControlTestHost", const char16_t* title = nullptr) {
        static int hosts = 0;
        wcscpy(m_szWindowClass, className);
        if (title) wcscpy(m_szTitle, title);
        else wsprintfW(m_szTitle, u"controls %d", ++hosts);
    }
    // Time is virtual whichever way the test program was started.
    bool Start() {
        cehost::sim::SetVirtualTime(true);
        const bool started =
            InitInstance(m_szWindowClass, m_szTitle, GetModuleHandleW(nullptr), SW_SHOW, nullptr) == 1;
        cehost::sim::RunUntilIdle();
        return started;
    }
    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        if (record(uMsg)) seen.push_back({uMsg, wParam, lParam});
        if (handler) return handler(hWnd, uMsg, wParam, lParam, pHandled);
        if (list && uMsg == WM_MEASUREITEM) {
            *pHandled = 1;
            return list->OnMeasureitem(UINT(wParam), lParam);
        }
        if (list && uMsg == WM_DRAWITEM) {
            *pHandled = 1;
            return list->OnDrawitem(UINT(wParam), lParam);
        }
        return LxBaseWindow::OnWndProc(hWnd, uMsg, wParam, lParam, pHandled);
    }
    std::vector<Posted> Only(UINT message) const {
        std::vector<Posted> out;
        for (const Posted& p : seen)
            if (p.message == message) out.push_back(p);
        return out;
    }
    LxListBase* list = nullptr;
    std::function<bool(UINT)> record = [](UINT m) {
        return m == WM_COMMAND || (m >= LXM_BIND && m <= LXM_SELCHANGE) || m == LXM_MENUKEYLEFT ||
               m == LXM_MENUKEYRIGHT;
    };
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, int*)> handler;
    std::vector<Posted> seen;
};

// The framework tests' main window: a host recording the keyboard and library messages.
struct RecordingWindow : Host {
    explicit RecordingWindow(const char16_t* className = u"FrameworkTestWindow", const char16_t* title = u"시험")
        : Host(className, title) {
        record = [](UINT m) {
            return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_ERASEBKGND || m == WM_LBUTTONDOWN || m >= 10000;
        };
    }
    // Starts and forgets what the first painting brought.
    bool StartQuiet() { return Start() && (seen.clear(), true); }
};

// Records chosen messages reaching one window (sent or posted), through the message log.
class Recorder {
public:
    Recorder(HWND hwnd, std::initializer_list<UINT> messages) : messages_(messages) { log_.Watch(hwnd); }
    std::vector<Posted> Seen() const {
        std::vector<Posted> out;
        for (const LoggedMessage& m : log_.Entries())
            if (messages_.count(m.message)) out.push_back({m.message, m.wParam, m.lParam});
        return out;
    }
    bool Empty() const { return Seen().empty(); }

private:
    MessageLog log_;
    std::set<UINT> messages_;
};

inline COLORREF ClientPixel(HWND hwnd, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(hwnd, &p);
    return ScreenPixel(p.x, p.y);
}

// Pixels of a client rectangle that satisfy `test`, or that have exactly one colour.
template <class Test> int CountWhere(HWND hwnd, RECT area, Test test) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (test(ClientPixel(hwnd, x, y))) ++n;
    return n;
}
inline int CountColour(HWND hwnd, RECT area, COLORREF colour) {
    return CountWhere(hwnd, area, [colour](COLORREF c) { return c == colour; });
}

// Text is drawn smoothed, so its colour shows exactly only where a glyph covers a whole pixel; on a dark
// background that is the brightest pixel of the text.
inline COLORREF Brightest(HWND hwnd, RECT area) {
    COLORREF best = 0;
    int bestSum = -1;
    CountWhere(hwnd, area, [&](COLORREF c) {
        const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
        if (sum > bestSum) bestSum = sum, best = c;
        return false;
    });
    return best;
}

inline bool Near(COLORREF a, COLORREF b, int tolerance = 6) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

// An item's text, or "<refused>" and what the buffer held when the control refuses the index.
template <class Control> std::u16string ItemText(Control& control, UINT index) {
    WCHAR buffer[1024] = u"untouched";
    return control.GetItem(index, buffer) ? std::u16string(buffer) : u"<refused> " + std::u16string(buffer);
}

inline std::u16string WindowText(HWND hwnd) {
    WCHAR text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

inline LPARAM L(HWND hwnd) { return reinterpret_cast<LPARAM>(hwnd); }
// What a focused control posts its parent for each key stroke: the press, the release and the key's command
// (none for 0).
inline std::vector<Posted> Reported(HWND control, std::initializer_list<std::pair<BYTE, UINT>> strokes) {
    std::vector<Posted> out;
    for (auto [vk, command] : strokes) {
        out.insert(out.end(), {{LXM_KEYDOWN, vk, L(control)}, {LXM_KEYUP, vk, L(control)}});
        if (command) out.push_back({command, 0, L(control)});
    }
    return out;
}
// A rectangle as one value, so that a test compares its four sides at once.
inline std::array<LONG, 4> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ScreenRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

} // namespace lxtest
