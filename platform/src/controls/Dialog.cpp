// The dialog manager: the "#32770" class with DefDlgProcW's conventions, dialogs built from DLGTEMPLATE and
// DLGTEMPLATEEX (in dialog units of the template's font), modal dialogs whose loop takes messages from the
// thread's one queue (so scripted keys reach them), and IsDialogMessageW's keyboard interface.
// Not implemented: dialog menus, DS_CONTROL nesting, mnemonics (Alt+letter), GetNextDlgGroupItem (the arrow
// keys walk the tab order instead), help ids.
#include "controls/ControlState.h"
#include "controls/DialogManager.h"
#include "controls/DialogTemplate.h"
#include "controls/Painting.h"
#include "internal/user_hooks.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace cehost::controls {

namespace {

struct DialogInfo {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    bool ownsFont = false;
    int baseX = 0;
    int baseY = 0;
    bool ended = false;
    INT_PTR result = 0;
    HWND savedFocus = nullptr;
    WORD defId = 0;
    bool hasDefId = false;
};

StateTable<DialogInfo>& Dialogs()
{
    static StateTable<DialogInfo> table;
    return table;
}

// Dialog units to pixels, rounded to nearest as MulDiv rounds.
int Scale(int value, int numerator, int denominator)
{
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// Messages whose dialog-procedure result is the answer itself rather than a handled flag.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
        return true;
    default:
        return false;
    }
}

void BaseUnitsOf(HFONT font, int* baseX, int* baseY)
{
    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    static const WCHAR alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32W(hdc, alphabet, 52, &size);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    *baseX = std::max<int>((size.cx / 26 + 1) / 2, 1);
    *baseY = std::max<int>(tm.tmHeight, 1);
}

bool IsPushButton(HWND hwnd)
{
    LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The push button that Return presses gets the heavy frame; moving the focus onto another push button moves
// the frame with it, and leaving the buttons gives it back to the dialog's default.
void UpdateDefaultButton(HWND dialog, HWND focus)
{
    DialogInfo* info = Dialogs().Find(dialog);
    if (info == nullptr)
        return;
    HWND target = nullptr;
    if (focus != nullptr && IsChild(dialog, focus) && IsPushButton(focus))
        target = focus;
    else if (info->hasDefId)
        target = GetDlgItem(dialog, info->defId);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        LRESULT code = SendMessageW(child, WM_GETDLGCODE, 0, 0);
        if ((code & DLGC_DEFPUSHBUTTON) && child != target)
            SendMessageW(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        else if ((code & DLGC_UNDEFPUSHBUTTON) && child == target)
            SendMessageW(child, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

HWND FirstTabStop(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

void RestoreFocus(HWND dialog)
{
    DialogInfo* info = Dialogs().Find(dialog);
    HWND target = info != nullptr ? info->savedFocus : nullptr;
    if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target))
        target = FirstTabStop(dialog);
    if (target != nullptr && target != dialog)
        SetDialogFocus(dialog, target);
}

LRESULT OnEraseBackground(HWND dialog, HDC hdc)
{
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(dialog)));
    if (brush == nullptr)
        brush = SysBrush(COLOR_BTNFACE);
    RECT rc;
    GetClientRect(dialog, &rc);
    FillRect(hdc, &rc, brush);
    return 1;
}

LRESULT OnNextDlgCtl(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND target;
    if (LOWORD(lParam))
        target = reinterpret_cast<HWND>(wParam);
    else
        target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
    if (target != nullptr && IsChild(dialog, target))
        SetDialogFocus(dialog, target);
    return 0;
}

LRESULT OnGetDefId(HWND dialog)
{
    DialogInfo* info = Dialogs().Find(dialog);
    if (info != nullptr && info->hasDefId)
        return MAKELONG(info->defId, DC_HASDEFID);
    return 0;
}

LRESULT OnSetDefId(HWND dialog, WPARAM id)
{
    DialogInfo* info = Dialogs().Find(dialog);
    if (info == nullptr)
        return FALSE;
    info->defId = static_cast<WORD>(id);
    info->hasDefId = true;
    UpdateDefaultButton(dialog, GetFocus());
    return TRUE;
}

void OnDestroy(HWND dialog)
{
    DialogInfo* info = Dialogs().Find(dialog);
    if (info == nullptr)
        return;
    if (info->ownsFont && info->font != nullptr)
        DeleteObject(info->font);
    Dialogs().Remove(dialog);
}

// What DefDlgProcW does when the dialog procedure leaves a message alone.
LRESULT DefaultDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return OnEraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_SETFOCUS:
        RestoreFocus(dialog);
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam) {
            if (DialogInfo* info = Dialogs().Find(dialog); info != nullptr && IsChild(dialog, GetFocus()))
                info->savedFocus = GetFocus();
        }
        return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_CLOSE:
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case WM_NEXTDLGCTL:
        return OnNextDlgCtl(dialog, wParam, lParam);
    case DM_GETDEFID:
        return OnGetDefId(dialog);
    case DM_SETDEFID:
        return OnSetDefId(dialog, wParam);
    case WM_GETFONT: {
        DialogInfo* info = Dialogs().Find(dialog);
        return info != nullptr ? reinterpret_cast<LRESULT>(info->font) : 0;
    }
    case WM_DESTROY:
        OnDestroy(dialog);
        return DefWindowProcW(dialog, message, wParam, lParam);
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

