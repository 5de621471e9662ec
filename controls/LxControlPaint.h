// Painting helpers the keypad controls share: a library bitmap drawn with magenta left out, a solid fill and
// the one-pixel outline. Every GDI object is made for the one call and released before returning, and the
// device context gets back what was selected into it.
#pragma once

#include <windows.h>

namespace lxpaint {

// Draws the top-left part of bitmap resource `resourceId` (searched in the library module, then in the
// application instance) into `area` at its own size, magenta pixels transparent. A bitmap found in neither
// module draws nothing.
void DrawResourceBitmap(HDC hdc, const RECT& area, UINT resourceId);
void FillSolid(HDC hdc, const RECT& area, COLORREF colour);
// The closed outline (0,0) (0,h-1) (w-1,h-1) (w-1,0) (0,0) inset by `inset` pixels, in a 1-pixel pen.
void DrawOutline(HDC hdc, int width, int height, COLORREF colour, int inset = 0);

} // namespace lxpaint
