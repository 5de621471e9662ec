// The soft-key menu bar: bar window, captions and pop-up menus from the host's MENU resource, keypad-driven
// modal pop-ups that scroll when they do not fit above the bar, key forwarding to the owner. Leaves out: nested pop-ups inside a pop-up (shown greyed and
// not chosen), bitmaps on the buttons, MENUEX resources.
#include "LxMenuBar.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using WString = std::basic_string<WCHAR>;

// The owner understands the library's key protocol; the numbers are shared with it.
constexpr UINT kMsgBackKey = 10127;
constexpr UINT kMsgHomeKey = 10128;
constexpr UINT kMsgKeyUp = 10130;
constexpr UINT kMsgKeyDown = 10132;

constexpr WCHAR kBarClass[] = TEXT("LxMenuBar");
constexpr WCHAR kPopupClass[] = TEXT("LxMenuPopup");
constexpr WCHAR kFontFace[] = TEXT("LxFont");
constexpr int kButtonCount = 2;
constexpr int kCaptionHeight = 18;
constexpr int kItemHeight = 24;
constexpr int kItemFontHeight = 16;
constexpr int kPopupPadding = 8;
constexpr int kArrowStrip = 12;     // height of the strips that show where more items lie
constexpr int kIndicatorStrip = 21; // the system's strip at the top of the screen, never covered

constexpr COLORREF kBarTop = RGB(0x58, 0x58, 0x58);
constexpr COLORREF kBarFace = RGB(0x18, 0x18, 0x18);
constexpr COLORREF kCaptionColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kPopupFace = RGB(0x27, 0x27, 0x27);
constexpr COLORREF kPopupFrame = RGB(0x58, 0x58, 0x58);
constexpr COLORREF kItemColour = RGB(0x96, 0x96, 0x96);
constexpr COLORREF kSelectedFace = RGB(0, 0, 0);
constexpr COLORREF kSelectedColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kGreyedColour = RGB(0x50, 0x50, 0x50);

// Key codes handed over by the library; top bit set = not set.
unsigned int g_keyLeft = 0xFFFFFFFF, g_keyRight = 0xFFFFFFFF, g_keySelect = 0xFFFFFFFF, g_keyHome = 0xFFFFFFFF;
unsigned int KeyOr(unsigned int stored, unsigned int fallback) { return (stored & 0x80000000u) ? fallback : stored; }
unsigned int LeftKey() { return KeyOr(g_keyLeft, VK_F1); }
unsigned int RightKey() { return KeyOr(g_keyRight, VK_F2); }
unsigned int SelectKey() { return KeyOr(g_keySelect, VK_F3); }
unsigned int HomeKey() { return KeyOr(g_keyHome, VK_F4); }

struct MenuItem {
    WString text;
    UINT command = 0;
    WORD flags = 0; // MF_* of the resource
    bool Choosable() const { return !(flags & (MF_GRAYED | MF_POPUP)) && !text.empty(); }
};

struct MenuBar {
    HWND bar = nullptr;
    HWND owner = nullptr;
    HWND popup = nullptr;
    DWORD param = 0;
    bool showCaptions = true;
    bool forwardKeys = true;
    WString captions[kButtonCount];
    std::vector<MenuItem> menus[kButtonCount];
    int left = 0, width = 0; // button layout from LxMoveBtn
};

// State of the one pop-up that is open (pop-ups are modal, so there is never more than one).
struct OpenPopup {
    MenuBar* bar = nullptr;
    int menu = 0;
    int selected = -1;
    int top = 0;     // first item shown
    int visible = 0; // items shown at once
    bool scrolls = false;
    int result = 0;
    bool done = false;
    bool keyDown[256] = {};
};
OpenPopup* g_openPopup = nullptr;

