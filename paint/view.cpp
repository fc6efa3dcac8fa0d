// The view of a document: which picture pixel lies under which screen pixel. The
// picture's corner sits on whole screen pixels, so at 100 % and above every picture
// pixel is a whole square of the screen.
#include <algorithm>
#include <cmath>

#include "document.h"

namespace
{

// Screen pixels covered by `size` picture pixels.
int64_t shown(uint32_t size, double zoom)
{
    return std::max<int64_t>(1, int64_t(std::ceil(size * zoom - 1e-9)));
}

int64_t clamp_axis(int64_t position, uint32_t size, double zoom, int64_t area)
{
    const int64_t extent = shown(size, zoom);
    if (extent <= area)
        return (area - extent) / 2;
    return std::min<int64_t>(0, std::max(position, area - extent));
}

// Picture pixel under screen offset `offset` from the picture's corner.
int64_t picture_index(int64_t offset, double zoom)
{
    return int64_t(std::floor((offset + 1e-9) / zoom));
}

}  // namespace

double view_fit(const paint_view *view)
{
    if (view->width == 0 || view->height == 0)
        return 1;
    return std::min({1.0, double(VIEW_WIDTH) / view->width, double(VIEW_HEIGHT) / view->height});
}

void view_reset(paint_view *view, uint32_t width, uint32_t height)
{
    view->width = width;
    view->height = height;
    view->zoom = view_fit(view);
    view_clamp(view);
}

void view_clamp(paint_view *view)
{
    view->left = clamp_axis(view->left, view->width, view->zoom, VIEW_WIDTH);
    view->top = clamp_axis(view->top, view->height, view->zoom, VIEW_HEIGHT);
}

void view_zoom(paint_view *view, double zoom, vollo_position anchor)
{
    const double ax = anchor.x - VIEW_LEFT, ay = anchor.y - VIEW_TOP;
    const double px = (ax - view->left) / view->zoom, py = (ay - view->top) / view->zoom;
    view->zoom = zoom;
    view->left = int64_t(std::floor(ax - px * zoom + 0.5));
    view->top = int64_t(std::floor(ay - py * zoom + 0.5));
    view_clamp(view);
}

double view_step(const paint_view *view, int32_t direction)
{
    const double exponent = std::log2(view->zoom);
    double zoom = direction > 0 ? std::exp2(std::floor(exponent + 1e-9) + 1)
                                : std::exp2(std::ceil(exponent - 1e-9) - 1);
    const double least = std::min(VIEW_LEAST_ZOOM, view_fit(view));
    return std::min(VIEW_MOST_ZOOM, std::max(least, zoom));
}

void view_scroll(paint_view *view, int64_t dx, int64_t dy)
{
    view->left += dx;
    view->top += dy;
    view_clamp(view);
}

void view_home(paint_view *view)
{
    view->left = 0;
    view->top = 0;
    view_clamp(view);
}

bool view_picture_point(const paint_view *view, vollo_position screen, vollo_position *point)
{
    const int64_t u = int64_t(screen.x) - VIEW_LEFT, v = int64_t(screen.y) - VIEW_TOP;
    if (u < 0 || v < 0 || u >= VIEW_WIDTH || v >= VIEW_HEIGHT)
        return false;
    const int64_t x = picture_index(u - view->left, view->zoom);
    const int64_t y = picture_index(v - view->top, view->zoom);
    if (x < 0 || y < 0 || x >= int64_t(view->width) || y >= int64_t(view->height))
        return false;
    *point = vollo_position{int32_t(x), int32_t(y)};
    return true;
}
