// Reading DLGTEMPLATE and DLGTEMPLATEEX records (as windres writes them into .res files and as programs
// build them in memory) into one plain description. Nothing here creates windows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace cehost::controls {

// A class, menu or title field: either a string or a 16-bit ordinal.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string name;

    bool IsEmpty() const { return !isOrdinal && name.empty(); }
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

// Reads a template of at most `size` bytes (SIZE_MAX when the caller cannot tell, as for a template handed
// to DialogBoxIndirectParamW). Returns false, with a reason in `error`, for a record that runs past its
// size or is otherwise malformed.
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out, std::string* error);

// The class name of a predefined control atom (0x80 "button" ... 0x85 "combobox"); empty if unknown.
std::u16string PredefinedClassName(WORD atom);

} // namespace cehost::controls
