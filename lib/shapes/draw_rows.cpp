// Filled shapes and their outlines, row by row.
#include <algorithm>

#include "shapes.hpp"

namespace vollo_shapes
{

void draw_rows(span_painter &painter, int64_t top, int64_t bottom, const span_of_row &span_at, bool filled)
{
    const region &area = painter.area();
    if (area.empty())
        return;
    // Rows outside the drawable area are never visited, however large the shape.
    const int64_t first_row = std::max(top, area.y), last_row = std::min(bottom, area.y + area.height - 1);
    for (int64_t y = first_row; y <= last_row; ++y)
    {
        const row_span here = span_at(y);
        if (here.empty())
            continue;
        if (filled)
        {
            painter.span(y, here.first, here.last);
            continue;
        }
        // Inner pixels: inside on this row, and above and below too.
        const row_span above = y > top ? span_at(y - 1) : row_span{1, 0};
        const row_span below = y < bottom ? span_at(y + 1) : row_span{1, 0};
        const int64_t inner_first = std::max({here.first + 1, above.first, below.first});
        const int64_t inner_last = std::min({here.last - 1, above.last, below.last});
        if (above.empty() || below.empty() || inner_first > inner_last)
        {
            painter.span(y, here.first, here.last);
            continue;
        }
        painter.span(y, here.first, inner_first - 1);
        painter.span(y, inner_last + 1, here.last);
    }
}

}  // namespace vollo_shapes
