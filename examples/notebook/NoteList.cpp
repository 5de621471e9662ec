// The list of notes over the library's keypad list.
#include "NoteList.h"

namespace {

// Library bitmap codes: the normal and selected row backgrounds, and the two small pictures.
constexpr UINT kBackSelect = 9008;
constexpr UINT kBackNormal = 9009;
constexpr UINT kWithBody = 9006;
constexpr UINT kTitleOnly = 9007;
constexpr DWORD kText = 0x969696;
constexpr DWORD kTextSelect = 0xFFFFFF;
// Done notes step back: their titles are dimmed in both states.
constexpr DWORD kDoneText = 0x5E5E5E;
constexpr DWORD kDoneSelect = 0x9A9A9A;

} // namespace

void NoteList::AddNote(const Note& note) {
    const UINT row = GetCount();
    const bool hotKey = row < 9;
    const UINT picture = note.body.empty() ? kTitleOnly : kWithBody;
    AddItem(hotKey ? LXLS_CHAR : LXLS_BLANK, LXLS_CHECK, LXLS_IMAGE, note.done ? 1 : 0,
            hotKey ? WCHAR(TEXT('1') + row) : 0, picture, picture, kBackSelect, kBackNormal, kText,
            kTextSelect, note.title.c_str());
}

int NoteList::ToggleDone() {
    const int row = GetSelect();
    if (row < 0 || row >= int(GetCount())) return -1;
    OnSelect();
    // The box repaints itself; the title changes colour with it, so the whole row is drawn again.
    InvalidateRect(m_hWnd, &m_rcSelect, TRUE);
    return GetCheck(UINT(row));
}

bool NoteList::HotKey(WCHAR character) {
    const int row = GetHotKeyPos(character);
    if (row < 0) return false;
    m_nChosen = row;
    int passOn = 1;
    // The list's window answers typed characters itself, so the search is asked directly.
    LxListCtrl::OnWndProc(WM_CHAR, character, 0, &passOn);
    return passOn == 0;
}

long NoteList::OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn) {
    // Select opens the note (reported at its release in direct mode); it must not tick the box on the way.
    if (uMsg == WM_KEYDOWN && wParam == LxGetSelectKey()) return 1;
    if (uMsg == WM_KEYUP && wParam == LxGetSelectKey()) m_nChosen = GetSelect();
    return LxListCtrl::OnWndProc(uMsg, wParam, lParam, pPassOn);
}

int NoteList::GetColorUserDefine(UINT nItem, DWORD& crColor, int bSelected) {
    if (GetCheck(nItem) != 1) return 0;
    crColor = bSelected ? kDoneSelect : kDoneText;
    return 1;
}
