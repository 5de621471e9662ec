// The settings screen: a chooser each for the sort order, the colour theme, the screen orientation and the
// done key, a button to save them and a status line. The choices are a copy of the settings until saved.
#pragma once

#include <memory>

#include "LxSpinCtrl.h"
#include "LxText.h"
#include "NotebookSettings.h"
#include "WString.h"

class LxBaseWindow;
class NoteStore;

class SettingsScreen {
public:
    SettingsScreen(LxBaseWindow& window, NoteStore& store, NotebookSettings& settings);

    // Starts from the settings in force.
    void Open();

    void Build();
    // Takes the choosers' choices and focus, for the controls built next.
    void Keep();
    void Destroy();

    void Save();
    // Drops unsaved choices before the window leaves the screen.
    void Leave();
    // A chooser stepped to another item.
    void OnSelChange(HWND from);

private:
    static constexpr int kChooserCount = 4;

    void PreviewTheme(int theme);

    LxBaseWindow& m_window;
    NoteStore& m_store;
    NotebookSettings& m_settings;
    NotebookSettings m_choices;
    std::unique_ptr<LxText> m_labels[kChooserCount];
    std::unique_ptr<LxSpinCtrl> m_spins[kChooserCount];
    std::unique_ptr<LxText> m_saveButton;
    std::unique_ptr<LxText> m_status;
    WString m_statusText;
    int m_focusSpin = 0;
};
