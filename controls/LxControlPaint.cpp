// Painting helpers of the keypad controls.
#include "LxControlPaint.h"

#include "LxLibrary.h"

#include <algorithm>

namespace lxpaint {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

HBITMAP LoadLibraryBitmap(UINT resourceId) {
    const WCHAR* name = MAKEINTRESOURCEW(resourceId & 0xFFFF);
    HBITMAP bitmap = LoadBitmapW(LxGetLibraryModule(), name);
    // Without an application instance there is no second module to look in.
    if (!bitmap && LxGetAppInstance()) bitmap = LoadBitmapW(LxGetAppInstance(), name);
    return bitmap;
}

} // namespace

void DrawResourceBitmap(HDC hdc, const RECT& area, UINT resourceId) {
    HBITMAP bitmap = LoadLibraryBitmap(resourceId);
    if (!bitmap) return;
    HDC memory = CreateCompatibleDC(hdc);
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        // A bitmap smaller than the area gives what it has rather than reading past its edge.
        BITMAP info = {};
        GetObjectW(bitmap, sizeof(info), &info);
        const LONG width = std::min<LONG>(area.right - area.left, info.bmWidth);
        const LONG height = std::min<LONG>(area.bottom - area.top, info.bmHeight);
        if (width > 0 && height > 0)
            TransparentImage(hdc, area.left, area.top, width, height, memory, 0, 0, width, height, kTransparent);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
}

void FillSolid(HDC hdc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &area, brush);
    DeleteObject(brush);
}

void DrawOutline(HDC hdc, int width, int height, COLORREF colour, int inset) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(hdc, pen);
    const int left = inset, top = inset, right = width - 1 - inset, bottom = height - 1 - inset;
    MoveToEx(hdc, left, top, nullptr);
    LineTo(hdc, left, bottom);
    LineTo(hdc, right, bottom);
    LineTo(hdc, right, top);
    LineTo(hdc, left, top);
    SelectObject(hdc, previous);
    DeleteObject(pen);
}

} // namespace lxpaint
