// Span drawing shared by the shapes and the built-in font.
#include <algorithm>

#include "shapes.hpp"

namespace vollo_shapes
{

// round(x / 255) for 0 <= x <= 255 * 255, without a division.
static uint32_t divide_by_255(uint32_t x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

uint32_t blend_over(uint32_t color, uint32_t under)
{
    const uint32_t alpha = color >> 24;
    if (alpha == 255)
        return color;
    if (alpha == 0)
        return under;
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        uint32_t top = (color >> shift) & 0xFF, bottom = (under >> shift) & 0xFF;
        result |= divide_by_255(top * alpha + bottom * (255 - alpha)) << shift;
    }
    return result | (alpha + divide_by_255((under >> 24) * (255 - alpha))) << 24;
}

region drawable_area(const vollo_buffer *buffer)
{
    if (buffer->type == VOLLO_WINDOW)
        return region{0, 0, buffer->width, buffer->height};
    if (buffer->type == VOLLO_PICTURE || buffer->type == VOLLO_PIXELARRAY)
    {
        const vollo_clipable *clipable = static_cast<const vollo_clipable *>(buffer);
        if (buffer->type == VOLLO_PIXELARRAY && !clipable->pixels)
            return region{0, 0, 0, 0};
        return vollo_graphics::clip_inside(clipable);
    }
    return region{0, 0, 0, 0};
}

span_painter::span_painter(vollo_buffer *buffer, uint32_t color)
    : buffer_(buffer), color_(color), area_(drawable_area(buffer))
{
    // A colour without alpha changes nothing anywhere.
    if (color >> 24 == 0)
        area_ = region{0, 0, 0, 0};
}

void span_painter::span(int64_t y, int64_t first, int64_t last)
{
    block(y, y, first, last);
}

void span_painter::block(int64_t top, int64_t bottom, int64_t first, int64_t last)
{
    top = std::max(top, area_.y);
    bottom = std::min(bottom, area_.y + area_.height - 1);
    first = std::max(first, area_.x);
    last = std::min(last, area_.x + area_.width - 1);
    if (area_.empty() || top > bottom || first > last)
        return;
    if (buffer_->type == VOLLO_PIXELARRAY)
    {
        vollo_pixelarray *array = static_cast<vollo_pixelarray *>(buffer_);
        for (int64_t y = top; y <= bottom; ++y)
        {
            uint32_t *row = array->pixels + size_t(y) * array->width;
            if (color_ >> 24 == 255)
                std::fill(row + first, row + last + 1, color_);
            else
                for (int64_t x = first; x <= last; ++x)
                    row[x] = blend_over(color_, row[x]);
        }
        return;
    }
    // Whole-pixel rectangles: the GPU covers exactly the pixels inside them.
    const sf::Color color = vollo_graphics::to_sf_color(color_);
    const float left = float(first), right = float(last + 1), upper = float(top), lower = float(bottom + 1);
    const sf::Vector2f corners[6] = {{left, upper}, {right, upper}, {right, lower},
                                     {left, upper}, {right, lower}, {left, lower}};
    for (const sf::Vector2f &corner : corners)
        vertices_.emplace_back(corner, color);
}

void span_painter::finish()
{
    if (vertices_.empty())
        return;
    vollo_graphics::draw_vertices(buffer_, vertices_.data(), vertices_.size(), sf::Triangles);
    vertices_.clear();
}

}  // namespace vollo_shapes
