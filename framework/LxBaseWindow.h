// The application's main window: start-up with a single-instance check, the message loop, the key protocol
// (soft keys, Back and Home become commands), background colour, the full-screen layout below the indicator
// strip, the title bar and the soft-key menu bar. Also runs modal dialogs from dialog resources.
#pragma once

#include <aygshell.h>
#include <windows.h>

#include "LxLibrary.h"

class LxBaseWindow {
public:
    LxBaseWindow();
    LxBaseWindow(const LxBaseWindow& other);
    LxBaseWindow& operator=(const LxBaseWindow& other);
    ~LxBaseWindow();

    // Start and message loop.
    int Window(HINSTANCE hInstance, HINSTANCE hPrevInstance, WCHAR* lpCmdLine, int nCmdShow);
    virtual LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled);
    virtual int InitInstance(WCHAR* szWindowClass, WCHAR* szTitle, HINSTANCE hInstance, int nCmdShow,
                             const WCHAR* lpIcon);
    virtual ATOM MyRegisterClass(HINSTANCE hInstance, WCHAR* szWindowClass, const WCHAR* lpIcon);
    int Dialog(const WCHAR* lpTemplateName, HWND hParent, int bFullScreen);

    // Layout and geometry.
    unsigned int GetScreenWidth();
    unsigned int GetScreenHeight();
    unsigned int GetAppWidth();
    unsigned int GetAppHeight();
    unsigned int GetAppX();
    unsigned int GetAppY();
    void GetUserArea(RECT* pRect);
    void ShowIndicatorBar(int bShow);
    int IsShowIndicatorBar();
    int GetIndicatorBarHeight();
    void RedrawWindow(int bRepaint);
    void OnSettingChange(UINT wParam, LONG lParam);
    HINSTANCE GetInstance();
    void SetInstance(HINSTANCE hInstance);

    // Text and colour.
    void SetWindowTextW(WCHAR* pszText);
    void GetWindowTextW(WCHAR* pszBuffer);
    void SetBaseColor(COLORREF color);

    // Title bar.
    HWND TitleCreate(WCHAR* pszTitle);
    void TitleRedraw();
    void TitleDestroy();

    // Soft-key menu bar.
    HWND MenuCreate(int nMenuID, int nParam);
    void MenuRedraw();
    int MenuPopup(int nMenu);
    void MenuSetText(int nButton, WCHAR* pszText, long nItem);
    void MenuInsertItem(int nButton, unsigned int uArg2, WCHAR* pszText, unsigned int uArg4);
    void MenuDeleteItem(int nButton, unsigned int uArg2);
    void MenuDestroy();

    WCHAR m_szWindowClass[1024];
    WCHAR m_szTitle[1024];
    unsigned int m_nIconID;
    WCHAR* m_lpszAccel;
    HWND m_hWnd;
    WCHAR m_szCmdLine[1024];
    int m_bDialog;
    HINSTANCE m_hInstance;
    HWND m_hMenuBar;
    HANDLE m_hMenuBarAux;
    COLORREF m_crBaseColor;
    SHACTIVATEINFO m_ActivateInfo;
    int m_bFullScreen;
    HWND m_hTitle;
    unsigned int m_nTitleHeight;
    unsigned int m_nMenuHeight;

protected:
    static LRESULT CALLBACK BaseWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TitleProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    void CopyFrom(const LxBaseWindow& other);
    LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};
