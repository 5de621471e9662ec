// Rectangle-list regions for update areas and visible areas: a set of disjoint rectangles, enough for the
// handful of windows and invalidations of a small screen. No banding or coalescing beyond dropping empties.
#pragma once

#include <windows.h>

#include <vector>

namespace cehost::user {

bool RectEmpty(const RECT& r);
bool RectIntersect(const RECT& a, const RECT& b, RECT* out);
RECT RectOffset(const RECT& r, LONG dx, LONG dy);
bool RectEqual(const RECT& a, const RECT& b);

class Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { Add(r); }

    bool Empty() const { return rects_.empty(); }
    size_t Count() const { return rects_.size(); }
    const std::vector<RECT>& Rects() const { return rects_; }
    RECT Bounds() const;
    long long Area() const;
    bool Contains(POINT p) const;

    void Clear() { rects_.clear(); }
    void Add(const RECT& r);
    void Add(const Region& other);
    void Subtract(const RECT& r);
    void Subtract(const Region& other);
    void Intersect(const RECT& r);
    void Intersect(const Region& other);
    void Offset(LONG dx, LONG dy);

private:
    std::vector<RECT> rects_;
};

} // namespace cehost::user
