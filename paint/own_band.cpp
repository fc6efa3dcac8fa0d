// Whether a window-sized picture carries PIXODRAW's own tool band (a drawing saved from a
// blank start): white band, the seven black separators and the hatched lower edge.
#include "interface.h"

bool own_band(const vollo_pixelarray *canvas)
{
    if (canvas == nullptr || canvas->width != PAINT_WIDTH || canvas->height != PAINT_HEIGHT)
        return false;
    auto rgb = [&](int32_t x, int32_t y)
    { return canvas->pixels[size_t(y) * canvas->width + x] & 0xFFFFFFu; };
    const paint_rect band = PAINT_LAYOUT.band;
    for (int32_t x : PAINT_LAYOUT.separators)
        for (int32_t y = band.y0; y <= band.y1; y += 19)
            if (rgb(x, y) != 0)
                return false;
    for (int32_t x = 3; x < band.x1; x += 3)
        if (rgb(x, PAINT_LAYOUT.hatch_top) != 0 || rgb(x + 1, PAINT_LAYOUT.hatch_top) != 0xFFFFFFu)
            return false;
    return rgb(band.x0, band.y0) == 0xFFFFFFu && rgb(band.x1, band.y0) == 0xFFFFFFu;
}
