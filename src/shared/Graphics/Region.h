#pragma once
#include "shared/Graphics/Geometry.h"

#include <vector>

namespace Corvell {

// A set of pixels as disjoint rectangles: clip regions and the regions
// FillRegion and FrameRegion draw.
class Region {
public:
    Region() = default;
    explicit Region(const Rect& r);

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<Rect>& Rects() const { return m_rects; }
    Rect Bounds() const;
    bool Intersects(const Rect& r) const;
    bool Contains(int32_t x, int32_t y) const;
    int64_t Area() const;

    void Intersect(const Rect& r);
    void Subtract(const Rect& r);
    void Add(const Rect& r);
    void Offset(int32_t dx, int32_t dy);

    // Same pixels, whatever the rectangles.
    bool SameAs(const Region& o) const;

private:
    std::vector<Rect> m_rects;
};

} // namespace Corvell
