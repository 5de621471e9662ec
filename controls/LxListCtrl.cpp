// Typed rows for the keypad list: item records, owner drawing from the library's bitmaps, the Select key
// with check boxes and direct mode, and hot-key characters. Row movement and notifications are LxListBase's.
#include "LxListCtrl.h"

#include <new>
#include <vector>

#include "LxControlPaint.h"

namespace {

constexpr int kSlotWidth = 30;
constexpr int kTextCapacity = 1024;
constexpr UINT kRowSelected = 9008;
constexpr UINT kRowNormal = 9009;
constexpr DWORD kDefaultTextNormal = 0x969696;
constexpr DWORD kDefaultTextSelect = 0xFFFFFF;
// DT_CENTER | DT_VCENTER for the key cap, DT_VCENTER for the row text.
constexpr UINT kCapFormat = 5;
constexpr UINT kTextFormat = 4;

// The punctuation a hot key may carry, besides digits and ASCII letters.
constexpr WCHAR kHotKeyPunctuation[] = TEXT("~!@#$%^&*()_+=-`[]{}\\|;:,./<>?'\"");

// Bitmap codes 9001 to 9011 name the library's own list pictures; any other code is a resource id.
UINT ResourceOfCode(UINT code) {
    static constexpr UINT kResources[] = {9973, 9974, 9981, 9977, 9978, 9975, 9976, 9983, 9982, 9979, 9980};
    return code >= 9001 && code <= 9011 ? kResources[code - 9001] : code;
}

// Texts of 1023 characters and more are cut to fit the record.
void CopyText(WCHAR (&to)[kTextCapacity], const WCHAR* from) {
    int i = 0;
    for (; from && i < kTextCapacity - 1 && from[i]; ++i) to[i] = from[i];
    for (; i < kTextCapacity; ++i) to[i] = 0;
}

bool SameText(const WCHAR* a, const WCHAR* b) {
    if (!a || !b) return a == b;
    int i = 0;
    for (; a[i] && a[i] == b[i]; ++i) {}
    return a[i] == b[i];
}

// Rows are many and all alike, and a long list adds and frees them by the hundred thousand. Their records
// come from blocks of kRecordsPerBlock, and a freed record's slot goes to the next record. Taking and giving
// back a slot touch only the list of free slots, never the record's own memory, so that filling and emptying
// a long list costs little more than writing its records. When the last record goes, so do the blocks.
// Under the address sanitizer every record has its own heap block, so that a use after free is still caught.
class RecordPool {
public:
    static constexpr std::size_t kSlot = (sizeof(LxListCtrl::LxListCtrlString) + 15) / 16 * 16;
    static constexpr std::size_t kRecordsPerBlock = 32;

    void* Take() {
        if (m_free.empty()) Grow();
        void* slot = m_free.back();
        m_free.pop_back();
        ++m_live;
        return slot;
    }

    // Never allocates: the free list has room for every slot of every block.
    void Give(void* slot) noexcept {
        m_free.push_back(slot);
        if (--m_live == 0) Release();
    }

private:
    void Grow() {
        const std::size_t slots = (m_blocks.size() + 1) * kRecordsPerBlock;
        if (m_free.capacity() < slots) m_free.reserve(slots > 2 * m_free.capacity() ? slots : 2 * m_free.capacity());
        // The block's entry first: if the block cannot be had, an empty entry is all that is left behind.
        m_blocks.push_back(nullptr);
        unsigned char* block = m_blocks.back() = static_cast<unsigned char*>(::operator new(kSlot * kRecordsPerBlock));
        // Taken from the back, so records follow each other up the block.
        for (std::size_t i = kRecordsPerBlock; i-- > 0;) m_free.push_back(block + i * kSlot);
    }

    void Release() noexcept {
        for (unsigned char* block : m_blocks) ::operator delete(block);
        m_blocks.clear();
        m_free.clear();
    }

