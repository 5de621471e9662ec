// Region arithmetic against a pixel model: after every step the rectangles are disjoint and cover exactly the
// model's pixels, whether the region keeps its rectangles in place or has outgrown that room; copies and moves
// made at either size keep their own rectangles.
#include <gtest/gtest.h>

#include <bitset>
#include <utility>
#include <vector>

#include "user/Region.h"

using cehost::user::Region;

namespace {

using Pixels = std::bitset<32 * 32>;

// The pixels covered, or nothing when two rectangles overlap.
Pixels Cover(const Region& region) {
    Pixels covered;
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (covered[size_t(y * 32 + x)]) return Pixels();
                covered.set(size_t(y * 32 + x));
            }
    return covered;
}

} // namespace

TEST(Region, StepsMatchAPixelModelAndCopiesKeepTheirOwnRectangles) {
    enum Op { Add, Subtract, Intersect };
    // Twelve separate squares take the region past the rectangles it holds in place; the holes split many.
    std::vector<std::pair<Op, RECT>> steps;
    for (int i = 0; i < 12; ++i) steps.push_back({Add, RECT{i % 4 * 8, i / 4 * 8, i % 4 * 8 + 6, i / 4 * 8 + 6}});
    steps.insert(steps.end(), {{Subtract, RECT{3, 0, 5, 32}}, {Add, RECT{0, 2, 32, 4}}, {Intersect, RECT{1, 1, 30, 20}},
                               {Subtract, RECT{0, 0, 32, 32}}, {Add, RECT{4, 4, 10, 10}}});
    Region region;
    Pixels model;
    std::vector<std::pair<Region, Pixels>> kept; // grows by moving the regions it holds
    for (const auto& [op, rect] : steps) {
        const Pixels pixels = Cover(Region(rect));
        if (op == Add) region.Add(rect), model |= pixels;
        if (op == Subtract) region.Subtract(rect), model &= ~pixels;
        if (op == Intersect) region.Intersect(rect), model &= pixels;
        EXPECT_EQ(Cover(region), model) << "step " << kept.size();
        kept.emplace_back(region, model);
    }
    Region moved(std::move(kept[11].first)); // twelve rectangles, outside the region itself
    kept[2].first = std::move(moved);        // three, in place
    EXPECT_EQ(Cover(kept[2].first), kept[11].second);
    EXPECT_TRUE(kept[11].second.any());
    for (size_t i : {0, 5, 16}) EXPECT_EQ(Cover(kept[i].first), kept[i].second) << "kept " << i;
}
