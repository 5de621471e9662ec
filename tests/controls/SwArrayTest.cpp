// SwArray: the growth rule, removal, copies with their own storage, and the debug-check line on misuse.
#include <gtest/gtest.h>
#include <cehost/sim.h>

#include <random>
#include <string>
#include <vector>

#include "swtempl.h"

namespace {

int* P(intptr_t v) { return reinterpret_cast<int*>(v); }

// The capacity an array must reach when it grows from `size`/`capacity` to `newSize` with automatic steps.
int ExpectedCapacity(int size, int capacity, int newSize, int growBy) {
    if (capacity == 0) return newSize;
    if (newSize <= capacity) return capacity;
    int step = growBy;
    if (step == 0) step = std::min(1024, std::max(4, size / 8));
    return std::max(newSize, capacity + step);
}

TEST(SwArray, FirstSizeAllocatesExactlyAndZeroFills) {
    SwArray<int*> a;
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.GetCapacity(), 0);
    a.SetSize(10);
    EXPECT_EQ(a.GetSize(), 10);
    EXPECT_EQ(a.GetCapacity(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.GetAt(i), nullptr);
}

TEST(SwArray, AutomaticGrowthIsAnEighthBetweenFourAnd1024) {
    SwArray<int*> a;
    a.SetSize(10);
    a.SetSize(11);
    EXPECT_EQ(a.GetCapacity(), 14);

    SwArray<int*> b;
    b.SetSize(80);
    b.Add(P(1));
    EXPECT_EQ(b.GetCapacity(), 90);
    EXPECT_EQ(b.GetSize(), 81);
    EXPECT_EQ(b.GetAt(80), P(1));

    SwArray<int*> c;
    c.SetSize(8 * 1024);
    c.Add(P(2));
    EXPECT_EQ(c.GetCapacity(), 8 * 1024 + 1024);
    SwArray<int*> d;
    d.SetSize(100000);
    d.Add(P(3));
    EXPECT_EQ(d.GetCapacity(), 100000 + 1024);

    // A jump larger than the step allocates exactly what was asked for.
    SwArray<int*> e;
    e.SetSize(10);
    e.SetSize(50);
    EXPECT_EQ(e.GetCapacity(), 50);
}

TEST(SwArray, FixedStepIsKeptAndUsedRegardlessOfSize) {
    SwArray<int*> a;
    a.SetSize(4, 16);
    EXPECT_EQ(a.GetGrowBy(), 16);
    a.SetSize(5);
    EXPECT_EQ(a.GetCapacity(), 20);
    a.SetSize(2000);
    a.SetSize(2001, -1);  // -1 leaves the step alone
    EXPECT_EQ(a.GetCapacity(), 2016);
    EXPECT_EQ(a.GetGrowBy(), 16);
}

TEST(SwArray, ShrinkKeepsBlockAndRegrowZeroFills) {
    SwArray<int*> a;
    for (int i = 1; i <= 6; ++i) a.Add(P(i));
    const int capacity = a.GetCapacity();
    a.SetSize(2);
    EXPECT_EQ(a.GetCapacity(), capacity);
    a.SetSize(5);
    EXPECT_EQ(a.GetAt(1), P(2));
    // Slots that held values before the shrink come back empty.
    EXPECT_EQ(a.GetAt(2), nullptr);
    EXPECT_EQ(a.GetAt(4), nullptr);
}

TEST(SwArray, RemoveAtMovesTheRestDownAndKeepsCapacity) {
    SwArray<int*> a;
    a.SetSize(3);
    for (int i = 0; i < 3; ++i) a.SetAtGrow(i, P(10 + i));
    a.RemoveAt(0, 1);
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.GetAt(0), P(11));
    EXPECT_EQ(a.GetAt(1), P(12));
    EXPECT_EQ(a.GetCapacity(), 3);

    a.RemoveAt(1);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.GetCapacity(), 3);  // still allocated
    a.SetSize(0);
    EXPECT_EQ(a.GetCapacity(), 0);

    SwArray<int*> b;
    for (int i = 0; i < 10; ++i) b.Add(P(i));
    b.RemoveAt(3, 4);
    std::vector<int*> left;
    for (int i = 0; i < b.GetSize(); ++i) left.push_back(b.GetAt(i));
    EXPECT_EQ(left, (std::vector<int*>{P(0), P(1), P(2), P(7), P(8), P(9)}));
    b.RemoveAt(6, 0);  // removing nothing at the end is allowed
    EXPECT_EQ(b.GetSize(), 6);
}

TEST(SwArray, SetAtGrowFillsTheGapWithNulls) {
    SwArray<int*> a;
    a.Add(P(1));
    a.SetAtGrow(5, P(6));
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a.GetAt(0), P(1));
    for (int i = 1; i < 5; ++i) EXPECT_EQ(a.GetAt(i), nullptr);
    EXPECT_EQ(a.GetAt(5), P(6));
    EXPECT_EQ(a.Add(P(7)), 6);
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

// Random operations against a vector and the capacity rule.
TEST(SwArray, RandomOperationsMatchAModel) {
    std::mt19937 random(8);
    SwArray<int*> a;
    std::vector<int*> model;
    int capacity = 0;
    for (int step = 0; step < 20000; ++step) {
        const int op = int(random() % 10);
        if (op < 6) {
            int* v = P(intptr_t(random() % 1000 + 1));
            capacity = ExpectedCapacity(int(model.size()), capacity, int(model.size()) + 1, 0);
            EXPECT_EQ(a.Add(v), int(model.size()));
            model.push_back(v);
        } else if (op < 9 && !model.empty()) {
            const int index = int(random() % model.size());
            const int count = int(random() % (model.size() - index + 1));
            a.RemoveAt(index, count);
            model.erase(model.begin() + index, model.begin() + index + count);
        } else if (op == 9) {
            const int newSize = int(random() % 300);
            capacity = newSize == 0 ? 0 : ExpectedCapacity(int(model.size()), capacity, newSize, 0);
            a.SetSize(newSize);
            model.resize(size_t(newSize), nullptr);
        }
        ASSERT_EQ(a.GetSize(), int(model.size()));
        ASSERT_EQ(a.GetCapacity(), capacity) << "step " << step;
    }
    for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(a.GetAt(int(i)), model[i]);
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

    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.GetAt(0), P(1));
    EXPECT_EQ(a.GetAt(1), P(2));
    EXPECT_EQ(cehost::sim::TakeDebugOutput(), u"");  // valid calls stay silent
}

} // namespace
