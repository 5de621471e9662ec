// "SysListView32" in the form the library uses: report view, owner data, owner-draw rows of one height.
// Rows are drawn by the owner through WM_DRAWITEM, one message per visible row, so painting costs the same
// for ten rows as for a hundred thousand; selection of owner data is kept as a set of row numbers.
// Not implemented: icon, small-icon and list views, items stored by the control (LVM_INSERTITEM), a column
// header (columns only give the row its width), scroll bars, label editing, image lists, sorting.
#include "controls/ControlState.h"
#include "internal/user_hooks.h"
#include "controls/Painting.h"
#include "internal/profile.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

namespace cehost::controls {

namespace {

struct ListView {
    HWND hwnd = nullptr;
    HWND notify = nullptr;
    DWORD exStyle = 0;
    HFONT font = nullptr;
    int count = 0;
    int itemHeight = 1;
    int top = 0;
    int focused = -1;
    int selectionMark = -1;
    SIZE clientSize{0, 0}; // re-measured only when this changes
    std::set<int> selected;
    std::vector<int> columnWidths;
};

StateTable<ListView>& Lists()
{
    static StateTable<ListView> table;
    return table;
}

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.hwnd, GWL_STYLE)); }
UINT Id(const ListView& lv) { return static_cast<UINT>(GetDlgCtrlID(lv.hwnd)); }

