// PIXODRAW: arithmetic of rectangles of pixels (paint_rect, bounds included).
#ifndef PAINT_RECT_H
#define PAINT_RECT_H

#include <algorithm>
#include <cstdint>

#include "layout.h"

// True when the rectangle holds no pixel.
inline bool rect_empty(paint_rect r)
{
    return r.x0 > r.x1 || r.y0 > r.y1;
}

// The rectangle cut to the pixels of a width x height array (empty when it lies outside).
inline paint_rect rect_clip(paint_rect r, uint32_t width, uint32_t height)
{
    r.x0 = std::max(r.x0, 0);
    r.y0 = std::max(r.y0, 0);
    r.x1 = static_cast<int32_t>(std::min<int64_t>(r.x1, int64_t(width) - 1));
    r.y1 = static_cast<int32_t>(std::min<int64_t>(r.y1, int64_t(height) - 1));
    return r;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline paint_rect rect_union(paint_rect a, paint_rect b)
{
    if (rect_empty(a))
        return b;
    if (rect_empty(b))
        return a;
    return paint_rect{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
                      std::max(a.y1, b.y1)};
}

// The pixels both hold (empty when none).
inline paint_rect rect_common(paint_rect a, paint_rect b)
{
    return paint_rect{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                      std::min(a.y1, b.y1)};
}

// True when every pixel of `inner` lies in `outer` (always for an empty `inner`).
inline bool rect_contains(paint_rect outer, paint_rect inner)
{
    return rect_empty(inner) || (inner.x0 >= outer.x0 && inner.x1 <= outer.x1 &&
                                 inner.y0 >= outer.y0 && inner.y1 <= outer.y1);
}

#endif