HFONT CreateTemplateFont(const DialogTemplate& t)
{
    if (!t.hasFont || t.pointSize == 0x7FFF)
        return nullptr;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = -Scale(t.pointSize, dpi > 0 ? dpi : 96, 72);
    lf.lfWeight = t.extended ? t.weight : FW_NORMAL;
    lf.lfItalic = t.italic;
    lf.lfCharSet = t.extended ? t.charset : DEFAULT_CHARSET;
    size_t n = std::min<size_t>(t.typeface.size(), LF_FACESIZE - 1);
    std::copy(t.typeface.begin(), t.typeface.begin() + static_cast<std::ptrdiff_t>(n), lf.lfFaceName);
    lf.lfFaceName[n] = 0;
    return CreateFontIndirectW(&lf);
}

// Client size in pixels to the window rectangle the style needs around it.
RECT WindowRectFor(DWORD style, DWORD exStyle, int x, int y, int cx, int cy)
{
    RECT rc = {x, y, x + cx, y + cy};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    return rc;
}

std::u16string ItemClassName(const DialogItem& item)
{
    if (item.windowClass.isOrdinal)
        return PredefinedClassName(item.windowClass.ordinal);
    return item.windowClass.name;
}

void DebugFailure(const std::u16string& className)
{
    std::u16string line = u"cehost: a dialog control of class \"" + className + u"\" could not be created\n";
    OutputDebugStringW(reinterpret_cast<LPCWSTR>(line.c_str()));
}

bool CreateItems(HWND dialog, HINSTANCE instance, const DialogTemplate& t, const DialogInfo& info)
{
    for (const DialogItem& item : t.items) {
        std::u16string className = ItemClassName(item);
        std::u16string title = item.title.isOrdinal ? std::u16string() : item.title.name;
        int x = Scale(item.x, info.baseX, 4);
        int y = Scale(item.y, info.baseY, 8);
        int cx = Scale(item.cx, info.baseX, 4);
        int cy = Scale(item.cy, info.baseY, 8);
        LPVOID data = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
        HWND control = CreateWindowExW(item.exStyle, reinterpret_cast<LPCWSTR>(className.c_str()),
                                       reinterpret_cast<LPCWSTR>(title.c_str()), item.style | WS_CHILD, x, y, cx,
                                       cy, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)),
                                       instance, data);
        if (control == nullptr) {
            DebugFailure(className.empty() ? u"?" : className);
            if (!(t.style & DS_NOFAILCREATE))
                return false;
            continue;
        }
        if (info.font != nullptr)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), FALSE);
        if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && (SendMessageW(control, WM_GETDLGCODE, 0, 0) &
                                                                DLGC_DEFPUSHBUTTON)) {
            if (DialogInfo* live = Dialogs().Find(dialog); live != nullptr && !live->hasDefId) {
                live->defId = static_cast<WORD>(item.id);
                live->hasDefId = true;
            }
        }
    }
    return true;
}

