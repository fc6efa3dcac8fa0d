// Private helpers of the shapes and the built-in text: every shape is cut into
// horizontal runs of pixels (spans), and one span painter draws them on any kind of
// buffer, clipped and blended, so that a shape covers the same pixels everywhere.
#ifndef VOLLO_SHAPES_HPP
#define VOLLO_SHAPES_HPP

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/graphics.hpp"

namespace vollo_shapes
{

using vollo_graphics::region;

// Colour `color` laid over `under` with the blend rule stated in vollo.h.
uint32_t blend_over(uint32_t color, uint32_t under);

// The rectangle of a buffer that drawing may touch: the window's whole area, or
// an off-screen buffer's clip rectangle cut to its size. Empty for unknown types.
region drawable_area(const vollo_buffer *buffer);

// Draws spans of one colour on a buffer. Pixel arrays are written at once;
// spans on the window or a picture are gathered as quads and drawn by finish()
// (or the destructor) in one call with default (blending) render states.
class span_painter
{
public:
    span_painter(vollo_buffer *buffer, uint32_t color);
    ~span_painter() { finish(); }
    span_painter(const span_painter &) = delete;
    span_painter &operator=(const span_painter &) = delete;

    // Pixels first..last (inclusive) of row y, cut to the drawable area.
    void span(int64_t y, int64_t first, int64_t last);
    // Rows top..bottom of the same span.
    void block(int64_t top, int64_t bottom, int64_t first, int64_t last);
    void finish();
    const region &area() const { return area_; }

private:
    vollo_buffer *buffer_;
    uint32_t color_;
    region area_;
    std::vector<sf::Vertex> vertices_;
};

// Pixels first..last of one row of a shape; empty when first > last.
struct row_span
{
    int64_t first;
    int64_t last;
    bool empty() const { return first > last; }
};

// The span of a shape on each row; rows outside the shape give an empty span.
using span_of_row = std::function<row_span(int64_t y)>;

// Draws the rows top..bottom of a convex shape (one span per row), filled or as
// its outline: the pixels of the filled shape with a side-neighbour outside it.
// Only rows inside the drawable area are visited.
void draw_rows(span_painter &painter, int64_t top, int64_t bottom, const span_of_row &span_at, bool filled);

// The span of row y of the ellipse with radii a, b > 0 around the corner point
// (cx, cy): pixels whose centres lie inside or on it.
row_span ellipse_span(int64_t cx, int64_t cy, int64_t a, int64_t b, int64_t y);

}  // namespace vollo_shapes

#endif
