// Input for tests that go through the real queue: key strokes, scripted steps run from the idle handler (so a
// modal loop - a dialog, a pop-up menu - that waits there is driven from inside), and the screen's pixels.
#pragma once

#include <cehost/sim.h>
#include <windows.h>

#include <functional>
#include <vector>

namespace lxtest {

inline void KeyDown(BYTE vk) { keybd_event(vk, 0, 0, 0); }
inline void KeyUp(BYTE vk) { keybd_event(vk, 0, KEYEVENTF_KEYUP, 0); }
inline void Stroke(BYTE vk) { KeyDown(vk), KeyUp(vk); }

inline COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Runs each step when the queue has gone idle, one step per idle moment.
class IdleScript {
public:
    explicit IdleScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
        cehost::sim::SetIdleHandler([this] {
            if (next_ >= steps_.size()) return false;
            steps_[next_++]();
            return true;
        });
    }
    ~IdleScript() { cehost::sim::SetIdleHandler({}); }
    bool Finished() const { return next_ == steps_.size(); }

private:
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
};

} // namespace lxtest