HWND CreateFromTemplate(HINSTANCE instance, const void* data, size_t size, HWND owner, DLGPROC proc, LPARAM param,
                        DWORD* templateStyle = nullptr)
{
    DialogTemplate t;
    std::string error;
    if (!ParseDialogTemplate(data, size, &t, &error)) {
        std::u16string line = u"cehost: dialog template refused: ";
        for (char c : error)
            line.push_back(static_cast<char16_t>(c));
        line += u"\n";
        OutputDebugStringW(reinterpret_cast<LPCWSTR>(line.c_str()));
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (templateStyle != nullptr)
        *templateStyle = t.style;
    DialogShell shell;
    shell.style = t.style;
    shell.exStyle = t.exStyle;
    shell.owner = owner;
    shell.instance = instance;
    shell.proc = proc;
    shell.font = CreateTemplateFont(t);
    shell.ownsFont = shell.font != nullptr;
    BaseUnitsOf(shell.font, &shell.baseX, &shell.baseY);
    int x = Scale(t.x, shell.baseX, 4);
    int y = Scale(t.y, shell.baseY, 8);
    int cx = Scale(t.cx, shell.baseX, 4);
    int cy = Scale(t.cy, shell.baseY, 8);
    if (t.style & DS_CENTER) {
        x = (GetSystemMetrics(SM_CXSCREEN) - cx) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - cy) / 2;
    } else if (owner != nullptr && !(t.style & (DS_ABSALIGN | WS_CHILD))) {
        POINT origin = {0, 0};
        ClientToScreen(owner, &origin);
        x += origin.x;
        y += origin.y;
    }
    shell.rect = WindowRectFor(t.style, t.exStyle, x, y, cx, cy);
    shell.title = reinterpret_cast<const WCHAR*>(t.title.c_str());
    HWND dialog = CreateDialogShell(shell);
    if (dialog == nullptr)
        return nullptr;
    DialogInfo* info = Dialogs().Find(dialog);
    if (info == nullptr || !CreateItems(dialog, instance, t, *info)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    InitializeDialog(dialog, param);
    return IsWindow(dialog) ? dialog : nullptr;
}

const void* LoadDialogTemplate(HINSTANCE instance, LPCWSTR name, size_t* size)
{
    HRSRC resource = FindResourceW(instance, name, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (resource == nullptr)
        return nullptr;
    HGLOBAL loaded = LoadResource(instance, resource);
    if (loaded == nullptr)
        return nullptr;
    *size = SizeofResource(instance, resource);
    return LockResource(loaded);
}

} // namespace

HWND CreateDialogShell(const DialogShell& shell)
{
    DWORD style = shell.style & ~static_cast<DWORD>(WS_VISIBLE);
    HWND dialog = CreateWindowExW(shell.exStyle, reinterpret_cast<LPCWSTR>(kDialogClassName), shell.title, style,
                                  shell.rect.left, shell.rect.top, shell.rect.right - shell.rect.left,
                                  shell.rect.bottom - shell.rect.top, shell.owner, nullptr, shell.instance, nullptr);
    if (dialog == nullptr) {
        if (shell.ownsFont && shell.font != nullptr)
            DeleteObject(shell.font);
        return nullptr;
    }
    DialogInfo* info = Dialogs().Create(dialog);
    info->proc = shell.proc;
    info->font = shell.font;
    info->ownsFont = shell.ownsFont;
    info->baseX = shell.baseX;
    info->baseY = shell.baseY;
    if (shell.font != nullptr)
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(shell.font), FALSE);
    return dialog;
}

void InitializeDialog(HWND dialog, LPARAM param)
{
    HWND first = FirstTabStop(dialog);
    if (first == dialog)
        first = nullptr;
    LRESULT setFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog))
        return;
    if (setFocus && first != nullptr && IsWindow(first))
        SetDialogFocus(dialog, first);
    else
        UpdateDefaultButton(dialog, GetFocus());
    if (DialogInfo* info = Dialogs().Find(dialog); info != nullptr && IsChild(dialog, GetFocus()))
        info->savedFocus = GetFocus();
}

