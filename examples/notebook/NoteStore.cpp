// The notes of the notebook over the record database wrapper.
#include "NoteStore.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WCHAR kVolume[] = TEXT("Notebook");
constexpr WCHAR kTable[] = TEXT("Notes");
constexpr DWORD kTitleProp = 1;
constexpr DWORD kDoneProp = 2;
constexpr DWORD kBodyProp = 3;
constexpr size_t kChunk = EDB_TEXT_MAX - 1;

void PutText(LxEDBREC& field, DWORD prop, const WString& text) {
    field = {};
    field.dwPropId = prop;
    field.wType = EDB_FIELD_TEXT;
    std::memcpy(field.szVal, text.data(), text.size() * sizeof(WCHAR));
}

const Note kSamples[] = {
    {TEXT("장보기 목록"), TEXT("우유, 달걀, 두부\r\n사과 한 봉지"), false},
    {TEXT("Call the plumber"), TEXT("Kitchen tap drips.\r\nAsk about Friday."), true},
    {TEXT("회의 준비"), TEXT("발표 자료 마무리\r\n오후 3시 회의실"), false},
    {TEXT("Book club"), TEXT("Read chapters 4-6 before Tuesday."), false},
    {TEXT("생일 선물"), TEXT("엄마 생신: 꽃다발과 케이크"), true},
    {TEXT("Gym plan"), TEXT("Mon/Wed/Fri, 7 am"), false},
};

} // namespace

NoteStore::NoteStore() = default;

bool NoteStore::Open(bool sortByTitle, HWND notify) {
    m_db.SetNotify(notify);
    return m_db.Open(kVolume, kTable, sortByTitle ? 1 : 0) == 1;
}

void NoteStore::SetSortByTitle(bool sortByTitle) { m_db.SetSort(sortByTitle ? 1 : 0); }

bool NoteStore::SeedIfEmpty() {
    if (!m_db.IsOpen() || m_db.GetCount() != 0) return false;
    for (const Note& note : kSamples) Add(note);
    return true;
}

long NoteStore::Count() { return m_db.GetCount(); }

UINT NoteStore::ToFields(const Note& note, LxEDBREC* fields) {
    if (note.title.size() > kChunk || note.body.size() > kBodyCapacity) return 0;
    PutText(fields[0], kTitleProp, note.title);
    fields[1] = {};
    fields[1].dwPropId = kDoneProp;
    fields[1].wType = EDB_FIELD_INT;
    fields[1].iVal = note.done ? 1 : 0;
    UINT count = 2;
    // An empty body still takes one field, so every note has the same shape.
    size_t at = 0;
    do {
        PutText(fields[count++], kBodyProp, note.body.substr(at, kChunk));
        at += kChunk;
    } while (at < note.body.size());
    return count;
}

bool NoteStore::FromFields(const LxEDBREC* fields, Note& note) {
    if (fields[0].wType != EDB_FIELD_TEXT || fields[0].dwPropId != kTitleProp) return false;
    note = {};
    note.title = fields[0].szVal;
    for (UINT i = 1; i < EDB_MAX_FIELDS && fields[i].dwPropId != 0; ++i) {
        if (fields[i].dwPropId == kDoneProp && fields[i].wType == EDB_FIELD_INT) note.done = fields[i].iVal != 0;
        else if (fields[i].dwPropId == kBodyProp && fields[i].wType == EDB_FIELD_TEXT) note.body += fields[i].szVal;
    }
    return true;
}

bool NoteStore::Read(UINT index, Note& note) {
    // Fields past the record's own are left zeroed, which FromFields takes as the end.
    LxEDBREC fields[EDB_MAX_FIELDS] = {};
    return m_db.GetRecord(fields, index) != 0 && FromFields(fields, note);
}

bool NoteStore::Add(const Note& note) {
    LxEDBREC fields[EDB_MAX_FIELDS];
    const UINT count = ToFields(note, fields);
    return count != 0 && m_db.AddRecord(fields, count) != 0;
}

bool NoteStore::Update(UINT index, const Note& note) {
    LxEDBREC fields[EDB_MAX_FIELDS];
    const UINT count = ToFields(note, fields);
    return count != 0 && m_db.SetRecord(fields, index, count) != 0;
}

bool NoteStore::Remove(UINT index) { return m_db.DeleteRecord(index) != 0; }

bool NoteStore::SetDone(UINT index, bool done) {
    Note note;
    if (!Read(index, note)) return false;
    note.done = done;
    return Update(index, note);
}
