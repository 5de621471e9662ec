// Rectangle-list regions for update areas and visible areas: a set of disjoint rectangles, enough for the
// handful of windows and invalidations of a small screen. No banding or coalescing beyond dropping empties.
// A region of a few rectangles (nearly all of them: a window's visible area, a paint's clip, an update area)
// keeps them inside itself, so that painting a frame computes its regions without touching the heap.
#pragma once

#include <windows.h>

#include <cstddef>

namespace cehost::user {

// Called for every window and rectangle a paint touches, so defined here where the compiler can inline them.
inline bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool RectIntersect(const RECT& a, const RECT& b, RECT* out) {
    const RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (RectEmpty(r)) {
        if (out) *out = RECT{0, 0, 0, 0};
        return false;
    }
    if (out) *out = r;
    return true;
}

inline RECT RectOffset(const RECT& r, LONG dx, LONG dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

inline bool RectEqual(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A list of rectangles with room for kInline of them in place; longer lists move to the heap.
class RectList {
public:
    static constexpr size_t kInline = 6;

    RectList() = default;
    RectList(const RectList& other) { Append(other.begin(), other.end()); }
    RectList(RectList&& other) noexcept { Take(other); }
    RectList& operator=(const RectList& other);
    RectList& operator=(RectList&& other) noexcept;
    ~RectList() { delete[] heap_; }

    bool empty() const { return size_ == 0; }
    size_t size() const { return size_; }
    const RECT* begin() const { return Data(); }
    const RECT* end() const { return Data() + size_; }
    RECT* begin() { return Data(); }
    RECT* end() { return Data() + size_; }
    const RECT& operator[](size_t i) const { return Data()[i]; }
    RECT& operator[](size_t i) { return Data()[i]; }

    void clear() { size_ = 0; }
    void resize_down(size_t n) { size_ = n < size_ ? n : size_; }
    void push_back(const RECT& r) {
        if (size_ == capacity_) Grow(size_ + 1);
        Data()[size_++] = r;
    }
    void Append(const RECT* from, const RECT* to);
    void swap(RectList& other) noexcept;

private:
    RECT* Data() { return heap_ ? heap_ : inline_; }
    const RECT* Data() const { return heap_ ? heap_ : inline_; }
    void Grow(size_t atLeast);
    void Take(RectList& other) noexcept;

    RECT inline_[kInline];
    RECT* heap_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = kInline;
};

class Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { Add(r); }

    bool Empty() const { return rects_.empty(); }
    size_t Count() const { return rects_.size(); }
    const RectList& Rects() const { return rects_; }
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
    RectList rects_;
};

} // namespace cehost::user
