// The list of notes: one row per note with its hot-key cap (the first nine rows), a "done" check box and a
// picture telling notes with a body from bare titles. Select opens the row instead of ticking it; the box is
// ticked by ToggleDone, which the application calls for the done key of the settings and the menu.
#pragma once

#include "LxListCtrl.h"
#include "NoteStore.h"

class NoteList : public LxListCtrl {
public:
    static constexpr UINT kRowHeight = 26;

    void AddNote(const Note& note);
    // Ticks or clears the box of the selected row; the new state, or -1 without a selected row.
    int ToggleDone();
    // Hands a typed character to the hot-key search; true when it chose a row.
    bool HotKey(WCHAR character);
    // The row the last Select release or hot key reported to the parent. The list learns its selected row
    // only when it paints it, which a hot key's report can overtake.
    int ChosenRow() const { return m_nChosen; }

    long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn) override;

protected:
    int GetColorUserDefine(UINT nItem, DWORD& crColor, int bSelected) override;

private:
    int m_nChosen = -1;
};