void SetDialogFocus(HWND dialog, HWND control)
{
    if (control == nullptr)
        return;
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
    UpdateDefaultButton(dialog, control);
    if (DialogInfo* info = Dialogs().Find(dialog); info != nullptr && GetFocus() == control)
        info->savedFocus = control;
}

bool HasDialogEnded(HWND dialog)
{
    DialogInfo* info = Dialogs().Find(dialog);
    return info == nullptr || info->ended;
}

INT_PTR RunModalLoop(HWND dialog)
{
    if (!HasDialogEnded(dialog)) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
    }
    MSG msg;
    while (!HasDialogEnded(dialog)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // A quit request belongs to the application's own loop: leave it there.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DialogInfo* info = Dialogs().Find(dialog);
    return info != nullptr && info->ended ? info->result : -1;
}

void RegisterDialogClass()
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = reinterpret_cast<LPCWSTR>(kDialogClassName);
    cehost::internal::RegisterSystemClass(wc, 0x8002);
}

void RegisterSystemClasses()
{
    RegisterStaticClass();
    RegisterButtonClass();
    RegisterEditClass();
    RegisterListViewClass();
    RegisterDialogClass();
}

namespace {
// The window manager calls this the first time any class is looked up, so programs create the system
// classes without any set-up call.
const cehost::internal::SystemClassRegistrar registrar(&RegisterSystemClasses);
} // namespace

} // namespace cehost::controls

using namespace cehost::controls;

CEHOST_API LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    DialogInfo* info = Dialogs().Find(hDlg);
    if (info != nullptr && info->proc != nullptr) {
        DLGPROC proc = info->proc;
        SetWindowLongW(hDlg, DWL_MSGRESULT, 0);
        INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        if (ReturnsDirectly(Msg) && (handled != 0 || Msg == WM_INITDIALOG))
            return handled;
        if (handled != 0)
            return IsWindow(hDlg) ? GetWindowLongW(hDlg, DWL_MSGRESULT) : handled;
        if (!IsWindow(hDlg))
            return 0;
    }
    return DefaultDialogMessage(hDlg, Msg, wParam, lParam);
}

namespace {

// Modeless dialogs show themselves when their template asks for WS_VISIBLE.
HWND CreateModeless(HINSTANCE instance, const void* data, size_t size, HWND owner, DLGPROC proc, LPARAM param)
{
    DWORD style = 0;
    HWND dialog = CreateFromTemplate(instance, data, size, owner, proc, param, &style);
    if (dialog != nullptr && (style & WS_VISIBLE)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return dialog;
}

} // namespace

CEHOST_API HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                  DLGPROC lpDialogFunc, LPARAM lParamInit)
{
    return CreateModeless(hInstance, lpTemplate, SIZE_MAX, hWndParent, lpDialogFunc, lParamInit);
}

CEHOST_API HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    size_t size = 0;
    const void* data = LoadDialogTemplate(hInstance, lpTemplateName, &size);
    if (data == nullptr)
        return nullptr;
    return CreateModeless(hInstance, data, size, hWndParent, lpDialogFunc, dwInitParam);
}

namespace {

INT_PTR RunModalFromTemplate(HINSTANCE instance, const void* data, size_t size, HWND owner, DLGPROC proc,
                             LPARAM param)
{
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND previousFocus = GetFocus();
    bool disabledOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disabledOwner)
        EnableWindow(owner, FALSE);
    HWND dialog = CreateFromTemplate(instance, data, size, owner, proc, param);
    INT_PTR result = -1;
    if (dialog != nullptr)
        result = RunModalLoop(dialog);
    if (disabledOwner && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (dialog != nullptr && IsWindow(dialog))
        DestroyWindow(dialog);
    if (previousFocus != nullptr && IsWindow(previousFocus) && IsWindowEnabled(previousFocus))
        SetFocus(previousFocus);
    return result;
}

} // namespace

CEHOST_API INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                                  HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return RunModalFromTemplate(hInstance, hDialogTemplate, SIZE_MAX, hWndParent, lpDialogFunc, dwInitParam);
}

