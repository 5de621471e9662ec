// The keypad notebook: a list of notes kept in the record database, a note editor with Korean input, a
// settings screen whose choices live in the registry, and an about screen run as a full-screen dialog. This
// file is the main window: its start, its painting, the switch between screens and the routing of menu
// commands and keys to the screen they belong to. Each screen lives in its own file.
#include "Notebook.h"

#include "AboutScreen.h"
#include "NotebookUi.h"
#include "resource.h"

namespace {

LRESULT Handled(int* pHandled) {
    *pHandled = 1;
    return 0;
}

} // namespace

NotebookWindow::NotebookWindow()
    : m_listScreen(*this, m_store, m_settings),
      m_editorScreen(*this, m_store, m_settings),
      m_settingsScreen(*this, m_store, m_settings) {
    CopyText(m_szWindowClass, TEXT("KeypadNotebook"));
    CopyText(m_szTitle, TEXT("메모장"));
    m_nIconID = 0;
    m_lpszAccel = nullptr;
}

LRESULT NotebookWindow::OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) {
    switch (uMsg) {
    case WM_CREATE: return OnCreate(pHandled);
    case WM_PAINT: return OnPaint(hWnd, pHandled);
    case WM_SETTINGCHANGE: return OnDisplayChange(UINT(wParam), LONG(lParam), pHandled);
    case WM_MEASUREITEM: return m_listScreen.OnMeasureItem(wParam, lParam, pHandled);
    case WM_DRAWITEM: return m_listScreen.OnDrawItem(wParam, lParam, pHandled);
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return Handled(pHandled);
    case LXM_MENUKEYLEFT: OnCommand(MenuPopup(0)); return Handled(pHandled);
    case LXM_MENUKEYRIGHT: OnCommand(m_screen == Screen::List ? IDC_QUIT : IDC_BACK); return Handled(pHandled);
    case LXM_KEYDOWN: m_listScreen.OnKeyDown(wParam, HWND(lParam)); return Handled(pHandled);
    case LXM_KEYUP: m_listScreen.OnKeyUp(wParam, HWND(lParam)); return Handled(pHandled);
    case LXM_BACKKEY: OnBackKey(); return Handled(pHandled);
    case LXM_HOMEKEY: OnCommand(IDC_BACK); return Handled(pHandled);
    case LXM_SELCHANGE: OnSelChange(HWND(lParam)); return Handled(pHandled);
    default: return 0;
    }
}

// ---- Start and painting ----

