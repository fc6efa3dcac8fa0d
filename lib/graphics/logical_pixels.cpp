// Primitives on a window with a logical size, drawn in whole logical pixels.
#include "graphics.hpp"

namespace vollo_graphics
{

bool draws_logical_pixels(const vollo_buffer *buffer)
{
    return buffer->type == VOLLO_WINDOW && static_cast<const vollo_window *>(buffer)->logical_width != 0;
}

void logical_pixels::operator()(int64_t x, int64_t y, uint32_t color)
{
    const float right = float(x + 1);
    if (y == last_y_ && x == last_x_ + 1 && color == last_color_ && !vertices_.empty())
    {
        // Widens the latest box: its right corners are vertices 1, 2 and 4 of 6.
        const size_t box = vertices_.size() - 6;
        for (size_t corner : {box + 1, box + 2, box + 4})
            vertices_[corner].position.x = right;
    }
    else
    {
        const sf::Color shade = to_sf_color(color);
        const float left = float(x), upper = float(y), lower = float(y + 1);
        for (const sf::Vector2f corner : {sf::Vector2f(left, upper), sf::Vector2f(right, upper),
                                          sf::Vector2f(right, lower), sf::Vector2f(left, upper),
                                          sf::Vector2f(right, lower), sf::Vector2f(left, lower)})
            vertices_.emplace_back(corner, shade);
    }
    last_x_ = x;
    last_y_ = y;
    last_color_ = color;
}

logical_pixels::~logical_pixels()
{
    if (!vertices_.empty())
        draw_vertices(window_, vertices_.data(), vertices_.size(), sf::Triangles);
}

}  // namespace vollo_graphics
