// Item records of lists filled, copied and freed in turn: each list reads back its own texts, whichever
// list's rows were freed before its own were added, and while others come and go around it.
#include <memory>

#include "ControlsTestSupport.h"
#include "LxListCtrl.h"

using namespace lxtest;

namespace {

std::u16string Text(char16_t list, int row) {
    WCHAR text[32];
    wsprintfW(text, u"%c%d", list, row);
    return text;
}

void Fill(LxListCtrl& list, char16_t name, int from, int to) {
    for (int row = from; row < to; ++row) list.AddItem(Text(name, row).c_str());
}

int Mismatches(LxListCtrl& list, char16_t name, int rows) {
    int wrong = 0;
    for (int row = 0; row < rows; ++row) wrong += ItemText(list, UINT(row)) != Text(name, row);
    return wrong;
}

} // namespace

TEST(ListItems, RecordsStayTheirListsOwnThroughFreesCopiesAndRefills) {
    LxListCtrl kept;
    Fill(kept, u'k', 0, 5);
    auto a = std::make_unique<LxListCtrl>(), b = std::make_unique<LxListCtrl>();
    for (int step = 0; step < 100; step += 10) Fill(*a, u'a', step, step + 10), Fill(*b, u'b', step / 2, step / 2 + 5);
    a.reset();
    Fill(*b, u'b', 50, 170); // into the rows a left
    auto copy = std::make_unique<LxListCtrl>(*b);
    b.reset();
    EXPECT_EQ(Mismatches(*copy, u'b', 170), 0);
    copy.reset(); // every record but kept's is gone
    LxListCtrl again;
    Fill(again, u'c', 0, 70);
    EXPECT_EQ(Mismatches(again, u'c', 70), 0);
    EXPECT_EQ(Mismatches(kept, u'k', 5), 0);
}
