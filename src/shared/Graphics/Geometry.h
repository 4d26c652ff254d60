#pragma once
#include <cstdint>

namespace Corvell {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// x, y, width, height; a point is inside when x <= px < x + width.
struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    int64_t Right() const { return int64_t(x) + width; }
    int64_t Bottom() const { return int64_t(y) + height; }
    bool Contains(int32_t px, int32_t py) const { return px >= x && px < Right() && py >= y && py < Bottom(); }
    bool Contains(Point p) const { return Contains(p.x, p.y); }
    bool operator==(const Rect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }

// Empty result (width or height 0) when the rectangles do not meet.
Rect Intersect(const Rect& a, const Rect& b);

} // namespace Corvell
