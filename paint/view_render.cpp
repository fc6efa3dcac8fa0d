// Drawing the view. Below 100 % each screen pixel is the average of the picture pixels
// it covers, taken from a pyramid of halved copies made once at open (a third more
// memory), so that any view of any picture costs about one area's worth of reads.
#include <algorithm>
#include <cmath>

#include "document.h"

namespace
{

// Average of the pixels of `level` (width x height) in columns x0..x1, rows y0..y1,
// bounds excluded at the end; opaque.
uint32_t average(const uint32_t *pixels, uint32_t width, int64_t x0, int64_t x1, int64_t y0,
                 int64_t y1)
{
    uint32_t red = 0, green = 0, blue = 0, count = 0;
    for (int64_t y = y0; y < y1; y++)
        for (int64_t x = x0; x < x1; x++)
        {
            const uint32_t p = pixels[size_t(y) * width + size_t(x)];
            red += p & 0xFF;
            green += (p >> 8) & 0xFF;
            blue += (p >> 16) & 0xFF;
            count++;
        }
    if (count == 0)
        return VIEW_BACKDROP;
    const uint32_t half = count / 2;
    return 0xFF000000u | (red + half) / count | ((green + half) / count) << 8 |
           ((blue + half) / count) << 16;
}

// The average of four pixels, rounded as `average` rounds; opaque. Red and blue, then
// green, are summed two at a time in the halves of one word.
inline uint32_t average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    const uint32_t red_blue = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu) + (d & 0x00FF00FFu);
    const uint32_t green = ((a >> 8) & 0xFFu) + ((b >> 8) & 0xFFu) + ((c >> 8) & 0xFFu) + ((d >> 8) & 0xFFu);
    return 0xFF000000u | (((red_blue + 0x00020002u) >> 2) & 0x00FF00FFu) | ((green + 2) >> 2) << 8;
}

// Level `to` over `area` (its own pixels) from the level above it, width x height.
void halve(const uint32_t *from, uint32_t width, uint32_t height, paint_mip &to, paint_rect area)
{
    for (int32_t y = area.y0; y <= area.y1; y++)
    {
        uint32_t *out = to.pixels.data() + size_t(y) * to.width;
        const bool pair = 2 * int64_t(y) + 1 < height;
        const uint32_t *top = from + size_t(2 * int64_t(y)) * width, *bottom = top + width;
        for (int32_t x = area.x0; x <= area.x1; x++)
        {
            if (pair && 2 * int64_t(x) + 1 < width)
            {
                const size_t i = size_t(2 * int64_t(x));
                out[x] = average4(top[i], top[i + 1], bottom[i], bottom[i + 1]);
            }
            else
                out[x] = average(from, width, 2 * int64_t(x), std::min<int64_t>(2 * int64_t(x) + 2, width),
                                 2 * int64_t(y), std::min<int64_t>(2 * int64_t(y) + 2, height));
        }
    }
}

// Source span [first, last) of level pixels for each screen offset 0 .. count - 1 from
// the picture's corner, at `scale` screen pixels per level pixel; empty past the edge.
void spans(int64_t start, int64_t count, double scale, uint32_t size, std::vector<int64_t> &first,
           std::vector<int64_t> &last)
{
    first.resize(size_t(count));
    last.resize(size_t(count));
    for (int64_t i = 0; i < count; i++)
    {
        const int64_t u = start + i;
        int64_t a = int64_t(std::floor((u + 1e-9) / scale));
        int64_t b = std::max(a + 1, int64_t(std::ceil((u + 1) / scale - 1e-9)));
        if (u < 0 || a >= int64_t(size))
            a = b = 0;
        first[size_t(i)] = a;
        last[size_t(i)] = std::min<int64_t>(b, size);
    }
}

}  // namespace

bool mips_build(paint_document *document)
{
    const vollo_pixelarray *picture = document->picture;
    document->mips.clear();
    uint32_t width = picture->width, height = picture->height;
    try
    {
        while (width > VIEW_WIDTH || height > VIEW_HEIGHT)
        {
            width = (width + 1) / 2;
            height = (height + 1) / 2;
            paint_mip level;
            level.width = width;
            level.height = height;
            level.pixels.resize(size_t(width) * height);
            document->mips.push_back(std::move(level));
        }
    }
    catch (const std::bad_alloc &)
    {
        document->mips.clear();
        return false;
    }
    mips_update(document, paint_rect{0, 0, int32_t(picture->width) - 1, int32_t(picture->height) - 1});
    return true;
}

