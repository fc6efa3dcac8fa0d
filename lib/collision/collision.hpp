// Private to the collision functions: which shapes have an area to share.
#ifndef VOLLO_COLLISION_HPP
#define VOLLO_COLLISION_HPP

#include <cmath>

#include "vollo.h"

namespace vollo_collision
{
// A rectangle with a region to share: positive width and height and a position that
// is a number. Any other rectangle (empty, negative, NaN) overlaps nothing.
inline bool has_area(const vollo_rect &r)
{
    return r.width > 0 && r.height > 0 && !std::isnan(r.x) && !std::isnan(r.y);
}

// A circle with an area: a radius above 0 and a centre that is a number.
inline bool has_area(double x, double y, double radius)
{
    return radius > 0 && !std::isnan(x) && !std::isnan(y);
}
}  // namespace vollo_collision

#endif
