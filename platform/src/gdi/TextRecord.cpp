// The record of visible text (rules in TextRecord.h). Text calls are hot, so a recorded run costs a few
// stores: the characters go into one growing buffer per surface, compacted when most of it is dead. Runs are
// a flat array kept in order of their top edge, so that a drawing looks only at the runs within its rows (a
// screen holds a few dozen, a list row's drawing reaches two or three); each run's age keeps the order in
// which the record lists them.
#include "gdi/TextRecord.h"

#include <cehost/sim/gdi.h>

#include <algorithm>
#include <unordered_map>

namespace cehost::gdi::textrecord {

namespace {

// Coverage is sampled on a grid of 16 x 2 points over a run, one bit each, so that a run covered piece by
// piece (a dialog's background, then its buttons) goes once most of it is hidden, and covering the same part
// again (a focus frame redrawn) counts once.
constexpr int kColumns = 16, kRows = 2;

struct Run {
    RECT rect;
    HWND hwnd;
    uint32_t offset; // into Record::chars
    uint32_t length;
    uint32_t covered = 0; // sample points hidden so far
    uint64_t age = 0;     // order of recording
};

struct Record {
    std::vector<Run> runs; // by top edge, then by age
    std::u16string chars;
    size_t liveChars = 0;
    uint64_t recorded = 0;
    LONG tallest = 0; // no run is taller

    void Add(const RECT& rect, HWND hwnd, const char16_t* text, size_t length) {
        if (chars.size() > 4096 && chars.size() > 4 * liveChars) Compact();
        const Run run{rect, hwnd, uint32_t(chars.size()), uint32_t(length), 0, recorded++};
        // A screen is mostly drawn from the top down.
        if (runs.empty() || runs.back().rect.top <= rect.top)
            runs.push_back(run);
        else
            runs.insert(std::upper_bound(runs.begin(), runs.end(), rect.top,
                                         [](LONG top, const Run& r) { return top < r.rect.top; }),
                        run);
        tallest = std::max(tallest, rect.bottom - rect.top);
        chars.append(text, length);
        liveChars += length;
    }

    // The index range of the runs that may reach rows [top, bottom): those whose top edge lies less than the
    // tallest run's height above `top` and above `bottom`.
    std::pair<size_t, size_t> Near(LONG top, LONG bottom) const {
        const size_t first = size_t(std::upper_bound(runs.begin(), runs.end(), int64_t(top) - tallest,
                                                     [](int64_t y, const Run& run) { return y < run.rect.top; }) -
                                    runs.begin());
        size_t last = first; // a drawing reaches few runs: walked rather than searched
        while (last < runs.size() && runs[last].rect.top < bottom) ++last;
        return {first, last};
    }

    template <typename Gone> void RemoveIf(Gone gone, size_t from = 0, size_t to = SIZE_MAX) {
        to = std::min(to, runs.size());
        // Most covers hide nothing: runs move only once one has gone.
        size_t kept = from;
        for (size_t i = from; i < to; ++i) {
            if (gone(runs[i]))
                liveChars -= runs[i].length;
            else if (kept++ != i)
                runs[kept - 1] = runs[i];
        }
        if (kept != to) runs.erase(runs.begin() + ptrdiff_t(kept), runs.begin() + ptrdiff_t(to));
    }

