// The soft-key menu-bar library: a strip at the bottom of an owner window showing the captions of two soft
// keys, with a pop-up menu behind each, read from the host's MENU resource (the first two top-level items
// give the captions, their sub-items the pop-up menus). Keys that reach the bar are forwarded to the owner in
// the library's key protocol, so soft keys pressed while the bar has the focus become soft-key commands.
#pragma once

#include <windows.h>

// Creation record, 152 bytes of 32-bit words. Window and instance handles are kept in 32 bits: the
// platform's handles always fit there.
struct LXMENUBARINFO {
    DWORD cbSize;       //   0: 152
    DWORD hwndOwner;    //   4: window that receives the key messages and owns the bar
    DWORD dwFlags;      //   8: no flags are defined; 0
    DWORD nMenuId;      //  12: MENU resource identifier
    DWORD hInstRes;     //  16: module holding the resource
    DWORD nBmpId;       //  20: no bitmaps; 0
    DWORD cBmpImages;   //  24: 0
    DWORD hwndMB;       //  28: out: the bar window
    DWORD hwndPopup;    //  32: out: the window that shows the pop-up menus
    DWORD dwReserved;   //  36: 0
    DWORD nParam;       //  40: the creator's own value, kept with the bar
    DWORD nVersion;     //  44: record version, 1
    DWORD nButtons;     //  48: number of soft keys, 2
    DWORD bShowCaptions;//  52: 1 = paint the captions
    DWORD bForwardKeys; //  56: 1 = forward keys to the owner
    DWORD hInstResHigh; //  60: upper half of hInstRes where pointers are 64-bit; 0 where they are 32-bit
    DWORD adwZero[22];  //  64..151: 0
};
static_assert(sizeof(LXMENUBARINFO) == 152, "the creation record is 152 bytes");

// Window handles travel in the record's 32-bit words: only their low 32 bits are significant, and 64-bit
// Windows sign-extends them back.
inline DWORD LxMenuBarHandleToRecord(const void* handle) {
    return DWORD(reinterpret_cast<ULONG_PTR>(handle));
}
template <class H> inline H LxMenuBarRecordToHandle(DWORD value) {
    return reinterpret_cast<H>(static_cast<LONG_PTR>(static_cast<INT32>(value)));
}
// A module handle is the module's address, which needs all 64 bits on 64-bit Windows: its upper half travels
// in hInstResHigh.
inline DWORD LxMenuBarInstanceHigh(HINSTANCE instance) {
    return DWORD(ULONGLONG(reinterpret_cast<ULONG_PTR>(instance)) >> 32);
}
inline HINSTANCE LxMenuBarRecordToInstance(DWORD low, DWORD high) {
    return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>((ULONGLONG(high) << 32) | low));
}

// Creates the bar (hidden until it is moved into place) and fills hwndMB and hwndPopup.
// Returns 1, or 0 when the record is malformed, the owner is not a window or the menu resource is missing.
int LxCreateMenuBar(LXMENUBARINFO* info);
void LxDestroyMenuBar(HWND bar);
// Lays the two buttons out over `width` pixels starting at `left`.
int LxMoveBtn(HWND bar, int left, int width);
// Copies the caption of button 0 or 1 into a buffer of at least 1024 characters, terminated.
int LxGetBtnCaption(HWND bar, int button, WCHAR* buffer);
int LxChangeBtnCaption(HWND bar, int button, const WCHAR* caption);
// Changes the text of item `item` (a position) of the button's pop-up menu.
int LxChangeCaption(HWND bar, int button, int item, const WCHAR* text);
// Inserts an item before position `position` (a position past the end, or 0xFFFFFFFF, appends) with the
// command identifier `command`; `reserved` is 0.
int LxInsertManuCaption(HWND bar, int button, UINT position, UINT reserved, UINT command, const WCHAR* text);
// Deletes the item at `position` of the button's pop-up menu.
int LxDeleteMenuItem(HWND bar, int button, UINT position);
// Opens the pop-up menu of button `menu` above the bar, never over the 21-pixel indicator strip (a menu
// longer than that room scrolls, the selected item always shown), and runs it modally from the keypad: Up
// and Down move and wrap around, Select, Return or the left soft key choose, the right soft key, Escape, Back
// or Home close. Returns the
// chosen item's command identifier, or 0 when the menu was closed, is empty or the bar is unknown.
int LxOpenPopupMenu(HWND bar, int menu);

// Key codes the bar reacts to (left and right soft key, Select, Home). A value with the top bit set means
// "not set": the default (VK_F1, VK_F2, VK_F3, VK_F4) applies.
void LxGiveLeftKey(unsigned int vk);
void LxGiveRightKey(unsigned int vk);
void LxGiveSelectKey(unsigned int vk);
void LxGiveHomeKey(unsigned int vk);
