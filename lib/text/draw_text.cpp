// Built-in text: each run of drawn font pixels in a glyph row becomes one block
// of scale x scale pixels per font pixel, painted like the shapes, so the window,
// pictures and pixel arrays get the same pixels.
#include "shapes/shapes.hpp"
#include "text.hpp"

namespace
{

void draw_glyph(vollo_shapes::span_painter &painter, const vollo_text::glyph &glyph, int64_t x, int64_t y,
                int64_t scale)
{
    for (int row = 0; row < vollo_text::glyph_rows; ++row)
    {
        const unsigned bits = glyph.rows[row];
        const int64_t top = y + row * scale;
        for (int column = 0; column < vollo_text::glyph_columns;)
        {
            const unsigned mask = 1u << (vollo_text::glyph_columns - 1 - column);
            if (!(bits & mask))
            {
                ++column;
                continue;
            }
            int end = column;
            while (end < vollo_text::glyph_columns && (bits & (1u << (vollo_text::glyph_columns - 1 - end))))
                ++end;
            painter.block(top, top + scale - 1, x + column * scale, x + end * scale - 1);
            column = end;
        }
    }
}

}  // namespace

void vollo_draw_text(vollo_buffer *buffer, const char *text, vollo_position position, int32_t scale, uint32_t color)
{
    if (!buffer || !text || scale <= 0)
        return;
    vollo_shapes::span_painter painter(buffer, color);
    const vollo_graphics::region &area = painter.area();
    const int64_t advance = int64_t(vollo_text::glyph_advance) * scale;
    const int64_t line_height = int64_t(vollo_text::line_advance) * scale;
    int64_t x = position.x, y = position.y;
    while (*text && !area.empty())
    {
        const uint32_t code = vollo_text::next_code_point(text);
        if (code == '\n')
        {
            x = position.x, y += line_height;
            // Lines below the drawable area cannot show anything any more.
            if (y >= area.y + area.height)
                break;
            continue;
        }
        // Past the right edge the rest of the line cannot show; x stops there, so
        // it cannot overflow however long the line.
        if (x >= area.x + area.width)
            continue;
        const bool visible = x + advance > area.x && y < area.y + area.height && y + line_height > area.y;
        if (visible)
            draw_glyph(painter, vollo_text::builtin_glyph(code), x, y, scale);
        x += advance;
    }
}