MenuBar* BarOf(HWND bar) {
    if (!bar || !IsWindow(bar)) return nullptr;
    WCHAR cls[32] = {};
    if (!GetClassNameW(bar, cls, 32) || std::basic_string_view<WCHAR>(cls) != kBarClass) return nullptr;
    return reinterpret_cast<MenuBar*>(GetWindowLongPtrW(bar, GWLP_USERDATA));
}

bool ValidButton(int button) { return button >= 0 && button < kButtonCount; }

// --- Reading the MENU resource (standard format: WORD version 0, WORD header size, then items in
// pre-order; MF_END marks the last item of each level). Every read is bounds-checked.
class MenuReader {
public:
    MenuReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ReadWord(WORD* out) {
        if (pos_ + 2 > size_) return false;
        *out = WORD(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool ReadText(WString* out) {
        out->clear();
        for (WORD ch; ReadWord(&ch);) {
            if (ch == 0) return true;
            out->push_back(WCHAR(ch));
        }
        return false;
    }
    bool Skip(size_t bytes) {
        if (pos_ + bytes > size_) return false;
        pos_ += bytes;
        return true;
    }

    // Reads one level; pop-ups at `depth` 0 become the buttons, their children the items.
    bool ReadLevel(int depth, MenuBar* bar, int* topIndex, std::vector<MenuItem>* into) {
        for (;;) {
            WORD flags = 0, id = 0;
            WString text;
            if (!ReadWord(&flags)) return false;
            if (!(flags & MF_POPUP) && !ReadWord(&id)) return false;
            if (!ReadText(&text)) return false;
            if (depth == 0) {
                const int index = (*topIndex)++;
                if (index < kButtonCount) bar->captions[index] = text;
                std::vector<MenuItem> ignored;
                std::vector<MenuItem>* children = index < kButtonCount ? &bar->menus[index] : &ignored;
                if ((flags & MF_POPUP) && !ReadLevel(1, bar, topIndex, children)) return false;
            } else {
                into->push_back(MenuItem{text, id, flags});
                std::vector<MenuItem> nested; // nested pop-ups are read past, not shown
                if ((flags & MF_POPUP) && !ReadLevel(depth + 1, bar, topIndex, &nested)) return false;
            }
            if (flags & MF_END) return true;
        }
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool LoadMenuResource(HINSTANCE instance, DWORD menuId, MenuBar* bar) {
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(menuId), MAKEINTRESOURCEW(4) /* RT_MENU */);
    if (!res) return false;
    HGLOBAL loaded = LoadResource(instance, res);
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(instance, res);
    if (!data) return false;
    MenuReader reader(data, size);
    WORD version = 0, headerSize = 0;
    if (!reader.ReadWord(&version) || !reader.ReadWord(&headerSize) || version != 0 || !reader.Skip(headerSize))
        return false;
    int topIndex = 0;
    return reader.ReadLevel(0, bar, &topIndex, nullptr);
}

// --- Drawing helpers: a font per call, everything released before returning.
HFONT CreateBarFont(int height) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = HANGEUL_CHARSET;
    font.lfPitchAndFamily = FF_SWISS;
    std::copy(std::begin(kFontFace), std::end(kFontFace), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

void FillColour(HDC hdc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

void DrawLabel(HDC hdc, const WString& text, RECT rect, UINT format, COLORREF colour, int height) {
    HFONT font = CreateBarFont(height);
    HGDIOBJ oldFont = SelectObject(hdc, font);
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(hdc, colour);
    DrawTextW(hdc, text.c_str(), int(text.size()), &rect, format | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SetTextColor(hdc, oldColour);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
}

RECT ButtonRect(const MenuBar& bar, int button, const RECT& client) {
    const int width = bar.width > 0 ? bar.width : int(client.right - client.left);
    const int half = width / 2;
    RECT rect = client;
    rect.left = bar.left + (button == 0 ? 0 : half);
    rect.right = bar.left + (button == 0 ? half : width);
    return rect;
}

void PaintBar(const MenuBar& bar, HDC hdc) {
    RECT client;
    GetClientRect(bar.bar, &client);
    FillColour(hdc, client, kBarFace);
    RECT top = client;
    top.bottom = top.top + 1;
    FillColour(hdc, top, kBarTop);
    if (!bar.showCaptions) return;
    for (int button = 0; button < kButtonCount; ++button) {
        RECT rect = ButtonRect(bar, button, client);
        InflateRect(&rect, -6, 0);
        DrawLabel(hdc, bar.captions[button], rect, button == 0 ? DT_LEFT : DT_RIGHT, kCaptionColour, kCaptionHeight);
    }
}

// --- The bar window.
void ForwardKey(const MenuBar& bar, UINT message, WPARAM vk) {
    if (!bar.forwardKeys || !IsWindow(bar.owner)) return;
    const LPARAM from = reinterpret_cast<LPARAM>(bar.bar);
    if (message == WM_KEYDOWN) {
        PostMessageW(bar.owner, kMsgKeyDown, vk, from);
        return;
    }
    // As a focused control does: every release is reported, then Back and Home become their commands.
    PostMessageW(bar.owner, kMsgKeyUp, vk, from);
    if (vk == HomeKey()) PostMessageW(bar.owner, kMsgHomeKey, 0, from);
    else if (vk == VK_ESCAPE || vk == VK_BACK) PostMessageW(bar.owner, kMsgBackKey, 0, from);
}

// A tap on a caption works like its soft key.
void TapBar(const MenuBar& bar, LPARAM point) {
    RECT client;
    GetClientRect(bar.bar, &client);
    const int x = short(LOWORD(point));
    const bool left = x < ButtonRect(bar, 0, client).right;
    const unsigned int vk = left ? LeftKey() : RightKey();
    if (bar.forwardKeys && IsWindow(bar.owner))
        PostMessageW(bar.owner, kMsgKeyUp, vk, reinterpret_cast<LPARAM>(bar.bar));
}

LRESULT OnBarPaint(MenuBar& bar) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(bar.bar, &ps);
    if (hdc) PaintBar(bar, hdc);
    EndPaint(bar.bar, &ps);
    return 0;
}

LRESULT OnBarDestroy(HWND hwnd, MenuBar* bar) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (g_openPopup && g_openPopup->bar == bar) {
        g_openPopup->done = true;
        g_openPopup->bar = nullptr;
        PostMessageW(nullptr, WM_NULL, 0, 0); // wakes the pop-up's loop, which may be waiting for input
    }
    if (IsWindow(bar->popup)) DestroyWindow(bar->popup);
    delete bar;
    return 0;
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MenuBar* bar = reinterpret_cast<MenuBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!bar) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: return OnBarPaint(*bar);
    case WM_ERASEBKGND: return 1; // WM_PAINT covers the whole bar
    case WM_KEYDOWN:
    case WM_KEYUP: ForwardKey(*bar, msg, wParam); return 0;
    case WM_LBUTTONUP: TapBar(*bar, lParam); return 0;
    case WM_DESTROY: return OnBarDestroy(hwnd, bar);
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// --- The pop-up window.
int PopupWidth(const std::vector<MenuItem>& items, HDC hdc) {
    HFONT font = CreateBarFont(kItemFontHeight);
    HGDIOBJ old = SelectObject(hdc, font);
    LONG widest = 60;
    for (const MenuItem& item : items) {
        SIZE size = {};
        GetTextExtentPoint32W(hdc, item.text.c_str(), int(item.text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(hdc, old);
    DeleteObject(font);
    return int(widest) + 2 * kPopupPadding + 2;
}

// A small triangle centred in an arrow strip starting at `top`, pointing up or down.
void DrawArrow(HDC hdc, const RECT& face, LONG top, bool up) {
    const LONG centre = (face.left + face.right) / 2;
    for (int line = 0; line < 5; ++line) {
        const int half = up ? line : 4 - line;
        const RECT span = {centre - half, top + 3 + line, centre + half + 1, top + 4 + line};
        FillColour(hdc, span, kItemColour);
    }
}

void PaintPopup(const OpenPopup& open, HWND hwnd, HDC hdc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillColour(hdc, client, kPopupFrame);
    RECT face = client;
    InflateRect(&face, -1, -1);
    FillColour(hdc, face, kPopupFace);
    const std::vector<MenuItem>& items = open.bar->menus[open.menu];
    const int first = open.top, last = std::min(int(items.size()), open.top + open.visible);
    if (open.scrolls) {
        if (first > 0) DrawArrow(hdc, face, face.top, true);
        if (last < int(items.size())) DrawArrow(hdc, face, face.bottom - kArrowStrip, false);
    }
    const LONG rowsTop = face.top + (open.scrolls ? kArrowStrip : 0);
    for (int i = first; i < last; ++i) {
        const LONG y = rowsTop + LONG(i - first) * kItemHeight;
        RECT row = {face.left, y, face.right, y + kItemHeight};
        const bool selected = i == open.selected;
        if (items[i].text.empty()) { // separator
            RECT line = {row.left + 4, (row.top + row.bottom) / 2, row.right - 4, (row.top + row.bottom) / 2 + 1};
            FillColour(hdc, line, kPopupFrame);
            continue;
        }
        if (selected) FillColour(hdc, row, kSelectedFace);
        RECT text = row;
        InflateRect(&text, -kPopupPadding, 0);
        const COLORREF colour = !items[i].Choosable() ? kGreyedColour : selected ? kSelectedColour : kItemColour;
        DrawLabel(hdc, items[i].text, text, DT_LEFT, colour, kItemFontHeight);
    }
}

// Scrolls so that the selected item is shown.
void ShowSelected(OpenPopup& open) {
    if (open.selected < open.top) open.top = open.selected;
    else if (open.selected >= open.top + open.visible) open.top = open.selected - open.visible + 1;
}

void MoveSelection(OpenPopup& open, HWND hwnd, int step) {
    const std::vector<MenuItem>& items = open.bar->menus[open.menu];
    const int count = int(items.size());
    int index = open.selected;
    for (int tries = 0; tries < count; ++tries) {
        index = (index + step + count) % count;
        if (items[size_t(index)].Choosable()) break;
    }
    if (index != open.selected && items[size_t(index)].Choosable()) {
        open.selected = index;
        ShowSelected(open);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void Choose(OpenPopup& open, int index) {
    const std::vector<MenuItem>& items = open.bar->menus[open.menu];
    if (index < 0 || index >= int(items.size()) || !items[size_t(index)].Choosable()) return;
    open.result = int(items[size_t(index)].command);
    open.done = true;
}

void OnPopupKeyDown(OpenPopup& open, HWND hwnd, WPARAM vk) {
    open.keyDown[vk & 0xFF] = true;
    if (vk == VK_UP) MoveSelection(open, hwnd, -1);
    else if (vk == VK_DOWN) MoveSelection(open, hwnd, +1);
}

// Choosing and closing act on the release of a key that went down while the pop-up was open, so the
// release of the key that opened it does nothing.
void OnPopupKeyUp(OpenPopup& open, WPARAM vk) {
    if (!open.keyDown[vk & 0xFF]) return;
    open.keyDown[vk & 0xFF] = false;
    if (vk == SelectKey() || vk == LeftKey() || vk == VK_RETURN) {
        Choose(open, open.selected);
    } else if (vk == RightKey() || vk == VK_ESCAPE || vk == VK_BACK || vk == HomeKey()) {
        open.result = 0;
        open.done = true;
    } else if (vk >= '1' && vk <= '9') {
        Choose(open, int(vk - '1'));
    }
}

// A tap on an item chooses it; a tap on an arrow strip scrolls one item that way.
void OnPopupTap(OpenPopup& open, HWND hwnd, LPARAM point) {
    int y = short(HIWORD(point)) - 1;
    if (open.scrolls) {
        const int count = int(open.bar->menus[open.menu].size());
        if (y < kArrowStrip || y >= kArrowStrip + open.visible * kItemHeight) {
            const int top = y < kArrowStrip ? open.top - 1 : open.top + 1;
            if (top >= 0 && top + open.visible <= count) {
                open.top = top;
                InvalidateRect(hwnd, nullptr, TRUE);
            }
            return;
        }
        y -= kArrowStrip;
    }
    if (y >= 0) Choose(open, open.top + y / kItemHeight);
}

LRESULT OnPopupPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc && g_openPopup && g_openPopup->bar) PaintPopup(*g_openPopup, hwnd, hdc);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    OpenPopup* open = g_openPopup && g_openPopup->bar && g_openPopup->bar->popup == hwnd ? g_openPopup : nullptr;
    switch (msg) {
    case WM_PAINT: return OnPopupPaint(hwnd);
    case WM_ERASEBKGND: return 1;
    case WM_KEYDOWN: if (open) OnPopupKeyDown(*open, hwnd, wParam); return 0;
    case WM_KEYUP: if (open) OnPopupKeyUp(*open, wParam); return 0;
    case WM_LBUTTONUP: if (open) OnPopupTap(*open, hwnd, lParam); return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = instance;
    wc.lpszClassName = kBarClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    wc.lpfnWndProc = PopupProc;
    wc.lpszClassName = kPopupClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered = true;
    return true;
}

// Places the pop-up just above the bar, on the side of its button, inside the screen between the indicator
// strip and the bar. With more items than fit it shows as many as fit between two arrow strips and scrolls.
void PlacePopup(OpenPopup& open) {
    const MenuBar& bar = *open.bar;
    const int count = int(bar.menus[open.menu].size());
    HDC screen = GetDC(nullptr);
    const int width = std::min(PopupWidth(bar.menus[open.menu], screen), GetSystemMetrics(SM_CXSCREEN));
    ReleaseDC(nullptr, screen);
    RECT barRect;
    GetWindowRect(bar.bar, &barRect);
    const int room = int(barRect.top) - kIndicatorStrip;
    open.visible = count;
    open.scrolls = count * kItemHeight + 2 > room;
    if (open.scrolls) open.visible = std::max(1, (room - 2 - 2 * kArrowStrip) / kItemHeight);
    const int height = open.visible * kItemHeight + 2 + (open.scrolls ? 2 * kArrowStrip : 0);
    const int x = open.menu == 0 ? int(barRect.left) : int(barRect.right) - width;
    const int y = std::max(kIndicatorStrip, int(barRect.top) - height);
    ShowSelected(open);
    SetWindowPos(bar.popup, HWND_TOP, std::max(0, x), y, width, height, SWP_SHOWWINDOW);
}

} // namespace

int LxCreateMenuBar(LXMENUBARINFO* info) {
    if (!info || info->cbSize != sizeof(LXMENUBARINFO)) return 0;
    HWND owner = LxMenuBarRecordToHandle<HWND>(info->hwndOwner);
    HINSTANCE instance = LxMenuBarRecordToInstance(info->hInstRes, info->hInstResHigh);
    if (!IsWindow(owner) || !RegisterClasses(instance)) return 0;

    auto state = std::make_unique<MenuBar>();
    if (!LoadMenuResource(instance, info->nMenuId, state.get())) return 0;
    state->owner = owner;
    state->param = info->nParam;
    state->showCaptions = info->bShowCaptions != 0;
    state->forwardKeys = info->bForwardKeys != 0;

    // Created as a hidden child of the owner; the creator moves it into place and shows it.
    HWND bar = CreateWindowExW(0, kBarClass, TEXT(""), WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, owner, nullptr,
                               instance, nullptr);
    if (!bar) return 0;
    HWND popup = CreateWindowExW(WS_EX_TOPMOST, kPopupClass, TEXT(""), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 instance, nullptr);
    if (!popup) {
        DestroyWindow(bar);
        return 0;
    }
    state->bar = bar;
    state->popup = popup;
    SetWindowLongPtrW(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    info->hwndMB = LxMenuBarHandleToRecord(bar);
    info->hwndPopup = LxMenuBarHandleToRecord(popup);
    return 1;
}

void LxDestroyMenuBar(HWND bar) {
    if (BarOf(bar)) DestroyWindow(bar);
}

int LxMoveBtn(HWND barWindow, int left, int width) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || width < 0) return 0;
    bar->left = left;
    bar->width = width;
    InvalidateRect(barWindow, nullptr, TRUE);
    return 1;
}

int LxGetBtnCaption(HWND barWindow, int button, WCHAR* buffer) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(button) || !buffer) return 0;
    const WString& caption = bar->captions[button];
    const size_t count = std::min<size_t>(caption.size(), 1023);
    std::copy_n(caption.begin(), count, buffer);
    buffer[count] = 0;
    return 1;
}

int LxChangeBtnCaption(HWND barWindow, int button, const WCHAR* caption) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(button)) return 0;
    bar->captions[button] = caption ? caption : TEXT("");
    InvalidateRect(barWindow, nullptr, TRUE);
    return 1;
}

int LxChangeCaption(HWND barWindow, int button, int item, const WCHAR* text) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(button) || item < 0 || item >= int(bar->menus[button].size())) return 0;
    bar->menus[button][size_t(item)].text = text ? text : TEXT("");
    return 1;
}

