// Overlap means a shared area: touching shapes, empty shapes and NaN never overlap.
#include <gtest/gtest.h>

#include <cmath>

#include "vollo.h"

TEST(Collisions, ShapesOverlapOnlyWhereTheyShareAnArea)
{
    const vollo_rect box{0, 0, 10, 10};
    const struct { const char *what; bool result, expected; } cases[] = {
        {"rects sharing a corner square", vollo_rects_overlap(box, {9, 9, 5, 5}), true},
        {"rects sharing an edge", vollo_rects_overlap(box, {10, 0, 5, 10}), false},
        {"rect of negative width", vollo_rects_overlap(box, {5, 5, -3, 3}), false},
        {"rect at NaN", vollo_rects_overlap(box, {NAN, 5, 3, 3}), false},
        {"point on the top-left corner", vollo_point_in_rect(0, 0, box), true},
        {"point just inside the far corner", vollo_point_in_rect(9.999, 9.999, box), true},
        {"point on the right edge", vollo_point_in_rect(10, 5, box), false},
        {"point on the bottom edge", vollo_point_in_rect(5, 10, box), false},
        {"point in a rect of negative width", vollo_point_in_rect(5, 5, {10, 0, -10, 10}), false},
        {"circles closer than their radii", vollo_circles_overlap(0, 0, 3, 5, 0, 3), true},
        {"circles touching", vollo_circles_overlap(0, 0, 2.5, 0, 5, 2.5), false},
        {"circle of radius 0 inside another", vollo_circles_overlap(0, 0, 3, 1, 1, 0), false},
        {"circle at NaN", vollo_circles_overlap(0, NAN, 3, 1, 1, 1), false},
        {"circles far out, overflow-free", vollo_circles_overlap(0, 0, 1e200, 1.5e200, 0, 1e200), true},
        {"circle centred in a rect", vollo_circle_rect_overlap(5, 5, 1, box), true},
        {"circle touching a rect's edge", vollo_circle_rect_overlap(-3, 5, 3, box), false},
        {"circle reaching over a rect's edge", vollo_circle_rect_overlap(-3, 5, 3.001, box), true},
        {"circle short of a rect's corner", vollo_circle_rect_overlap(13, 13, 4.24, box), false},
        {"circle over a rect's corner", vollo_circle_rect_overlap(13, 13, 4.25, box), true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
}
