// SwArray: the growth rule, removal, copies with their own storage, and the debug-check line on misuse.
#include <gtest/gtest.h>
#include <cehost/sim.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "swtempl.h"

namespace {

int* P(intptr_t v) { return reinterpret_cast<int*>(v); }

// The automatic step (0) is an eighth of the size, between 4 and 1024; a fixed step is kept (-1 leaves it
// alone) and used whatever the size; a first size or a jump larger than the step allocates exactly what was
// asked for.
TEST(SwArray, Growth) {
    const struct {
        int first, step, second, capacity;
    } rows[] = {{10, -1, 10, 10}, {10, -1, 11, 14}, {80, -1, 81, 90}, {8192, -1, 8193, 9216},
                {100000, -1, 100001, 101024}, {10, -1, 50, 50}, {4, 16, 5, 20}, {2000, 16, 2001, 2016}};
    for (const auto& row : rows) {
        SwArray<int*> a;
        a.SetSize(row.first, row.step);
        a.SetSize(row.second, -1);
        EXPECT_EQ(std::tuple(a.GetGrowBy(), a.GetCapacity()), std::tuple(row.step < 0 ? 0 : row.step, row.capacity))
            << row.first << " to " << row.second;
        EXPECT_EQ(a.GetAt(row.second - 1), nullptr);
    }
}

TEST(SwArray, CopiesNeverShareStorage) {
    auto* a = new SwArray<int*>;
    for (int i = 0; i < 5; ++i) a->Add(P(i + 1));
    SwArray<int*> copy(*a);
    SwArray<int*> assigned;
    assigned.Add(P(99));
    assigned = *a;
    a->SetAtGrow(0, P(42));
    delete a;  // the copies must still own readable blocks
    for (SwArray<int*>* c : {&copy, &assigned}) {
        ASSERT_EQ(c->GetSize(), 5);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(c->GetAt(i), P(i + 1));
    }
    copy.Add(P(6));
    EXPECT_EQ(assigned.GetSize(), 5);
    SwArray<int*>& same = assigned;
    assigned = same;  // self-assignment keeps the contents
    EXPECT_EQ(assigned.GetAt(4), P(5));
    SwArray<int*> empty;
    assigned = empty;
    EXPECT_EQ(assigned.GetSize(), 0);
}

// Random additions, removals, resizes and gap-filling stores against a vector (the capacity rule is pinned by
// the exact numbers above): removal keeps the block, a shrink and regrow gives empty slots back.
TEST(SwArray, RandomOperationsMatchAModel) {
    std::mt19937 random(8);
    SwArray<int*> a;
    std::vector<int*> model;
    for (int step = 0; step < 20000; ++step) {
        const int op = int(random() % 11), size = int(model.size());
        int* v = P(intptr_t(random() % 1000 + 1));
        if (op < 6) {
            EXPECT_EQ(a.Add(v), size);
            model.push_back(v);
        } else if (op < 9 && size > 0) {
            const int index = int(random() % size), count = int(random() % (size - index + 1));
            const int capacity = a.GetCapacity();
            a.RemoveAt(index, count);
            ASSERT_EQ(a.GetCapacity(), capacity) << "removal keeps the block";
            model.erase(model.begin() + index, model.begin() + index + count);
        } else if (op == 9) {
            const int newSize = int(random() % 300);
            a.SetSize(newSize);
            model.resize(size_t(newSize), nullptr);
        } else if (op == 10) {
            const int index = size + int(random() % 5);
            a.SetAtGrow(index, v);
            model.resize(size_t(std::max(size, index + 1)), nullptr);
            model[size_t(index)] = v;
        }
        ASSERT_EQ(a.GetSize(), int(model.size()));
        for (size_t i = 0; step % 50 == 0 && i < model.size(); ++i) ASSERT_EQ(a.GetAt(int(i)), model[i]) << step;
    }
    a.SetSize(0);
    EXPECT_EQ(a.GetCapacity(), 0) << "size 0 frees the block";
}

// Misuse writes the debug-check line and leaves the array untouched instead of reading or writing out of
// range.
TEST(SwArray, MisuseWritesTheDebugCheckLineAndChangesNothing) {
    SwArray<int*> a;
    a.Add(P(1));
    a.Add(P(2));
    cehost::sim::StartDebugCapture();
    EXPECT_EQ(a.GetAt(2), nullptr);
    const std::u16string first = cehost::sim::TakeDebugOutput();
    const std::u16string prefix = u"Unknown: DEBUGCHK failed in file ";
    ASSERT_EQ(first.substr(0, prefix.size()), prefix);
    EXPECT_NE(first.find(u"swtempl.h at line "), std::u16string::npos);
    EXPECT_EQ(first.substr(first.size() - 3), u" \r\n");
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_EQ(cehost::sim::TakeDebugOutput(), first);  // same check, same line
    a.SetAtGrow(-1, P(9));
    const std::u16string setAt = cehost::sim::TakeDebugOutput();
    EXPECT_EQ(setAt.substr(0, prefix.size()), prefix);
    EXPECT_NE(setAt, first);  // another check, another line
    a.RemoveAt(1, 2);
    a.RemoveAt(-1, 1);
    a.RemoveAt(0, -1);
    a.SetSize(-5);
    const std::u16string rest = cehost::sim::TakeDebugOutput();
    int lines = 0;
    for (size_t at = 0; (at = rest.find(u"DEBUGCHK failed", at)) != std::u16string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 4);
    EXPECT_EQ(std::tuple(a.GetSize(), a.GetAt(0), a.GetAt(1)), std::tuple(2, P(1), P(2)));
    EXPECT_EQ(cehost::sim::TakeDebugOutput(), u"");  // valid calls stay silent
}

} // namespace
