// The notes of the notebook, kept as records of the record database: the title in the first field (so the
// sorted order is by title), the done flag, then the body cut into as many text fields as it needs. A table
// found empty is given a few sample notes so a fresh machine shows something.
#pragma once

#include <windows.h>

#include "LxEDB.h"
#include "WString.h"

struct Note {
    WString title;
    WString body;
    bool done = false;
};

class NoteStore {
public:
    // The longest body a record can carry, in UTF-16 units.
    static constexpr size_t kBodyCapacity = (EDB_MAX_FIELDS - 2) * (EDB_TEXT_MAX - 1);

    NoteStore();

    // Opens (creating if needed) the notes table; `sortByTitle` chooses the order of the rows.
    bool Open(bool sortByTitle, HWND notify);
    void SetSortByTitle(bool sortByTitle);
    // Adds the sample notes when the table holds none; true when it did.
    bool SeedIfEmpty();

    long Count();
    bool Read(UINT index, Note& note);
    bool Add(const Note& note);
    bool Update(UINT index, const Note& note);
    bool Remove(UINT index);
    bool SetDone(UINT index, bool done);

private:
    // Fills `fields` from a note; 0 when the note does not fit a record.
    static UINT ToFields(const Note& note, LxEDBREC* fields);
    static bool FromFields(const LxEDBREC* fields, Note& note);

    LxEDB m_db;
};
