// Two faults that random input found: a syllable whose composition the byte limit refused went in when a
// later key completed it, and DrawTextW breaking words crashed on an empty line in a rectangle of negative
// width.
#include <imm.h>

#include "ControlsTestSupport.h"
#include "LxEditCtrl.h"

using lxtest::Press;

namespace {

class LimitedEdit : public LxEditCtrl {
public:
    HWND EditWindow() const { return m_hEditWnd; }
};

} // namespace

TEST(EditLimit, ASyllableRefusedAtTheLimitStaysOutWhenAKeyCompletesIt) {
    lxtest::Host host;
    ASSERT_TRUE(host.Start());
    LimitedEdit edit;
    RECT rect = {10, 60, 230, 90};
    ASSERT_NE(edit.CreateEdit(host.m_hWnd, GetModuleHandleW(nullptr), 42, &rect, 0), nullptr);
    edit.SetLimitText(10);
    edit.SetText(u"abcdefghi");
    edit.SetFocus();
    edit.SetSelect(9, 9);
    HIMC context = ImmGetContext(edit.EditWindow());
    ImmSetOpenStatus(context, TRUE);
    ImmReleaseContext(edit.EditWindow(), context);
    for (BYTE key : {BYTE('G'), BYTE('K'), BYTE(VK_RIGHT)}) Press(key, 0); // 가, then a key that completes it
    EXPECT_EQ(edit.GetLength(), 9u);
}

TEST(DrawTextWordBreak, AnEmptyLineInANegativeWidthRectangleMeasuresOneLine) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (const char16_t* text : {u"", u"\r\n", u"&", u"a\r\n\r\nb"}) {
        RECT rect = {20, 0, 0, 40};
        EXPECT_GT(DrawTextW(dc, text, -1, &rect, DT_WORDBREAK | DT_CALCRECT), 0);
    }
    DeleteDC(dc);
}
