// Text in a font file on a pixel array, with no GPU and no display: FreeType renders
// the glyphs SFML would upload, and they are laid into a coverage tile with the
// alpha rule the GPU blends them with (white on transparent), then the tile's
// coverage scales the colour's alpha over the pixels.
#include <algorithm>
#include <cmath>
#include <map>

#include "graphics/graphics.hpp"
#include "shapes/shapes.hpp"
#include "face.hpp"

namespace vollo_text
{

namespace
{

using vollo_graphics::region;

const int64_t tile_side = 1024;
const size_t cache_limit = size_t(16) << 20;  // bytes of rendered glyphs kept for one call

// A rendered glyph: its coverage, row by row, and its top-left from the pen.
struct bitmap
{
    int64_t left = 0, top = 0, width = 0, rows = 0;
    std::vector<uint8_t> coverage;
};

// Renders as SFML does: anti-aliased, a one-bit bitmap's pixels fully covered.
bitmap render(FT_Face face, uint32_t code_point)
{
    bitmap result;
    if (!load_glyph(face, code_point))
        return result;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return result;
    const FT_Bitmap &source = slot->bitmap;
    const bool mono = source.pixel_mode == FT_PIXEL_MODE_MONO;
    if (source.width == 0 || source.rows == 0 || (!mono && source.pixel_mode != FT_PIXEL_MODE_GRAY))
        return result;
    // SFML places the bitmap at the glyph's hinted bearings, whole pixels.
    result.left = int64_t(std::floor(float(slot->metrics.horiBearingX) / 64.f + 0.5f));
    result.top = int64_t(std::floor(-float(slot->metrics.horiBearingY) / 64.f + 0.5f));
    result.width = source.width, result.rows = source.rows;
    result.coverage.resize(size_t(source.width) * source.rows);
    const unsigned char *row = source.buffer;
    for (unsigned y = 0; y < source.rows; ++y, row += source.pitch)
        for (unsigned x = 0; x < source.width; ++x)
            result.coverage[size_t(y) * source.width + x] =
                mono ? ((row[x / 8] >> (7 - x % 8)) & 1) * 255 : row[x];
    return result;
}

// The glyphs of one call, each rendered once while they fit in cache_limit.
class glyph_cache
{
public:
    explicit glyph_cache(FT_Face face) : face_(face) {}
    const bitmap &get(uint32_t code_point)
    {
        const auto found = kept_.find(code_point);
        if (found != kept_.end())
            return found->second;
        spare_ = render(face_, code_point);
        if (bytes_ + spare_.coverage.size() > cache_limit)
            return spare_;
        bytes_ += spare_.coverage.size();
        return kept_.emplace(code_point, std::move(spare_)).first->second;
    }

private:
    FT_Face face_;
    std::map<uint32_t, bitmap> kept_;
    bitmap spare_;
    size_t bytes_ = 0;
};

// Where a glyph's pen lands on the array: the drawing position plus the pen, whole pixels.
int64_t pixel_of(int32_t position, float pen)
{
    return int64_t(position) + int64_t(std::floor(pen + 0.5f));
}

// Lays one glyph's coverage into the tile: a + b (1 - a), as the GPU blends alpha.
void lay_glyph(std::vector<uint8_t> &coverage, const region &tile, const bitmap &glyph, int64_t left, int64_t top)
{
    const region box = vollo_graphics::intersect(region{left, top, glyph.width, glyph.rows}, tile);
    for (int64_t y = box.y; y < box.y + box.height; ++y)
    {
        const uint8_t *from = glyph.coverage.data() + size_t(y - top) * size_t(glyph.width) + size_t(box.x - left);
        uint8_t *to = coverage.data() + size_t(y - tile.y) * size_t(tile.width) + size_t(box.x - tile.x);
        for (int64_t x = 0; x < box.width; ++x)
            to[x] = uint8_t(from[x] + (to[x] * (255 - from[x]) + 127) / 255);
    }
}

void blend_tile(vollo_pixelarray *array, const std::vector<uint8_t> &coverage, const region &tile, uint32_t color)
{
    const uint32_t alpha = color >> 24, rgb = color & 0xFFFFFF;
    for (int64_t y = 0; y < tile.height; ++y)
    {
        uint32_t *row = array->pixels + size_t(tile.y + y) * array->width + size_t(tile.x);
        const uint8_t *covered = coverage.data() + size_t(y) * size_t(tile.width);
        for (int64_t x = 0; x < tile.width; ++x)
            if (covered[x])
                row[x] = vollo_shapes::blend_over(rgb | ((alpha * covered[x] + 127) / 255) << 24, row[x]);
    }
}

void draw_tile(vollo_pixelarray *array, const text_layout &layout, glyph_cache &glyphs, vollo_position position,
               uint32_t color, const region &tile)
{
    std::vector<uint8_t> coverage(size_t(tile.width) * size_t(tile.height), 0);
    bool inked = false;
    for (const placed_glyph &placed : layout.glyphs)
    {
        // The glyph's box with a pixel of margin, to skip it without rendering it.
        const region reach{pixel_of(position.x, placed.x + placed.left) - 1,
                           pixel_of(position.y, placed.y + placed.top) - 1, int64_t(std::ceil(placed.width)) + 3,
                           int64_t(std::ceil(placed.height)) + 3};
        if (placed.width <= 0 || vollo_graphics::intersect(reach, tile).empty())
            continue;
        const bitmap &glyph = glyphs.get(placed.code_point);
        if (glyph.width == 0)
            continue;
        lay_glyph(coverage, tile, glyph, pixel_of(position.x, placed.x) + glyph.left,
                  pixel_of(position.y, placed.y) + glyph.top);
        inked = true;
    }
    if (inked)
        blend_tile(array, coverage, tile, color);
}

}  // namespace

void draw_on_pixelarray(vollo_pixelarray *array, vollo_font *font, const char *text, vollo_position position,
                        int32_t pixel_size, uint32_t color, const region &area)
{
    text_layout layout;
    if (!lay_out(layout, font, text, pixel_size) || layout.right <= layout.left || layout.bottom <= layout.top)
        return;
    // Everything the text can touch, one pixel of margin for rounding.
    const region reach{pixel_of(position.x, layout.left) - 1, pixel_of(position.y, layout.top) - 1,
                       int64_t(std::ceil(layout.right - layout.left)) + 3,
                       int64_t(std::ceil(layout.bottom - layout.top)) + 3};
    const region part = vollo_graphics::intersect(reach, area);
    if (part.empty())
        return;
    glyph_cache glyphs(font->own.face);
    for (int64_t y = part.y; y < part.y + part.height; y += tile_side)
        for (int64_t x = part.x; x < part.x + part.width; x += tile_side)
            draw_tile(array, layout, glyphs, position, color,
                      region{x, y, std::min(tile_side, part.x + part.width - x),
                             std::min(tile_side, part.y + part.height - y)});
}

}  // namespace vollo_text
