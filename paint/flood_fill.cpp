// The fill tool: a scanline flood fill. Each popped seed grows into the whole run of the
// target colour on its row, which is filled at once; the rows above and below are then
// scanned under that run and one seed is pushed per run of the target colour found there.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "history.h"
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

// Paints the marked pixels of the fill with a tolerance, row after row, keeping each run
// and the pixels it had in `record`.
static void paint_marked(vollo_pixelarray *canvas, const std::vector<uint8_t> &reached, paint_rect limit,
                         paint_rect changed, uint32_t color, fill_record *record)
{
    const size_t columns = size_t(limit.x1 - limit.x0 + 1);
    for (int32_t y = changed.y0; y <= changed.y1; y++)
    {
        const uint8_t *marks = reached.data() + size_t(y - limit.y0) * columns;
        uint32_t *row = canvas->pixels + size_t(y) * canvas->width;
        for (int32_t x = changed.x0; x <= changed.x1; x++)
        {
            if (!marks[x - limit.x0])
                continue;
            int32_t end = x;
            while (end < changed.x1 && marks[end + 1 - limit.x0])
                end++;
            if (record != nullptr)
            {
                record->spans.push_back(fill_span{y, x, end});
                record->old.insert(record->old.end(), row + x, row + end + 1);
            }
            std::fill(row + x, row + end + 1, color);
            x = end;
        }
    }
}

// The fill with a tolerance: pixels are marked once reached, and painted once the region
// is known.
static paint_rect tolerant_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                                paint_rect limit, int32_t tolerance, fill_record *record)
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
        changed = changed.x0 > changed.x1 ? paint_rect{p.x, p.y, p.x, p.y}
                                          : paint_rect{std::min(changed.x0, p.x), std::min(changed.y0, p.y),
                                                       std::max(changed.x1, p.x), std::max(changed.y1, p.y)};
        const vollo_position next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
        for (vollo_position n : next)
            if (rect_contains(limit, n) && take(n.x, n.y))
                seeds.push_back(n);
    }
    if (!rect_empty(changed))
        paint_marked(canvas, reached, limit, changed, color, record);
    return changed;
}

paint_rect flood_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                      paint_rect limit, int32_t tolerance, fill_record *record)
{
    paint_rect changed = PAINT_NO_RECT;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return changed;
    limit = rect_clip(limit, canvas->width, canvas->height);
    if (seed.x < limit.x0 || seed.x > limit.x1 || seed.y < limit.y0 || seed.y > limit.y1)
        return changed;
    const size_t width = canvas->width;
    const uint32_t target = canvas->pixels[size_t(seed.y) * width + size_t(seed.x)];
    if (record != nullptr)
        *record = fill_record{{}, {}, target};
    if (tolerance > 0)
        return tolerant_fill(canvas, seed, color, limit, tolerance, record);
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
        if (record != nullptr)
            record->spans.push_back(fill_span{p.y, x0, x1});
        changed = rect_union(changed, paint_rect{x0, p.y, x1, p.y});
        if (p.y > limit.y0)
            push_runs(row - width, x0, x1, p.y - 1, target, seeds);
        if (p.y < limit.y1)
            push_runs(row + width, x0, x1, p.y + 1, target, seeds);
    }
    return changed;
}

std::vector<uint32_t> fill_code(fill_record *record, paint_rect area, uint32_t color)
{
    std::vector<fill_span> &spans = record->spans;
    // The scanline fill finds its runs in any order; the tolerant one row after row.
    if (record->old.empty())
        std::sort(spans.begin(), spans.end(), [](const fill_span &a, const fill_span &b) {
            return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
        });
    const size_t width = size_t(area.x1 - area.x0 + 1), total = width * size_t(area.y1 - area.y0 + 1);
    std::vector<uint32_t> code, words;
    size_t at = 0, old_at = 0, last_run = SIZE_MAX;
    // A run of `value`, joined to the run just before it when that one has the same value.
    auto run = [&](size_t count, uint32_t value) {
        if (last_run + 2 == code.size() && code[last_run + 1] == value &&
            code[last_run] + count < 0x80000000u)
            code[last_run] += uint32_t(count);
        else
        {
            last_run = code.size();
            code.insert(code.end(), {uint32_t(count), value});
        }
    };
    for (const fill_span &span : spans)
    {
        const size_t start = size_t(span.y - area.y0) * width + size_t(span.x0 - area.x0);
        const size_t count = size_t(span.x1 - span.x0 + 1);
        if (start > at)
            run(start - at, 0);
        if (record->old.empty())
            run(count, record->target ^ color);
        else
        {
            words.assign(record->old.begin() + long(old_at), record->old.begin() + long(old_at + count));
            for (uint32_t &word : words)
                word ^= color;
            const std::vector<uint32_t> part = history_encode(words.data(), words.size());
            code.insert(code.end(), part.begin(), part.end());
            old_at += count;
        }
        at = start + count;
    }
    if (total > at)
        run(total - at, 0);
    return code;
}
