// GDI and system cases: DrawTextW layout, GDI object counts, the registry, code page 949.
// Fonts differ between platforms, so text is observed against the selected font's own metrics: heights in
// lines of tmHeight, widths against GetTextExtentPoint32W of the same text, ink positions against the rectangle.
#include "Conformance.h"

#include <set>

using namespace conformance;

namespace {

std::string Hex(const void* data, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += Format("%02X", static_cast<const unsigned char*>(data)[i]);
    return text;
}

struct TextDC {
    HDC dc;
    HBITMAP bitmap;
    HFONT font;
    HGDIOBJ oldBitmap, oldFont;
    int line, average;
    TextDC() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 200, 100);
        ReleaseDC(nullptr, screen);
        LOGFONTW lf = {};
        lf.lfHeight = -14;
        font = CreateFontIndirectW(&lf);
        oldBitmap = SelectObject(dc, bitmap);
        oldFont = SelectObject(dc, font);
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        line = tm.tmHeight;
        average = tm.tmAveCharWidth;
    }
    ~TextDC() {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(font);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    int Extent(const WCHAR* text) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
        return size.cx;
    }
    // A height in lines: "2L", "1L+3".
    std::string Lines(int v) {
        int n = v / line, rest = v - n * line;
        return rest ? Format("%dL%+d", n, rest) : Format("%dL", n);
    }
    // The ink of the last drawing in the bitmap: its bounding box, or "none".
    RECT Ink() {
        RECT box = {1000, 1000, -1, -1};
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    box.left = x < box.left ? x : box.left;
                    box.top = y < box.top ? y : box.top;
                    box.right = x + 1 > box.right ? x + 1 : box.right;
                    box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
                }
        return box;
    }
    RECT Draw(const WCHAR* text, RECT rc, UINT flags) {
        RECT all = {0, 0, 200, 100};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        DrawTextW(dc, text, -1, &rc, flags);
        return Ink();
    }
};

} // namespace

