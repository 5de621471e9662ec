// The soft-key menu bar as the main window sees it: creation through the menu-bar library's 152-byte record,
// placement at the bottom of the screen, temporary captions while a pop-up is open, item edits.
#include "LxBaseWindow.h"

#include "LxMenuBar.h"

namespace {

constexpr int kMenuBarOffset = 47; // indicator strip 21 + default bar height 26
constexpr WCHAR kCloseCaption[] = TEXT("닫기");
constexpr WCHAR kSelectCaption[] = TEXT("선택");

} // namespace

HWND LxBaseWindow::MenuCreate(int nMenuID, int nParam) {
    LXMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndOwner = LxMenuBarHandleToRecord(m_hWnd);
    info.nMenuId = DWORD(nMenuID);
    info.hInstRes = LxMenuBarHandleToRecord(GetInstance());
    info.hInstResHigh = LxMenuBarInstanceHigh(GetInstance());
    info.nParam = DWORD(nParam);
    info.nVersion = 1;
    info.nButtons = 2;
    info.bShowCaptions = 1;
    info.bForwardKeys = 1;
    if (!LxCreateMenuBar(&info)) return nullptr;
    m_hMenuBar = LxMenuBarRecordToHandle<HWND>(info.hwndMB);
    m_hMenuBarAux = LxMenuBarRecordToHandle<HANDLE>(info.hwndPopup);
    SetFocus(m_hMenuBar);
    MenuRedraw();
    return m_hMenuBar;
}

void LxBaseWindow::MenuRedraw() {
    if (!m_hMenuBar || m_bFullScreen != 1) return;
    MoveWindow(m_hMenuBar, 0, int(GetScreenHeight()) - kMenuBarOffset, int(GetScreenWidth()), int(m_nMenuHeight), 1);
    LxMoveBtn(m_hMenuBar, 0, int(GetScreenWidth()));
    InvalidateRect(m_hMenuBar, nullptr, 1);
}

int LxBaseWindow::MenuPopup(int nMenu) {
    WCHAR right[1024] = {}, left[1024] = {};
    LxGetBtnCaption(m_hMenuBar, 1, right);
    LxGetBtnCaption(m_hMenuBar, 0, left);
    LxChangeBtnCaption(m_hMenuBar, 1, kCloseCaption);
    LxChangeBtnCaption(m_hMenuBar, 0, kSelectCaption);
    const int result = LxOpenPopupMenu(m_hMenuBar, nMenu);
    LxChangeBtnCaption(m_hMenuBar, 1, right);
    LxChangeBtnCaption(m_hMenuBar, 0, left);
    return result;
}

void LxBaseWindow::MenuSetText(int nButton, WCHAR* pszText, long nItem) {
    if (nItem < 0) LxChangeBtnCaption(m_hMenuBar, nButton, pszText);
    else LxChangeCaption(m_hMenuBar, nButton, int(nItem), pszText);
}

void LxBaseWindow::MenuInsertItem(int nButton, unsigned int uArg2, WCHAR* pszText, unsigned int uArg4) {
    LxInsertManuCaption(m_hMenuBar, nButton, uArg2, 0, uArg4, pszText);
}

void LxBaseWindow::MenuDeleteItem(int nButton, unsigned int uArg2) { LxDeleteMenuItem(m_hMenuBar, nButton, uArg2); }

void LxBaseWindow::MenuDestroy() {
    if (!m_hMenuBar) return;
    LxDestroyMenuBar(m_hMenuBar);
    m_hMenuBar = nullptr;
}
