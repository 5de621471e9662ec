// The keypad text-entry control: an outer "LXEDIT" window that paints the background and the frame, the
// platform "EDIT" child that does the editing, and a hidden "STATIC" child of the edit that shows a
// description while the control is empty and focused. Its input limit counts bytes of the ANSI code page,
// so a double-byte character counts two, also while the input method is still composing it. The object
// lives in the user data of its windows rather than in a binding table. Copies are refused: the object owns
// its windows, fonts and brushes.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include "LxLibrary.h"

class LxEditCtrl {
public:
    LxEditCtrl();
    LxEditCtrl(const LxEditCtrl&) = delete;
    LxEditCtrl& operator=(const LxEditCtrl&) = delete;
    ~LxEditCtrl();

    HWND CreateEdit(HWND hParent, HINSTANCE hInstance, unsigned int nID, RECT* pRect, unsigned long dwStyle);

    void SetDataColor(unsigned long crNormal, unsigned long crFocus);
    void SetBaseColor(unsigned long crNormal, unsigned long crFocus);
    void SetCaseColor(unsigned long crColor);
    void SetDescText(const WCHAR* pszText, unsigned long crColor);
    void SetText(const WCHAR* pszText);
    void SetText(const char* pszText);
    void GetText(WCHAR* pszBuffer);
    void GetText(char* pszBuffer);
    unsigned int GetLength();
    unsigned int GetSelectStart();
    unsigned int GetSelectFinish();
    void SetSelect(unsigned int nStart, unsigned int nEnd);
    int GetLineMax();
    int GetLine();
    void SetLimitText(unsigned int nLimit);
    void SetFocus();
    int IsFocus();
    int IsWindow();
    void Destroy();

protected:
    HWND Create(unsigned long dwStyle, RECT& rect, HWND hParent, unsigned int nID);
    bool RegisterWnd(HINSTANCE hInstance, const WCHAR* pszClassName);
    void ShowEditBox(bool bShow);
    LRESULT FillClientArea(HDC hdc);
    static LRESULT CALLBACK BaseProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    int m_nCaretLine;
    int m_nPrevLength;
    COLORREF m_crDesc;
    WCHAR m_szDescText[1024];
    HFONT m_hEditFont;
    HBRUSH m_hBrushFocus;
    HBRUSH m_hBrushNormal;
    COLORREF m_crBaseNormal;
    COLORREF m_crBaseFocus;
    COLORREF m_crDataNormal;
    COLORREF m_crDataFocus;
    HWND m_hBaseWnd;
    HWND m_hEditWnd;
    HWND m_hParentWnd;
    HWND m_hDescWnd;
    unsigned long m_dwStyle;
    int m_bBorder;
    LONG_PTR m_lSavedUserData;
    WNDPROC m_pOldEditProc;
    COLORREF m_crCase;
    int m_nLimit;
    HFONT m_hDescFont;

private:
    // Outer window.
    LRESULT BaseDispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnBaseCommand(WPARAM wParam);
    void OnBasePaint(HWND hWnd);
    void OnBaseDestroy(HWND hWnd);
    bool IsFocusedForPainting();
    // Edit child.
    LRESULT EditDispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OverLimitReason(HWND hWnd, UINT uMsg, WPARAM wParam);
    void OnEditSetFocus();
    void OnEditKillFocus(HWND hWnd);
    LRESULT OnEditEraseBackground(HWND hWnd, HDC hdc);
    bool OnEditKeyUp(WPARAM nKey);
    LRESULT OnDescColour(HDC hdc);
    void HideDescription();
    void PostParent(UINT uMsg, WPARAM wParam);
    void FocusNeighbour(BOOL bPrevious);
    void InvalidateEdit();
    void ReleaseFonts();
};
