// Binding of control objects to their windows: one record type and one global table per control family
// (lists, spin controls, texts), and the window-procedure skeleton the three families share. A record points
// at its object and owns nothing; the tables own their records.
#pragma once

#include <windows.h>

#include "LxLibrary.h"
#include "swtempl.h"

class LxListBase;
class LxSpinCtrl;
class LxText;

class LxListQueue {
public:
    explicit LxListQueue(LxListBase* pList) : m_pList(pList) {}
    LxListQueue& operator=(const LxListQueue& other) {
        m_pList = other.m_pList;
        return *this;
    }

    // The list family's table: the object bound to a window, a new binding (1 when the table grew by one),
    // and the removal of a window's binding (1 when one was removed).
    static LxListBase* FindQueue(HWND hWnd);
    static int InsertQueue(LxListBase* pList);
    static int RemoveQueue(HWND hWnd);
    static HWND WindowOf(LxListBase* pList);

    LxListBase* m_pList;
};

class LxSpinQueue {
public:
    explicit LxSpinQueue(LxSpinCtrl* pSpin) : m_pSpin(pSpin) {}
    LxSpinQueue& operator=(const LxSpinQueue& other) {
        m_pSpin = other.m_pSpin;
        return *this;
    }

    static LxSpinCtrl* FindQueue(HWND hWnd);
    static int InsertQueue(LxSpinCtrl* pSpin);
    static int RemoveQueue(HWND hWnd);
    static HWND WindowOf(LxSpinCtrl* pSpin);

    LxSpinCtrl* m_pSpin;
};

class LxTextQueue {
public:
    explicit LxTextQueue(LxText* pText) : m_pText(pText) {}
    LxTextQueue& operator=(const LxTextQueue& other) {
        m_pText = other.m_pText;
        return *this;
    }

    static LxText* FindQueue(HWND hWnd);
    static int InsertQueue(LxText* pText);
    static int RemoveQueue(HWND hWnd);
    static HWND WindowOf(LxText* pText);

    LxText* m_pText;
};

// The window procedure shared by the three families. The previous procedure lives in the window's user data
// (the library's subclassing convention); LXM_BIND records the object that created the window, WM_DESTROY
// forgets it. A window without an object (between subclassing and LXM_BIND, or a copy's stale handle) goes
// straight to its previous procedure. Everything else goes to `dispatch(object, previous)`, which handles the
// family's own messages and takes the others down the pass-on path.
template <class Queue, class Object, class Dispatch>
LRESULT LxBindingWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, Dispatch dispatch) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    Object* object = Queue::FindQueue(hWnd);
    if (uMsg == LXM_BIND) {
        object = reinterpret_cast<Object*>(wParam);
        if (object && !Queue::FindQueue(Queue::WindowOf(object))) Queue::InsertQueue(object);
    } else if (uMsg == WM_DESTROY) {
        Queue::RemoveQueue(hWnd);
    }
    if (!object) {
        return previous ? CallWindowProcW(previous, hWnd, uMsg, wParam, lParam)
                        : DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    return dispatch(object, previous);
}

// The pass-on path: the object's OnWndProc (given as a member pointer, so the virtual call reaches a
// derived class) sees the message first; while it leaves the flag set the message goes on to the previous
// procedure.
template <class Object, class Method>
LRESULT LxPassOn(Object* object, Method onWndProc, WNDPROC previous, HWND hWnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam) {
    int passOn = 1;
    const long result = (object->*onWndProc)(uMsg, wParam, lParam, &passOn);
    if (!passOn) return result;
    return previous ? CallWindowProcW(previous, hWnd, uMsg, wParam, lParam)
                    : DefWindowProcW(hWnd, uMsg, wParam, lParam);
}
