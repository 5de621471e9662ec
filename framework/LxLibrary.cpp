// The library's process-wide state and global services. Plain integers and handles, used from the
// user-interface thread only.
#include "LxLibrary.h"

#include "LxMenuBar.h"

namespace {

HINSTANCE g_libraryModule = nullptr;
HINSTANCE g_appInstance = nullptr;
int g_lastError = 0;
// Key codes as stored; below zero (as signed) = not set, the getter answers the default.
int g_keyLeft = -1, g_keyRight = -1, g_keySelect = -1, g_keyHome = -1;
int g_orientation = 0;

unsigned int KeyOrDefault(int stored, unsigned int fallback) {
    return stored < 0 ? fallback : static_cast<unsigned int>(stored);
}

} // namespace

// The library's process entry: it learns its own module handle when it is loaded. The loader finds the entry
// by its C name.
extern "C" BOOL APIENTRY DllMain(HANDLE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_libraryModule = static_cast<HINSTANCE>(module);
    if (reason == DLL_PROCESS_DETACH) g_libraryModule = nullptr;
    return TRUE;
}
#ifdef CEHOST_DLL_ENTRY
CEHOST_DLL_ENTRY(DllMain)
#endif

HINSTANCE LxGetLibraryModule(void) { return g_libraryModule; }
HINSTANCE LxGetAppInstance(void) { return g_appInstance; }
void LxSetAppInstance(HINSTANCE instance) { g_appInstance = instance; }

void LxSetLastError(int value) { g_lastError = value; }
int LxGetLastError(void) { return g_lastError; }

void LxSetMenuKeyLeft(unsigned int vk) {
    g_keyLeft = static_cast<int>(vk);
    LxGiveLeftKey(vk);
}
void LxSetMenuKeyRight(unsigned int vk) {
    g_keyRight = static_cast<int>(vk);
    LxGiveRightKey(vk);
}
void LxSetSelectKey(unsigned int vk) {
    g_keySelect = static_cast<int>(vk);
    LxGiveSelectKey(vk);
}
void LxSetHomeKey(unsigned int vk) {
    g_keyHome = static_cast<int>(vk);
    LxGiveHomeKey(vk);
}
unsigned int LxGetMenuKeyLeft(void) { return KeyOrDefault(g_keyLeft, VK_F1); }
unsigned int LxGetMenuKeyRight(void) { return KeyOrDefault(g_keyRight, VK_F2); }
unsigned int LxGetSelectKey(void) { return KeyOrDefault(g_keySelect, VK_F3); }
unsigned int LxGetHomeKey(void) { return KeyOrDefault(g_keyHome, VK_F4); }

void LxKeyEvent(unsigned char vk) {
    keybd_event(vk, 0, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(vk, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

// A window is subclassed at most once: its previous procedure lives in the user data, where every
// replacement procedure of the library finds it again.
void LxSubClassing(HWND hwnd, WNDPROC proc) {
    if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

void LxSetBorder(HWND hwnd, int border) {
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, border ? (style | WS_BORDER) : (style & ~LONG(WS_BORDER)));
}

// The remembered orientation is what was last asked for, kept even when the display refuses the change,
// so the next "rotate on" continues from the request.
int LxRotateScreen(int orientation) {
    if (orientation > 4 || orientation == 3) return 0;
    if (orientation < 0) {
        switch (g_orientation) {
        case 0: orientation = 1; break;
        case 1: orientation = 2; break;
        case 2: orientation = 4; break;
        default: orientation = 0; break;
        }
    }
    g_orientation = orientation;
    DEVMODEW mode = {};
    mode.dmSize = 192;
    mode.dmFields = DM_DISPLAYORIENTATION;
    mode.dmDisplayOrientation = static_cast<DWORD>(orientation);
    return ChangeDisplaySettingsEx(nullptr, &mode, nullptr, CDS_RESET, nullptr) == DISP_CHANGE_SUCCESSFUL ? 1 : 0;
}
