// Region arithmetic against a pixel model: after every step the rectangles are disjoint and cover exactly the
// pixels the model holds, whether the region keeps its rectangles in place or has outgrown that room, and
// copies and moves made at either size keep their own rectangles.
#include <gtest/gtest.h>

#include <bitset>
#include <utility>
#include <vector>

#include "user/Region.h"

using cehost::user::Region;

namespace {

constexpr int kSide = 32;
using Pixels = std::bitset<kSide * kSide>;

Pixels Cover(const Region& region, bool* overlap) {
    Pixels covered;
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (covered[size_t(y * kSide + x)]) *overlap = true;
                covered.set(size_t(y * kSide + x));
            }
    return covered;
}

Pixels Of(const RECT& r) {
    Region region(r);
    bool overlap = false;
    return Cover(region, &overlap);
}

} // namespace

TEST(Region, StepsMatchAPixelModelAndCopiesKeepTheirOwnRectangles) {
    enum Op { Add, Subtract, Intersect };
    // A grid of small squares added one by one takes the region well past the rectangles it holds in place;
    // holes punched across it split many of them at once.
    std::vector<std::pair<Op, RECT>> steps;
    for (int i = 0; i < 12; ++i) steps.push_back({Add, RECT{(i % 4) * 8, (i / 4) * 8, (i % 4) * 8 + 6, (i / 4) * 8 + 6}});
    steps.push_back({Subtract, RECT{3, 0, 5, 32}});
    steps.push_back({Add, RECT{0, 2, 32, 4}});
    steps.push_back({Intersect, RECT{1, 1, 30, 20}});
    steps.push_back({Subtract, RECT{0, 0, 32, 32}});
    steps.push_back({Add, RECT{4, 4, 10, 10}});
    Region region;
    Pixels model;
    std::vector<std::pair<Region, Pixels>> copies;
    for (const auto& [op, rect] : steps) {
        if (op == Add) region.Add(rect), model |= Of(rect);
        if (op == Subtract) region.Subtract(rect), model &= ~Of(rect);
        if (op == Intersect) region.Intersect(rect), model &= Of(rect);
        bool overlap = false;
        EXPECT_EQ(Cover(region, &overlap), model) << "after step " << copies.size();
        EXPECT_FALSE(overlap) << "after step " << copies.size();
        copies.emplace_back(region, model);
    }
    Region moved(std::move(copies[11].first)); // the largest, kept on the heap
    Region assigned;
    assigned = copies[2].first;
    copies[2].first = std::move(moved);
    for (auto [check, pixels] : {std::pair(&copies[2].first, copies[11].second), std::pair(&assigned, copies[2].second),
                                 std::pair(&copies[5].first, copies[5].second)}) {
        bool overlap = false;
        EXPECT_EQ(Cover(*check, &overlap), pixels);
    }
    EXPECT_GT(copies[11].second.count(), 0u);
}
