// The keypad chooser: one item of an ordered list shown at a time between a left and a right arrow. Left
// and right step through the items when the key is released (the arrow turns yellow while it is held), up
// and down move the focus to the neighbouring controls, and Select, Return, Home, Back and Escape notify the
// parent. Items carry their own background images, text colours and a check flag.
#pragma once

#include <windows.h>

#include "LxLibrary.h"
#include "LxQueue.h"

class LxSpinCtrl {
public:
    class LxSpinString {
    public:
        LxSpinString(int bCheck, unsigned int nImageNormal, unsigned int nImageFocus, unsigned long crNormal,
                     unsigned long crFocus, const WCHAR* pszText);
        LxSpinString(const LxSpinString& other) = default;
        LxSpinString& operator=(const LxSpinString& other) = default;
        void SetCheck(int bCheck);

        int m_bCheck;
        unsigned int m_nImageNormal;
        unsigned int m_nImageFocus;
        COLORREF m_crNormal;
        COLORREF m_crFocus;
        WCHAR m_szText[1024];
    };

    LxSpinCtrl();
    LxSpinCtrl(const LxSpinCtrl& other);
    LxSpinCtrl& operator=(const LxSpinCtrl& other);
    virtual ~LxSpinCtrl();

    HWND CreateSpin(HWND hParent, HINSTANCE hInstance, unsigned int nID, RECT* pRect, unsigned long dwStyle);
    int IsWindow();
    void Destroy();
    void SetFocus();
    int IsFocus();

    int AddItem(int bCheck, unsigned int nImageNormal, unsigned int nImageFocus, unsigned long crNormal,
                unsigned long crFocus, const WCHAR* pszText);
    int AddItem(const WCHAR* pszText, int bCheck);
    int SetItem(unsigned int nIndex, const WCHAR* pszText);
    int GetItem(unsigned int nIndex, WCHAR* pszBuffer);
    int DeleteItem(unsigned int nIndex);
    unsigned int GetCount();
    void SetSelect(int nIndex);
    int GetSelect();
    void SetRotate(int bRotate);
    int IsRotate();
    void SetImage(unsigned int nNormal, unsigned int nFocus);
    void SetCheck(unsigned int nIndex, int bCheck);
    int GetCheck(unsigned int nIndex);
    void SetDataColor(unsigned long crNormal, unsigned long crFocus);
    void SetBaseColor(unsigned long crNormal, unsigned long crFocus);
    void SetCaseColor(unsigned long crColor);

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn);
    virtual void OnKey(UINT nKey);
    virtual void OnMoveLeft();
    virtual void OnMoveRight();
    virtual void OnMoveHome();
    virtual void OnMoveEnd();

    void GetAreaRect(int bLeft, RECT* pIn, RECT* pOut);
    unsigned int GetSpinWidth();
    unsigned int GetSpinHeight();
    void DrawBitmap(HDC hdc, RECT* pRect, unsigned int nCode);
    void OnPaint(HDC hdc);

    HWND m_hWnd;
    int m_bRotate;
    int m_nSelect;
    RECT m_rcRect;
    int m_bImageMode;
    COLORREF m_crBaseNormal;
    COLORREF m_crBaseFocus;
    unsigned int m_nImageID[2];
    COLORREF m_crDataNormal;
    COLORREF m_crDataFocus;
    COLORREF m_crCase;
    int m_bLeftDown;
    int m_bRightDown;
    SwArray<LxSpinString*> m_Items;

private:
    friend class LxSpinQueue;
    LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous);
    LxSpinString* ItemAt(unsigned int nIndex);
    void ReleaseItems();
    void DropWindow();
    void CopyFields(const LxSpinCtrl& other);
    void Repaint();
    void InvalidateArrow(int bLeft);
    void PostParent(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnPaintMessage(HWND hWnd);
    void OnSetFocusMessage();
    void OnKillFocusMessage();
    void OnKeyDown(WPARAM nKey);
    bool OnKeyUp(WPARAM nKey);
    void NotifyCommandIfChecked();
    void NotifySelChangeIfChecked();
    void FocusNeighbour(BOOL bPrevious);
};
