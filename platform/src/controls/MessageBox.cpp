// MessageBoxW: a modal dialog drawn by the platform, sized for a small portrait screen. A caption strip,
// an icon for the MB_ICON* kinds, the word-wrapped text and a row of one to three buttons; the keypad drives
// it (arrows move between the buttons, Return presses the focused one, Escape cancels when a Cancel button
// exists, or closes a box whose only button is OK, as desktop Windows does).
#include "controls/ControlState.h"
#include "controls/DialogManager.h"
#include "controls/Painting.h"

#include <algorithm>
#include <string>
#include <vector>

namespace cehost::controls {

namespace {

constexpr int kMargin = 6;
constexpr int kButtonHeight = 24;
constexpr int kIconSize = 24;

struct MessageBoxLayout {
    std::vector<int> buttons;
    int defaultIndex = 0;
    UINT icon = 0;
    std::u16string caption;
    int captionHeight = 0;
};

struct ButtonInfo {
    int id;
    const char16_t* label;
};

constexpr ButtonInfo kButtons[] = {{IDOK, u"OK"},      {IDCANCEL, u"Cancel"}, {IDABORT, u"Abort"},
                                   {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}, {IDYES, u"Yes"},
                                   {IDNO, u"No"}};

const char16_t* LabelOf(int id)
{
    for (const ButtonInfo& b : kButtons)
        if (b.id == id)
            return b.label;
    return u"";
}

bool ButtonsFor(UINT type, std::vector<int>* out)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        *out = {IDOK};
        return true;
    case MB_OKCANCEL:
        *out = {IDOK, IDCANCEL};
        return true;
    case MB_ABORTRETRYIGNORE:
        *out = {IDABORT, IDRETRY, IDIGNORE};
        return true;
    case MB_YESNOCANCEL:
        *out = {IDYES, IDNO, IDCANCEL};
        return true;
    case MB_YESNO:
        *out = {IDYES, IDNO};
        return true;
    case MB_RETRYCANCEL:
        *out = {IDRETRY, IDCANCEL};
        return true;
    default:
        return false;
    }
}

StateTable<MessageBoxLayout>& Boxes()
{
    static StateTable<MessageBoxLayout> table;
    return table;
}

// The icon kinds drawn as a coloured square with a sign, since the platform ships no icon images.
void DrawIcon(HDC hdc, UINT icon, int x, int y)
{
    COLORREF colour;
    const char16_t* sign;
    switch (icon) {
    case MB_ICONHAND:
        colour = RGB(0xC0, 0x20, 0x20);
        sign = u"X";
        break;
    case MB_ICONQUESTION:
        colour = RGB(0x20, 0x50, 0xC0);
        sign = u"?";
        break;
    case MB_ICONEXCLAMATION:
        colour = RGB(0xE0, 0xA0, 0x00);
        sign = u"!";
        break;
    default:
        colour = RGB(0x20, 0x50, 0xC0);
        sign = u"i";
        break;
    }
    RECT box = {x, y, x + kIconSize, y + kIconSize};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &box, brush);
    DeleteObject(brush);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldText = SetTextColor(hdc, RGB(0xFF, 0xFF, 0xFF));
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(sign), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(hdc, oldText);
    SetBkMode(hdc, oldMode);
}

void Paint(HWND dialog, const MessageBoxLayout& box)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(dialog, &ps);
    if (hdc == nullptr) {
        EndPaint(dialog, &ps);
        return;
    }
    RECT client;
    GetClientRect(dialog, &client);
    RECT strip = {0, 0, client.right, box.captionHeight};
    FillRect(hdc, &strip, SysBrush(COLOR_ACTIVECAPTION));
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldText = SetTextColor(hdc, SysColour(COLOR_CAPTIONTEXT));
    RECT text = {kMargin, 0, client.right - kMargin, box.captionHeight};
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(box.caption.c_str()), -1, &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextColor(hdc, oldText);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
    if (box.icon != 0)
        DrawIcon(hdc, box.icon, kMargin, box.captionHeight + kMargin);
    EndPaint(dialog, &ps);
}

bool HasButton(const MessageBoxLayout& box, int id)
{
    return std::find(box.buttons.begin(), box.buttons.end(), id) != box.buttons.end();
}