    std::vector<unsigned char*> m_blocks;
    std::vector<void*> m_free;
    std::size_t m_live = 0;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

// Never destroyed: a list kept in a static object may free its rows after the pool's own static would be gone.
RecordPool& Records() {
    static RecordPool* pool = new RecordPool;
    return *pool;
}

} // namespace

void* LxListCtrl::LxListCtrlString::operator new(std::size_t size) {
    if (!kPooled || size != sizeof(LxListCtrlString)) return ::operator new(size);
    return Records().Take();
}

void LxListCtrl::LxListCtrlString::operator delete(void* pRecord, std::size_t size) noexcept {
    if (!pRecord) return;
    if (!kPooled || size != sizeof(LxListCtrlString)) return ::operator delete(pRecord);
    Records().Give(pRecord);
}

LxListCtrl::LxListCtrlString::LxListCtrlString(UINT nKind1, UINT nKind2, UINT nKind3, int bCheck, WCHAR wHotKey,
                                               UINT nImageSelect, UINT nImageNormal, UINT nBackSelect,
                                               UINT nBackNormal, DWORD crNormal, DWORD crSelect,
                                               const WCHAR* pszText)
    : m_nKind{nKind1, nKind2, nKind3}, m_bCheck(bCheck), m_wHotKey(wHotKey), m_nImageSelect(nImageSelect),
      m_nImageNormal(nImageNormal), m_nBackSelect(nBackSelect), m_nBackNormal(nBackNormal), m_crNormal(crNormal),
      m_crSelect(crSelect) {
    CopyText(m_szText, pszText);
}

void LxListCtrl::LxListCtrlString::SetCheck(int bCheck) { m_bCheck = bCheck; }

LxListCtrl::LxListCtrl()
    : m_bDirectMode(0), m_nIconID{0, 0}, m_nImageID{0, 0}, m_crDataNormal(kDefaultTextNormal),
      m_crDataSelect(kDefaultTextSelect) {}

// A copy gets records of its own: the two lists never free each other's rows.
LxListCtrl::LxListCtrl(const LxListCtrl& other)
    : LxListBase(other), m_bDirectMode(other.m_bDirectMode), m_nIconID{other.m_nIconID[0], other.m_nIconID[1]},
      m_nImageID{other.m_nImageID[0], other.m_nImageID[1]}, m_crDataNormal(other.m_crDataNormal),
      m_crDataSelect(other.m_crDataSelect) {
    CopyItems(other);
}

LxListCtrl& LxListCtrl::operator=(const LxListCtrl& other) {
    if (this == &other) return *this;
    LxListBase::operator=(other);
    m_bDirectMode = other.m_bDirectMode;
    m_nIconID[0] = other.m_nIconID[0];
    m_nIconID[1] = other.m_nIconID[1];
    m_nImageID[0] = other.m_nImageID[0];
    m_nImageID[1] = other.m_nImageID[1];
    m_crDataNormal = other.m_crDataNormal;
    m_crDataSelect = other.m_crDataSelect;
    ReleaseItems();
    CopyItems(other);
    return *this;
}

// The window goes first, so that nothing can draw from a record that is already released.
LxListCtrl::~LxListCtrl() {
    DropWindow();
    ReleaseItems();
}

void LxListCtrl::ReleaseItems() {
    for (int i = 0; i < m_Items.GetSize(); ++i) delete m_Items.GetAt(i);
    m_Items.SetSize(0);
}

void LxListCtrl::CopyItems(const LxListCtrl& other) {
    for (int i = 0; i < other.m_Items.GetSize(); ++i) m_Items.Add(new LxListCtrlString(*other.m_Items.GetAt(i)));
}

LxListCtrl::LxListCtrlString* LxListCtrl::ItemAt(UINT nIndex) {
    const int index = static_cast<int>(nIndex);
    return index >= 0 && index < m_Items.GetSize() ? m_Items.GetAt(index) : nullptr;
}

int LxListCtrl::AddItem(UINT nKind1, UINT nKind2, UINT nKind3, int bCheck, WCHAR wHotKey, UINT nImageSelect,
                        UINT nImageNormal, UINT nBackSelect, UINT nBackNormal, DWORD crNormal, DWORD crSelect,
                        const WCHAR* pszText) {
    const int count = m_Items.GetSize();
    m_Items.Add(new LxListCtrlString(nKind1, nKind2, nKind3, bCheck, wHotKey, nImageSelect, nImageNormal,
                                     nBackSelect, nBackNormal, crNormal, crSelect, pszText));
    if (m_Items.GetSize() != count + 1) return 0;
    SetCount(GetCount() + 1);
    return 1;
}

int LxListCtrl::AddItem(const WCHAR* pszText) {
    return AddItem(LXLS_NONE, LXLS_NONE, LXLS_NONE, 0, 0, 0, 0, kRowSelected, kRowNormal, m_crDataNormal,
                   m_crDataSelect, pszText);
}

int LxListCtrl::AddItemForIcon(const WCHAR* pszText, UINT nImageSelect, UINT nImageNormal) {
    return AddItem(LXLS_IMAGE, LXLS_NONE, LXLS_NONE, 0, 0, nImageSelect, nImageNormal ? nImageNormal : nImageSelect,
                   kRowSelected, kRowNormal, m_crDataNormal, m_crDataSelect, pszText);
}

int LxListCtrl::AddItemForChar(const WCHAR* pszText, WCHAR wHotKey) {
    return AddItem(wHotKey ? LXLS_CHAR : LXLS_BLANK, LXLS_NONE, LXLS_NONE, 0, wHotKey, 0, 0, kRowSelected,
                   kRowNormal, m_crDataNormal, m_crDataSelect, pszText);
}

int LxListCtrl::AddItemForCheck(const WCHAR* pszText, int bCheck, int bBlank) {
    return AddItem(bBlank ? LXLS_BLANK : LXLS_CHECK, LXLS_NONE, LXLS_NONE, bCheck, 0, 0, 0, kRowSelected,
                   kRowNormal, m_crDataNormal, m_crDataSelect, pszText);
}

int LxListCtrl::SetItem(UINT nIndex, const WCHAR* pszText) {
    LxListCtrlString* item = ItemAt(nIndex);
    if (!item) return 0;
    CopyText(item->m_szText, pszText);
    return SameText(item->m_szText, pszText ? pszText : TEXT("")) ? 1 : 0;
}

int LxListCtrl::GetItem(UINT nIndex, WCHAR* pszBuffer) {
    LxListCtrlString* item = ItemAt(nIndex);
    if (!item || !pszBuffer) return 0;
    int i = 0;
    for (; item->m_szText[i]; ++i) pszBuffer[i] = item->m_szText[i];
    pszBuffer[i] = 0;
    return 1;
}

// Later rows move up by one; the selected-row index stays where it was.
int LxListCtrl::DeleteItem(UINT nIndex) {
    const int count = m_Items.GetSize();
    LxListCtrlString* item = ItemAt(nIndex);
    if (!item) return 0;
    m_Items.RemoveAt(int(nIndex), 1);
    delete item;
    if (m_Items.GetSize() != count - 1) return 0;
    SetCount(GetCount() - 1);
    return 1;
}

void LxListCtrl::SetCheck(UINT nIndex, int bCheck) {
    if (LxListCtrlString* item = ItemAt(nIndex)) item->SetCheck(bCheck);
}

int LxListCtrl::GetCheck(UINT nIndex) {
    LxListCtrlString* item = ItemAt(nIndex);
    return item ? item->m_bCheck : 0;
}

void LxListCtrl::SetDataColor(DWORD crNormal, DWORD crSelect) {
    m_crDataNormal = crNormal;
    m_crDataSelect = crSelect;
}

void LxListCtrl::SetIcon(UINT nFirst, UINT nSecond) {
    m_nIconID[0] = nFirst;
    m_nIconID[1] = nSecond;
}

void LxListCtrl::SetImage(UINT nFirst, UINT nSecond) {
    m_nImageID[0] = nFirst;
    m_nImageID[1] = nSecond;
}

void LxListCtrl::SetDirectMode() { m_bDirectMode = 1; }
int LxListCtrl::IsDirectMode() { return m_bDirectMode; }

int LxListCtrl::GetColorUserDefine(UINT, DWORD&, int) { return 0; }

long LxListCtrl::OnWndProc(UINT uMsg, WPARAM wParam, LPARAM, int* pPassOn) {
    if (uMsg == WM_KEYDOWN && wParam == LxGetSelectKey()) {
        OnSelect();
        if (m_bDirectMode != 1) OnMoveDown();
        return 1;
    }
    if (uMsg == WM_KEYUP && wParam == LxGetSelectKey() && m_bDirectMode == 1) {
        PostCommand();
        return 1;
    }
    if (uMsg == WM_CHAR) {
        const WCHAR character = static_cast<WCHAR>(wParam);
        if (!IsHotKeyChar(character)) return 1;
        const int position = GetHotKeyPos(character);
        if (position < 0) return 1;
        SetSelect(position);
        if (pPassOn) *pPassOn = 0;
        if (m_bDirectMode == 1) PostCommand();
        return 0;
    }
    return 1;
}

void LxListCtrl::OnKey(UINT nKey) {
    if (nKey == LxGetSelectKey()) {
        OnSelect();
        OnMoveDown();
    }
    LxListBase::OnKey(nKey);
}

void LxListCtrl::PostCommand() {
    PostMessageW(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), 0), 0);
}

