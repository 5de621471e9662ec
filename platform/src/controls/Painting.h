// Drawing helpers shared by the system controls.
#pragma once

#include <windows.h>

#include <string>

namespace cehost::controls {

// Asks the parent for the control's colours (WM_CTLCOLOR*): the DC gets the default text and background
// colours first, so a parent that answers nothing still leaves it readable. Returns the brush to fill with.
HBRUSH ControlColor(HWND control, HDC hdc, UINT message);

// System colours for the controls' own drawing: the brush form "COLOR_x + 1" that FillRect accepts, and the
// colour GDI paints for it.
HBRUSH SysBrush(int index);
COLORREF SysColour(int index);

// The font a control draws with: the one given by WM_SETFONT, else the system font.
HGDIOBJ FontOrDefault(HFONT font);

// The window's text through WM_GETTEXT.
std::u16string WindowText(HWND hwnd);

// A one-pixel rectangle outline in a colour.
void FrameRectangle(HDC hdc, const RECT& rc, COLORREF colour);

} // namespace cehost::controls
