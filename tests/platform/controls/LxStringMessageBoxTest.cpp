// LxString::MessageBoxW: the string becomes the box's text, a missing caption becomes one space.
#include "LxString.h"
#include "Recorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads the box's title and text while it is open, then presses the key.
struct Peek {
    std::u16string title;
    std::u16string text;
    bool found = false;
};

void Answer(Peek* peek, BYTE key) {
    cehost::sim::SetIdleHandler([peek, key] {
        HWND box = FindWindowW(u"#32770", nullptr);
        if (box == nullptr || peek->found) return false;
        peek->found = true;
        WCHAR buffer[128] = {};
        GetWindowTextW(box, buffer, 128);
        peek->title = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 128);
        peek->text = buffer;
        PressKey(key);
        return true;
    });
}

} // namespace

TEST(LxStringMessageBox, TextCaptionAndType) {
    Peek peek;
    Answer(&peek, VK_RETURN);
    LxString text("hello");
    EXPECT_EQ(text.MessageBoxW(LxString(""), MB_OK), IDOK);
    ASSERT_TRUE(peek.found);
    EXPECT_EQ(peek.title, u" ");
    EXPECT_EQ(peek.text, u"hello");

    peek = Peek{};
    EXPECT_EQ(LxString().MessageBoxW(LxString(), MB_OKCANCEL), IDOK);
    EXPECT_EQ(peek.title, u" ");
    EXPECT_EQ(peek.text, u"");

    // A caption and the type pass through.
    peek = Peek{};
    Answer(&peek, VK_ESCAPE);
    LxString caption("title");
    EXPECT_EQ(LxString("question").MessageBoxW(caption, MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(peek.title, u"title");
    EXPECT_EQ(caption.GetLength(), 5);
    cehost::sim::SetIdleHandler(nullptr);
}