void LxListCtrl::GetAreaRect(UINT nSlot, RECT* pRow, RECT* pOut) {
    if (!pRow || !pOut) return;
    *pOut = *pRow;
    pOut->left = pRow->left + kSlotWidth * int(nSlot);
    pOut->right = pOut->left + kSlotWidth;
}

void LxListCtrl::DrawBitmap(HDC hdc, RECT* pArea, UINT nCode) {
    if (pArea) lxpaint::DrawResourceBitmap(hdc, *pArea, ResourceOfCode(nCode));
}

// Toggles the check box of the selected row and repaints only the boxes.
void LxListCtrl::OnSelect() {
    LxListCtrlString* item = m_nSelect >= 0 ? ItemAt(UINT(m_nSelect)) : nullptr;
    if (!item) return;
    bool hasCheck = false;
    for (UINT kind : item->m_nKind) hasCheck = hasCheck || kind == LXLS_CHECK;
    if (!hasCheck) return;
    item->SetCheck(GetCheck(UINT(m_nSelect)) == 0 ? 1 : 0);
    for (UINT slot = 0; slot < 3; ++slot) {
        if (item->m_nKind[slot] != LXLS_CHECK) continue;
        RECT area;
        GetAreaRect(slot, &m_rcSelect, &area);
        InvalidateRect(m_hWnd, &area, TRUE);
    }
}

