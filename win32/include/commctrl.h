// Desktop Win32 build only: the desktop's <commctrl.h> (after <windows.h>, as the device's may be included
// first), plus the list-view style that only the device's list view has.
#pragma once

#include <windows.h>

#include_next <commctrl.h>

// The device's list view can refuse a horizontal scroll bar. The desktop's has no such style (the bit means
// something else there), so it is nothing: a desktop list whose columns are wider than its client shows a
// horizontal bar where the device shows none.
#ifndef LVS_EX_NOHSCROLL
#define LVS_EX_NOHSCROLL 0
#endif