LRESULT NotebookWindow::OnCreate(int* pHandled) {
    m_settings.Load();
    SetBaseColor(m_settings.Background());
    TitleCreate(nullptr);
    if (!m_store.Open(m_settings.sortByTitle, nullptr)) {
        Warn(TEXT("메모를 저장할 곳을 열 수 없습니다."), TEXT("메모장"), MB_ICONHAND);
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
LRESULT NotebookWindow::OnPaint(HWND hWnd, int* pHandled) {
    if (m_screen != Screen::List || m_store.Count() != 0) return 0;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    RECT area;
    GetUserArea(&area);
    SetTextColor(hdc, kLabel);
    LxDrawText(hdc, TEXT("메모가 없습니다.\r\n왼쪽 메뉴에서 새 메모를 만드세요."), &area,
               DT_CENTER | DT_VCENTER, 16);
    EndPaint(hWnd, &ps);
    *pHandled = 1;
    return 0;
}

LRESULT NotebookWindow::OnDisplayChange(UINT wParam, LONG lParam, int* pHandled) {
    OnSettingChange(wParam, lParam);
    RebuildScreen();
    *pHandled = 1;
    return 0;
}

// ---- Switching screens ----

void NotebookWindow::ShowScreen(Screen screen) {
    DestroyControls();
    m_screen = screen;
    static const struct {
        int menu;
        const WCHAR* title;
    } kScreens[] = {{0, TEXT("")},
                    {IDM_LIST_MENU, TEXT("메모 목록")},
                    {IDM_EDITOR_MENU, TEXT("메모 편집")},
                    {IDM_SETTINGS_MENU, TEXT("설정")}};
    const auto& s = kScreens[int(screen)];
    MenuDestroy();
    MenuCreate(s.menu, 0);
    const WCHAR* title = screen == Screen::Editor && m_editorScreen.IsNew() ? TEXT("새 메모") : s.title;
    SetWindowTextW(const_cast<WCHAR*>(title));
    BuildControls();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Keeps what the screen holds, then builds it again for the current screen size.
void NotebookWindow::RebuildScreen() {
    if (m_screen == Screen::Editor) m_editorScreen.Keep();
    if (m_screen == Screen::Settings) m_settingsScreen.Keep();
    DestroyControls();
    BuildControls();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Only the screen shown has controls; the others have nothing to destroy.
void NotebookWindow::DestroyControls() {
    m_listScreen.Destroy();
    m_editorScreen.Destroy();
    m_settingsScreen.Destroy();
}

void NotebookWindow::BuildControls() {
    switch (m_screen) {
    case Screen::List: m_listScreen.Build(); break;
    case Screen::Editor: m_editorScreen.Build(); break;
    case Screen::Settings: m_settingsScreen.Build(); break;
    case Screen::None: break;
    }
}

void NotebookWindow::OpenEditor(int index) {
    if (m_editorScreen.Open(index)) ShowScreen(Screen::Editor);
}

void NotebookWindow::OpenSettings() {
    m_settingsScreen.Open();
    ShowScreen(Screen::Settings);
}

void NotebookWindow::LeaveSettings() {
    m_settingsScreen.Leave();
    ShowScreen(Screen::List);
}

void NotebookWindow::ReturnToList(std::optional<int> row) {
    if (!row) return;
    m_listScreen.Select(*row);
    ShowScreen(Screen::List);
}

void NotebookWindow::ShowAbout() {
    AboutScreen about(GetInstance(), m_settings.Background(), m_settings.DoneKeySign());
    about.Dialog(MAKEINTRESOURCEW(IDD_ABOUT), m_hWnd, 1);
    // Back from the dialog the keys go to the screen's own control again.
    RebuildScreen();
}

// ---- Commands and keys ----

// A command goes to the screen it belongs to; the menus offer each only where it means something.
void NotebookWindow::OnCommand(int command) {
    switch (command) {
    case IDC_NOTE_LIST:
        if (m_screen == Screen::List && m_listScreen.ChosenRow() >= 0) OpenEditor(m_listScreen.ChosenRow());
        break;
    case IDC_OPEN:
        if (m_screen == Screen::List && m_listScreen.SelectedNote() >= 0) OpenEditor(m_listScreen.SelectedNote());
        break;
    case IDC_NEW: OpenEditor(-1); break;
    case IDC_TOGGLE_DONE: m_listScreen.ToggleDone(); break;
    case IDC_DELETE:
        if (m_screen == Screen::List) {
            if (m_listScreen.DeleteSelected()) ShowScreen(Screen::List);
        } else if (m_screen == Screen::Editor) {
            ReturnToList(m_editorScreen.Delete());
        }
        break;
    case IDC_SETTINGS: OpenSettings(); break;
    case IDC_ABOUT: ShowAbout(); break;
    case IDC_SAVE:
        if (m_screen == Screen::Editor) ReturnToList(m_editorScreen.Save());
        else if (m_screen == Screen::Settings) m_settingsScreen.Save();
        break;
    case IDC_SAVE_BUTTON: m_settingsScreen.Save(); break;
    case IDC_BACK:
        if (m_screen == Screen::Editor) ReturnToList(m_editorScreen.Leave());
        else if (m_screen == Screen::Settings) LeaveSettings();
        break;
    case IDC_QUIT: PostQuitMessage(0); break;
    default: break;
    }
}

// Back on the settings returns to the list; in the editor Backspace belongs to the text.
void NotebookWindow::OnBackKey() {
    if (m_screen == Screen::Settings) LeaveSettings();
}

void NotebookWindow::OnSelChange(HWND from) {
    if (m_screen == Screen::Settings) m_settingsScreen.OnSelChange(from);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    NotebookWindow window;
    return window.Window(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
