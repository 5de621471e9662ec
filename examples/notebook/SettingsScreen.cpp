// The settings screen: lays the choosers out for the screen's shape, previews a theme as it is chosen and
// saves the choices to the registry, turning the screen when the orientation changed.
#include "SettingsScreen.h"

#include "LxBaseWindow.h"
#include "NoteStore.h"
#include "NotebookUi.h"
#include "resource.h"

SettingsScreen::SettingsScreen(LxBaseWindow& window, NoteStore& store, NotebookSettings& settings)
    : m_window(window), m_store(store), m_settings(settings) {}

void SettingsScreen::Open() { m_choices = m_settings; }

void SettingsScreen::Build() {
    RECT area;
    m_window.GetUserArea(&area);
    const HWND parent = m_window.m_hWnd;
    const HINSTANCE instance = m_window.GetInstance();
    const COLORREF background = m_choices.Background();
    const bool wide = m_window.GetScreenWidth() > m_window.GetScreenHeight();
    const WCHAR* labels[kChooserCount] = {TEXT("정렬 순서"), TEXT("배경 색"), TEXT("화면 방향"),
                                          TEXT("완료 키")};
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
        m_labels[i]->CreateText(parent, instance, 0, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE, 0, 0);
        m_labels[i]->SetText(labels[i]);
        m_labels[i]->SetColor(kLabel, background);
        m_spins[i] = std::make_unique<LxSpinCtrl>();
        m_spins[i]->CreateSpin(parent, instance, UINT(ids[i]), &spin, WS_BORDER);
        m_spins[i]->SetRotate(1);
    }
    m_spins[0]->AddItem(TEXT("입력한 순서"), 0);
    m_spins[0]->AddItem(TEXT("제목 순서"), 0);
    // Theme items are checked, so each step reports itself and the screen previews the colour.
    for (const Theme& theme : NotebookSettings::kThemes) m_spins[1]->AddItem(theme.name, 1);
    const WCHAR* rotations[] = {TEXT("세로"), TEXT("가로 (90°)"), TEXT("거꾸로 (180°)"), TEXT("가로 (270°)")};
    for (const WCHAR* rotation : rotations) m_spins[2]->AddItem(rotation, 0);
    for (const DoneKey& key : NotebookSettings::kDoneKeys)
        m_spins[3]->AddItem((WString(key.sign) + TEXT(" 키")).c_str(), 0);
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
    m_saveButton->CreateButton(parent, instance, IDC_SAVE_BUTTON, &button);
    m_saveButton->SetText(TEXT("저장"));
    m_saveButton->SetTextStyle(kButtonText);
    m_saveButton->SetBaseColor(background, 0x000000);
    m_saveButton->SetPushColor(0x000000, kFrame);
    RECT status = wide ? RECT{column, buttonTop, area.right - 8, buttonTop + 28}
                       : RECT{8, buttonTop + 30, area.right - 8, buttonTop + 52};
    m_status = std::make_unique<LxText>();
    m_status->CreateText(parent, instance, 0, &status, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, 0);
    m_status->SetText(m_statusText.c_str());
    m_status->SetColor(kHint, background);
    m_spins[m_focusSpin]->SetFocus();
}

void SettingsScreen::Keep() {
    if (!m_spins[0]) return;
    m_choices.sortByTitle = m_spins[0]->GetSelect() == 1;
    m_choices.theme = m_spins[1]->GetSelect();
    m_choices.rotation = m_spins[2]->GetSelect();
    const int key = m_spins[3]->GetSelect();
    if (key >= 0 && key < NotebookSettings::kDoneKeyCount) m_choices.doneKey = NotebookSettings::kDoneKeys[key].code;
    m_focusSpin = 0;
    for (int i = 0; i < kChooserCount; ++i)
        if (m_spins[i]->IsFocus()) m_focusSpin = i;
}

void SettingsScreen::Destroy() {
    for (auto& spin : m_spins) spin.reset();
    for (auto& label : m_labels) label.reset();
    m_saveButton.reset();
    m_status.reset();
}

// The theme chooser previews its colour on the whole screen.
void SettingsScreen::PreviewTheme(int theme) {
    m_choices.theme = theme;
    const COLORREF background = m_choices.Background();
    m_window.SetBaseColor(background);
    for (auto& label : m_labels)
        if (label) label->SetColor(kLabel, background);
    if (m_saveButton) m_saveButton->SetBaseColor(background, 0x000000);
    if (m_status) m_status->SetColor(kHint, background);
    InvalidateRect(m_window.m_hWnd, nullptr, TRUE);
}

void SettingsScreen::OnSelChange(HWND from) {
    if (m_spins[1] && from == GetDlgItem(m_window.m_hWnd, IDC_THEME_SPIN)) PreviewTheme(m_spins[1]->GetSelect());
}

void SettingsScreen::Save() {
    Keep();
    const int oldOrientation = m_settings.Orientation();
    const bool oldSort = m_settings.sortByTitle;
    m_settings = m_choices;
    if (!m_settings.Save()) {
        m_statusText = TEXT("저장하지 못했습니다");
    } else {
        m_statusText = TEXT("저장했습니다");
    }
    if (oldSort != m_settings.sortByTitle) m_store.SetSortByTitle(m_settings.sortByTitle);
    m_window.SetBaseColor(m_settings.Background());
    if (m_status) m_status->SetText(m_statusText.c_str());
    // The turn comes back as a setting change, which builds this screen again for the new shape.
    if (m_settings.Orientation() != oldOrientation && !LxRotateScreen(m_settings.Orientation())) {
        m_statusText = TEXT("화면을 돌릴 수 없습니다");
        if (m_status) m_status->SetText(m_statusText.c_str());
    }
}

void SettingsScreen::Leave() {
    // Unsaved choices are dropped, the previewed colour with them.
    m_window.SetBaseColor(m_settings.Background());
    m_statusText.clear();
    m_focusSpin = 0;
}
