#include "shared/Graphics/Region.h"

#include <algorithm>

namespace Corvell {

namespace {

// The parts of a that lie outside b: up to four rectangles.
void Cut(const Rect& a, const Rect& b, std::vector<Rect>& out) {
    Rect i = Corvell::Intersect(a, b);
    if (i.IsEmpty()) {
        out.push_back(a);
        return;
    }
    if (i.y > a.y)
        out.push_back(Rect{a.x, a.y, a.width, i.y - a.y});
    if (i.Bottom() < a.Bottom())
        out.push_back(Rect{a.x, int32_t(i.Bottom()), a.width, int32_t(a.Bottom() - i.Bottom())});
    if (i.x > a.x)
        out.push_back(Rect{a.x, i.y, i.x - a.x, i.height});
    if (i.Right() < a.Right())
        out.push_back(Rect{int32_t(i.Right()), i.y, int32_t(a.Right() - i.Right()), i.height});
}

} // namespace

Region::Region(const Rect& r) {
    if (!r.IsEmpty())
        m_rects.push_back(r);
}

Rect Region::Bounds() const {
    if (m_rects.empty())
        return Rect{};
    int64_t x0 = m_rects[0].x, y0 = m_rects[0].y, x1 = m_rects[0].Right(), y1 = m_rects[0].Bottom();
    for (const Rect& r : m_rects) {
        x0 = std::min<int64_t>(x0, r.x);
        y0 = std::min<int64_t>(y0, r.y);
        x1 = std::max(x1, r.Right());
        y1 = std::max(y1, r.Bottom());
    }
    return Rect{int32_t(x0), int32_t(y0), int32_t(x1 - x0), int32_t(y1 - y0)};
}

bool Region::Intersects(const Rect& r) const {
    for (const Rect& a : m_rects)
        if (!Corvell::Intersect(a, r).IsEmpty())
            return true;
    return false;
}

bool Region::Contains(int32_t x, int32_t y) const {
    for (const Rect& a : m_rects)
        if (a.Contains(x, y))
            return true;
    return false;
}

int64_t Region::Area() const {
    int64_t area = 0;
    for (const Rect& a : m_rects)
        area += int64_t(a.width) * a.height;
    return area;
}

void Region::Intersect(const Rect& r) {
    std::vector<Rect> out;
    for (const Rect& a : m_rects) {
        Rect i = Corvell::Intersect(a, r);
        if (!i.IsEmpty())
            out.push_back(i);
    }
    m_rects.swap(out);
}

void Region::Subtract(const Rect& r) {
    if (r.IsEmpty())
        return;
    std::vector<Rect> out;
    for (const Rect& a : m_rects)
        Cut(a, r, out);
    m_rects.swap(out);
}

void Region::Add(const Rect& r) {
    if (r.IsEmpty())
        return;
    std::vector<Rect> pieces{r};
    for (const Rect& a : m_rects) {
        std::vector<Rect> next;
        for (const Rect& p : pieces)
            Cut(p, a, next);
        pieces.swap(next);
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
}

void Region::Offset(int32_t dx, int32_t dy) {
    for (Rect& a : m_rects) {
        a.x += dx;
        a.y += dy;
    }
}

bool Region::SameAs(const Region& o) const {
    if (Area() != o.Area())
        return false;
    for (const Rect& a : m_rects) {
        Region part(a);
        for (const Rect& b : o.m_rects)
            part.Subtract(b);
        if (!part.IsEmpty())
            return false;
    }
    return true;
}

} // namespace Corvell
