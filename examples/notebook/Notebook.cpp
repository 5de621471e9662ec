// The keypad notebook: a list of notes kept in the record database, a note editor with Korean input, a
// settings screen whose choices live in the registry, and an about screen run as a full-screen dialog. The
// screens share the main window: entering one builds its controls and its soft-key menu, leaving it
// destroys them. A rotation rebuilds the screen being shown for the new size, keeping what was typed.
#include <windows.h>

#include <memory>
#include <string>

#include "LxBaseWindow.h"
#include "LxEditCtrl.h"
#include "LxSpinCtrl.h"
#include "LxString.h"
#include "LxText.h"
#include "NoteList.h"
#include "NoteStore.h"
#include "Notebook.h"
#include "NotebookSettings.h"

namespace {

// Input limits in bytes of the ANSI code page: a Korean syllable counts two.
constexpr unsigned kTitleBytes = 40;
constexpr unsigned kBodyBytes = 400;
constexpr COLORREF kHint = 0x808080;
constexpr COLORREF kLabel = 0xC8C8C8;
constexpr COLORREF kFrame = 0xAAAAAA;
constexpr UINT kTextCapacity = 1024;
// Button captions sit in the middle of the button, which takes a single line.
constexpr DWORD kButtonText = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Sort order, colour theme, screen orientation and the done key.
constexpr int kChooserCount = 4;

void CopyTitle(WCHAR* target, const WCHAR* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < kTextCapacity; ++i) target[i] = text[i];
    target[i] = 0;
}

std::u16string Trimmed(const std::u16string& text) {
    const size_t first = text.find_first_not_of(u" \r\n\t");
    if (first == std::u16string::npos) return {};
    const size_t last = text.find_last_not_of(u" \r\n\t");
    return text.substr(first, last - first + 1);
}

// Asks a yes/no question in the platform's message box.
int Ask(const WCHAR* question, const WCHAR* caption, UINT buttons) {
    return LxString(question).MessageBoxW(LxString(caption), buttons | MB_ICONQUESTION);
}

// ---- About screen ---------------------------------------------------------------------------------------

// Runs over the host's dialog resource; the statics of the template are adopted as library texts.
class AboutScreen : public LxBaseWindow {
public:
    AboutScreen(HINSTANCE instance, COLORREF background, const WCHAR* doneKeySign) {
        SetInstance(instance);
        CopyTitle(m_szTitle, u"정보");
        m_szWindowClass[0] = 0;
        m_nIconID = 0;
        m_lpszAccel = nullptr;
        SetBaseColor(background);
        m_background = background;
        m_keysText = std::u16string(u"1-9: 바로 열기   ") + doneKeySign + u": 완료";
    }

    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, int* pHandled) override {
        switch (uMsg) {
        case WM_INITDIALOG: return OnInitDialog(hWnd, pHandled);
        case WM_COMMAND: return OnCommand(hWnd, LOWORD(wParam), pHandled);
        case LXM_MENUKEYLEFT: return OnCommand(hWnd, MenuPopup(0), pHandled);
        case LXM_MENUKEYRIGHT:
        case LXM_BACKKEY:
        case LXM_HOMEKEY: return OnCommand(hWnd, IDC_CLOSE, pHandled);
        default: return 0;
        }
    }

