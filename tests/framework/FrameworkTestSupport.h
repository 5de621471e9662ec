// The framework tests' main window: the control tests' host, recording the keyboard and library messages.
#pragma once

#include "ControlsTestSupport.h"

namespace lxtest {

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

} // namespace lxtest
