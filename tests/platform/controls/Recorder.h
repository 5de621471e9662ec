// Records the messages that reach chosen windows, through the window manager's message observer.
#pragma once

#include <cehost/sim.h>
#include <windows.h>

#include <algorithm>
#include <vector>

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder {
public:
    Recorder() {
        m_id = cehost::sim::AddMessageObserver([this](const cehost::sim::ObservedMessage& m) {
            if (m_windows.empty() || std::find(m_windows.begin(), m_windows.end(), m.hwnd) != m_windows.end())
                m_seen.push_back({m.hwnd, m.message, m.wParam, m.lParam});
        });
    }
    ~Recorder() { cehost::sim::RemoveMessageObserver(m_id); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Watch(HWND hwnd) { m_windows.push_back(hwnd); }
    void Clear() { m_seen.clear(); }
    const std::vector<Seen>& All() const { return m_seen; }

    // The messages among `interesting`, in order.
    std::vector<Seen> Only(std::initializer_list<UINT> interesting) const {
        std::vector<Seen> out;
        for (const Seen& s : m_seen)
            if (std::find(interesting.begin(), interesting.end(), s.message) != interesting.end())
                out.push_back(s);
        return out;
    }

private:
    int m_id = 0;
    std::vector<HWND> m_windows;
    std::vector<Seen> m_seen;
};

// Registers `name` with `proc` and makes a visible full-screen pop-up of it.
inline HWND MakeTopWindow(const WCHAR* name, WNDPROC proc, HBRUSH background = nullptr) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    RegisterClassW(&wc);
    return CreateWindowExW(0, name, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
}

// Presses and releases a key through the real input queue.
inline void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}
