// Helpers of the framework tests (beside the control tests' key strokes and pixel readers): scripted input
// through the idle handler, a base window that records what reaches its OnWndProc.
#pragma once

#include "ControlsTestSupport.h"
#include "QueueInput.h"

namespace lxtest {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A main window that records the messages its OnWndProc sees (the keyboard and library ones, by default).
class RecordingWindow : public LxBaseWindow {
public:
    RecordingWindow(const char16_t* className = u"FrameworkTestWindow", const char16_t* title = u"시험") {
        for (int i = 0; className[i]; ++i) m_szWindowClass[i] = className[i];
        for (int i = 0; title[i]; ++i) m_szTitle[i] = title[i];
    }
    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        if (record && record(uMsg)) seen.push_back({uMsg, wParam, lParam});
        if (handler) return handler(hWnd, uMsg, wParam, lParam, pHandled);
        return LxBaseWindow::OnWndProc(hWnd, uMsg, wParam, lParam, pHandled);
    }
    bool Start() { return InitInstance(m_szWindowClass, m_szTitle, GetModuleHandleW(nullptr), SW_SHOW, nullptr) == 1; }
    // Starts, lets the first painting happen and forgets what it brought.
    bool StartQuiet() {
        if (!Start()) return false;
        cehost::sim::RunUntilIdle();
        seen.clear();
        return true;
    }

    std::function<bool(UINT)> record = [](UINT m) {
        return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_ERASEBKGND || m == WM_LBUTTONDOWN || m >= 10000;
    };
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, int*)> handler;
    std::vector<Received> seen;
};

} // namespace lxtest
