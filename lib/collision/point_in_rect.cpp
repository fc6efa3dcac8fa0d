#include "collision.hpp"

bool vollo_point_in_rect(double x, double y, vollo_rect r)
{
    // Half-open, so that rectangles laid edge to edge never both hold a point.
    return vollo_collision::has_area(r) && r.x <= x && x < r.x + r.width && r.y <= y && y < r.y + r.height;
}