CEHOST_API INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    size_t size = 0;
    const void* data = LoadDialogTemplate(hInstance, lpTemplateName, &size);
    if (data == nullptr)
        return -1;
    return RunModalFromTemplate(hInstance, data, size, hWndParent, lpDialogFunc, dwInitParam);
}

CEHOST_API BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    DialogInfo* info = Dialogs().Find(hDlg);
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    info->result = nResult;
    info->ended = true;
    return TRUE;
}

namespace {

bool HandleDialogKey(HWND dialog, const MSG& msg)
{
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTMESSAGE)
        return false;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (msg.wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        SendMessageW(dialog, WM_NEXTDLGCTL, shift ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS)
            return false;
        SendMessageW(dialog, WM_NEXTDLGCTL, (msg.wParam == VK_LEFT || msg.wParam == VK_UP) ? 1 : 0, 0);
        return true;
    case VK_ESCAPE:
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    case VK_RETURN: {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(dialog, focus) && IsPushButton(focus)) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                         reinterpret_cast<LPARAM>(focus));
            return true;
        }
        LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        WORD id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : static_cast<WORD>(IDOK);
        HWND button = GetDlgItem(dialog, id);
        if (button == nullptr ? id == IDOK : IsWindowEnabled(button) != FALSE)
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    default:
        return false;
    }
}

bool SwallowDialogChar(const MSG& msg)
{
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
        return false;
    if (msg.wParam == u'\t' && (code & DLGC_WANTTAB))
        return false;
    // The keys the dialog manager acts on produce characters nobody should see.
    return msg.wParam == u'\t' || msg.wParam == u'\r' || msg.wParam == 27;
}

} // namespace

CEHOST_API BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    if (hDlg == nullptr || lpMsg == nullptr || !IsWindow(hDlg))
        return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd))
        return FALSE;
    if (lpMsg->message == WM_KEYDOWN && HandleDialogKey(hDlg, *lpMsg))
        return TRUE;
    if (lpMsg->message == WM_CHAR && SwallowDialogChar(*lpMsg))
        return TRUE;
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}

CEHOST_API LONG WINAPI GetDialogBaseUnits(void)
{
    int x = 0, y = 0;
    BaseUnitsOf(nullptr, &x, &y);
    return MAKELONG(x, y);
}

CEHOST_API BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    DialogInfo* info = Dialogs().Find(hDlg);
    if (info == nullptr || lpRect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    lpRect->left = Scale(lpRect->left, info->baseX, 4);
    lpRect->right = Scale(lpRect->right, info->baseX, 4);
    lpRect->top = Scale(lpRect->top, info->baseY, 8);
    lpRect->bottom = Scale(lpRect->bottom, info->baseY, 8);
    return TRUE;
}

CEHOST_API BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    char text[16];
    if (bSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(uValue));
    else
        std::snprintf(text, sizeof text, "%u", uValue);
    WCHAR wide[16];
    size_t i = 0;
    for (; text[i] != 0; ++i)
        wide[i] = static_cast<WCHAR>(text[i]);
    wide[i] = 0;
    return SetDlgItemTextW(hDlg, nIDDlgItem, wide);
}

CEHOST_API UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    WCHAR text[32] = {0};
    if (lpTranslated)
        *lpTranslated = FALSE;
    if (GetDlgItemTextW(hDlg, nIDDlgItem, text, 32) == 0)
        return 0;
    const WCHAR* p = text;
    while (*p == u' ')
        ++p;
    bool negative = false;
    if (bSigned && *p == u'-') {
        negative = true;
        ++p;
    }
    if (*p < u'0' || *p > u'9')
        return 0;
    unsigned long long value = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - u'0');
        if (value > (bSigned ? 0x80000000ull : 0xFFFFFFFFull))
            return 0;
    }
    while (*p == u' ')
        ++p;
    if (*p != 0 || (bSigned && !negative && value > 0x7FFFFFFFull))
        return 0;
    if (lpTranslated)
        *lpTranslated = TRUE;
    return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

CEHOST_API BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND item = GetDlgItem(hDlg, nIDButton);
    if (item == nullptr)
        return FALSE;
    SendMessageW(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

CEHOST_API UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    HWND item = GetDlgItem(hDlg, nIDButton);
    return item != nullptr ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}
