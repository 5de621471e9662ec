// DrawTextW breaking words once crashed on an empty line in a rectangle of negative width.
#include "ControlsTestSupport.h"

TEST(DrawTextWordBreak, AnEmptyLineInANegativeWidthRectangleMeasuresOneLine) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (const char16_t* text : {u"", u"\r\n", u"&", u"a\r\n\r\nb"}) {
        RECT rect = {20, 0, 0, 40};
        EXPECT_GT(DrawTextW(dc, text, -1, &rect, DT_WORDBREAK | DT_CALCRECT), 0);
    }
    DeleteDC(dc);
}