    void Compact() {
        std::u16string next;
        next.reserve(liveChars * 2);
        for (Run& run : runs) {
            const uint32_t at = uint32_t(next.size());
            next.append(chars, run.offset, run.length);
            run.offset = at;
        }
        chars.swap(next);
    }
};

Record g_screen;
std::unordered_map<const Surface*, Record> g_others;

// The screen's record is always there; other surfaces get one when text is first drawn on them.
Record* Find(const Surface* surface, bool create) {
    if (surface == &Screen()) return &g_screen;
    if (create) return &g_others[surface];
    if (g_others.empty()) return nullptr;
    auto it = g_others.find(surface);
    return it == g_others.end() ? nullptr : &it->second;
}

bool RectsEqual(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Marks the sample points of every run that `rect`, as far as `clip` lets it, hides; a run with half of its
// points hidden is gone.
void Cover(Record& record, const std::vector<RECT>& clip, const RECT& rect) {
    const auto near = record.Near(rect.top, rect.bottom);
    if (near.first == near.second) return;
    // What the drawing reaches: the clip rectangles within `rect` (a point of a run is hidden when it lies in
    // one). A window's erase clipped around its children usually reaches none of the runs drawn in them. A
    // drawing through a window's DC mostly has one clip rectangle, which needs no list.
    static std::vector<RECT> many;
    RECT one;
    const RECT* parts = &one;
    size_t partCount = 0;
    if (clip.size() == 1) {
        one = Intersect(clip.front(), rect);
        partCount = IsEmpty(one) ? 0 : 1;
    } else {
        many.clear();
        for (const RECT& c : clip) {
            const RECT part = Intersect(c, rect);
            if (!IsEmpty(part)) many.push_back(part);
        }
        parts = many.data();
        partCount = many.size();
    }
    if (partCount == 0) return;
    const RECT* const partsEnd = parts + partCount;
    auto overlaps = [](const RECT& a, const RECT& b) {
        return a.top < b.bottom && b.top < a.bottom && a.left < b.right && b.left < a.right;
    };
    record.RemoveIf([&](Run& run) {
        // Most runs lie elsewhere: one or two comparisons tell.
        if (!overlaps(run.rect, rect) || IsEmpty(run.rect)) return false;
        bool reached = false;
        for (const RECT* part = parts; part != partsEnd; ++part)
            if (overlaps(run.rect, *part)) {
                // The usual case, a repaint over the whole run through one clip rectangle, needs no sampling.
                if (RectsEqual(Intersect(*part, run.rect), run.rect)) return true;
                reached = true;
            }
        // A run still listed has fewer than half of its points hidden; if nothing reaches it, it stays so.
        if (!reached) return false;
        const LONG w = run.rect.right - run.rect.left, h = run.rect.bottom - run.rect.top;
        for (int k = 0; k < kColumns * kRows; ++k) {
            if (run.covered & (1u << k)) continue;
            const LONG x = run.rect.left + (2 * (k % kColumns) + 1) * w / (2 * kColumns);
            const LONG y = run.rect.top + (2 * (k / kColumns) + 1) * h / (2 * kRows);
            for (const RECT* part = parts; part != partsEnd; ++part)
                if (Contains(*part, x, y)) {
                    run.covered |= 1u << k;
                    break;
                }
        }
        return __builtin_popcount(run.covered) * 2 >= kColumns * kRows;
    }, near.first, near.second);
}

} // namespace

void Drawn(const Surface* surface, HWND hwnd, const std::vector<RECT>& clip, const RECT& rect,
           const char16_t* text, size_t length) {
    Record* record = Find(surface, true);
    Cover(*record, clip, rect);
    record->Add(rect, hwnd, text, length);
}

void Covered(const Surface* surface, const std::vector<RECT>& clip, const RECT& rect) {
    Record* record = Find(surface, false);
    if (record && !record->runs.empty()) Cover(*record, clip, rect);
}

void Blitted(const Surface* target, HWND hwnd, const std::vector<RECT>& clip, const RECT& dst,
             const Surface* source, const RECT& src) {
    const LONG sw = src.right - src.left, sh = src.bottom - src.top;
    Record* from = source && sw > 0 && sh > 0 ? Find(source, false) : nullptr;
    if (!from || from->runs.empty()) {
        // Most blits bring no text: they only cover what they replace.
        if (Record* record = Find(target, false); record && !record->runs.empty()) Cover(*record, clip, dst);
        return;
    }
    // What the source brings is taken first: a blit within one surface may cover its own source. Kept from
    // call to call; brought runs keep their order of recording.
    struct Moved {
        uint64_t age;
        RECT rect;
        size_t offset, length; // into `texts`
    };
    static std::vector<Moved> moved;
    static std::u16string texts;
    moved.clear();
    texts.clear();
    const LONG dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const auto near = from->Near(src.top, src.bottom);
    for (size_t k = near.first; k < near.second; ++k) {
        const Run& run = from->runs[k];
        const RECT& r = run.rect;
        if (r.left < src.left || r.top < src.top || r.right > src.right || r.bottom > src.bottom) continue;
        RECT to{dst.left + (r.left - src.left) * dw / sw, dst.top + (r.top - src.top) * dh / sh,
                dst.left + (r.right - src.left) * dw / sw, dst.top + (r.bottom - src.top) * dh / sh};
        // It arrives only where the destination's clip lets its middle through.
        const LONG cx = (to.left + to.right) / 2, cy = (to.top + to.bottom) / 2;
        bool shown = false;
        for (const RECT& c : clip)
            shown = shown || Contains(c, cx, cy);
        if (shown && !IsEmpty(to)) {
            moved.push_back({run.age, to, texts.size(), run.length});
            texts.append(from->chars, run.offset, run.length);
        }
    }
    std::sort(moved.begin(), moved.end(), [](const Moved& a, const Moved& b) { return a.age < b.age; });
    if (Record* record = Find(target, !moved.empty())) {
        Cover(*record, clip, dst);
        for (const Moved& m : moved)
            record->Add(m.rect, hwnd, texts.data() + m.offset, m.length);
    }
}

void Forget(const Surface* surface) {
    if (surface == &Screen()) {
        g_screen = Record{};
        return;
    }
    g_others.erase(surface);
}

} // namespace cehost::gdi::textrecord

namespace cehost::internal {

void WindowTextGone(HWND hwnd) {
    gdi::textrecord::g_screen.RemoveIf([hwnd](gdi::textrecord::Run& run) { return run.hwnd == hwnd; });
}

} // namespace cehost::internal

namespace cehost::sim {

std::vector<TextRun> VisibleText() {
    const auto& record = gdi::textrecord::g_screen;
    std::vector<const gdi::textrecord::Run*> byAge;
    byAge.reserve(record.runs.size());
    for (const auto& run : record.runs) byAge.push_back(&run);
    std::sort(byAge.begin(), byAge.end(), [](auto* a, auto* b) { return a->age < b->age; });
    std::vector<TextRun> runs;
    runs.reserve(byAge.size());
    for (const auto* run : byAge)
        runs.push_back({record.chars.substr(run->offset, run->length), run->rect, run->hwnd});
    return runs;
}

} // namespace cehost::sim