CONFORMANCE_CASE(drawtext) {
    TextDC t;
    // DT_CALCRECT from a rectangle at (10,20), `width` wide: the width against the extent of `widest`.
    auto calc = [&t](const char* key, const WCHAR* text, UINT flags, int width, const WCHAR* widest) {
        RECT rc = {10, 20, 10 + width, 220};
        int height = DrawTextW(t.dc, text, -1, &rc, flags | DT_CALCRECT);
        int w = rc.right - rc.left - (widest ? t.Extent(widest) : 0);
        Log(key, "left %d top %d width%s%+d height %s returns %s", int(rc.left), int(rc.top),
            widest ? " ext" : "", w, t.Lines(rc.bottom - rc.top).c_str(), t.Lines(height).c_str());
    };
    calc("calc_single", TEXT("Hello world"), DT_SINGLELINE, 300, TEXT("Hello world"));
    calc("calc_lines", TEXT("ab\ncd\r\nlonger line"), 0, 300, TEXT("longer line"));
    calc("calc_single_ignores_breaks", TEXT("ab\ncd"), DT_SINGLELINE | DT_WORDBREAK, 10, TEXT("ab\ncd"));
    calc("calc_wordbreak", TEXT("aaa aaa aaa aaa"), DT_WORDBREAK, t.Extent(TEXT("aaa aaa")) + 1, TEXT("aaa aaa"));
    calc("calc_long_word", TEXT("abcdefghijklmnop"), DT_WORDBREAK, 20, TEXT("abcdefghijklmnop"));
    calc("calc_prefix", TEXT("&File"), DT_SINGLELINE, 300, TEXT("File"));
    calc("calc_noprefix", TEXT("&File"), DT_SINGLELINE | DT_NOPREFIX, 300, TEXT("&File"));
    calc("calc_empty", TEXT(""), 0, 300, nullptr);
    calc("calc_empty_single", TEXT(""), DT_SINGLELINE, 300, nullptr);
    RECT tabs = {0, 0, 300, 100};
    DrawTextW(t.dc, TEXT("a\tb"), -1, &tabs, DT_EXPANDTABS | DT_SINGLELINE | DT_CALCRECT);
    Log("calc_tabs", "width 8ave+ext%+d", int(tabs.right - 8 * t.average - t.Extent(TEXT("b"))));
    RECT box = {0, 20, 200, 120};
    Log("return_vcenter_multiline", "%s", t.Lines(DrawTextW(t.dc, TEXT("x"), -1, &box, DT_VCENTER)).c_str());
    int centred = DrawTextW(t.dc, TEXT("x"), -1, &box, DT_VCENTER | DT_SINGLELINE);
    Log("return_vcenter", "%d", centred - (50 - t.line / 2 + t.line));
    Log("return_bottom", "%d", DrawTextW(t.dc, TEXT("x"), -1, &box, DT_BOTTOM | DT_SINGLELINE) - 100);
    Log("return_null", "%d", DrawTextW(t.dc, nullptr, -1, &box, 0));
    RECT ink = t.Draw(TEXT("M"), {0, 0, 200, 100}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    int sides = int(ink.left) - (200 - int(ink.right)), ends = int(ink.top) - (100 - int(ink.bottom));
    Log("ink_centred", "horizontal %d vertical %d", sides >= -2 && sides <= 2, ends >= -t.line / 2 && ends <= t.line / 2);
    ink = t.Draw(TEXT("M"), {0, 0, 200, 100}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    Log("ink_right_bottom", "right %d bottom %d", ink.right >= 195, ink.bottom >= 100 - t.line / 2);
    ink = t.Draw(TEXT("M"), {0, 0, 200, 100}, DT_BOTTOM | DT_VCENTER);
    Log("ink_multiline_top", "top %d", ink.top < t.line);
    ink = t.Draw(TEXT("MMMMMMMMMM"), {50, 40, 60, 60}, DT_SINGLELINE);
    Log("ink_clipped", "%d", ink.left >= 50 && ink.right <= 60 && ink.top >= 40 && ink.bottom <= 60);
    ink = t.Draw(TEXT("MMMMMMMMMM"), {50, 40, 60, 60}, DT_SINGLELINE | DT_NOCLIP);
    Log("ink_noclip", "%d", ink.right > 60);
    ink = t.Draw(TEXT("MMMM\nMMMM"), {50, 40, 200, 40 + t.line}, 0);
    Log("ink_second_line_clipped", "%d", ink.bottom <= 40 + t.line);
}

CONFORMANCE_CASE(gdi_objects) {
    HANDLE process = GetCurrentProcess();
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS), user = GetGuiResources(process, GR_USEROBJECTS);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    LOGFONTW lf = {};
    lf.lfHeight = 12;
    HFONT font = CreateFontIndirectW(&lf);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HWND window = CreateRecorded("window", WS_POPUP, 0, 0, 10, 10);
    Log("created", "gdi %d user %d", int(GetGuiResources(process, GR_GDIOBJECTS) - gdi),
        int(GetGuiResources(process, GR_USEROBJECTS) - user));
    HGDIOBJ old = SelectObject(dc, bitmap);
    Log("select", "old_is_bitmap %d", GetObjectType(old) == OBJ_BITMAP);
    Log("delete_selected", "%d", DeleteObject(bitmap));
    Log("delete_stock", "%d", DeleteObject(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteObject(brush);
    DeleteObject(pen);
    DeleteObject(font);
    DeleteDC(dc);
    DestroyWindow(window);
    Log("released", "gdi %d user %d", int(GetGuiResources(process, GR_GDIOBJECTS) - gdi),
        int(GetGuiResources(process, GR_USEROBJECTS) - user));
}

CONFORMANCE_CASE(registry) {
    const WCHAR* base = TEXT("Software\\LxConformance");
    RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("Software\\LxConformance\\sub\\deep"));
    RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("Software\\LxConformance\\sub"));
    RegDeleteKeyW(HKEY_CURRENT_USER, base);
    HKEY key = nullptr, again = nullptr, sub = nullptr, deep = nullptr;
    DWORD created = 0, opened = 0;
    LONG first = RegCreateKeyExW(HKEY_CURRENT_USER, base, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &created);
    LONG second = RegCreateKeyExW(HKEY_CURRENT_USER, base, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &again, &opened);
    Log("create", "%d %d then %d %d", int(first), int(created), int(second), int(opened));
    RegCloseKey(again);
    const WCHAR name[] = TEXT("Keypad");
    DWORD seven = 7;
    const BYTE blob[3] = {1, 2, 3};
    LONG s1 = RegSetValueExW(key, TEXT("name"), 0, REG_SZ, (const BYTE*)name, sizeof name);
    LONG s2 = RegSetValueExW(key, TEXT("count"), 0, REG_DWORD, (const BYTE*)&seven, sizeof seven);
    LONG s3 = RegSetValueExW(key, TEXT("blob"), 0, REG_BINARY, blob, sizeof blob);
    Log("set", "%d %d %d", int(s1), int(s2), int(s3));
    DWORD type = 0, size = 0;
    LONG q = RegQueryValueExW(key, TEXT("NAME"), nullptr, &type, nullptr, &size);
    Log("query_size", "%d type %d size %d", int(q), int(type), int(size));
    WCHAR text[16] = {};
    size = 4;
    q = RegQueryValueExW(key, TEXT("name"), nullptr, &type, (BYTE*)text, &size);
    Log("query_small", "%d size %d", int(q), int(size));
    size = sizeof text;
    q = RegQueryValueExW(key, TEXT("name"), nullptr, &type, (BYTE*)text, &size);
    Log("query_text", "%d size %d text %s", int(q), int(size), Hex(text, int(size)).c_str());
    DWORD number = 0;
    size = sizeof number;
    q = RegQueryValueExW(key, TEXT("count"), nullptr, &type, (BYTE*)&number, &size);
    Log("query_dword", "%d type %d value %d", int(q), int(type), int(number));
    Log("query_missing", "%d", int(RegQueryValueExW(key, TEXT("none"), nullptr, nullptr, nullptr, nullptr)));
    RegCreateKeyExW(key, TEXT("sub\\deep"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, nullptr);
    RegCloseKey(deep);
    DWORD subkeys = 0, values = 0, longestName = 0, longestData = 0;
    q = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr);
    Log("info", "%d subkeys %d values %d name %d data %d", int(q), int(subkeys), int(values), int(longestName),
        int(longestData));
    // Win32 leaves the order of enumeration open: the names are logged sorted.
    std::set<std::string> names;
    for (DWORD i = 0;; ++i) {
        WCHAR valueName[32];
        DWORD length = 32;
        LONG e = RegEnumValueW(key, i, valueName, &length, nullptr, &type, nullptr, nullptr);
        if (e != ERROR_SUCCESS) {
            names.insert(Format("end:%d", int(e)));
            break;
        }
        names.insert(Narrow(valueName, int(length)) + Format(":%d", int(type)));
    }
    std::string list;
    for (const std::string& entry : names) list += " " + entry;
    Log("enum_values", "%s", list.c_str());
    WCHAR keyName[32];
    DWORD keyLength = 32;
    LONG e0 = RegEnumKeyExW(key, 0, keyName, &keyLength, nullptr, nullptr, nullptr, nullptr);
    keyLength = 32;
    Log("enum_keys", "%d length %d then %d", int(e0), int(keyLength),
        int(RegEnumKeyExW(key, 1, keyName, &keyLength, nullptr, nullptr, nullptr, nullptr)));
    Log("open_missing", "%d", int(RegOpenKeyExW(key, TEXT("absent"), 0, KEY_READ, &sub)));
    LONG slash = RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("\\Software\\LxConformance"), 0, KEY_READ, &sub);
    if (slash == ERROR_SUCCESS) RegCloseKey(sub);
    Log("open_leading_backslash", "%d", int(slash));
    LONG deleted = RegDeleteValueW(key, TEXT("blob"));
    Log("delete_value", "%d then %d", int(deleted), int(RegDeleteValueW(key, TEXT("blob"))));
    Log("delete_with_subkeys", "%d", int(RegDeleteKeyW(key, TEXT("sub"))));
    RegDeleteKeyW(key, TEXT("sub\\deep"));
    RegDeleteKeyW(key, TEXT("sub"));
    Log("close", "%d", int(RegCloseKey(key)));
    deleted = RegDeleteKeyW(HKEY_CURRENT_USER, base);
    Log("delete", "%d then %d", int(deleted), int(RegOpenKeyExW(HKEY_CURRENT_USER, base, 0, KEY_READ, &sub)));
}

