// The notebook's settings, kept in the registry: the order of the notes, the colour theme and the screen
// orientation. Values out of range read as the defaults, so a damaged registry cannot break the screens.
#pragma once

#include <windows.h>

struct Theme {
    const WCHAR* name;
    COLORREF background;
};

struct NotebookSettings {
    static constexpr int kThemeCount = 3;
    static const Theme kThemes[kThemeCount];
    // Orientations LxRotateScreen accepts, in the order the chooser shows them.
    static constexpr int kRotationCount = 4;
    static const int kRotations[kRotationCount];

    bool sortByTitle = false;
    int theme = 0;
    int rotation = 0; // index into kRotations

    void Load();
    bool Save() const;
    COLORREF Background() const { return kThemes[theme].background; }
    int Orientation() const { return kRotations[rotation]; }
};
