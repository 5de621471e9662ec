// Sequences of record-database calls with random fields and counts, checked against a model of the table in
// the order records were added: counts agree, every record reads back field for field, deletes and edits
// land on the record they name, and refused records change nothing.
#include "FuzzInput.h"

#include <LxEDBApi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzFail.h"
#include "ScratchFolder.h"

namespace {

struct Record {
    DWORD id;
    std::vector<LxEDBREC> fields;
};

// Fields compare by what they hold: the property, the type and the value (text up to its terminator).
bool SameField(const LxEDBREC& a, const LxEDBREC& b) {
    if (a.dwPropId != b.dwPropId || a.wType != b.wType) return false;
    if (a.wType == EDB_FIELD_INT) return a.iVal == b.iVal;
    if (a.wType == EDB_FIELD_TIME)
        return a.ftVal.dwLowDateTime == b.ftVal.dwLowDateTime && a.ftVal.dwHighDateTime == b.ftVal.dwHighDateTime;
    return std::u16string(a.szVal) == std::u16string(b.szVal);
}

std::vector<LxEDBREC> RandomFields(FuzzInput& in) {
    std::vector<LxEDBREC> fields(size_t(in.Between(0, 6)));
    for (LxEDBREC& f : fields) {
        f = {};
        f.dwPropId = in.Number(4);
        f.wType = WORD(in.Number(5)); // 0 and 4 are no type at all
        if (f.wType == EDB_FIELD_INT) f.iVal = INT32(in.Dword());
        else if (f.wType == EDB_FIELD_TIME) f.ftVal = {in.Dword(), in.Dword()};
        else {
            // Mostly terminated text; sometimes a full field with no terminator, which must be refused.
            std::u16string text = in.Byte() < 16 ? std::u16string(EDB_TEXT_MAX, u'x') : in.Text(20);
            std::memcpy(f.szVal, text.data(), std::min(text.size(), size_t(EDB_TEXT_MAX)) * 2);
        }
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    // One handle for the whole run, its table emptied before each input.
    static const DWORD db = [] {
        setenv("LXEDB_DIR", ScratchFolder("lx-edb-fuzz").c_str(), 1);
        const DWORD handle = EDB_CreateInfo(u"Fuzz", u"Records", 1);
        if (!EDB_InitDB(handle) || !EDB_OpenDB(handle)) Fail("the table could not be opened");
        return handle;
    }();
    if (!EDB_DeleteAllRec(db)) Fail("the table could not be emptied");
    FuzzInput in(bytes, size);
    std::vector<Record> model;
    for (int step = 0; step < 48 && !in.Empty(); ++step) {
        switch (in.Number(4)) {
        case 0: { // add
            std::vector<LxEDBREC> fields = RandomFields(in);
            UINT count = UINT(fields.size()) + (in.Byte() < 8 ? in.Number(3) : 0); // sometimes a count past the fields
            if (count > fields.size()) fields.resize(count, LxEDBREC{});
            DWORD id = EDB_AddRec(db, fields.empty() ? nullptr : fields.data(), count);
            if (id) model.push_back({id, fields});
            break;
        }
        case 1: { // edit the record at a position (or a made-up id)
            std::vector<LxEDBREC> fields = RandomFields(in);
            const UINT at = in.Number(UINT(model.size()) + 1);
            const DWORD id = at < model.size() ? model[at].id : in.Dword();
            if (EDB_EditRec(db, id, fields.empty() ? nullptr : fields.data(), UINT(fields.size()))) {
                if (at >= model.size()) Fail("a made-up record id was edited");
                model[at].fields = fields;
            }
            break;
        }
        case 2: { // delete at a position, perhaps past the end
            const UINT at = in.Number(UINT(model.size()) + 2);
            const int done = EDB_DeleteRec(db, at);
            if (done != (at < model.size())) Fail("a delete landed where no record was, or missed one");
            if (done) model.erase(model.begin() + at);
            break;
        }
        case 3: { // read one back
            if (EDB_GetTotalRecCount(db) != long(model.size())) Fail("the record count differs from the model");
            const UINT at = in.Number(UINT(model.size()) + 1);
            LxEDBREC fields[EDB_MAX_FIELDS];
            const DWORD id = EDB_ReadRec(db, at, fields);
            if (at >= model.size()) {
                if (id) Fail("a record was read past the end");
                break;
            }
            if (id != model[at].id || EDB_GetRecFieldCount(db, at) != model[at].fields.size())
                Fail("a record came back with another id or field count");
            for (size_t i = 0; i < model[at].fields.size(); ++i)
                if (!SameField(fields[i], model[at].fields[i])) Fail("a field came back changed");
            break;
        }
        }
    }
    return 0;
}
