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

// Answers WM_PAINT and WM_PRINTCLIENT: `draw(hdc, area)` paints the whole client area on the DC that
// WM_PRINTCLIENT gives, else the invalid part between BeginPaint and EndPaint.
template <class Draw>
void PaintControl(HWND hwnd, HDC given, Draw draw)
{
    if (given != nullptr) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        draw(given, rc);
        return;
    }
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc != nullptr)
        draw(hdc, ps.rcPaint);
    EndPaint(hwnd, &ps);
}

// WM_SETTEXT of a control that draws its text: stored as usual, then the whole control repainted.
LRESULT SetTextAndRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace cehost::controls
