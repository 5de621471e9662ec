// The editor screen: its two edit controls, and saving, leaving and deleting the note they hold.
#include "EditorScreen.h"

#include <string>

#include "LxBaseWindow.h"
#include "NotebookSettings.h"
#include "NotebookUi.h"

namespace {

// Input limits in bytes of the ANSI code page: a Korean syllable counts two.
constexpr unsigned kTitleBytes = 40;
constexpr unsigned kBodyBytes = 400;

WString Trimmed(const WString& text) {
    const size_t first = text.find_first_not_of(TEXT(" \r\n\t"));
    if (first == WString::npos) return {};
    const size_t last = text.find_last_not_of(TEXT(" \r\n\t"));
    return text.substr(first, last - first + 1);
}

} // namespace

EditorScreen::EditorScreen(LxBaseWindow& window, NoteStore& store, const NotebookSettings& settings)
    : m_window(window), m_store(store), m_settings(settings) {}

bool EditorScreen::Open(int index) {
    m_index = index;
    m_original = {};
    if (index >= 0 && !m_store.Read(UINT(index), m_original)) return false;
    m_draft = m_original;
    m_focusBody = false;
    return true;
}

void EditorScreen::Build() {
    RECT area;
    m_window.GetUserArea(&area);
    const COLORREF background = m_settings.Background();
    const HWND parent = m_window.m_hWnd;
    RECT title = {4, area.top + 4, area.right - 4, area.top + 32};
    m_titleEdit = std::make_unique<LxEditCtrl>();
    m_titleEdit->CreateEdit(parent, m_window.GetInstance(), 0, &title, WS_BORDER | ES_AUTOHSCROLL);
    m_titleEdit->SetLimitText(kTitleBytes);
    m_titleEdit->SetDescText(TEXT("제목"), kHint);
    m_titleEdit->SetBaseColor(background, 0x000000);
    m_titleEdit->SetText(m_draft.title.c_str());
    RECT body = {4, area.top + 36, area.right - 4, area.bottom - 4};
    m_bodyEdit = std::make_unique<LxEditCtrl>();
    m_bodyEdit->CreateEdit(parent, m_window.GetInstance(), 0, &body, WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL);
    m_bodyEdit->SetLimitText(kBodyBytes);
    m_bodyEdit->SetDescText(TEXT("내용"), kHint);
    m_bodyEdit->SetBaseColor(background, 0x000000);
    m_bodyEdit->SetText(m_draft.body.c_str());
    if (m_focusBody) {
        m_bodyEdit->SetFocus();
        const unsigned end = unsigned(m_draft.body.size());
        m_bodyEdit->SetSelect(end, end);
    } else {
        m_titleEdit->SetFocus();
        const unsigned end = unsigned(m_draft.title.size());
        m_titleEdit->SetSelect(end, end);
    }
}

void EditorScreen::Keep() {
    if (!m_titleEdit || !m_bodyEdit) return;
    WCHAR text[kTextCapacity] = {};
    m_titleEdit->GetText(text);
    m_draft.title = text;
    text[0] = 0;
    m_bodyEdit->GetText(text);
    m_draft.body = text;
    m_focusBody = m_bodyEdit->IsFocus() == 1;
}

void EditorScreen::Destroy() {
    m_titleEdit.reset();
    m_bodyEdit.reset();
}

bool EditorScreen::DraftChanged() const {
    return m_draft.title != m_original.title || m_draft.body != m_original.body;
}

std::optional<int> EditorScreen::Save() {
    Keep();
    Note note = m_draft;
    note.title = Trimmed(note.title);
    note.done = m_original.done;
    if (note.title.empty()) {
        // A note without a title is named by the start of its first line.
        const WString body = Trimmed(note.body);
        note.title = body.substr(0, body.find_first_of(TEXT("\r\n"))).substr(0, 20);
    }
    if (note.title.empty()) {
        Warn(TEXT("제목이나 내용을 적어 주세요."), TEXT("저장"), MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    const bool saved = m_index >= 0 ? m_store.Update(UINT(m_index), note) : m_store.Add(note);
    if (!saved) {
        Warn(TEXT("메모를 저장하지 못했습니다."), TEXT("저장"), MB_ICONHAND);
        return std::nullopt;
    }
    // The sorted order may have moved the note; the list shows it where it landed.
    return FindNote(note);
}

int EditorScreen::FindNote(const Note& wanted) {
    for (long i = m_store.Count() - 1; i >= 0; --i) {
        Note note;
        if (m_store.Read(UINT(i), note) && note.title == wanted.title && note.body == wanted.body) return int(i);
    }
    return 0;
}

std::optional<int> EditorScreen::Leave() {
    Keep();
    if (DraftChanged()) {
        const int answer = Ask(TEXT("바뀐 내용을 저장할까요?"), TEXT("메모 편집"), MB_YESNOCANCEL);
        if (answer == IDCANCEL) return std::nullopt;
        if (answer == IDYES) return Save();
    }
    return m_index;
}

std::optional<int> EditorScreen::Delete() {
    Keep();
    if (Ask(m_index >= 0 ? TEXT("이 메모를 지울까요?") : TEXT("새 메모를 버릴까요?"), TEXT("삭제"),
            MB_YESNO) != IDYES)
        return std::nullopt;
    if (m_index >= 0 && !m_store.Remove(UINT(m_index))) {
        Warn(TEXT("메모를 지우지 못했습니다."), TEXT("삭제"), MB_ICONHAND);
        return std::nullopt;
    }
    return m_index;
}
