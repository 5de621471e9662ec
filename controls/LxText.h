// Static texts and push buttons over the platform "static" class: the control paints itself (background,
// optional frame, a text with DrawTextW alignment flags), shows a pushed look while Select, Return or the
// stylus is down, reports presses to the parent with WM_COMMAND and moves the focus with the arrow keys. It
// can also adopt a static control of a dialog.
#pragma once

#include <windows.h>

#include "LxLibrary.h"
#include "LxQueue.h"

class LxText {
public:
    LxText();
    LxText(const LxText& other) = default;
    LxText& operator=(const LxText& other) = default;
    virtual ~LxText();

    virtual long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn);

    HWND CreateText(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, DWORD dwStyle, int bBorder,
                    int bTabStop);
    HWND CreateButton(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect);
    int CreateText(HWND hDialog, UINT nID);
    int CreateText(HWND hWnd);

    void SetText(const WCHAR* pszText);
    void GetText(WCHAR* pszBuffer);
    void SetTextStyle(DWORD dwStyle);
    void SetDataColor(DWORD crNormal, DWORD crFocus);
    void SetBaseColor(DWORD crNormal, DWORD crFocus);
    void SetColor(DWORD crText, DWORD crBack);
    void SetPushColor(DWORD crText, DWORD crBack);
    void SetCaseColor(DWORD crColor);
    void SetFocus();
    int IsFocus();
    int IsWindow();
    void Destroy();

protected:
    UINT GetTextWidth();
    UINT GetTextHeight();
    void OnPaint(HDC hdc);
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WCHAR m_szText[1024];
    DWORD m_dwStyle;
    RECT m_rcRect;
    DWORD m_crBaseNormal;
    DWORD m_crDataNormal;
    DWORD m_crDataFocus;
    DWORD m_crBaseFocus;
    DWORD m_crCase;
    int m_bButton;
    int m_bPushed;
    DWORD m_crPushText;
    DWORD m_crPushBack;

private:
    friend class LxTextQueue;
    HWND Create(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, DWORD dwWindowStyle);
    void DropWindow();
    void Bind();
    LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous);
    void OnPaintMessage(HWND hWnd);
    void OnFocusChange(const WCHAR* pszTrace);
    LRESULT OnMouseMove();
    void OnButtonDown();
    void OnButtonUp();
    void OnKeyDown(WPARAM nKey);
    bool OnKeyUp(WPARAM nKey);
    void FocusNeighbour(HWND parent, BOOL bPrevious);
    void SetPushed(int bPushed);
    void Repaint();
    void PostParent(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void PostCommand();
};
