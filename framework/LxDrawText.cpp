// Text drawing in the library's font: a font made for the one call, a transparent background, and the device
// context handed back exactly as it came. Texts longer than 127 characters are cut to 127.
#include "LxLibrary.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kWorkingBufferLength = 128;
constexpr WCHAR kFontFace[] = TEXT("LxFont");

void CopyCut(WCHAR (&buffer)[kWorkingBufferLength], const WCHAR* text) {
    for (int i = 0; text && i < kWorkingBufferLength - 1 && text[i]; ++i) buffer[i] = text[i];
}

int Length(const WCHAR* text) {
    int n = 0;
    while (text && text[n]) ++n;
    return n;
}

// Selects a fresh LxFont and the transparent mode, draws, and restores both.
template <class Draw> int WithLibraryFont(HDC hdc, unsigned int height, Draw draw) {
    LOGFONTW description;
    LxGetFillLogFont(&description, height);
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ previousFont = font ? SelectObject(hdc, font) : nullptr;
    const int previousMode = GetBkMode(hdc);
    SetBkMode(hdc, TRANSPARENT);
    const int result = draw();
    if (previousFont) SelectObject(hdc, previousFont);
    if (font) DeleteObject(font);
    SetBkMode(hdc, previousMode);
    return result;
}

} // namespace

void LxGetFillLogFont(LOGFONTW* font, unsigned int height) {
    if (!font) return;
    font->lfHeight = static_cast<LONG>(height);
    font->lfWidth = 0;
    font->lfEscapement = 0;
    font->lfOrientation = 0;
    font->lfWeight = FW_NORMAL;
    font->lfItalic = 0;
    font->lfUnderline = 0;
    font->lfStrikeOut = 0;
    font->lfCharSet = HANGEUL_CHARSET;
    font->lfOutPrecision = OUT_DEFAULT_PRECIS;
    font->lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font->lfQuality = DEFAULT_QUALITY;
    font->lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    std::memcpy(font->lfFaceName, kFontFace, sizeof(kFontFace));
}

int LxDrawText(HDC hdc, const WCHAR* text, int top, int left, unsigned int height) {
    WCHAR buffer[kWorkingBufferLength] = {};
    CopyCut(buffer, text);
    return WithLibraryFont(hdc, height, [&] {
        SIZE extent = {};
        GetTextExtentExPointW(hdc, text ? text : TEXT(""), Length(text), 0, nullptr, nullptr, &extent);
        RECT rect = {left, top, left + extent.cx, top + extent.cy};
        return DrawTextW(hdc, buffer, Length(buffer), &rect, 0);
    });
}

int LxDrawText(HDC hdc, const WCHAR* format, int value, RECT* rect, unsigned int flags, unsigned int height) {
    WCHAR buffer[kWorkingBufferLength] = {};
    // The formatted text is cut to the working buffer, never written past it.
    _snwprintf(buffer, kWorkingBufferLength - 1, format ? format : TEXT(""), value);
    buffer[kWorkingBufferLength - 1] = 0;
    return WithLibraryFont(hdc, height, [&] { return DrawTextW(hdc, buffer, Length(buffer), rect, flags); });
}

int LxDrawText(HDC hdc, const WCHAR* text, RECT* rect, unsigned int flags, unsigned int height) {
    WCHAR buffer[kWorkingBufferLength] = {};
    CopyCut(buffer, text);
    return WithLibraryFont(hdc, height, [&] { return DrawTextW(hdc, buffer, Length(buffer), rect, flags); });
}
