// System control cases: the owner-data, owner-drawn list view; the edit control; dialogs and their keys.
#include "Conformance.h"

#include <utility>
#include <vector>

using namespace conformance;

namespace {

// The parent answers WM_MEASUREITEM with a fixed row height (fonts differ between platforms) and notes the
// owner-draw and notification traffic (drawing only while `drawing` is set: how much a list repaints after a
// key is its own business).
bool drawing = true;
// How a row loses its selection is logged once; afterwards only the rows that gain a state.
bool allChanges = true;
bool ListParent(HWND, UINT m, WPARAM, LPARAM l, LRESULT* result) {
    if (m == WM_MEASUREITEM) {
        auto* mis = (MEASUREITEMSTRUCT*)l;
        Note(Format("measure(%d)", int(mis->CtlType)));
        mis->itemHeight = 20;
        return *result = TRUE, true;
    }
    if (m == WM_DRAWITEM && drawing) {
        auto* dis = (DRAWITEMSTRUCT*)l;
        Note(Format("draw(%d,%d,0x%X,%s)", int(dis->itemID), int(dis->itemAction), unsigned(dis->itemState),
                    RectText(dis->rcItem).c_str()));
        return *result = TRUE, true;
    }
    if (m == WM_NOTIFY) {
        auto* hdr = (NMHDR*)l;
        if (hdr->code == LVN_ITEMCHANGED) {
            auto* lv = (NMLISTVIEW*)l;
            if (allChanges || (lv->uNewState & ~lv->uOldState))
                Note(Format("changed(%d,0x%X,0x%X)", lv->iItem, unsigned(lv->uNewState), unsigned(lv->uOldState)));
        } else if (hdr->code == LVN_KEYDOWN) {
            Note(Format("keydown(0x%02X)", unsigned(((NMLVKEYDOWN*)l)->wVKey)));
        } else if (hdr->code == NM_RETURN || hdr->code == LVN_ITEMACTIVATE || hdr->code == NM_SETFOCUS) {
            // Display-info, cache-hint and custom-draw queries are the list's own business: not observed.
            Note(Format("notify(%d)", hdr->code));
        }
    }
    return false;
}

void LogListState(const char* key, HWND list) {
    int focused = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    int selected = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    Note(Format("focus=%d selected=%d top=%d", focused, selected, int(SendMessageW(list, LVM_GETTOPINDEX, 0, 0))));
    LogRecord(key);
}

} // namespace

CONFORMANCE_CASE(listview) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND parent = CreateRecorded("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 200, nullptr, 0, ListParent);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, TEXT(""),
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED |
                                    LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                0, 0, 200, 100, parent, (HMENU)5, GetModuleHandleW(nullptr), nullptr);
    Name(list, "list");
    LogRecord("create");
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 150;
    Log("insert_column", "%d", int(SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&column)));
    SendMessageW(list, LVM_SETITEMCOUNT, 12, 0);
    std::string rects;
    for (int row : {0, 1, 4, 11}) {
        RECT rc = {};
        rc.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, row, (LPARAM)&rc);
        rects += " " + RectText(rc);
    }
    Log("item_rects", "%s", rects.c_str());
    Log("per_page", "%d count %d", int(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)),
        int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    SetFocus(list);
    UpdateWindow(list);
    Pump();
    LogRecord("focus_and_paint");
    drawing = false;
    for (auto [key, vk] : {std::pair{"key_down_first", VK_DOWN}, {"key_down", VK_DOWN}, {"key_end", VK_END},
                           {"key_up", VK_UP}, {"key_home", VK_HOME}, {"key_up_at_top", VK_UP},
                           {"key_next", VK_NEXT}, {"key_next_again", VK_NEXT}, {"key_prior", VK_PRIOR}}) {
        PressKey(BYTE(vk));
        LogListState(key, list);
        allChanges = std::string(key) == "key_down_first";
    }
    LVITEMW item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 2, (LPARAM)&item);
    LogListState("set_state", list);
    SendMessageW(list, LVM_ENSUREVISIBLE, 2, FALSE);
    PressKey(VK_RETURN);
    LogRecord("return");
    InvalidateRect(list, nullptr, TRUE);
    drawing = true;
    UpdateWindow(list);
    LogRecord("redraw");
    drawing = false;
    SendMessageW(list, LVM_SETITEMCOUNT, 2, 0);
    LogListState("shrink", list);
    PressKey(VK_RETURN);
    LogRecord("return_without_focus");
    DestroyWindow(parent);
}