LRESULT Notify(ListView& lv, UINT code, NMHDR* header)
{
    header->hwndFrom = lv.hwnd;
    header->idFrom = Id(lv);
    header->code = code;
    if (lv.notify == nullptr)
        return 0;
    return SendMessageW(lv.notify, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

void NotifyItemChanged(ListView& lv, int item, UINT newState, UINT oldState)
{
    NMLISTVIEW nm{};
    nm.iItem = item;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = LVIF_STATE;
    Notify(lv, LVN_ITEMCHANGED, &nm.hdr);
}

int ClientHeight(const ListView& lv)
{
    RECT rc;
    GetClientRect(lv.hwnd, &rc);
    return rc.bottom - rc.top;
}

int RowWidth(const ListView& lv)
{
    int width = 0;
    for (int w : lv.columnWidths)
        width += w;
    if (width == 0) {
        RECT rc;
        GetClientRect(lv.hwnd, &rc);
        width = rc.right - rc.left;
    }
    return width;
}

int CountPerPage(const ListView& lv) { return std::max(ClientHeight(lv) / lv.itemHeight, 1); }

int MaxTop(const ListView& lv) { return std::max(lv.count - CountPerPage(lv), 0); }

RECT RowRect(const ListView& lv, int row)
{
    RECT rc;
    rc.left = 0;
    rc.right = RowWidth(lv);
    rc.top = (row - lv.top) * lv.itemHeight;
    rc.bottom = rc.top + lv.itemHeight;
    return rc;
}

void InvalidateRow(const ListView& lv, int row)
{
    if (row < lv.top || row >= lv.count)
        return;
    int visibleRows = ClientHeight(lv) / lv.itemHeight + 1;
    if (row > lv.top + visibleRows)
        return;
    RECT rc = RowRect(lv, row);
    InvalidateRect(lv.hwnd, &rc, TRUE);
}

UINT StateOf(const ListView& lv, int row)
{
    UINT state = 0;
    if (lv.selected.count(row))
        state |= LVIS_SELECTED;
    if (row == lv.focused)
        state |= LVIS_FOCUSED;
    return state;
}

// A scroll by fewer rows than the page moves the rows already drawn, as a scroll of the window would: only
// the rows coming into view are drawn, and what was waiting to be drawn moves along with its rows. False
// when the drawn rows cannot be trusted (the list is hidden or partly covered), which asks for a full repaint.
bool MoveDrawnRows(ListView& lv, int rows)
{
    RECT client;
    GetClientRect(lv.hwnd, &client);
    const int shift = -rows * lv.itemHeight;
    if (!IsWindowVisible(lv.hwnd) || std::abs(shift) >= client.bottom)
        return false;
    HDC dc = GetDC(lv.hwnd);
    if (dc == nullptr)
        return false;
    RECT visible;
    bool whole = GetClipBox(dc, &visible) == SIMPLEREGION && EqualRect(&visible, &client);
    if (whole) {
        RECT pending{};
        bool hasPending = GetUpdateRect(lv.hwnd, &pending, FALSE);
        if (hasPending)
            OffsetRect(&pending, 0, shift);
        RECT exposed = client;
        if (shift < 0)
            exposed.top = client.bottom + shift;
        else
            exposed.bottom = shift;
        // Where the moved rows land, less the rows drawn again anyway: a row that was waiting to be drawn
        // (the row that just lost the selection) at either end of the band is left out of the copy.
        RECT kept = client;
        if (shift < 0)
            kept.bottom = exposed.top;
        else
            kept.top = exposed.bottom;
        if (hasPending && pending.left <= kept.left && pending.right >= kept.right) {
            if (pending.top <= kept.top && pending.bottom > kept.top)
                kept.top = std::min(pending.bottom, kept.bottom);
            else if (pending.bottom >= kept.bottom && pending.top < kept.bottom)
                kept.bottom = std::max(pending.top, kept.top);
        }
        if (kept.bottom > kept.top)
            BitBlt(dc, 0, kept.top, client.right, kept.bottom - kept.top, dc, 0, kept.top - shift, SRCCOPY);
        ValidateRect(lv.hwnd, nullptr);
        if (hasPending)
            InvalidateRect(lv.hwnd, &pending, TRUE);
        InvalidateRect(lv.hwnd, &exposed, TRUE);
    }
    ReleaseDC(lv.hwnd, dc);
    return whole;
}

void SetTop(ListView& lv, int top, bool moveDrawn = false)
{
    top = std::clamp(top, 0, MaxTop(lv));
    if (top == lv.top)
        return;
    const int rows = top - lv.top;
    lv.top = top;
    if (!moveDrawn || !MoveDrawnRows(lv, rows))
        InvalidateRect(lv.hwnd, nullptr, TRUE);
}

bool EnsureVisible(ListView& lv, int row, bool partialOk, bool moveDrawn = false)
{
    if (row < 0 || row >= lv.count)
        return false;
    int height = ClientHeight(lv);
    int rowTop = (row - lv.top) * lv.itemHeight;
    int rowBottom = rowTop + lv.itemHeight;
    if (rowTop >= 0 && rowBottom <= height)
        return true;
    if (partialOk && rowBottom > 0 && rowTop < height)
        return true;
    if (row < lv.top)
        SetTop(lv, row, moveDrawn);
    else
        SetTop(lv, row - CountPerPage(lv) + 1, moveDrawn);
    return true;
}

// One row's state change with its notification. The focus is a single row, so taking it removes it (and
// says so) from the row that had it; a single-selection list drops the other selected rows first.
void DeselectAllExcept(ListView& lv, int keep);

bool SetRowState(ListView& lv, int row, UINT state, UINT mask)
{
    mask &= LVIS_SELECTED | LVIS_FOCUSED;
    UINT old = StateOf(lv, row);
    UINT now = (old & ~mask) | (state & mask);
    if (now == old)
        return true;
    if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (Style(lv) & LVS_SINGLESEL)) {
        DeselectAllExcept(lv, row);
    }
    if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED) && lv.focused >= 0 && lv.focused != row)
        SetRowState(lv, lv.focused, 0, LVIS_FOCUSED);
    old = StateOf(lv, row);
    now = (old & ~mask) | (state & mask);
    if (now == old)
        return true;
    if (now & LVIS_SELECTED)
        lv.selected.insert(row);
    else
        lv.selected.erase(row);
    if (now & LVIS_FOCUSED)
        lv.focused = row;
    else if (lv.focused == row)
        lv.focused = -1;
    InvalidateRow(lv, row);
    NotifyItemChanged(lv, row, now, old);
    return true;
}

