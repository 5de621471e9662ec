// Shared pieces of GDI's drawing: the surface, clip and offset a DC draws with, brush colours, fills.
#pragma once

#include "gdi/GdiObjects.h"

namespace cehost::gdi {

struct DrawTarget {
    DeviceContext* dc = nullptr;
    Surface* surface = nullptr;
    const std::vector<RECT>* clip = nullptr; // surface coordinates
    POINT offset{0, 0};                      // logical to surface
};

// Fails (with ERROR_INVALID_HANDLE) for a handle that is not a DC. A bitmap sharing its pixels with other
// handles gets its own copy unless `readOnly`. Screen rows a move left owed are paid, unless `keepOwedRows`:
// the caller then forgives or pays them before it draws.
bool BeginDraw(HDC hdc, DrawTarget& t, bool readOnly = false, bool keepOwedRows = false);
// Colour of a brush handle, a DC_BRUSH or a system colour index + 1; false for the null brush or a bad handle.
bool BrushColor(DeviceContext* dc, HBRUSH brush, uint32_t& pixel);
void FillDeviceRect(const DrawTarget& t, const RECT& r, uint32_t pixel);
void MixDeviceRect(const DrawTarget& t, const RECT& r, uint32_t pixel, int rop2);
bool InClip(const DrawTarget& t, LONG x, LONG y);
uint32_t Rop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t dest);

} // namespace cehost::gdi
