// Internal contract between cehost's window manager (user/) and its GDI (gdi/). Neither piece includes the
// other's private headers; they meet only here. Public headers never include this file.
#pragma once

#include <windows.h>
#include <vector>

namespace cehost::internal {

// Where a window may draw: the origin of its client area (or of the whole window) in screen coordinates and
// the visible parts in screen coordinates, after CE's implicit clipping of children and higher siblings and
// the clip of every ancestor. Empty `visible` for a hidden window. Provided by user/.
struct WindowSurface {
    POINT origin{0, 0};
    std::vector<RECT> visible;
};
bool GetWindowSurface(HWND hwnd, bool clientArea, WindowSurface* out);

// A device context drawing on the screen framebuffer at `surface.origin`, clipped to `surface.visible`.
// Provided by gdi/; released with ReleaseWindowSurfaceDC (which also restores every selected object).
HDC CreateWindowSurfaceDC(HWND hwnd, const WindowSurface& surface);
void ReleaseWindowSurfaceDC(HDC hdc);

// Fills `rect` (logical coordinates of hdc) with a brush or a system colour index + 1 (CE colour flag
// accepted), clipped as the DC is. Provided by gdi/; used by DefWindowProc's background erase.
void FillSurface(HDC hdc, const RECT& rect, HBRUSH brush);

// The window no longer shows what it drew (hidden, moved or destroyed): GDI forgets the text it recorded as
// drawn through that window's DCs. user/ calls it for the window and each of its descendants.
void WindowTextGone(HWND hwnd);

// Live GDI objects (stock objects excluded), for GetGuiResources(GR_GDIOBJECTS), and the highest count seen.
// Counted by gdi/ on every creation and deletion, so the counting is inline.
extern long g_gdiObjects;
extern long g_gdiPeak;
inline void GdiObjectCreated() {
    if (++g_gdiObjects > g_gdiPeak) g_gdiPeak = g_gdiObjects;
}
inline void GdiObjectDestroyed() { --g_gdiObjects; }
inline long GdiObjectCount() { return g_gdiObjects; }
// The live window count after a window was made or destroyed, so that the highest count is kept. Called by user/.
void WindowCountChanged(long live);

} // namespace cehost::internal
