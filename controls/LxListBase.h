// The keypad list: a vertical list of fixed-height owner-drawn rows over the platform list view in virtual
// report mode. It adds the row count, the row height, wrap-around, the key notifications to the parent, the
// background erase and the binding of its window; it draws nothing itself (LxListCtrl draws the rows).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "LxLibrary.h"
#include "LxQueue.h"

class LxListBase {
public:
    LxListBase();
    LxListBase(const LxListBase& other) = default;
    LxListBase& operator=(const LxListBase& other) = default;
    virtual ~LxListBase();

    HWND CreateList(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, UINT nItemHeight);
    void Destroy();
    int IsWindow();
    void SetFocus();
    int IsFocus();

    UINT GetCount();
    void SetItemHeight(UINT nHeight);
    UINT GetItemHeight();
    void SetRotate(int bRotate);
    int IsRotate();
    void SetSelect(int nIndex);
    int GetSelect();
    void SetEraseBackgroundColor(COLORREF crColor);

    // The owner hands WM_MEASUREITEM and WM_DRAWITEM of the list to these.
    virtual long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn);
    virtual int OnDrawitem(UINT wParam, LPARAM lParam);
    virtual int OnMeasureitem(UINT wParam, LPARAM lParam);
    virtual void OnKey(UINT nKey);

protected:
    virtual void OnMoveUp();
    virtual void OnMoveDown();
    virtual void OnMoveHome();
    virtual void OnMoveEnd();
    virtual void OnMovePageUp();
    virtual void OnMovePageDown();

    void SetCount(UINT nCount);
    void DropWindow();
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    COLORREF m_crEraseColor;
    int m_bRotate;
    int m_nSelect;
    RECT m_rcSelect;
    UINT m_nCount;
    UINT m_nItemHeight;

private:
    friend class LxListQueue;
    LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous);
    LRESULT OnEraseBackground(HDC hdc);
    void OnTimer(WPARAM nTimer);
    void OnKeyDown(WPARAM nKey);
    bool OnKeyUp(WPARAM nKey);
    void PostParent(UINT uMsg, WPARAM wParam);
};
