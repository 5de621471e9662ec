// System colours as GDI needs them: FillRect and window-class backgrounds accept a colour index + 1 in place
// of a brush, with or without the CE flag 0x40000000.
#pragma once

#include <windows.h>

namespace cehost::gdi {

// The colour of index `index` (flag already removed), or false when there is no such index.
bool SystemColor(int index, COLORREF& color);
// Recognises "COLOR_x + 1" passed as a brush.
bool SystemColorOfBrushValue(HBRUSH brush, COLORREF& color);

} // namespace cehost::gdi
