// The fill tool: a scanline flood fill. Each popped seed grows into the whole run of the
// target colour on its row, which is filled at once; the rows above and below are then
// scanned under that run and one seed is pushed per run of the target colour found there.
#include <algorithm>
#include <cstdlib>

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

// Within the tolerance of the target: the largest difference of red, green and blue, in
// 0..255, against the tolerance scaled so that the widest, 150, allows 255.
static bool near(uint32_t pixel, uint32_t target, int32_t tolerance)
{
    int32_t widest = 0;
    for (int shift = 0; shift < 24; shift += 8)
        widest = std::max(widest, std::abs(int32_t(pixel >> shift & 0xFF) - int32_t(target >> shift & 0xFF)));
    return widest * FILL_WIDEST_TOLERANCE <= tolerance * 255;
}

// The fill with a tolerance: pixels are marked once reached, since the new colour may lie
// within the tolerance too.
static paint_rect tolerant_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                                paint_rect limit, int32_t tolerance)
{
    const size_t width = canvas->width, columns = size_t(limit.x1 - limit.x0 + 1);
    const uint32_t target = canvas->pixels[size_t(seed.y) * width + size_t(seed.x)];
    std::vector<uint8_t> reached(columns * size_t(limit.y1 - limit.y0 + 1), 0);
    auto take = [&](int32_t x, int32_t y) {
        uint8_t &mark = reached[size_t(y - limit.y0) * columns + size_t(x - limit.x0)];
        if (mark || !near(canvas->pixels[size_t(y) * width + size_t(x)], target, tolerance))
            return false;
        mark = 1;
        return true;
    };
    paint_rect changed = PAINT_NO_RECT;
    std::vector<vollo_position> seeds;
    if (take(seed.x, seed.y))
        seeds.push_back(seed);
    while (!seeds.empty())
    {
        const vollo_position p = seeds.back();
        seeds.pop_back();
        canvas->pixels[size_t(p.y) * width + size_t(p.x)] = color;
        changed = changed.x0 > changed.x1 ? paint_rect{p.x, p.y, p.x, p.y}
                                          : paint_rect{std::min(changed.x0, p.x), std::min(changed.y0, p.y),
                                                       std::max(changed.x1, p.x), std::max(changed.y1, p.y)};
        const vollo_position next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
        for (vollo_position n : next)
            if (rect_contains(limit, n) && take(n.x, n.y))
                seeds.push_back(n);
    }
    return changed;
}

paint_rect flood_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                      paint_rect limit, int32_t tolerance)
{
    paint_rect changed = PAINT_NO_RECT;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return changed;
    limit = rect_clip(limit, canvas->width, canvas->height);
    if (seed.x < limit.x0 || seed.x > limit.x1 || seed.y < limit.y0 || seed.y > limit.y1)
        return changed;
    if (tolerance > 0)
        return tolerant_fill(canvas, seed, color, limit, tolerance);
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
