// The list screen: builds the list from the store and keeps the store in step with the done boxes and
// deletions made on it.
#include "ListScreen.h"

#include <string>

#include "LxBaseWindow.h"
#include "NoteStore.h"
#include "NotebookSettings.h"
#include "NotebookUi.h"
#include "resource.h"

ListScreen::ListScreen(LxBaseWindow& window, NoteStore& store, const NotebookSettings& settings)
    : m_window(window), m_store(store), m_settings(settings) {}

void ListScreen::Build() {
    RECT area;
    m_window.GetUserArea(&area);
    const long count = m_store.Count();
    if (count == 0) {
        // Nothing to choose from: the main window shows how to start.
        ::SetFocus(m_window.m_hWnd);
        return;
    }
    // The list is only as tall as its rows, so the theme colour shows below a short list.
    const LONG rows = (area.bottom - area.top) / LONG(NoteList::kRowHeight);
    RECT rect = area;
    rect.bottom = area.top + LONG(NoteList::kRowHeight) * (count < rows ? count : rows);
    m_list = std::make_unique<NoteList>();
    m_list->CreateList(m_window.m_hWnd, m_window.GetInstance(), IDC_NOTE_LIST, &rect, NoteList::kRowHeight);
    m_list->SetDirectMode();
    m_list->SetRotate(1);
    for (long i = 0; i < count; ++i) {
        Note note;
        if (!m_store.Read(UINT(i), note)) note.title = TEXT("(읽을 수 없는 메모)");
        m_list->AddNote(note);
    }
    m_list->SetFocus();
    if (m_select >= count) m_select = int(count) - 1;
    m_list->SetSelect(m_select < 0 ? 0 : m_select);
}

void ListScreen::Destroy() {
    if (m_list) m_select = m_list->GetSelect();
    m_list.reset();
}

int ListScreen::SelectedNote() const {
    if (!m_list) return -1;
    const int row = m_list->GetSelect();
    return row >= 0 && row < int(m_list->GetCount()) ? row : -1;
}

int ListScreen::ChosenRow() const { return m_list ? m_list->ChosenRow() : -1; }

void ListScreen::ToggleDone() {
    if (!m_list) return;
    const int row = SelectedNote();
    const int done = m_list->ToggleDone();
    if (row < 0 || done < 0) return;
    if (!m_store.SetDone(UINT(row), done == 1)) {
        // The record did not change: show the truth again.
        m_list->SetCheck(UINT(row), done == 1 ? 0 : 1);
        InvalidateRect(m_window.m_hWnd, nullptr, TRUE);
    }
}

bool ListScreen::DeleteSelected() {
    const int row = SelectedNote();
    if (row < 0) return false;
    Note note;
    m_store.Read(UINT(row), note);
    WString question = TEXT("\"") + note.title + TEXT("\" 메모를 지울까요?");
    if (Ask(question.c_str(), TEXT("삭제"), MB_YESNO) != IDYES) return false;
    if (!m_store.Remove(UINT(row))) {
        Warn(TEXT("메모를 지우지 못했습니다."), TEXT("삭제"), MB_ICONHAND);
        return false;
    }
    m_select = row;
    return true;
}

// The list's hot keys: a digit opens the row carrying it.
void ListScreen::OnKeyDown(WPARAM key, HWND from) {
    if (m_list && from == ListWindow() && key >= '1' && key <= '9') m_list->HotKey(WCHAR(key));
}

void ListScreen::OnKeyUp(WPARAM key, HWND from) {
    if (m_list && from == ListWindow() && key == m_settings.doneKey) ToggleDone();
}

// The list draws its own rows; the main window only passes their measuring and drawing on.
LRESULT ListScreen::OnMeasureItem(WPARAM wParam, LPARAM lParam, int* pHandled) {
    if (!m_list) return 0;
    *pHandled = 1;
    return m_list->OnMeasureitem(UINT(wParam), lParam);
}

LRESULT ListScreen::OnDrawItem(WPARAM wParam, LPARAM lParam, int* pHandled) {
    if (!m_list) return 0;
    *pHandled = 1;
    return m_list->OnDrawitem(UINT(wParam), lParam);
}

HWND ListScreen::ListWindow() const { return GetDlgItem(m_window.m_hWnd, IDC_NOTE_LIST); }