CONFORMANCE_CASE(edit) {
    HWND parent = CreateRecorded("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 100);
    HWND edit = CreateWindowExW(0, TEXT("EDIT"), TEXT(""), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                5, 5, 200, 24, parent, (HMENU)9, GetModuleHandleW(nullptr), nullptr);
    Name(edit, "edit");
    auto selection = [edit](const char* key) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        WCHAR text[32] = {};
        const std::string narrow = Narrow(text, GetWindowTextW(edit, text, 32));
        Note(Format("sel=%d,%d text=\"%s\"", int(start), int(end), narrow.c_str()));
        LogRecord(key);
    };
    Log("class_name", "%s", ClassOf(edit).substr(0, 4).c_str());
    Log("limit_initial", "%d", int(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
    Log("dlgcode", "0x%X", unsigned(SendMessageW(edit, WM_GETDLGCODE, 0, 0)));
    Watch({WM_COMMAND});
    SetFocus(edit);
    selection("focus");
    SetWindowTextW(edit, TEXT("hello"));
    selection("settext");
    SendMessageW(edit, EM_SETSEL, 1, 3);
    selection("setsel");
    PressKey('X');
    selection("type_over_selection");
    for (BYTE vk : {BYTE(VK_HOME), BYTE(VK_RIGHT), BYTE(VK_BACK)}) PressKey(vk);
    selection("home_right_back");
    PressKey(VK_BACK);
    selection("back_at_start");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    selection("select_all");
    SendMessageW(edit, EM_SETSEL, WPARAM(-1), 0);
    selection("deselect");
    SendMessageW(edit, EM_SETLIMITTEXT, 5, 0);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    PressKey('Y');
    selection("type_at_limit");
    SetWindowTextW(edit, TEXT("longer than five"));
    selection("settext_past_limit");
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    Log("limit_zero", "%d", int(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
    SendMessageW(edit, EM_REPLACESEL, FALSE, (LPARAM)TEXT("ab"));
    selection("replacesel");
    SetFocus(parent);
    LogRecord("kill_focus");
    DestroyWindow(parent);
}

namespace {

// A dialog template in memory: an edit, a default push button, a disabled button, a label and a second edit.
struct DialogTemplate {
    std::vector<WORD> words;
    void Add(const void* data, size_t bytes) {
        const WORD* w = static_cast<const WORD*>(data);
        words.insert(words.end(), w, w + bytes / 2);
    }
    void Text(const WCHAR* text) {
        do words.push_back(WORD(*text)); while (*text++);
    }
    void Align() {
        if (words.size() % 2) words.push_back(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const WCHAR* text) {
        Align();
        DLGITEMTEMPLATE item = {DWORD(style | WS_CHILD | WS_VISIBLE), 0, x, y, cx, cy, id};
        Add(&item, sizeof item);
        words.push_back(0xFFFF);
        words.push_back(classAtom);
        Text(text);
        words.push_back(0);
    }
};

INT_PTR CALLBACK DialogProc(HWND dlg, UINT m, WPARAM w, LPARAM l) {
    auto id = [](HWND h) { return h ? GetDlgCtrlID(h) : -1; };
    if (m == WM_INITDIALOG) {
        Log("init_focus_param", "%d owner_enabled %d", id((HWND)w), IsWindowEnabled(GetWindow(dlg, GW_OWNER)));
        std::string forward, backward;
        HWND h = nullptr;
        for (int i = 0; i < 4; ++i) forward += Format(" %d", id(h = GetNextDlgTabItem(dlg, h, FALSE)));
        h = nullptr;
        for (int i = 0; i < 4; ++i) backward += Format(" %d", id(h = GetNextDlgTabItem(dlg, h, TRUE)));
        Log("tab_order", "forward%s backward%s", forward.c_str(), backward.c_str());
        std::string codes;
        for (int item : {10, IDOK, 11, 12})
            codes += Format(" %d:0x%X", item, unsigned(SendDlgItemMessageW(dlg, item, WM_GETDLGCODE, 0, 0)));
        Log("dlgcodes", "%s", codes.c_str());
        SetLastError(0);
        HWND missing = GetDlgItem(dlg, 99);
        Log("missing_item", "%d error %d", missing != nullptr, int(GetLastError()));
        SetDlgItemTextW(dlg, 10, TEXT("text"));
        PostMessageW(dlg, WM_APP, 0, 0);
        return TRUE;
    }
    if (m == WM_APP) {
        Log("focus_after_init", "%d", id(GetFocus()));
        DWORD start = 0, end = 0;
        SendDlgItemMessageW(dlg, 10, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        Log("init_selection", "%d,%d", int(start), int(end));
        std::string walk;
        for (bool shift : {false, false, false, true}) {
            if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
            keybd_event(VK_TAB, 0, 0, 0);
            keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
            if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                if (!IsDialogMessageW(dlg, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            walk += Format(" %d", id(GetFocus()));
        }
        Log("tab_walk", "%s", walk.c_str());
        keybd_event(VK_RETURN, 0, 0, 0);
        keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
        return TRUE;
    }
    if (m == WM_COMMAND) {
        Log("command", "%d,%d", LOWORD(w), HIWORD(w));
        if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) EndDialog(dlg, 40 + LOWORD(w));
        return TRUE;
    }
    return FALSE;
}

} // namespace

CONFORMANCE_CASE(dialog) {
    HWND owner = CreateRecorded("owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    DialogTemplate t;
    DLGTEMPLATE header = {DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME), 0, 5, 0, 0, 150, 100};
    t.Add(&header, sizeof header);
    t.words.insert(t.words.end(), {0, 0});
    t.Text(TEXT("Conformance"));
    t.Item(WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 12, 10, 0x81, TEXT(""));
    t.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 20, 50, 14, IDOK, 0x80, TEXT("OK"));
    t.Item(WS_TABSTOP | WS_DISABLED, 60, 20, 50, 14, 11, 0x80, TEXT("Off"));
    t.Item(0, 5, 40, 50, 10, 12, 0x82, TEXT("Label"));
    t.Item(WS_TABSTOP | WS_BORDER, 5, 55, 100, 12, 13, 0x81, TEXT(""));
    t.Align();
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), (LPCDLGTEMPLATEW)t.words.data(), owner,
                                             DialogProc, 0);
    Log("result", "%d owner_enabled %d", int(result), IsWindowEnabled(owner));
    DestroyWindow(owner);
}