INT_PTR OnCommand(HWND dialog, const MessageBoxLayout& box, int id)
{
    if (id == IDCANCEL && !HasButton(box, IDCANCEL)) {
        if (box.buttons.size() == 1 && box.buttons[0] == IDOK)
            EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (HasButton(box, id))
        EndDialog(dialog, id);
    return TRUE;
}

INT_PTR OnInitDialog(HWND dialog, const MessageBoxLayout& box)
{
    HWND button = GetDlgItem(dialog, box.buttons[static_cast<size_t>(box.defaultIndex)]);
    SendMessageW(dialog, DM_SETDEFID, box.buttons[static_cast<size_t>(box.defaultIndex)], 0);
    SetDialogFocus(dialog, button);
    return FALSE; // the focus is set
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageBoxLayout* box = Boxes().Find(dialog);
    if (box == nullptr)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, *box);
    case WM_COMMAND:
        return OnCommand(dialog, *box, LOWORD(wParam));
    case WM_PAINT:
        Paint(dialog, *box);
        return TRUE;
    case WM_DESTROY:
        Boxes().Remove(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

int TextHeight(const std::u16string& text, int width)
{
    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    RECT rc = {0, 0, width, 0};
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(text.c_str()), -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    return std::max<int>(rc.bottom - rc.top, tm.tmHeight);
}

int FontHeight()
{
    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    return std::max<int>(tm.tmHeight, 1);
}

HWND AddChild(HWND dialog, const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int cx, int cy,
              int id)
{
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(cls), reinterpret_cast<LPCWSTR>(text),
                           WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

} // namespace

} // namespace cehost::controls

using namespace cehost::controls;

CEHOST_API int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    MessageBoxLayout layout;
    if (!ButtonsFor(uType, &layout.buttons)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    size_t defaultIndex = (uType & MB_DEFMASK) >> 8;
    layout.defaultIndex = defaultIndex < layout.buttons.size() ? static_cast<int>(defaultIndex) : 0;
    layout.icon = uType & MB_ICONMASK;
    layout.caption = lpCaption != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(lpCaption)) : u"Error";
    std::u16string text = lpText != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(lpText)) : u"";

    int screenW = GetSystemMetrics(SM_CXSCREEN);
    int screenH = GetSystemMetrics(SM_CYSCREEN);
    int width = std::max(screenW - 2 * kMargin, 120);
    int textLeft = kMargin + (layout.icon != 0 ? kIconSize + kMargin : 0);
    int textWidth = std::max(width - 2 - textLeft - kMargin, 20);
    layout.captionHeight = FontHeight() + 6;
    int textHeight = std::min(TextHeight(text, textWidth), screenH / 2);
    int bodyHeight = std::max(textHeight, layout.icon != 0 ? kIconSize : 0);
    int height = layout.captionHeight + kMargin + bodyHeight + kMargin + kButtonHeight + kMargin + 2;
    height = std::min(height, screenH);

    DialogShell shell;
    shell.style = WS_POPUP | WS_BORDER | DS_MODALFRAME;
    shell.exStyle = WS_EX_TOPMOST;
    shell.rect.left = (screenW - width) / 2;
    shell.rect.top = (screenH - height) / 2;
    shell.rect.right = shell.rect.left + width;
    shell.rect.bottom = shell.rect.top + height;
    shell.title = reinterpret_cast<const WCHAR*>(layout.caption.c_str());
    shell.owner = hWnd;
    shell.proc = MessageBoxProc;
    BOOL ownerWasEnabled = hWnd != nullptr && IsWindowEnabled(hWnd);
    HWND previousFocus = GetFocus();
    if (ownerWasEnabled)
        EnableWindow(hWnd, FALSE);
    HWND dialog = CreateDialogShell(shell);
    if (dialog == nullptr) {
        if (ownerWasEnabled)
            EnableWindow(hWnd, TRUE);
        return 0;
    }
    *Boxes().Create(dialog) = layout;

    RECT client;
    GetClientRect(dialog, &client);
    int top = layout.captionHeight + kMargin;
    AddChild(dialog, u"static", reinterpret_cast<const char16_t*>(text.c_str()), SS_LEFT | SS_NOPREFIX, textLeft, top,
             textWidth, textHeight, 0xFFFF);
    int count = static_cast<int>(layout.buttons.size());
    int buttonWidth = std::min<int>((client.right - kMargin * (count + 1)) / count, 72);
    int rowWidth = buttonWidth * count + kMargin * (count - 1);
    int x = (client.right - rowWidth) / 2;
    int y = client.bottom - kMargin - kButtonHeight;
    for (int i = 0; i < count; ++i) {
        DWORD style = WS_TABSTOP | (i == 0 ? WS_GROUP : 0) | (i == layout.defaultIndex ? BS_DEFPUSHBUTTON : 0);
        AddChild(dialog, u"button", LabelOf(layout.buttons[static_cast<size_t>(i)]), style, x, y, buttonWidth,
                 kButtonHeight, layout.buttons[static_cast<size_t>(i)]);
        x += buttonWidth + kMargin;
    }
    InitializeDialog(dialog, 0);
    INT_PTR result = RunModalLoop(dialog);
    if (ownerWasEnabled && IsWindow(hWnd))
        EnableWindow(hWnd, TRUE);
    if (IsWindow(dialog))
        DestroyWindow(dialog);
    if (previousFocus != nullptr && IsWindow(previousFocus) && IsWindowEnabled(previousFocus))
        SetFocus(previousFocus);
    return result > 0 ? static_cast<int>(result) : 0;
}
