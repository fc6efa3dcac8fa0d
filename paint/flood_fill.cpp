// The fill tool: a scanline flood fill. Each popped seed grows into the whole run of the
// target colour on its row, which is filled at once; the rows above and below are then
// scanned under that run and one seed is pushed per run of the target colour found there.
#include <algorithm>

#include "state.h"

// The limit cut to the canvas.
static paint_rect clip_to(const vollo_pixelarray *canvas, paint_rect limit)
{
    limit.x0 = std::max(limit.x0, 0);
    limit.y0 = std::max(limit.y0, 0);
    limit.x1 = static_cast<int32_t>(std::min<int64_t>(limit.x1, int64_t(canvas->width) - 1));
    limit.y1 = static_cast<int32_t>(std::min<int64_t>(limit.y1, int64_t(canvas->height) - 1));
    return limit;
}

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
    limit = clip_to(canvas, limit);
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
        changed = paint_rect{std::min(changed.x0, x0), std::min(changed.y0, p.y),
                             std::max(changed.x1, x1), std::max(changed.y1, p.y)};
        if (p.y > limit.y0)
            push_runs(row - width, x0, x1, p.y - 1, target, seeds);
        if (p.y < limit.y1)
            push_runs(row + width, x0, x1, p.y + 1, target, seeds);
    }
    return changed;
}
