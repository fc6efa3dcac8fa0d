#include <algorithm>

#include "collision.hpp"

bool vollo_circle_rect_overlap(double cx, double cy, double r, vollo_rect rect)
{
    if (!vollo_collision::has_area(cx, cy, r) || !vollo_collision::has_area(rect))
        return false;
    // The rectangle's point nearest the centre: the centre itself when inside.
    const double nearest_x = std::min(std::max(cx, rect.x), rect.x + rect.width);
    const double nearest_y = std::min(std::max(cy, rect.y), rect.y + rect.height);
    return std::hypot(cx - nearest_x, cy - nearest_y) < r;
}
