#include "shared/Graphics/Geometry.h"

#include <algorithm>

namespace Corvell {

Rect Intersect(const Rect& a, const Rect& b) {
    int64_t x0 = std::max<int64_t>(a.x, b.x);
    int64_t y0 = std::max<int64_t>(a.y, b.y);
    int64_t x1 = std::min(a.Right(), b.Right());
    int64_t y1 = std::min(a.Bottom(), b.Bottom());
    if (x1 <= x0 || y1 <= y0)
        return Rect{int32_t(x0), int32_t(y0), 0, 0};
    return Rect{int32_t(x0), int32_t(y0), int32_t(x1 - x0), int32_t(y1 - y0)};
}

} // namespace Corvell
