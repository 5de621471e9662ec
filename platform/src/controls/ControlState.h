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
    State* Find(HWND hwnd) const
    {
        auto it = m_states.find(hwnd);
        return it == m_states.end() ? nullptr : it->second.get();
    }
    template <class... Args>
    State* Create(HWND hwnd, Args&&... args)
    {
        auto& slot = m_states[hwnd];
        slot = std::make_unique<State>(std::forward<Args>(args)...);
        return slot.get();
    }
    void Remove(HWND hwnd) { m_states.erase(hwnd); }

private:
    std::unordered_map<HWND, std::unique_ptr<State>> m_states;
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
