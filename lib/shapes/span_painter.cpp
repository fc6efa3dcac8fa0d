// Span drawing shared by the shapes and the built-in font.
#include <algorithm>

#include "shapes.hpp"

namespace vollo_shapes
{

// round(x / 255) in each 16-bit lane of `lanes` (each at most 255 * 255), without
// a division; lanes are the low halves of the two 16-bit halves of each 32 bits.
static uint32_t divide_lanes_by_255(uint32_t lanes)
{
    lanes += 0x00800080;
    return ((lanes + ((lanes >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
}

// Red and blue share one multiplication, green and the alpha term another.
uint32_t blend_over(uint32_t color, uint32_t under)
{
    const uint32_t alpha = color >> 24;
    if (alpha == 255)
        return color;
    if (alpha == 0)
        return under;
    const uint32_t rest = 255 - alpha;
    const uint32_t red_blue = divide_lanes_by_255((color & 0x00FF00FF) * alpha + (under & 0x00FF00FF) * rest);
    const uint32_t green_alpha =
        divide_lanes_by_255(((color >> 8) & 0xFF) * alpha + ((under >> 8) & 0x00FF00FF) * rest);
    return red_blue | (green_alpha & 0xFF) << 8 | ((green_alpha >> 16) + alpha) << 24;
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
        // Whole rows are one run of memory.
        if (color_ >> 24 == 255 && first == 0 && last + 1 == int64_t(array->width))
        {
            std::fill(array->pixels + size_t(top) * array->width, array->pixels + size_t(bottom + 1) * array->width,
                      color_);
            return;
        }
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
