// The notebook's settings, kept in the registry: the order of the notes, the colour theme, the screen
// orientation and the key that marks a note done. Values out of range read as the defaults, so a damaged
// registry cannot break the screens.
#pragma once

#include <windows.h>

struct Theme {
    const WCHAR* name;
    COLORREF background;
};

// A keypad key the list accepts for marking a note done: the virtual-key code the keypad sends for it and
// the sign printed on the key.
struct DoneKey {
    DWORD code;
    const WCHAR* sign;
};

struct NotebookSettings {
    static constexpr int kThemeCount = 3;
    static const Theme kThemes[kThemeCount];
    // Orientations LxRotateScreen accepts, in the order the chooser shows them.
    static constexpr int kRotationCount = 4;
    static const int kRotations[kRotationCount];
    // The first key is the default.
    static constexpr int kDoneKeyCount = 3;
    static const DoneKey kDoneKeys[kDoneKeyCount];

    bool sortByTitle = false;
    int theme = 0;
    int rotation = 0; // index into kRotations
    DWORD doneKey = VK_TSTAR; // the code itself, always one of kDoneKeys

    void Load();
    bool Save() const;
    COLORREF Background() const { return kThemes[theme].background; }
    int Orientation() const { return kRotations[rotation]; }
    // Where doneKey stands in kDoneKeys; the default's place for a code that is not offered.
    int DoneKeyChoice() const;
    const WCHAR* DoneKeySign() const { return kDoneKeys[DoneKeyChoice()].sign; }
};
