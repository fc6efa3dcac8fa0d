#include <algorithm>

#include "face.hpp"

namespace vollo_text
{

namespace
{

const float units = 64.f;  // FreeType's 26.6 fixed point

// The metrics SFML keeps of a glyph: its advance, and its box, which stays empty
// when the glyph has no pixels (a space, or one the font cannot give).
struct glyph_metrics
{
    float advance = 0, left = 0, top = 0, width = 0, height = 0;
};

glyph_metrics metrics_of(FT_Face face, uint32_t code_point)
{
    glyph_metrics result;
    if (!load_glyph(face, code_point))
        return result;
    const FT_Glyph_Metrics &metrics = face->glyph->metrics;
    result.advance = float(metrics.horiAdvance) / units;
    if (metrics.width > 0 && metrics.height > 0)
    {
        result.left = float(metrics.horiBearingX) / units;
        result.top = -float(metrics.horiBearingY) / units;
        result.width = float(metrics.width) / units;
        result.height = float(metrics.height) / units;
    }
    return result;
}

float kerning(FT_Face face, uint32_t first, uint32_t second)
{
    if (first == 0 || second == 0 || !FT_HAS_KERNING(face))
        return 0;
    FT_Vector kern;
    if (FT_Get_Kerning(face, FT_Get_Char_Index(face, first), FT_Get_Char_Index(face, second), FT_KERNING_DEFAULT,
                       &kern) != 0)
        return 0;
    return FT_IS_SCALABLE(face) ? float(kern.x) / units : float(kern.x);
}

}  // namespace

bool lay_out(text_layout &layout, vollo_font *font, const char *text, int32_t pixel_size)
{
    if (!font || !font->own.face || !text || !*text || pixel_size < 1 || pixel_size > largest_pixel_size)
        return false;
    FT_Face face = font->own.face;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixel_size)) != 0)
        return false;
    const float space = metrics_of(face, ' ').advance;
    const float line_spacing = float(face->size->metrics.height) / units;
    float x = 0, y = float(pixel_size);
    layout.glyphs.clear();
    layout.left = layout.top = float(pixel_size);
    layout.right = layout.bottom = 0;
    uint32_t previous = 0;
    for (uint32_t code_point : code_points(text))
    {
        if (code_point == '\r')
            continue;
        x += kerning(face, previous, code_point);
        previous = code_point;
        if (code_point == ' ' || code_point == '\t' || code_point == '\n')
        {
            layout.left = std::min(layout.left, x), layout.top = std::min(layout.top, y);
            if (code_point == '\n')
                y += line_spacing, x = 0;
            else
                x += code_point == ' ' ? space : space * 4;
            layout.right = std::max(layout.right, x), layout.bottom = std::max(layout.bottom, y);
            continue;
        }
        const glyph_metrics glyph = metrics_of(face, code_point);
        layout.glyphs.push_back(placed_glyph{code_point, x, y, glyph.left, glyph.top, glyph.width, glyph.height});
        layout.left = std::min(layout.left, x + glyph.left);
        layout.right = std::max(layout.right, x + glyph.left + glyph.width);
        layout.top = std::min(layout.top, y + glyph.top);
        layout.bottom = std::max(layout.bottom, y + glyph.top + glyph.height);
        x += glyph.advance;
    }
    return true;
}

}  // namespace vollo_text