// LVM_SETITEMSTATE on every row: one notification for the whole list, as owner-data lists report it.
bool SetAllRowsState(ListView& lv, UINT state, UINT mask)
{
    mask &= LVIS_SELECTED | LVIS_FOCUSED;
    if (state & mask & LVIS_FOCUSED)
        return false;
    if ((state & mask & LVIS_SELECTED) && (Style(lv) & LVS_SINGLESEL))
        return false;
    if (mask == LVIS_SELECTED && !(state & LVIS_SELECTED) && lv.selected.empty())
        return true;
    UINT old = 0;
    if (!lv.selected.empty())
        old |= LVIS_SELECTED;
    if (lv.focused >= 0)
        old |= LVIS_FOCUSED;
    if (mask & LVIS_SELECTED) {
        lv.selected.clear();
        if (state & LVIS_SELECTED)
            for (int i = 0; i < lv.count; ++i)
                lv.selected.insert(lv.selected.end(), i);
    }
    if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED))
        lv.focused = -1;
    InvalidateRect(lv.hwnd, nullptr, TRUE);
    NotifyItemChanged(lv, -1, state & mask, old & mask);
    return true;
}

// An owner-data list cannot name each row it changes: it says once, with row -1, that the rows lost their
// selection. Other lists name each row.
void DeselectAllExcept(ListView& lv, int keep)
{
    std::vector<int> rows;
    for (int row : lv.selected)
        if (row != keep)
            rows.push_back(row);
    if (rows.empty())
        return;
    if (!(Style(lv) & LVS_OWNERDATA)) {
        for (int row : rows)
            SetRowState(lv, row, 0, LVIS_SELECTED);
        return;
    }
    for (int row : rows) {
        lv.selected.erase(row);
        InvalidateRow(lv, row);
    }
    NotifyItemChanged(lv, -1, 0, LVIS_SELECTED);
}

