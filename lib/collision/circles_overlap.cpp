#include "collision.hpp"

bool vollo_circles_overlap(double ax, double ay, double ar, double bx, double by, double br)
{
    // hypot neither overflows nor underflows where squaring the distance would.
    return vollo_collision::has_area(ax, ay, ar) && vollo_collision::has_area(bx, by, br) &&
           std::hypot(ax - bx, ay - by) < ar + br;
}
