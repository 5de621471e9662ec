// LxEDB over the real record database.
#include "TestFolder.h"

#include "LxEDB.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

LxEDBREC Text(const std::u16string& text) {
    LxEDBREC f{};
    f.dwPropId = 1;
    f.wType = EDB_FIELD_TEXT;
    std::memcpy(f.szVal, text.c_str(), (text.size() + 1) * 2);
    return f;
}

class LxEDBTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("LXEDB_DIR", folder_.Path().c_str(), 1); }
    static std::vector<std::u16string> Texts(LxEDB& db) {
        std::vector<std::u16string> out;
        for (long i = 0; i < db.GetCount(); ++i) {
            LxEDBREC fields[EDB_MAX_FIELDS];
            out.push_back(db.GetRecord(fields, UINT(i)) ? std::u16string(fields[0].szVal) : u"<unreadable>");
        }
        return out;
    }
    static void Add(LxEDB& db, const std::u16string& text) {
        LxEDBREC f = Text(text);
        ASSERT_NE(db.AddRecord(&f, 1), 0);
    }
    TestFolder folder_;
};

TEST_F(LxEDBTest, AClosedObjectAnswersZeroToEverything) {
    LxEDB db;
    EXPECT_EQ(db.IsOpen(), 0);
    LxEDBREC f = Text(u"x");
    for (long answer : {db.GetCount(), long(db.AddRecord(&f, 1)), long(db.GetRecord(&f, 0)), long(db.SetRecord(&f, 0, 1)),
                        long(db.DeleteRecord(0)), long(db.DeleteAll()), long(db.Open())})
        EXPECT_EQ(answer, 0);
    db.Close();
    EXPECT_EQ(db.IsOpen(), 0);
}

TEST_F(LxEDBTest, SettersReopenAnOpenTableWithTheNewSettings) {
    LxEDB db;
    ASSERT_EQ(db.Open(u"v", u"names", 1), 1); // sorted
    Add(db, u"b");
    Add(db, u"a");
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"a", u"b"}));
    db.SetSort(0);
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"b", u"a"}));
    db.SetTableName(u"other");
    EXPECT_EQ(std::tuple(db.IsOpen(), db.GetCount()), std::tuple(1, 0L));
    db.SetVolumeName(u"second volume");
    Add(db, u"elsewhere");
    db.SetVolumeName(u"v");
    EXPECT_EQ(db.GetCount(), 0);
    db.SetTableName(u"names");
    EXPECT_EQ(db.GetCount(), 2);
    // Setters on a closed object only store.
    db.Close();
    db.SetSort(1);
    EXPECT_EQ(db.IsOpen(), 0);
    ASSERT_EQ(db.Open(), 1);
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST_F(LxEDBTest, CopiesShareTheTableAndClosingTwiceIsHarmless) {
    auto original = std::make_unique<LxEDB>(u"v", u"t", 0);
    ASSERT_EQ(original->Open(), 1);
    Add(*original, u"shared");
    {
        LxEDB copy(*original);
        EXPECT_EQ(copy.IsOpen(), 1);
        EXPECT_EQ(Texts(copy), std::vector<std::u16string>{u"shared"});
        LxEDB assigned;
        assigned = copy;
        Add(assigned, u"via assignment");
        EXPECT_EQ(original->GetCount(), 2);
    } // both copies close the shared table
    EXPECT_EQ(original->IsOpen(), 1) << "this object still holds the handle";
    EXPECT_EQ(original->GetCount(), 0) << "but the table behind it is closed";
    original->Close();
    EXPECT_EQ(original->IsOpen(), 0);
    original.reset();
    LxEDB reopened(u"v", u"t", 0);
    ASSERT_EQ(reopened.Open(), 1);
    EXPECT_EQ(Texts(reopened), (std::vector<std::u16string>{u"shared", u"via assignment"}));
}

TEST_F(LxEDBTest, OverlongNamesAreRefusedNotCut) {
    std::u16string longName(1024, u't');
    LxEDB cutTable(u"v", longName.substr(0, 1023).c_str(), 0);
    ASSERT_EQ(cutTable.Open(), 1);
    Add(cutTable, u"in the 1023-character table");
    LxEDB db(u"v", longName.c_str(), 0);
    EXPECT_EQ((std::tuple{db.Open(), db.IsOpen()}), std::tuple(0, 0));
    EXPECT_EQ(db.Open(longName.c_str(), u"t", 0), 0);
    db.SetTableName(u"t");
    EXPECT_EQ(db.Open(), 0) << "the volume name was refused";
    db.SetVolumeName(u"v");
    EXPECT_EQ(db.Open(), 1);
}

} // namespace
