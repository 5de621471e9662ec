// The editor screen: a title line and a body for one note, new or stored. What is typed lives in the edit
// controls while the screen shows and in the draft while it is rebuilt, so a rotation or the about screen
// keeps it.
#pragma once

#include <memory>
#include <optional>

#include "LxEditCtrl.h"
#include "NoteStore.h"

class LxBaseWindow;
struct NotebookSettings;

class EditorScreen {
public:
    EditorScreen(LxBaseWindow& window, NoteStore& store, const NotebookSettings& settings);

    // Starts editing the note at `index`, or a new one for -1; false when the note cannot be read.
    bool Open(int index);
    bool IsNew() const { return m_index < 0; }

    void Build();
    // Takes what the controls hold into the draft, for the controls built next.
    void Keep();
    void Destroy();

    // The commands that can close the editor say which list row to show then; nothing while it stays open.
    std::optional<int> Save();
    // Leaving never drops typed text without asking.
    std::optional<int> Leave();
    std::optional<int> Delete();

private:
    bool DraftChanged() const;
    int FindNote(const Note& wanted);

    LxBaseWindow& m_window;
    NoteStore& m_store;
    const NotebookSettings& m_settings;
    std::unique_ptr<LxEditCtrl> m_titleEdit;
    std::unique_ptr<LxEditCtrl> m_bodyEdit;
    int m_index = -1;
    Note m_original;
    Note m_draft;
    bool m_focusBody = false;
};