void mips_update(paint_document *document, paint_rect area)
{
    const uint32_t *from = document->picture->pixels;
    uint32_t width = document->picture->width, height = document->picture->height;
    area.x0 = std::max(area.x0, 0);
    area.y0 = std::max(area.y0, 0);
    for (paint_mip &level : document->mips)
    {
        area = paint_rect{area.x0 / 2, area.y0 / 2, std::min<int32_t>(area.x1 / 2, level.width - 1),
                          std::min<int32_t>(area.y1 / 2, level.height - 1)};
        if (area.x0 > area.x1 || area.y0 > area.y1)
            return;
        halve(from, width, height, level, area);
        from = level.pixels.data();
        width = level.width;
        height = level.height;
    }
}

// The finest level with no more than one level pixel per screen pixel.
static size_t view_depth(const paint_document *document)
{
    size_t depth = 0;
    while (depth < document->mips.size() && document->view.zoom * double(1u << (depth + 1)) <= 1.0 + 1e-9)
        depth++;
    return depth;
}

paint_rect view_screen_area(const paint_document *document, paint_rect area)
{
    const paint_view &view = document->view;
    const paint_rect drawn = PAINT_LAYOUT.drawing_area.drawn;
    if (area.x0 > area.x1 || area.y0 > area.y1)
        return PAINT_NO_RECT;
    // A level pixel averages 2^depth picture pixels across: the area grows to whole
    // level pixels, and by one screen pixel on each side for the spans' rounding.
    const int64_t cell = int64_t(1) << view_depth(document);
    const double x0 = double(area.x0 - cell), x1 = double(int64_t(area.x1) + 1 + cell);
    const double y0 = double(area.y0 - cell), y1 = double(int64_t(area.y1) + 1 + cell);
    const auto screen = [](double at, double zoom, int64_t corner) {
        return double(corner) + std::floor(at * zoom);
    };
    const double left = screen(x0, view.zoom, VIEW_LEFT + view.left) - 1;
    const double right = screen(x1, view.zoom, VIEW_LEFT + view.left) + 1;
    const double top = screen(y0, view.zoom, VIEW_TOP + view.top) - 1;
    const double bottom = screen(y1, view.zoom, VIEW_TOP + view.top) + 1;
    return paint_rect{int32_t(std::max<double>(drawn.x0, left)), int32_t(std::max<double>(drawn.y0, top)),
                      int32_t(std::min<double>(drawn.x1, right)), int32_t(std::min<double>(drawn.y1, bottom))};
}

void view_render(const paint_document *document, vollo_pixelarray *canvas, paint_rect screen)
{
    const paint_view &view = document->view;
    const size_t depth = view_depth(document);
    const uint32_t *pixels = depth == 0 ? document->picture->pixels : document->mips[depth - 1].pixels.data();
    const uint32_t width = depth == 0 ? document->picture->width : document->mips[depth - 1].width;
    const uint32_t height = depth == 0 ? document->picture->height : document->mips[depth - 1].height;
    const double scale = view.zoom * double(1u << depth);
    std::vector<int64_t> x0, x1, y0, y1;
    spans(-view.left, VIEW_WIDTH, scale, width, x0, x1);
    spans(-view.top, VIEW_HEIGHT, scale, height, y0, y1);
    const int32_t i0 = std::max(0, screen.x0 - VIEW_LEFT), i1 = std::min(VIEW_WIDTH - 1, screen.x1 - VIEW_LEFT);
    const int32_t j0 = std::max(0, screen.y0 - VIEW_TOP), j1 = std::min(VIEW_HEIGHT - 1, screen.y1 - VIEW_TOP);
    for (int32_t j = j0; j <= j1; j++)
    {
        uint32_t *row = canvas->pixels + size_t(VIEW_TOP + j) * canvas->width + VIEW_LEFT;
        for (int32_t i = i0; i <= i1; i++)
        {
            if (y0[j] == y1[j] || x0[i] == x1[i])
                row[i] = VIEW_BACKDROP;
            else if (x1[i] - x0[i] == 1 && y1[j] - y0[j] == 1)
                row[i] = pixels[size_t(y0[j]) * width + size_t(x0[i])] | 0xFF000000u;
            else
                row[i] = average(pixels, width, x0[i], x1[i], y0[j], y1[j]);
        }
    }
}
