// The notebook's main window. It owns the notes and the settings, shows one screen at a time and hands that
// screen the commands, keys and notifications meant for it. Entering a screen builds its controls and its
// soft-key menu, leaving it destroys them; a rotation rebuilds the screen being shown for the new size.
#pragma once

#include <windows.h>

#include <optional>

#include "EditorScreen.h"
#include "ListScreen.h"
#include "LxBaseWindow.h"
#include "NoteStore.h"
#include "NotebookSettings.h"
#include "SettingsScreen.h"

class NotebookWindow : public LxBaseWindow {
public:
    NotebookWindow();

    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override;

private:
    enum class Screen { None, List, Editor, Settings };

    LRESULT OnCreate(int* pHandled);
    LRESULT OnPaint(HWND hWnd, int* pHandled);
    LRESULT OnDisplayChange(UINT wParam, LONG lParam, int* pHandled);
    void OnCommand(int command);
    void OnBackKey();
    void OnSelChange(HWND from);

    void ShowScreen(Screen screen);
    void RebuildScreen();
    void DestroyControls();
    void BuildControls();

    void OpenEditor(int index);
    void OpenSettings();
    void LeaveSettings();
    // Goes back to the list at `row` when the editor closed; nothing when it stays open.
    void ReturnToList(std::optional<int> row);
    void ShowAbout();

    NoteStore m_store;
    NotebookSettings m_settings;
    Screen m_screen = Screen::None;
    ListScreen m_listScreen;
    EditorScreen m_editorScreen;
    SettingsScreen m_settingsScreen;
};
