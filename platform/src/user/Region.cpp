// Rectangle-list region arithmetic.
#include "user/Region.h"

#include <algorithm>
#include <utility>

namespace cehost::user {

RectList& RectList::operator=(const RectList& other) {
    if (this != &other) {
        clear();
        Append(other.begin(), other.end());
    }
    return *this;
}

RectList& RectList::operator=(RectList&& other) noexcept {
    if (this != &other) {
        delete[] heap_;
        heap_ = nullptr;
        capacity_ = kInline;
        Take(other);
    }
    return *this;
}

// Leaves `other` empty; its heap block, if any, becomes ours.
void RectList::Take(RectList& other) noexcept {
    if (other.heap_) {
        heap_ = std::exchange(other.heap_, nullptr);
        capacity_ = std::exchange(other.capacity_, kInline);
    } else {
        std::copy(other.inline_, other.inline_ + other.size_, inline_);
    }
    size_ = std::exchange(other.size_, 0);
}

void RectList::swap(RectList& other) noexcept {
    RectList held(std::move(other));
    other = std::move(*this);
    *this = std::move(held);
}

void RectList::Grow(size_t atLeast) {
    const size_t capacity = std::max(atLeast, capacity_ * 2);
    RECT* data = new RECT[capacity];
    std::copy(begin(), end(), data);
    delete[] heap_;
    heap_ = data;
    capacity_ = capacity;
}

void RectList::Append(const RECT* from, const RECT* to) {
    const size_t n = size_t(to - from);
    if (size_ + n > capacity_) Grow(size_ + n);
    std::copy(from, to, Data() + size_);
    size_ += n;
}

namespace {

// Appends the parts of `r` outside `hole` (at most four: full-width bands above and below, sides between).
void AppendDifference(const RECT& r, const RECT& hole, RectList* out) {
    RECT cut;
    if (!RectIntersect(r, hole, &cut)) {
        out->push_back(r);
        return;
    }
    if (cut.top > r.top) out->push_back(RECT{r.left, r.top, r.right, cut.top});
    if (cut.bottom < r.bottom) out->push_back(RECT{r.left, cut.bottom, r.right, r.bottom});
    if (cut.left > r.left) out->push_back(RECT{r.left, cut.top, cut.left, cut.bottom});
    if (cut.right < r.right) out->push_back(RECT{cut.right, cut.top, r.right, cut.bottom});
}

} // namespace

RECT Region::Bounds() const {
    if (rects_.empty()) return RECT{0, 0, 0, 0};
    RECT b = rects_[0];
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

long long Region::Area() const {
    long long a = 0;
    for (const RECT& r : rects_) a += (long long)(r.right - r.left) * (r.bottom - r.top);
    return a;
}

bool Region::Contains(POINT p) const {
    for (const RECT& r : rects_)
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return true;
    return false;
}

void Region::Add(const RECT& r) {
    if (RectEmpty(r)) return;
    // Already covered by one rectangle (a window invalidated again before it paints): nothing to split.
    for (const RECT& e : rects_)
        if (e.left <= r.left && e.top <= r.top && e.right >= r.right && e.bottom >= r.bottom) return;
    RectList pieces;
    pieces.push_back(r);
    RectList next;
    for (const RECT& existing : rects_) {
        next.clear();
        for (const RECT& p : pieces) AppendDifference(p, existing, &next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    rects_.Append(pieces.begin(), pieces.end());
}

void Region::Add(const Region& other) {
    for (const RECT& r : other.rects_) Add(r);
}

void Region::Subtract(const RECT& r) {
    if (RectEmpty(r) || rects_.empty()) return;
    // Most holes (a sibling elsewhere on the screen) miss the region altogether.
    if (std::none_of(rects_.begin(), rects_.end(), [&](const RECT& e) { return RectIntersect(e, r, nullptr); }))
        return;
    RectList next;
    for (const RECT& existing : rects_) AppendDifference(existing, r, &next);
    rects_.swap(next);
}

void Region::Subtract(const Region& other) {
    for (const RECT& r : other.rects_) Subtract(r);
}

// In place: each rectangle only shrinks or goes, so the list is compacted as it is read.
void Region::Intersect(const RECT& r) {
    size_t kept = 0;
    for (const RECT& existing : rects_) {
        RECT cut;
        if (RectIntersect(existing, r, &cut)) rects_[kept++] = cut;
    }
    rects_.resize_down(kept);
}

void Region::Intersect(const Region& other) {
    // Both lists are disjoint, so the pairwise intersections are disjoint too.
    RectList next;
    for (const RECT& a : rects_)
        for (const RECT& b : other.rects_) {
            RECT cut;
            if (RectIntersect(a, b, &cut)) next.push_back(cut);
        }
    rects_.swap(next);
}

void Region::Offset(LONG dx, LONG dy) {
    for (RECT& r : rects_) r = RectOffset(r, dx, dy);
}

} // namespace cehost::user
