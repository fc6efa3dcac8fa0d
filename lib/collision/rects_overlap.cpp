#include "collision.hpp"

bool vollo_rects_overlap(vollo_rect a, vollo_rect b)
{
    // Strict comparisons: rectangles that only touch share no area.
    return vollo_collision::has_area(a) && vollo_collision::has_area(b) && a.x < b.x + b.width &&
           b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
