// Per-window state of the system controls, keyed by window handle. Each control class keeps one table;
// WM_CREATE adds the entry and WM_DESTROY removes it, so a stale handle finds nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <unordered_map>

namespace cehost::controls {

template <class State>
class StateTable {
public:
    // A control's messages come in runs (a paint asks once per row, a fill once per row), so the last window
    // found is remembered.
    State* Find(HWND hwnd) const
    {
        if (hwnd == m_lastHwnd && hwnd != nullptr)
            return m_last;
        auto it = m_states.find(hwnd);
        if (it == m_states.end())
            return nullptr;
        m_lastHwnd = hwnd;
        m_last = it->second.get();
        return m_last;
    }
    template <class... Args>
    State* Create(HWND hwnd, Args&&... args)
    {
        auto& slot = m_states[hwnd];
        slot = std::make_unique<State>(std::forward<Args>(args)...);
        m_lastHwnd = hwnd;
        m_last = slot.get();
        return slot.get();
    }
    void Remove(HWND hwnd)
    {
        if (hwnd == m_lastHwnd)
            m_lastHwnd = nullptr, m_last = nullptr;
        m_states.erase(hwnd);
    }

private:
    std::unordered_map<HWND, std::unique_ptr<State>> m_states;
    mutable HWND m_lastHwnd = nullptr;
    mutable State* m_last = nullptr;
};

// Registers the system window classes (the window manager calls it once, before the first class lookup).
void RegisterSystemClasses();

// Class registration of each control, called by RegisterSystemClasses.
void RegisterStaticClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterListViewClass();
void RegisterDialogClass();

// WM_COMMAND to a control's parent, as every control reports.
inline void NotifyParentCommand(HWND control, HWND parent, UINT code)
{
    if (parent != nullptr)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

} // namespace cehost::controls
