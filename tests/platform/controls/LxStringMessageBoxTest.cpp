// LxString::MessageBoxW: the string becomes the box's text, a missing caption becomes one space, the type passes
// through.
#include "LxString.h"
#include "QueueInput.h"

#include <gtest/gtest.h>

#include <string>

TEST(LxStringMessageBox, TextCaptionAndType) {
    const struct {
        const char* text;    // nullptr: an empty LxString
        const char* caption; // nullptr: an empty LxString
        UINT type;
        BYTE key;
        int result;
        std::u16string title, shown;
    } rows[] = {
        {"hello", "", MB_OK, VK_RETURN, IDOK, u" ", u"hello"},
        {nullptr, nullptr, MB_OKCANCEL, VK_RETURN, IDOK, u" ", u""},
        {"question", "title", MB_YESNOCANCEL | MB_ICONQUESTION, VK_ESCAPE, IDCANCEL, u"title", u"question"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        std::u16string title, shown;
        lxtest::IdleScript script({[&] {
            HWND box = FindWindowW(u"#32770", nullptr);
            ASSERT_NE(box, nullptr);
            WCHAR buffer[128] = {};
            GetWindowTextW(box, buffer, 128);
            title = buffer;
            GetDlgItemTextW(box, 0xFFFF, buffer, 128);
            shown = buffer;
            lxtest::Stroke(row.key);
        }});
        LxString text = row.text ? LxString(row.text) : LxString();
        EXPECT_EQ(text.MessageBoxW(row.caption ? LxString(row.caption) : LxString(), row.type), row.result);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(title, row.title);
        EXPECT_EQ(shown, row.shown);
    }
}