private:
    LRESULT OnInitDialog(HWND hWnd, int* pHandled) {
        TitleCreate(nullptr);
        MenuCreate(IDM_ABOUT_MENU, 0);
        RECT area;
        GetUserArea(&area);
        const int width = area.right - area.left;
        const bool wide = GetScreenWidth() > GetScreenHeight();
        struct Place {
            int id;
            int top, height;
            DWORD style;
            COLORREF colour;
        };
        const int row = wide ? 26 : 30;
        const Place places[] = {
            {IDC_ABOUT_NAME, 6, 28, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0xFFFFFF},
            {IDC_ABOUT_VERSION, 6 + row, 22, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLabel},
            {IDC_ABOUT_TEXT, 6 + 2 * row, wide ? 26 : 48, DT_CENTER | DT_WORDBREAK, kLabel},
            {IDC_ABOUT_KEYS, wide ? 6 + 3 * row : 6 + 4 * row, 22, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kHint},
        };
        for (size_t i = 0; i < std::size(places); ++i) {
            const Place& p = places[i];
            MoveWindow(GetDlgItem(hWnd, p.id), 8, area.top + p.top, width - 16, p.height, FALSE);
            m_texts[i].CreateText(hWnd, UINT(p.id));
            m_texts[i].SetTextStyle(p.style);
            m_texts[i].SetColor(p.colour, m_background);
        }
        // The template names the default done key; the settings may have chosen another.
        m_texts[3].SetText(m_keysText.c_str());
        RECT button = {width / 2 - 50, area.bottom - 36, width / 2 + 50, area.bottom - 8};
        m_button.CreateButton(hWnd, GetInstance(), IDC_ABOUT_BUTTON, &button);
        m_button.SetText(u"확인");
        m_button.SetTextStyle(kButtonText);
        m_button.SetBaseColor(m_background, 0x000000);
        m_button.SetPushColor(0x000000, kFrame);
        m_button.SetFocus();
        *pHandled = 1;
        // The focus is placed already; the dialog manager must not move it.
        return FALSE;
    }

    LRESULT OnCommand(HWND hWnd, int command, int* pHandled) {
        *pHandled = 1;
        if (command == IDC_ABOUT_BUTTON || command == IDC_CLOSE) EndDialog(hWnd, IDOK);
        return TRUE;
    }

    LxText m_texts[4];
    LxText m_button;
    COLORREF m_background;
    std::u16string m_keysText;
};

// ---- Main window ----------------------------------------------------------------------------------------

enum class Screen { None, List, Editor, Settings };

class NotebookWindow : public LxBaseWindow {
public:
    NotebookWindow() {
        CopyTitle(m_szWindowClass, u"KeypadNotebook");
        CopyTitle(m_szTitle, u"메모장");
        m_nIconID = 0;
        m_lpszAccel = nullptr;
    }

    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        switch (uMsg) {
        case WM_CREATE: return OnCreate(pHandled);
        case WM_PAINT: return OnPaint(hWnd, pHandled);
        case WM_SETTINGCHANGE: return OnDisplayChange(UINT(wParam), LONG(lParam), pHandled);
        case WM_MEASUREITEM: return OnMeasureItem(wParam, lParam, pHandled);
        case WM_DRAWITEM: return OnDrawItem(wParam, lParam, pHandled);
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return Handled(pHandled);
        case LXM_MENUKEYLEFT: OnCommand(MenuPopup(0)); return Handled(pHandled);
        case LXM_MENUKEYRIGHT: OnCommand(m_screen == Screen::List ? IDC_QUIT : IDC_BACK); return Handled(pHandled);
        case LXM_KEYDOWN: OnKeyDown(wParam, HWND(lParam)); return Handled(pHandled);
        case LXM_KEYUP: OnKeyUp(wParam, HWND(lParam)); return Handled(pHandled);
        case LXM_BACKKEY: OnBackKey(); return Handled(pHandled);
        case LXM_HOMEKEY: OnCommand(IDC_BACK); return Handled(pHandled);
        case LXM_SELCHANGE: OnSelChange(HWND(lParam)); return Handled(pHandled);
        default: return 0;
        }
    }

