// Modules and their resources: module handles, resource lookup in language blocks, bitmaps, icons, strings
// and accelerator tables.
//
// A shared library learns its own module handle the way a DLL does, through its process-attach entry. Next to
// the DllMain it keeps for Windows, it names that entry once:
//
//     BOOL APIENTRY DllMain(HANDLE module, DWORD reason, LPVOID reserved) { ... }
//     #ifdef CEHOST_DLL_ENTRY
//     CEHOST_DLL_ENTRY(DllMain)
//     #endif
//
// The entry then runs with DLL_PROCESS_ATTACH and the library's HINSTANCE when the library is loaded (before
// the program's main), and with DLL_PROCESS_DETACH when it is unloaded.
#pragma once
#include <cehost/win/types.h>

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_FONTDIR MAKEINTRESOURCEW(7)
#define RT_FONT MAKEINTRESOURCEW(8)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_MESSAGETABLE MAKEINTRESOURCEW(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_HTML MAKEINTRESOURCEW(23)
#define RT_MANIFEST MAKEINTRESOURCEW(24)

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_MONOCHROME 0x0001
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000
#define LR_SHARED 0x8000

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

typedef struct tagACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

CEHOST_API HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName);
CEHOST_API DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

CEHOST_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
CEHOST_API HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
CEHOST_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
CEHOST_API LPVOID WINAPI LockResource(HGLOBAL data);
CEHOST_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
CEHOST_API BOOL WINAPI FreeResource(HGLOBAL data);

CEHOST_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name);
CEHOST_API HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name);
CEHOST_API HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
CEHOST_API BOOL WINAPI DestroyIcon(HICON icon);
CEHOST_API BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step,
                                  HBRUSH flickerFree, UINT flags);
CEHOST_API BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon);
CEHOST_API BOOL WINAPI GetIconInfo(HICON icon, PICONINFO info);
CEHOST_API int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);

CEHOST_API HACCEL WINAPI LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
CEHOST_API HACCEL WINAPI CreateAcceleratorTableW(LPACCEL entries, int count);
CEHOST_API BOOL WINAPI DestroyAcceleratorTable(HACCEL table);
CEHOST_API int WINAPI CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count);
CEHOST_API int WINAPI TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);

// Menus as data: loaded from MENU and MENUEX resources or built by hand, read back by whoever draws them
// (the soft-key menu bar). Windows CE draws no menu bars; showing a menu is the caller's business.
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_STRING 0x00000000L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_OWNERDRAW 0x00000100L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_END 0x00000080L
#define MFT_STRING MF_STRING
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RADIOCHECK 0x00000200L
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_DEFAULT MF_DEFAULT
#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020

typedef struct tagMENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
} MENUITEMINFOW, *LPMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;

CEHOST_API HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name);
CEHOST_API HMENU WINAPI CreateMenu(void);
CEHOST_API HMENU WINAPI CreatePopupMenu(void);
CEHOST_API BOOL WINAPI DestroyMenu(HMENU menu);
CEHOST_API BOOL WINAPI IsMenu(HMENU menu);
CEHOST_API BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
CEHOST_API BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
CEHOST_API BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags);
CEHOST_API BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags);
CEHOST_API int WINAPI GetMenuItemCount(HMENU menu);
CEHOST_API UINT WINAPI GetMenuItemID(HMENU menu, int position);
CEHOST_API HMENU WINAPI GetSubMenu(HMENU menu, int position);
CEHOST_API int WINAPI GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int max, UINT flags);
CEHOST_API UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags);
CEHOST_API BOOL WINAPI GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
CEHOST_API BOOL WINAPI SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
CEHOST_API DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check);
CEHOST_API BOOL WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable);
CEHOST_API BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);

#define LoadMenu LoadMenuW
#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define GetMenuString GetMenuStringW
#define GetMenuItemInfo GetMenuItemInfoW
#define SetMenuItemInfo SetMenuItemInfoW
#define LoadBitmap LoadBitmapW
#define LoadIcon LoadIconW
#define LoadImage LoadImageW
#define LoadString LoadStringW
#define LoadAccelerators LoadAcceleratorsW
#define TranslateAccelerator TranslateAcceleratorW
#define FindResource FindResourceW
#define GetModuleHandle GetModuleHandleW
#define GetModuleFileName GetModuleFileNameW

// The process-attach mechanism behind CEHOST_DLL_ENTRY: runs `entry` now with the handle of the module that
// contains `anchor`, and again at unload.
typedef BOOL(WINAPI* CEHOST_DLL_ENTRY_PROC)(HANDLE, DWORD, LPVOID);
CEHOST_API HINSTANCE WINAPI CehostAttachModule(const void* anchor, CEHOST_DLL_ENTRY_PROC entry);
CEHOST_API void WINAPI CehostDetachModule(const void* anchor, CEHOST_DLL_ENTRY_PROC entry);

#ifdef __cplusplus
#define CEHOST_DLL_ENTRY_CONCAT2(a, b) a##b
#define CEHOST_DLL_ENTRY_CONCAT(a, b) CEHOST_DLL_ENTRY_CONCAT2(a, b)
#define CEHOST_DLL_ENTRY(entry)                                                                               \
    namespace {                                                                                               \
    struct CEHOST_DLL_ENTRY_CONCAT(CehostDllEntry_, __LINE__) {                                               \
        CEHOST_DLL_ENTRY_CONCAT(CehostDllEntry_, __LINE__)() {                                                \
            CehostAttachModule(this, reinterpret_cast<CEHOST_DLL_ENTRY_PROC>(&entry));                                 \
        }                                                                                                     \
        ~CEHOST_DLL_ENTRY_CONCAT(CehostDllEntry_, __LINE__)() {                                               \
            CehostDetachModule(this, reinterpret_cast<CEHOST_DLL_ENTRY_PROC>(&entry));                                 \
        }                                                                                                     \
    } CEHOST_DLL_ENTRY_CONCAT(g_cehostDllEntry_, __LINE__);                                                   \
    }
#endif
