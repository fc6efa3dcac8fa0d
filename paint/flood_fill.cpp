// The fill tool: a scanline flood fill. Each popped seed grows into the whole run of the
// target colour on its row, which is filled at once; the rows above and below are then
// scanned under that run and one seed is pushed per run of the target colour found there.
#include <algorithm>

#include "rect.h"
#include "state.h"

// Pushes a seed for each run of `target` on row y between x0 and x1.
static void push_runs(const uint32_t *row, int32_t x0, int32_t x1, int32_t y, uint32_t target,
                      std::vector<vollo_position> &seeds)
{
    for (int32_t x = x0; x <= x1; x++)
        if (row[x] == target && (x == x0 || row[x - 1] != target))
            seeds.push_back(vollo_position{x, y});
}

paint_rect flood_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                      paint_rect limit)
{
    paint_rect changed = PAINT_NO_RECT;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return changed;
    limit = rect_clip(limit, canvas->width, canvas->height);
    if (seed.x < limit.x0 || seed.x > limit.x1 || seed.y < limit.y0 || seed.y > limit.y1)
        return changed;
    const size_t width = canvas->width;
    const uint32_t target = canvas->pixels[size_t(seed.y) * width + size_t(seed.x)];
    if (target == color)
        return changed;
    changed = paint_rect{seed.x, seed.y, seed.x, seed.y};
    std::vector<vollo_position> seeds(1, seed);
    while (!seeds.empty())
    {
        const vollo_position p = seeds.back();
        seeds.pop_back();
        uint32_t *row = canvas->pixels + size_t(p.y) * width;
        if (row[p.x] != target)
            continue;  // filled since it was pushed
        int32_t x0 = p.x, x1 = p.x;
        while (x0 > limit.x0 && row[x0 - 1] == target)
            x0--;
        while (x1 < limit.x1 && row[x1 + 1] == target)
            x1++;
        std::fill(row + x0, row + x1 + 1, color);
        changed = rect_union(changed, paint_rect{x0, p.y, x1, p.y});
        if (p.y > limit.y0)
            push_runs(row - width, x0, x1, p.y - 1, target, seeds);
        if (p.y < limit.y1)
            push_runs(row + width, x0, x1, p.y + 1, target, seeds);
    }
    return changed;
}
