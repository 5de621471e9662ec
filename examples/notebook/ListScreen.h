// The list screen: every note in a list with its done box, opened by Select, the menu or a digit hot key. An
// empty book has no list at all; the main window then paints how to start.
#pragma once

#include <windows.h>

#include <memory>

#include "NoteList.h"

class LxBaseWindow;
class NoteStore;
struct NotebookSettings;

class ListScreen {
public:
    ListScreen(LxBaseWindow& window, NoteStore& store, const NotebookSettings& settings);

    void Build();
    // Remembers the selected row, so the list built next (back from another screen, after a rotation) shows
    // it again.
    void Destroy();

    // The row the list should select when it is built next (clamped to the notes there are then).
    void Select(int row) { m_select = row; }
    // The selected note's row, or -1 without one.
    int SelectedNote() const;
    // The row a Select release or hot key reported, or -1.
    int ChosenRow() const;

    void ToggleDone();
    // Asks before deleting the selected note; true when it is gone and the list must be built again.
    bool DeleteSelected();

    void OnKeyDown(WPARAM key, HWND from);
    void OnKeyUp(WPARAM key, HWND from);
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam, int* pHandled);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam, int* pHandled);

private:
    HWND ListWindow() const;

    LxBaseWindow& m_window;
    NoteStore& m_store;
    const NotebookSettings& m_settings;
    std::unique_ptr<NoteList> m_list;
    int m_select = 0;
};
