// Graphics device interface: device contexts on the screen, on windows and on memory bitmaps; brushes, pens,
// fonts, bitmaps and rectangular clip regions; lines, fills, block transfers, transparent images and text.
// Metafiles, paths, palettes beyond the stock one, world transforms and mapping modes other than MM_TEXT are
// not provided (Windows CE has none of them either).
#pragma once
#include <cehost/win/types.h>

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

// Object types (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)
#define GDI_ERROR 0xFFFFFFFFL

// Pens and brushes.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Raster operations.
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

// Binary raster operations (SetROP2).
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// DrawTextW.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000

// ExtTextOutW and text alignment.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// Fonts.
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGEUL_CHARSET 129
#define HANGUL_CHARSET 129
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

// Bitmaps.
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

// Device capabilities.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

typedef struct tagLOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;
typedef LOGFONTW LOGFONT;

typedef struct tagTEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;
typedef TEXTMETRICW TEXTMETRIC;

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

// The binary bitmap structures keep their exact on-disk layout.
typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    int32_t biWidth;
    int32_t biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

typedef struct tagDIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
} DIBSECTION, *PDIBSECTION, *LPDIBSECTION;

// Device contexts. GetDC(NULL) is the whole screen; window DCs draw in client coordinates, clipped to the
// window's visible part.
CEHOST_API HDC WINAPI GetDC(HWND hwnd);
CEHOST_API HDC WINAPI GetWindowDC(HWND hwnd);
CEHOST_API int WINAPI ReleaseDC(HWND hwnd, HDC hdc);
CEHOST_API HDC WINAPI CreateCompatibleDC(HDC hdc);
CEHOST_API BOOL WINAPI DeleteDC(HDC hdc);
CEHOST_API int WINAPI SaveDC(HDC hdc);
CEHOST_API BOOL WINAPI RestoreDC(HDC hdc, int savedDC);
CEHOST_API int WINAPI GetDeviceCaps(HDC hdc, int index);

// Objects.
CEHOST_API HGDIOBJ WINAPI GetStockObject(int object);
CEHOST_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object);
CEHOST_API BOOL WINAPI DeleteObject(HGDIOBJ object);
CEHOST_API int WINAPI GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
CEHOST_API DWORD WINAPI GetObjectType(HGDIOBJ object);
CEHOST_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
CEHOST_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
CEHOST_API HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush);
CEHOST_API HPEN WINAPI CreatePen(int style, int width, COLORREF color);
CEHOST_API HPEN WINAPI CreatePenIndirect(const LOGPEN* pen);
CEHOST_API HFONT WINAPI CreateFontIndirectW(const LOGFONTW* font);
CEHOST_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height);
CEHOST_API HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
CEHOST_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits,
                                           HANDLE section, DWORD offset);
CEHOST_API COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color);
CEHOST_API COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color);

// Rectangular clip regions.
CEHOST_API HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom);
CEHOST_API HRGN WINAPI CreateRectRgnIndirect(const RECT* rect);
CEHOST_API BOOL WINAPI SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
CEHOST_API int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
CEHOST_API int WINAPI GetRgnBox(HRGN rgn, LPRECT rect);
CEHOST_API BOOL WINAPI PtInRegion(HRGN rgn, int x, int y);
CEHOST_API int WINAPI SelectClipRgn(HDC hdc, HRGN rgn);
CEHOST_API int WINAPI GetClipRgn(HDC hdc, HRGN rgn);
CEHOST_API int WINAPI GetClipBox(HDC hdc, LPRECT rect);
CEHOST_API int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
CEHOST_API int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);

// DC state.
CEHOST_API COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
CEHOST_API COLORREF WINAPI GetTextColor(HDC hdc);
CEHOST_API COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
CEHOST_API COLORREF WINAPI GetBkColor(HDC hdc);
CEHOST_API int WINAPI SetBkMode(HDC hdc, int mode);
CEHOST_API int WINAPI GetBkMode(HDC hdc);
CEHOST_API int WINAPI SetROP2(HDC hdc, int rop2);
CEHOST_API int WINAPI GetROP2(HDC hdc);
CEHOST_API UINT WINAPI SetTextAlign(HDC hdc, UINT align);
CEHOST_API UINT WINAPI GetTextAlign(HDC hdc);
CEHOST_API BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
CEHOST_API BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT point);
CEHOST_API BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);

// Drawing.
CEHOST_API int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
CEHOST_API int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
CEHOST_API BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
CEHOST_API BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old);
CEHOST_API BOOL WINAPI LineTo(HDC hdc, int x, int y);
CEHOST_API BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count);
CEHOST_API BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count);
CEHOST_API COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color);
CEHOST_API COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
CEHOST_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
CEHOST_API BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                              DWORD rop);
CEHOST_API BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                                  int srcWidth, int srcHeight, DWORD rop);
CEHOST_API BOOL WINAPI TransparentImage(HDC dest, LONG x, LONG y, LONG width, LONG height, HANDLE src,
                                        LONG srcX, LONG srcY, LONG srcWidth, LONG srcHeight,
                                        COLORREF transparent);
CEHOST_API BOOL WINAPI TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX,
                                      int srcY, int srcWidth, int srcHeight, UINT transparent);
CEHOST_API int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                                LPBITMAPINFO info, UINT usage);

// System colours (COLOR_* with or without the CE flag). The brushes are permanent, like stock objects.
CEHOST_API DWORD WINAPI GetSysColor(int index);
CEHOST_API HBRUSH WINAPI GetSysColorBrush(int index);

// Text.
CEHOST_API int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
CEHOST_API BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                                   UINT count, const int* dx);
CEHOST_API BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
CEHOST_API BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
CEHOST_API BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                                             LPINT dx, LPSIZE size);
CEHOST_API BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics);
CEHOST_API int WINAPI GetTextFaceW(HDC hdc, int count, LPWSTR face);

#define DrawText DrawTextW
#define ExtTextOut ExtTextOutW
#define TextOut TextOutW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentExPoint GetTextExtentExPointW
#define GetTextMetrics GetTextMetricsW
#define GetObject GetObjectW
#define CreateFontIndirect CreateFontIndirectW
#define GetTextFace GetTextFaceW