private:
    static LRESULT Handled(int* pHandled) {
        *pHandled = 1;
        return 0;
    }

    // ---- Start and painting ----

    LRESULT OnCreate(int* pHandled) {
        m_settings.Load();
        SetBaseColor(m_settings.Background());
        TitleCreate(nullptr);
        if (!m_store.Open(m_settings.sortByTitle, nullptr)) {
            LxString(u"메모를 저장할 곳을 열 수 없습니다.").MessageBoxW(LxString(u"메모장"), MB_ICONHAND);
            return -1;
        }
        m_store.SeedIfEmpty();
        ShowScreen(Screen::List);
        // The stored orientation comes last: its setting change lays the list out again.
        if (m_settings.Orientation() != 0) LxRotateScreen(m_settings.Orientation());
        *pHandled = 1;
        return 0;
    }

    // Only the empty list draws on the main window itself; the controls paint everything else.
    LRESULT OnPaint(HWND hWnd, int* pHandled) {
        if (m_screen != Screen::List || m_store.Count() != 0) return 0;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        RECT area;
        GetUserArea(&area);
        SetTextColor(hdc, kLabel);
        LxDrawText(hdc, u"메모가 없습니다.\r\n왼쪽 메뉴에서 새 메모를 만드세요.", &area, DT_CENTER | DT_VCENTER, 16);
        EndPaint(hWnd, &ps);
        *pHandled = 1;
        return 0;
    }

    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam, int* pHandled) {
        if (!m_list) return 0;
        *pHandled = 1;
        return m_list->OnMeasureitem(UINT(wParam), lParam);
    }

    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam, int* pHandled) {
        if (!m_list) return 0;
        *pHandled = 1;
        return m_list->OnDrawitem(UINT(wParam), lParam);
    }

    LRESULT OnDisplayChange(UINT wParam, LONG lParam, int* pHandled) {
        OnSettingChange(wParam, lParam);
        RebuildScreen();
        *pHandled = 1;
        return 0;
    }

    // ---- Screens ----

    void ShowScreen(Screen screen) {
        // Back from the settings the list shows the row it was left on.
        if (m_screen == Screen::List && m_list) m_listSelect = m_list->GetSelect();
        DestroyControls();
        m_screen = screen;
        static const struct {
            int menu;
            const WCHAR* title;
        } kScreens[] = {{0, u""},
                        {IDM_LIST_MENU, u"메모 목록"},
                        {IDM_EDITOR_MENU, u"메모 편집"},
                        {IDM_SETTINGS_MENU, u"설정"}};
        const auto& s = kScreens[int(screen)];
        MenuDestroy();
        MenuCreate(s.menu, 0);
        const WCHAR* title = screen == Screen::Editor && m_editIndex < 0 ? u"새 메모" : s.title;
        SetWindowTextW(const_cast<WCHAR*>(title));
        BuildControls();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }

    // Keeps what the screen holds, then builds it again for the current screen size.
    void RebuildScreen() {
        if (m_screen == Screen::Editor) KeepDraft();
        if (m_screen == Screen::Settings) KeepChoices();
        if (m_screen == Screen::List && m_list) m_listSelect = m_list->GetSelect();
        DestroyControls();
        BuildControls();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }

    void DestroyControls() {
        m_list.reset();
        m_titleEdit.reset();
        m_bodyEdit.reset();
        for (auto& spin : m_spins) spin.reset();
        for (auto& label : m_labels) label.reset();
        m_saveButton.reset();
        m_status.reset();
    }

    void BuildControls() {
        switch (m_screen) {
        case Screen::List: BuildList(); break;
        case Screen::Editor: BuildEditor(); break;
        case Screen::Settings: BuildSettings(); break;
        case Screen::None: break;
        }
    }

    // ---- The list ----

    void BuildList() {
        RECT area;
        GetUserArea(&area);
        const long count = m_store.Count();
        if (count == 0) {
            // Nothing to choose from: the main window shows how to start.
            ::SetFocus(m_hWnd);
            return;
        }
        // The list is only as tall as its rows, so the theme colour shows below a short list.
        const LONG rows = (area.bottom - area.top) / LONG(NoteList::kRowHeight);
        RECT rect = area;
        rect.bottom = area.top + LONG(NoteList::kRowHeight) * (count < rows ? count : rows);
        m_list = std::make_unique<NoteList>();
        m_list->CreateList(m_hWnd, GetInstance(), IDC_NOTE_LIST, &rect, NoteList::kRowHeight);
        m_list->SetDirectMode();
        m_list->SetRotate(1);
        for (long i = 0; i < count; ++i) {
            Note note;
            if (!m_store.Read(UINT(i), note)) note.title = u"(읽을 수 없는 메모)";
            m_list->AddNote(note);
        }
        m_list->SetFocus();
        if (m_listSelect >= count) m_listSelect = int(count) - 1;
        m_list->SetSelect(m_listSelect < 0 ? 0 : m_listSelect);
    }

    int SelectedNote() const {
        if (!m_list) return -1;
        const int row = m_list->GetSelect();
        return row >= 0 && row < int(m_list->GetCount()) ? row : -1;
    }

    void ToggleDone() {
        if (!m_list) return;
        const int row = SelectedNote();
        const int done = m_list->ToggleDone();
        if (row < 0 || done < 0) return;
        if (!m_store.SetDone(UINT(row), done == 1)) {
            // The record did not change: show the truth again.
            m_list->SetCheck(UINT(row), done == 1 ? 0 : 1);
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
    }

    void DeleteFromList() {
        const int row = SelectedNote();
        if (row < 0) return;
        Note note;
        m_store.Read(UINT(row), note);
        std::u16string question = u"\"" + note.title + u"\" 메모를 지울까요?";
        if (Ask(question.c_str(), u"삭제", MB_YESNO) != IDYES) return;
        if (!m_store.Remove(UINT(row))) {
            LxString(u"메모를 지우지 못했습니다.").MessageBoxW(LxString(u"삭제"), MB_ICONHAND);
            return;
        }
        m_listSelect = row;
        ShowScreen(Screen::List);
    }

    // ---- The editor ----

    void OpenEditor(int index) {
        m_editIndex = index;
        m_original = {};
        if (index >= 0 && !m_store.Read(UINT(index), m_original)) return;
        m_draft = m_original;
        m_focusBody = false;
        ShowScreen(Screen::Editor);
    }

    void BuildEditor() {
        RECT area;
        GetUserArea(&area);
        const COLORREF background = m_settings.Background();
        RECT title = {4, area.top + 4, area.right - 4, area.top + 32};
        m_titleEdit = std::make_unique<LxEditCtrl>();
        m_titleEdit->CreateEdit(m_hWnd, GetInstance(), 0, &title, WS_BORDER | ES_AUTOHSCROLL);
        m_titleEdit->SetLimitText(kTitleBytes);
        m_titleEdit->SetDescText(u"제목", kHint);
        m_titleEdit->SetBaseColor(background, 0x000000);
        m_titleEdit->SetText(m_draft.title.c_str());
        RECT body = {4, area.top + 36, area.right - 4, area.bottom - 4};
        m_bodyEdit = std::make_unique<LxEditCtrl>();
        m_bodyEdit->CreateEdit(m_hWnd, GetInstance(), 0, &body, WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL);
        m_bodyEdit->SetLimitText(kBodyBytes);
        m_bodyEdit->SetDescText(u"내용", kHint);
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

    void KeepDraft() {
        if (!m_titleEdit || !m_bodyEdit) return;
        WCHAR text[kTextCapacity] = {};
        m_titleEdit->GetText(text);
        m_draft.title = text;
        text[0] = 0;
        m_bodyEdit->GetText(text);
        m_draft.body = text;
        m_focusBody = m_bodyEdit->IsFocus() == 1;
    }

    bool DraftChanged() const { return m_draft.title != m_original.title || m_draft.body != m_original.body; }

    // Saves the note being edited and returns to the list showing it; false when the note stays open.
    bool SaveDraft() {
        KeepDraft();
        Note note = m_draft;
        note.title = Trimmed(note.title);
        note.done = m_original.done;
        if (note.title.empty()) {
            // A note without a title is named by the start of its first line.
            const std::u16string body = Trimmed(note.body);
            note.title = body.substr(0, body.find_first_of(u"\r\n")).substr(0, 20);
        }
        if (note.title.empty()) {
            LxString(u"제목이나 내용을 적어 주세요.").MessageBoxW(LxString(u"저장"), MB_ICONEXCLAMATION);
            return false;
        }
        const bool saved = m_editIndex >= 0 ? m_store.Update(UINT(m_editIndex), note) : m_store.Add(note);
        if (!saved) {
            LxString(u"메모를 저장하지 못했습니다.").MessageBoxW(LxString(u"저장"), MB_ICONHAND);
            return false;
        }
        m_listSelect = FindNote(note);
        ShowScreen(Screen::List);
        return true;
    }

    int FindNote(const Note& wanted) {
        for (long i = m_store.Count() - 1; i >= 0; --i) {
            Note note;
            if (m_store.Read(UINT(i), note) && note.title == wanted.title && note.body == wanted.body) return int(i);
        }
        return 0;
    }

    // Leaving the editor never drops typed text without asking.
    void LeaveEditor() {
        KeepDraft();
        if (DraftChanged()) {
            const int answer = Ask(u"바뀐 내용을 저장할까요?", u"메모 편집", MB_YESNOCANCEL);
            if (answer == IDCANCEL) return;
            if (answer == IDYES) {
                SaveDraft();
                return;
            }
        }
        m_listSelect = m_editIndex;
        ShowScreen(Screen::List);
    }

    void DeleteFromEditor() {
        KeepDraft();
        if (Ask(m_editIndex >= 0 ? u"이 메모를 지울까요?" : u"새 메모를 버릴까요?", u"삭제", MB_YESNO) != IDYES) return;
        if (m_editIndex >= 0 && !m_store.Remove(UINT(m_editIndex))) {
            LxString(u"메모를 지우지 못했습니다.").MessageBoxW(LxString(u"삭제"), MB_ICONHAND);
            return;
        }
        m_listSelect = m_editIndex;
        ShowScreen(Screen::List);
    }

    // ---- Settings ----

    void OpenSettings() {
        m_choices = m_settings;
        ShowScreen(Screen::Settings);
    }

    void BuildSettings() {
        RECT area;
        GetUserArea(&area);
        const COLORREF background = m_choices.Background();
        const bool wide = GetScreenWidth() > GetScreenHeight();
        const WCHAR* labels[kChooserCount] = {u"정렬 순서", u"배경 색", u"화면 방향", u"완료 키"};
        const int ids[kChooserCount] = {IDC_SORT_SPIN, IDC_THEME_SPIN, IDC_ROTATION_SPIN, IDC_DONE_KEY_SPIN};
        // Four choosers under their labels do not fit either screen, so each label stands beside its chooser;
        // the narrow upright screen gives the labels less room and the rows more air.
        const LONG column = wide ? 100 : 78;
        const LONG pitch = wide ? 29 : 36;
        for (int i = 0; i < kChooserCount; ++i) {
            const LONG top = area.top + 4 + pitch * i;
            RECT label = {8, top, column, top + 26};
            RECT spin = {column, top, area.right - 8, top + 26};
            m_labels[i] = std::make_unique<LxText>();
            m_labels[i]->CreateText(m_hWnd, GetInstance(), 0, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE, 0, 0);
            m_labels[i]->SetText(labels[i]);
            m_labels[i]->SetColor(kLabel, background);
            m_spins[i] = std::make_unique<LxSpinCtrl>();
            m_spins[i]->CreateSpin(m_hWnd, GetInstance(), UINT(ids[i]), &spin, WS_BORDER);
            m_spins[i]->SetRotate(1);
        }
        m_spins[0]->AddItem(u"입력한 순서", 0);
        m_spins[0]->AddItem(u"제목 순서", 0);
        // Theme items are checked, so each step reports itself and the screen previews the colour.
        for (const Theme& theme : NotebookSettings::kThemes) m_spins[1]->AddItem(theme.name, 1);
        const WCHAR* rotations[] = {u"세로", u"가로 (90°)", u"거꾸로 (180°)", u"가로 (270°)"};
        for (const WCHAR* rotation : rotations) m_spins[2]->AddItem(rotation, 0);
        for (const DoneKey& key : NotebookSettings::kDoneKeys)
            m_spins[3]->AddItem((std::u16string(key.sign) + u" 키").c_str(), 0);
        m_spins[0]->SetSelect(m_choices.sortByTitle ? 1 : 0);
        m_spins[1]->SetSelect(m_choices.theme);
        m_spins[2]->SetSelect(m_choices.rotation);
        m_spins[3]->SetSelect(m_choices.DoneKeyChoice());

        // Below the choosers the upright screen centres the button over its status line; the wide one has no
        // room for a line more, so the button takes the label column and the status stands beside it.
        const LONG buttonTop = area.top + 4 + pitch * kChooserCount + (wide ? 1 : 8);
        const LONG left = wide ? 8 : (area.right - 120) / 2;
        RECT button = {left, buttonTop, wide ? column - 8 : left + 120, buttonTop + 28};
        m_saveButton = std::make_unique<LxText>();
        m_saveButton->CreateButton(m_hWnd, GetInstance(), IDC_SAVE_BUTTON, &button);
        m_saveButton->SetText(u"저장");
        m_saveButton->SetTextStyle(kButtonText);
        m_saveButton->SetBaseColor(background, 0x000000);
        m_saveButton->SetPushColor(0x000000, kFrame);
        RECT status = wide ? RECT{column, buttonTop, area.right - 8, buttonTop + 28}
                           : RECT{8, buttonTop + 30, area.right - 8, buttonTop + 52};
        m_status = std::make_unique<LxText>();
        m_status->CreateText(m_hWnd, GetInstance(), 0, &status, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, 0);
        m_status->SetText(m_statusText.c_str());
        m_status->SetColor(kHint, background);
        m_spins[m_focusSpin]->SetFocus();
    }

    void KeepChoices() {
        if (!m_spins[0]) return;
        m_choices.sortByTitle = m_spins[0]->GetSelect() == 1;
        m_choices.theme = m_spins[1]->GetSelect();
        m_choices.rotation = m_spins[2]->GetSelect();
        const int key = m_spins[3]->GetSelect();
        if (key >= 0 && key < NotebookSettings::kDoneKeyCount)
            m_choices.doneKey = NotebookSettings::kDoneKeys[key].code;
        m_focusSpin = 0;
        for (int i = 0; i < kChooserCount; ++i)
            if (m_spins[i]->IsFocus()) m_focusSpin = i;
    }

    // The theme chooser previews its colour on the whole screen.
    void PreviewTheme(int theme) {
        m_choices.theme = theme;
        const COLORREF background = m_choices.Background();
        SetBaseColor(background);
        for (auto& label : m_labels)
            if (label) label->SetColor(kLabel, background);
        if (m_saveButton) m_saveButton->SetBaseColor(background, 0x000000);
        if (m_status) m_status->SetColor(kHint, background);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }

    void SaveSettings() {
        KeepChoices();
        const int oldOrientation = m_settings.Orientation();
        const bool oldSort = m_settings.sortByTitle;
        m_settings = m_choices;
        if (!m_settings.Save()) {
            m_statusText = u"저장하지 못했습니다";
        } else {
            m_statusText = u"저장했습니다";
        }
        if (oldSort != m_settings.sortByTitle) m_store.SetSortByTitle(m_settings.sortByTitle);
        SetBaseColor(m_settings.Background());
        if (m_status) m_status->SetText(m_statusText.c_str());
        if (m_settings.Orientation() != oldOrientation && !LxRotateScreen(m_settings.Orientation())) {
            m_statusText = u"화면을 돌릴 수 없습니다";
            if (m_status) m_status->SetText(m_statusText.c_str());
        }
    }

    void LeaveSettings() {
        // Unsaved choices are dropped, the previewed colour with them.
        SetBaseColor(m_settings.Background());
        m_statusText.clear();
        m_focusSpin = 0;
        ShowScreen(Screen::List);
    }

    // ---- Commands and keys ----

    void OnCommand(int command) {
        switch (command) {
        case IDC_NOTE_LIST:
            if (m_screen == Screen::List && m_list && m_list->ChosenRow() >= 0) OpenEditor(m_list->ChosenRow());
            break;
        case IDC_OPEN:
            if (m_screen == Screen::List && SelectedNote() >= 0) OpenEditor(SelectedNote());
            break;
        case IDC_NEW: OpenEditor(-1); break;
        case IDC_TOGGLE_DONE: ToggleDone(); break;
        case IDC_DELETE:
            if (m_screen == Screen::List) DeleteFromList();
            else if (m_screen == Screen::Editor) DeleteFromEditor();
            break;
        case IDC_SETTINGS: OpenSettings(); break;
        case IDC_ABOUT: ShowAbout(); break;
        case IDC_SAVE:
            if (m_screen == Screen::Editor) SaveDraft();
            else if (m_screen == Screen::Settings) SaveSettings();
            break;
        case IDC_SAVE_BUTTON: SaveSettings(); break;
        case IDC_BACK:
            if (m_screen == Screen::Editor) LeaveEditor();
            else if (m_screen == Screen::Settings) LeaveSettings();
            break;
        case IDC_QUIT: PostQuitMessage(0); break;
        default: break;
        }
    }

    // The list's hot keys: a digit opens the row carrying it.
    void OnKeyDown(WPARAM key, HWND from) {
        if (m_list && from == GetListWindow() && key >= '1' && key <= '9') m_list->HotKey(WCHAR(key));
    }

    void OnKeyUp(WPARAM key, HWND from) {
        if (m_list && from == GetListWindow() && key == m_settings.doneKey) ToggleDone();
    }

    // Back on the settings returns to the list; in the editor Backspace belongs to the text.
    void OnBackKey() {
        if (m_screen == Screen::Settings) LeaveSettings();
    }

    void OnSelChange(HWND from) {
        if (m_screen == Screen::Settings && m_spins[1] && from == GetDlgItem(m_hWnd, IDC_THEME_SPIN))
            PreviewTheme(m_spins[1]->GetSelect());
    }

    HWND GetListWindow() const { return GetDlgItem(m_hWnd, IDC_NOTE_LIST); }

    void ShowAbout() {
        AboutScreen about(GetInstance(), m_settings.Background(), m_settings.DoneKeySign());
        about.Dialog(MAKEINTRESOURCEW(IDD_ABOUT), m_hWnd, 1);
        // Back from the dialog the keys go to the screen's own control again.
        RebuildScreen();
    }

    NoteStore m_store;
    NotebookSettings m_settings;
    NotebookSettings m_choices;
    Screen m_screen = Screen::None;

    std::unique_ptr<NoteList> m_list;
    int m_listSelect = 0;

    std::unique_ptr<LxEditCtrl> m_titleEdit;
    std::unique_ptr<LxEditCtrl> m_bodyEdit;
    int m_editIndex = -1;
    Note m_original;
    Note m_draft;
    bool m_focusBody = false;

    std::unique_ptr<LxText> m_labels[kChooserCount];
    std::unique_ptr<LxSpinCtrl> m_spins[kChooserCount];
    std::unique_ptr<LxText> m_saveButton;
    std::unique_ptr<LxText> m_status;
    std::u16string m_statusText;
    int m_focusSpin = 0;
};

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    NotebookWindow window;
    return window.Window(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
