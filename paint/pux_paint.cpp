// The filled disc of the circle tool and of the circle icon.
#include <algorithm>

#include "interface.h"
#include "state.h"

// Widens the half-width of the rows that one midpoint circle of radius r reaches. The test
// d <= 0 and the use of x before its decrease in the second branch fix which pixels the
// ring covers; `half` is indexed by the row's distance from the centre.
static void midpoint_circle(std::vector<int32_t> &half, int32_t r)
{
    int32_t x = r;
    int32_t y = 0;
    int32_t d = 1 - r;

    while (y <= x)
    {
        // The eight points (+-x, +-y) and (+-y, +-x) of this step.
        half[y] = std::max(half[y], x);
        half[x] = std::max(half[x], y);
        y = y + 1;
        if (d <= 0)
            d = d + 2 * y + 1;
        else
        {
            d = d + 2 * (y - x) + 1;
            x = x - 1;
        }
    }
}

// Every ring of radius k paints (0, +-k), so each row of the disc has a span holding the
// centre column, and the rings being symmetric, the span is -half .. half.
void disc_spans(int32_t radius, stamp_shape *shape)
{
    shape->left.clear();
    shape->right.clear();
    shape->top = -radius;
    if (radius < 0)
        return;
    std::vector<int32_t> half(static_cast<size_t>(radius) + 1, 0);
    for (int32_t r = radius; r >= 0; r--)
        midpoint_circle(half, r);
    for (int32_t dy = -radius; dy <= radius; dy++)
    {
        const int32_t h = half[static_cast<size_t>(dy < 0 ? -dy : dy)];
        shape->left.push_back(-h);
        shape->right.push_back(h);
    }
}

// Rings of radius r, r - 1, ..., 0 and what lies between them on each row; a negative
// radius draws nothing.
void algo_circle(paint_state *state, vollo_position centre, int32_t radius)
{
    if (state == nullptr)
        return;
    stamp_shape disc;
    disc_spans(radius, &disc);
    for (size_t k = 0; k < disc.left.size(); k++)
    {
        const int64_t y = static_cast<int64_t>(centre.y) + disc.top + static_cast<int64_t>(k);
        if (y < INT32_MIN || y > INT32_MAX)
            continue;
        pux_rectangle(state->canvas, static_cast<int32_t>(std::max<int64_t>(
                                         INT32_MIN, int64_t(centre.x) + disc.left[k])),
                      static_cast<int32_t>(y),
                      static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t(centre.x) + disc.right[k])),
                      static_cast<int32_t>(y), state->color);
    }
}