// What a click or a movement key does: the row becomes the only selected row and takes the focus.
void MoveSelection(ListView& lv, int row)
{
    DeselectAllExcept(lv, row);
    SetRowState(lv, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    lv.selectionMark = row;
    // The row drawn selected is drawn again in any case, so the owner learns where it now lies.
    EnsureVisible(lv, row, false, true);
}

void Measure(ListView& lv)
{
    HDC hdc = GetDC(lv.hwnd);
    HGDIOBJ old = SelectObject(hdc, lv.font ? static_cast<HGDIOBJ>(lv.font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, old);
    ReleaseDC(lv.hwnd, hdc);

    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTVIEW;
    mis.CtlID = Id(lv);
    mis.itemID = static_cast<UINT>(-1);
    mis.itemHeight = tm.tmHeight > 0 ? static_cast<UINT>(tm.tmHeight) : 1;
    if ((Style(lv) & LVS_OWNERDRAWFIXED) && lv.notify != nullptr)
        SendMessageW(lv.notify, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    lv.itemHeight = std::max<int>(static_cast<int>(mis.itemHeight), 1);
}

int TargetRowForKey(const ListView& lv, UINT key)
{
    int last = lv.count - 1;
    int focus = lv.focused;
    int perPage = CountPerPage(lv);
    switch (key) {
    case VK_UP:
        return focus < 0 ? last : std::max(focus - 1, 0);
    case VK_DOWN:
        return focus < 0 ? 0 : std::min(focus + 1, last);
    case VK_HOME:
        return 0;
    case VK_END:
        return last;
    case VK_PRIOR: {
        if (focus < 0)
            return 0;
        int target = focus == lv.top ? lv.top - perPage + 1 : lv.top;
        return std::max(target, 0);
    }
    case VK_NEXT: {
        if (focus < 0)
            return 0;
        int lastVisible = lv.top + perPage - 1;
        int target = focus == lastVisible ? focus + perPage - 1 : lastVisible;
        return std::min(target, last);
    }
    default:
        return -1;
    }
}

// Message handlers.

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* cs)
{
    ListView& lv = *Lists().Create(hwnd);
    lv.hwnd = hwnd;
    lv.notify = cs->hwndParent;
    RECT rc;
    GetClientRect(hwnd, &rc);
    lv.clientSize = {rc.right - rc.left, rc.bottom - rc.top};
    Measure(lv);
    return 0;
}

void OnDestroy(HWND hwnd) { Lists().Remove(hwnd); }

void DrawRows(ListView& lv, HDC hdc, const RECT& area)
{
    DWORD style = Style(lv);
    if ((style & LVS_TYPEMASK) != LVS_REPORT || !(style & LVS_OWNERDRAWFIXED) || lv.count == 0)
        return;
    int first = lv.top + std::max<int>(area.top, 0) / lv.itemHeight;
    int last = std::min(lv.count - 1, lv.top + static_cast<int>(area.bottom - 1) / lv.itemHeight);
    bool hasFocus = GetFocus() == lv.hwnd;
    for (int row = first; row <= last; ++row) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = Id(lv);
        dis.itemID = static_cast<UINT>(row);
        dis.itemAction = ODA_DRAWENTIRE;
        if (lv.selected.count(row))
            dis.itemState |= ODS_SELECTED;
        if (hasFocus && row == lv.focused)
            dis.itemState |= ODS_FOCUS;
        dis.hwndItem = lv.hwnd;
        dis.hDC = hdc;
        dis.rcItem = RowRect(lv, row);
        SendMessageW(lv.notify, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        if (!IsWindow(lv.hwnd) || Lists().Find(lv.hwnd) != &lv)
            return; // the owner destroyed the list while drawing
    }
}

void OnKeyDown(ListView& lv, UINT key)
{
    NMLVKEYDOWN nm{};
    nm.wVKey = static_cast<WORD>(key);
    Notify(lv, LVN_KEYDOWN, &nm.hdr);
    if (Lists().Find(lv.hwnd) != &lv || lv.count == 0)
        return;
    if (key == VK_RETURN) {
        // Enter acts on the focused row: with none, the list stays silent.
        if (lv.focused < 0) return;
        NMHDR hdr{};
        Notify(lv, NM_RETURN, &hdr);
        if (Lists().Find(lv.hwnd) == &lv) {
            NMITEMACTIVATE act{};
            act.iItem = lv.focused;
            Notify(lv, LVN_ITEMACTIVATE, &act.hdr);
        }
        return;
    }
    int target = TargetRowForKey(lv, key);
    if (target < 0)
        return;
    if (target != lv.focused || !lv.selected.count(target))
        MoveSelection(lv, target);
}

int HitRow(const ListView& lv, int x, int y)
{
    if (x < 0 || y < 0 || x >= RowWidth(lv))
        return -1;
    int row = lv.top + y / lv.itemHeight;
    return row < lv.count ? row : -1;
}

void OnLButtonDown(ListView& lv, LPARAM pos)
{
    if (GetFocus() != lv.hwnd)
        SetFocus(lv.hwnd);
    if (Lists().Find(lv.hwnd) != &lv)
        return;
    int row = HitRow(lv, GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    if (row >= 0)
        MoveSelection(lv, row);
    else
        DeselectAllExcept(lv, -1);
}

void OnLButtonUp(ListView& lv, LPARAM pos)
{
    NMITEMACTIVATE nm{};
    nm.iItem = HitRow(lv, GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    nm.ptAction.x = GET_X_LPARAM(pos);
    nm.ptAction.y = GET_Y_LPARAM(pos);
    Notify(lv, NM_CLICK, &nm.hdr);
}

void OnFocus(ListView& lv, UINT code)
{
    NMHDR hdr{};
    Notify(lv, code, &hdr);
    if (Lists().Find(lv.hwnd) == &lv && lv.focused >= 0)
        InvalidateRow(lv, lv.focused);
}

// Rows keep the height the owner gave at creation, as on the device: unlike the desktop's list view, a
// change of size does not ask the owner again.
void OnSize(ListView& lv, LPARAM size)
{
    SIZE now = {LOWORD(size), HIWORD(size)};
    if (now.cx == lv.clientSize.cx && now.cy == lv.clientSize.cy)
        return;
    lv.clientSize = now;
    if (lv.top > MaxTop(lv))
        SetTop(lv, lv.top);
    InvalidateRect(lv.hwnd, nullptr, TRUE);
}

LRESULT OnSetItemCount(ListView& lv, int count, DWORD flags)
{
    if (count < 0)
        return FALSE;
    int old = lv.count;
    lv.count = count;
    if (!lv.selected.empty() && *lv.selected.rbegin() >= count)
        lv.selected.erase(lv.selected.lower_bound(count), lv.selected.end());
    if (lv.focused >= count)
        lv.focused = -1;
    if (lv.selectionMark >= count)
        lv.selectionMark = -1;
    if (!(flags & LVSICF_NOSCROLL) && lv.top > 0)
        lv.top = std::min(lv.top, MaxTop(lv));
    if (!(flags & LVSICF_NOINVALIDATEALL)) {
        InvalidateRect(lv.hwnd, nullptr, TRUE);
    } else {
        // Only rows that appeared or vanished need drawing.
        RECT rc;
        GetClientRect(lv.hwnd, &rc);
        rc.top = std::max<LONG>((std::min(old, count) - lv.top) * lv.itemHeight, 0);
        InvalidateRect(lv.hwnd, &rc, TRUE);
    }
    return TRUE;
}

LRESULT OnSetItemState(ListView& lv, int item, const LVITEMW* lvi)
{
    if (lvi == nullptr)
        return FALSE;
    if (item == -1)
        return SetAllRowsState(lv, lvi->state, lvi->stateMask);
    if (item < 0 || item >= lv.count)
        return FALSE;
    return SetRowState(lv, item, lvi->state, lvi->stateMask);
}

LRESULT OnGetNextItem(const ListView& lv, int start, UINT flags)
{
    UINT want = 0;
    if (flags & LVNI_SELECTED)
        want |= LVIS_SELECTED;
    if (flags & LVNI_FOCUSED)
        want |= LVIS_FOCUSED;
    auto matches = [&](int row) { return (StateOf(lv, row) & want) == want; };
    if (flags & LVNI_ABOVE) {
        for (int row = std::min(start, lv.count) - 1; row >= 0; --row) {
            if (want == 0 || matches(row))
                return row;
            if (want & LVIS_FOCUSED)
                break;
        }
        if (want & LVIS_FOCUSED)
            return lv.focused >= 0 && lv.focused < start && matches(lv.focused) ? lv.focused : -1;
        return -1;
    }
    int from = std::max(start + 1, 0);
    if (want & LVIS_FOCUSED)
        return lv.focused >= from && matches(lv.focused) ? lv.focused : -1;
    if (want & LVIS_SELECTED) {
        auto it = lv.selected.lower_bound(from);
        return it == lv.selected.end() ? -1 : *it;
    }
    return from < lv.count ? from : -1;
}

LRESULT OnGetItemRect(const ListView& lv, int item, RECT* rc)
{
    if (rc == nullptr || item < 0 || item >= lv.count)
        return FALSE;
    *rc = RowRect(lv, item);
    return TRUE;
}

LRESULT OnRedrawItems(const ListView& lv, int first, int last)
{
    if (first > last || first < 0 || last < 0)
        return FALSE;
    first = std::max(first, lv.top);
    last = std::min({last, lv.count - 1, lv.top + CountPerPage(lv)});
    for (int row = first; row <= last; ++row)
        InvalidateRow(lv, row);
    return TRUE;
}

LRESULT OnSetExtendedStyle(ListView& lv, DWORD mask, DWORD style)
{
    DWORD old = lv.exStyle;
    if (mask == 0)
        mask = 0xFFFFFFFF;
    lv.exStyle = (old & ~mask) | (style & mask);
    return static_cast<LRESULT>(old);
}

LRESULT OnInsertColumn(ListView& lv, int index, const LVCOLUMNW* column)
{
    if (column == nullptr || index < 0)
        return -1;
    int width = (column->mask & LVCF_WIDTH) ? std::max(column->cx, 0) : 0;
    index = std::min<int>(index, static_cast<int>(lv.columnWidths.size()));
    lv.columnWidths.insert(lv.columnWidths.begin() + index, width);
    InvalidateRect(lv.hwnd, nullptr, TRUE);
    return index;
}

LRESULT OnSetColumnWidth(ListView& lv, int index, int width)
{
    if (index < 0 || index >= static_cast<int>(lv.columnWidths.size()))
        return FALSE;
    lv.columnWidths[index] = std::max(width, 0);
    InvalidateRect(lv.hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetColumnWidth(const ListView& lv, int index)
{
    if (index < 0 || index >= static_cast<int>(lv.columnWidths.size()))
        return 0;
    return lv.columnWidths[index];
}

LRESULT OnHitTest(const ListView& lv, LVHITTESTINFO* info)
{
    if (info == nullptr)
        return -1;
    info->iSubItem = 0;
    info->iItem = HitRow(lv, info->pt.x, info->pt.y);
    info->flags = info->iItem >= 0 ? LVHT_ONITEMLABEL : (info->pt.y < 0 ? LVHT_ABOVE : LVHT_NOWHERE);
    return info->iItem;
}

LRESULT OnScroll(ListView& lv, int dy)
{
    SetTop(lv, lv.top + dy / lv.itemHeight);
    return TRUE;
}

LRESULT OnSetFont(ListView& lv, HFONT font, BOOL redraw)
{
    lv.font = font;
    if (redraw)
        InvalidateRect(lv.hwnd, nullptr, TRUE);
    return 0;
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    internal::ProfileScope profile(sim::FramePart::ListView);
    if (message == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    ListView* lv = Lists().Find(hwnd);
    if (lv == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    int item = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
    case WM_DESTROY:
        OnDestroy(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintControl(hwnd, reinterpret_cast<HDC>(wParam),
                     [&](HDC hdc, const RECT& area) { DrawRows(*lv, hdc, area); });
        return 0;
    case WM_SIZE:
        OnSize(*lv, lParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(*lv, static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(*lv, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(*lv, lParam);
        return 0;
    case WM_SETFOCUS:
        OnFocus(*lv, NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(*lv, NM_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
        return OnSetFont(*lv, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(lv->font);
    case LVM_GETITEMCOUNT:
        return lv->count;
    case LVM_SETITEMCOUNT:
        return OnSetItemCount(*lv, item, static_cast<DWORD>(lParam));
    case LVM_DELETEALLITEMS:
        return OnSetItemCount(*lv, 0, 0);
    case LVM_SETITEMSTATE:
        return OnSetItemState(*lv, item, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE:
        return item >= 0 && item < lv->count ? StateOf(*lv, item) & static_cast<UINT>(lParam) : 0;
    case LVM_GETNEXTITEM:
        return OnGetNextItem(*lv, item, LOWORD(lParam));
    case LVM_GETSELECTEDCOUNT:
        return static_cast<LRESULT>(lv->selected.size());
    case LVM_GETSELECTIONMARK:
        return lv->selectionMark;
    case LVM_SETSELECTIONMARK: {
        int old = lv->selectionMark;
        lv->selectionMark = static_cast<int>(lParam) < lv->count ? static_cast<int>(lParam) : -1;
        return old;
    }
    case LVM_ENSUREVISIBLE:
        return EnsureVisible(*lv, item, lParam != 0);
    case LVM_GETTOPINDEX:
        return lv->top;
    case LVM_GETCOUNTPERPAGE:
        return CountPerPage(*lv);
    case LVM_GETITEMRECT:
        return OnGetItemRect(*lv, item, reinterpret_cast<RECT*>(lParam));
    case LVM_REDRAWITEMS:
        return OnRedrawItems(*lv, item, static_cast<int>(lParam));
    case LVM_UPDATE:
        return OnRedrawItems(*lv, item, item);
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return OnSetExtendedStyle(*lv, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(lv->exStyle);
    case LVM_INSERTCOLUMNW:
        return OnInsertColumn(*lv, item, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNWIDTH:
        return OnSetColumnWidth(*lv, item, static_cast<int>(static_cast<short>(LOWORD(lParam))));
    case LVM_GETCOLUMNWIDTH:
        return OnGetColumnWidth(*lv, item);
    case LVM_HITTEST:
        return OnHitTest(*lv, reinterpret_cast<LVHITTESTINFO*>(lParam));
    case LVM_SCROLL:
        return OnScroll(*lv, static_cast<int>(lParam));
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterListViewClass()
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ListViewProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = WC_LISTVIEWW;
    cehost::internal::RegisterSystemClass(wc);
}

} // namespace cehost::controls

// The list view class is registered with the other system classes before any class lookup, so these only
// check their argument.
CEHOST_API void WINAPI InitCommonControls(void) {}

CEHOST_API BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* lpInitCtrls)
{
    return lpInitCtrls != nullptr && lpInitCtrls->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
