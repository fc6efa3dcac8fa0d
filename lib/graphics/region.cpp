// Clip arithmetic shared by the blits and the software drawing.
#include <algorithm>

#include "graphics.hpp"

namespace vollo_graphics
{

region intersect(const region &a, const region &b)
{
    int64_t left = std::max(a.x, b.x);
    int64_t top = std::max(a.y, b.y);
    int64_t right = std::min(a.x + a.width, b.x + b.width);
    int64_t bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top)
        return region{left, top, 0, 0};
    return region{left, top, right - left, bottom - top};
}

// A clip rectangle may reach outside the clipable (programs set it freely); only
// the part inside is ever read.
region clip_inside(const vollo_clipable *clipable)
{
    region clip{clipable->clip_x, clipable->clip_y, clipable->clip_width, clipable->clip_height};
    region whole{0, 0, clipable->width, clipable->height};
    return intersect(clip, whole);
}

region blit_target(const vollo_pixelarray *destination, const vollo_clipable *source,
                   vollo_position position, int64_t *shift_x, int64_t *shift_y)
{
    region area = clip_inside(source);
    *shift_x = int64_t(position.x) - source->clip_x;
    *shift_y = int64_t(position.y) - source->clip_y;
    return intersect(region{area.x + *shift_x, area.y + *shift_y, area.width, area.height},
                     region{0, 0, destination->width, destination->height});
}

}  // namespace vollo_graphics
