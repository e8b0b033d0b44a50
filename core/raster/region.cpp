#include "core/raster/region.h"

#include <algorithm>

namespace raster {

namespace {

using Runs = std::vector<Span>;

// The runs of one row of a region, [begin, end) of its spans.
struct RowRange {
    Runs::const_iterator begin, end;
};

RowRange rowOf(const Runs& spans, int y) {
    const auto begin =
        std::lower_bound(spans.begin(), spans.end(), y, [](const Span& s, int row) { return s.y < row; });
    auto end = begin;
    while (end != spans.end() && end->y == y) ++end;
    return RowRange{begin, end};
}

// a minus b, both the sorted runs of one row y; appended to out.
void subtractRow(int y, RowRange a, RowRange b, Runs& out) {
    auto cut = b.begin;
    for (auto run = a.begin; run != a.end; ++run) {
        int x0 = run->x0;
        const int x1 = run->x1;
        while (cut != b.end && cut->x1 <= x0) ++cut;
        for (auto c = cut; c != b.end && c->x0 < x1; ++c) {
            if (c->x0 > x0) out.push_back(Span{y, x0, c->x0});
            x0 = std::max(x0, c->x1);
            if (x0 >= x1) break;
        }
        if (x0 < x1) out.push_back(Span{y, x0, x1});
    }
}

using Runs1D = std::vector<std::pair<int, int>>;

// a and b intersected (sorted runs of one row), into out.
void intersectRuns(const Runs1D& a, const Runs1D& b, Runs1D& out) {
    out.clear();
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const int x0 = std::max(a[i].first, b[j].first);
        const int x1 = std::min(a[i].second, b[j].second);
        if (x0 < x1) out.emplace_back(x0, x1);
        if (a[i].second < b[j].second) {
            ++i;
        } else {
            ++j;
        }
    }
}

// a and b intersected (sorted runs of one row), into out.
void intersectRuns(const Runs1D& a, RowRange b, Runs1D& out) {
    out.clear();
    size_t i = 0;
    auto j = b.begin;
    while (i < a.size() && j != b.end) {
        const int x0 = std::max(a[i].first, j->x0);
        const int x1 = std::min(a[i].second, j->x1);
        if (x0 < x1) out.emplace_back(x0, x1);
        if (a[i].second < j->x1) {
            ++i;
        } else {
            ++j;
        }
    }
}

}  // namespace

Region RegionBuilder::build() {
    const auto before = [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
    if (!std::is_sorted(spans_.begin(), spans_.end(), before)) sortByRow();
    Region region;
    Runs& out = region.spans_;
    out.reserve(spans_.size());
    for (const Span& s : spans_) {
        // Runs that overlap or touch become one.
        if (!out.empty() && out.back().y == s.y && s.x0 <= out.back().x1) {
            out.back().x1 = std::max(out.back().x1, s.x1);
        } else {
            out.push_back(s);
        }
    }
    spans_.clear();
    return region;
}

void RegionBuilder::sortByRow() {
    // Pieces of a wide pen's outline come in any order, a few runs to a row:
    // bucketed by row, then ordered within each row.
    int top = spans_.front().y, bottom = top;
    for (const Span& s : spans_) {
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    const size_t rows = static_cast<size_t>(bottom - top) + 1;
    if (rows > 4 * spans_.size() + 1024) {
        std::sort(spans_.begin(), spans_.end(),
                  [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
        return;
    }
    std::vector<size_t> start(rows + 1, 0);
    for (const Span& s : spans_) ++start[static_cast<size_t>(s.y - top) + 1];
    for (size_t i = 1; i <= rows; ++i) start[i] += start[i - 1];
    std::vector<Span> sorted(spans_.size());
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (const Span& s : spans_) sorted[next[static_cast<size_t>(s.y - top)]++] = s;
    for (size_t r = 0; r < rows; ++r) {
        std::sort(sorted.begin() + static_cast<std::ptrdiff_t>(start[r]),
                  sorted.begin() + static_cast<std::ptrdiff_t>(start[r + 1]),
                  [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    }
    spans_.swap(sorted);
}

Region Region::filled(const Rect& rect) {
    Region region;
    if (rect.empty()) return region;
    region.spans_.reserve(static_cast<size_t>(rect.height()));
    for (int y = rect.top; y < rect.bottom; ++y) region.spans_.push_back(Span{y, rect.left, rect.right});
    return region;
}

bool Region::contains(int x, int y) const {
    const RowRange row = rowOf(spans_, y);
    for (auto s = row.begin; s != row.end; ++s) {
        if (x >= s->x0 && x < s->x1) return true;
    }
    return false;
}

void Region::unite(const Region& other) {
    if (other.empty()) return;
    if (empty()) {
        spans_ = other.spans_;
        return;
    }
    RegionBuilder builder;
    builder.add(*this);
    builder.add(other);
    *this = builder.build();
}

void Region::subtract(const Region& other) {
    if (empty() || other.empty()) return;
    Runs out;
    out.reserve(spans_.size());
    auto a = spans_.cbegin();
    while (a != spans_.cend()) {
        const int y = a->y;
        auto aEnd = a;
        while (aEnd != spans_.cend() && aEnd->y == y) ++aEnd;
        subtractRow(y, RowRange{a, aEnd}, rowOf(other.spans_, y), out);
        a = aEnd;
    }
    spans_ = std::move(out);
}

void Region::offset(int dx, int dy) {
    for (Span& s : spans_) {
        s.y += dy;
        s.x0 += dx;
        s.x1 += dx;
    }
}

Region Region::frame(int width, int height) const {
    Region deep;
    Runs1D left, right, both, step;
    auto s = spans_.cbegin();
    while (s != spans_.cend()) {
        const int y = s->y;
        left.clear();
        right.clear();
        for (; s != spans_.cend() && s->y == y; ++s) {
            left.emplace_back(s->x0 - width, s->x1 - width);
            right.emplace_back(s->x0 + width, s->x1 + width);
        }
        // A pixel is deep when the pixels `width` to either side and `height`
        // above and below are in the region too.
        intersectRuns(left, right, both);
        intersectRuns(both, rowOf(spans_, y - height), step);
        intersectRuns(step, rowOf(spans_, y + height), both);
        for (const auto& run : both) deep.spans_.push_back(Span{y, run.first, run.second});
    }
    Region frame = *this;
    frame.subtract(deep);
    return frame;
}

}  // namespace raster