int LxListCtrl::IsExistChar(WCHAR wChar, const WCHAR* pszSet) {
    if (wChar == 0 || !pszSet) return 0;
    for (int i = 0; pszSet[i]; ++i)
        if (pszSet[i] == wChar) return 1;
    return 0;
}

bool LxListCtrl::IsHotKeyChar(WCHAR wChar) {
    if ((wChar >= TEXT('0') && wChar <= TEXT('9')) || (wChar >= TEXT('A') && wChar <= TEXT('Z')) ||
        (wChar >= TEXT('a') && wChar <= TEXT('z')))
        return true;
    return IsExistChar(wChar, kHotKeyPunctuation) == 1;
}

int LxListCtrl::GetHotKeyPos(WCHAR wChar) {
    for (int i = 0; i < m_Items.GetSize(); ++i) {
        const LxListCtrlString* item = m_Items.GetAt(i);
        for (UINT kind : item->m_nKind) {
            if (kind == LXLS_CHAR && item->m_wHotKey == wChar) return i;
        }
    }
    return -1;
}

int LxListCtrl::OnDrawitem(UINT wParam, LPARAM lParam) {
    LxListBase::OnDrawitem(wParam, lParam);
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!draw || draw->CtlType != ODT_LISTVIEW) return 1;
    LxListCtrlString* item = ItemAt(draw->itemID);
    if (!item) return 1;
    HDC hdc = draw->hDC;
    RECT row = draw->rcItem;
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    if (selected) {
        PostMessageW(GetParent(m_hWnd), LXM_SELCHANGE, draw->itemID, reinterpret_cast<LPARAM>(m_hWnd));
    }

    DrawBitmap(hdc, &row, selected ? item->m_nBackSelect : item->m_nBackNormal);

    RECT textArea = row;
    textArea.left = row.left + 3 * kSlotWidth;
    const COLORREF previousColour = GetTextColor(hdc);
    for (UINT slot = 0; slot < 3; ++slot) {
        RECT area;
        GetAreaRect(slot, &row, &area);
        const UINT kind = item->m_nKind[slot];
        if (kind == LXLS_NONE || kind > LXLS_BLANK) {
            textArea.left = area.left;
            break;
        }
        switch (kind) {
        case LXLS_CHECK:
            DrawBitmap(hdc, &area, selected ? 9001 : 9002);
            if (item->m_bCheck == 1) DrawBitmap(hdc, &area, 9003);
            break;
        case LXLS_CHAR: {
            DrawBitmap(hdc, &area, selected ? 9004 : 9005);
            const WCHAR cap[2] = {item->m_wHotKey, 0};
            LxDrawText(hdc, cap, &area, kCapFormat, 14);
            break;
        }
        case LXLS_IMAGE: DrawBitmap(hdc, &area, selected ? item->m_nImageSelect : item->m_nImageNormal); break;
        default: DrawBitmap(hdc, &area, selected ? 9010 : 9011); break;
        }
    }

    DWORD colour = 0;
    if (!GetColorUserDefine(draw->itemID, colour, selected ? 1 : 0))
        colour = selected ? item->m_crSelect : item->m_crNormal;
    SetTextColor(hdc, colour);
    LxDrawText(hdc, item->m_szText, &textArea, kTextFormat, 18);
    SetTextColor(hdc, previousColour);
    return 1;
}