CONFORMANCE_CASE(codepage_949) {
    // "한글A", then a syllable only the extended (unified Hangul) code page has.
    const char korean[] = "\xC7\xD1\xB1\xDB" "A" "\x81\x41";
    WCHAR wide[16] = {};
    int needed = MultiByteToWideChar(949, 0, korean, -1, nullptr, 0);
    int n = MultiByteToWideChar(949, 0, korean, -1, wide, 16);
    Log("to_wide", "needed %d got %d units %s", needed, n, Hex(wide, n * 2).c_str());
    SetLastError(0);
    int small = MultiByteToWideChar(949, 0, korean, -1, wide, 2);
    Log("to_wide_small", "%d error %d", small, int(GetLastError()));
    char narrow[16] = {};
    needed = WideCharToMultiByte(949, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    n = WideCharToMultiByte(949, 0, wide, -1, narrow, 16, nullptr, nullptr);
    Log("to_narrow", "needed %d got %d bytes %s", needed, n, Hex(narrow, n).c_str());
    const WCHAR thai[] = {0x0E01, 'x', 0};
    BOOL usedDefault = FALSE;
    n = WideCharToMultiByte(949, 0, thai, -1, narrow, 16, nullptr, &usedDefault);
    Log("unmappable", "%d bytes %s default %d", n, Hex(narrow, n).c_str(), usedDefault);
    // A lone lead byte at the end, a lead byte before a byte that cannot trail, bytes that start nothing.
    const char* invalid[] = {"a\xC7", "\xB0 x", "\x80z\xFF"};
    std::string decoded;
    for (const char* bytes : invalid) {
        n = MultiByteToWideChar(949, 0, bytes, -1, wide, 16);
        decoded += Format(" %d:", n) + Hex(wide, n * 2);
    }
    Log("invalid_bytes", "%s", decoded.c_str());
    SetLastError(0);
    n = MultiByteToWideChar(949, MB_ERR_INVALID_CHARS, "a\xC7", 2, wide, 16);
    Log("lone_lead_byte_strict", "%d error %d", n, int(GetLastError()));
    Log("ansi_code_page", "%d", int(GetACP()));
}
