// Weak fallbacks of the window-manager/GDI contract, so that each piece links and is tested on its own while
// the other is absent. The real definitions in user/ and gdi/ replace these at link time.
#include "internal/bridge.h"

#include <atomic>

namespace cehost::internal {

__attribute__((weak)) bool GetWindowSurface(HWND, bool, WindowSurface*) { return false; }
__attribute__((weak)) HDC CreateWindowSurfaceDC(HWND, const WindowSurface&) { return nullptr; }
__attribute__((weak)) void ReleaseWindowSurfaceDC(HDC) {}
__attribute__((weak)) void FillSurface(HDC, const RECT&, HBRUSH) {}

} // namespace cehost::internal