int LxInsertManuCaption(HWND barWindow, int button, UINT position, UINT, UINT command, const WCHAR* text) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(button)) return 0;
    std::vector<MenuItem>& items = bar->menus[button];
    const size_t at = std::min<size_t>(position, items.size());
    items.insert(items.begin() + ptrdiff_t(at), MenuItem{text ? text : TEXT(""), command, 0});
    return 1;
}

int LxDeleteMenuItem(HWND barWindow, int button, UINT position) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(button) || position >= bar->menus[button].size()) return 0;
    bar->menus[button].erase(bar->menus[button].begin() + ptrdiff_t(position));
    return 1;
}

int LxOpenPopupMenu(HWND barWindow, int menu) {
    MenuBar* bar = BarOf(barWindow);
    if (!bar || !ValidButton(menu) || g_openPopup) return 0;
    const std::vector<MenuItem>& items = bar->menus[menu];
    if (std::none_of(items.begin(), items.end(), [](const MenuItem& i) { return i.Choosable(); })) return 0;

    OpenPopup open;
    open.bar = bar;
    open.menu = menu;
    open.selected = int(std::find_if(items.begin(), items.end(), [](const MenuItem& i) { return i.Choosable(); }) -
                        items.begin());
    g_openPopup = &open;
    HWND popup = bar->popup;
    HWND previousFocus = GetFocus();
    PlacePopup(open);
    SetFocus(popup);

    MSG msg;
    while (!open.done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) { // the application is quitting: leave the request for its own loop
            PostQuitMessage(int(msg.wParam));
            open.result = 0;
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_openPopup = nullptr;
    if (open.bar && IsWindow(popup)) ShowWindow(popup, SW_HIDE);
    if (IsWindow(previousFocus)) SetFocus(previousFocus);
    return open.bar ? open.result : 0;
}

void LxGiveLeftKey(unsigned int vk) { g_keyLeft = vk; }
void LxGiveRightKey(unsigned int vk) { g_keyRight = vk; }
void LxGiveSelectKey(unsigned int vk) { g_keySelect = vk; }
void LxGiveHomeKey(unsigned int vk) { g_keyHome = vk; }
