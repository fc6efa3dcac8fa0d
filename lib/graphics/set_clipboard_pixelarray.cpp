#include <cstdlib>
#include <cstring>

#include "clipboard_private.hpp"
#include "error/error.hpp"

bool vollo_set_clipboard_pixelarray(const vollo_pixelarray *array)
{
    if (!array || array->type != VOLLO_PIXELARRAY || !array->pixels || array->width == 0 || array->height == 0)
    {
        vollo_fail("vollo_set_clipboard_pixelarray: no picture given");
        return false;
    }
    vollo_internal::clipboard_connection *c = vollo_internal::open_clipboard("vollo_set_clipboard_pixelarray");
    if (!c)
        return false;
    uint64_t size = 0;
    uint8_t *png = vollo_encode_pixels(array->pixels, array->width, array->height, array->width, "clipboard.png", &size);
    if (!png)
        return false;
    c->png_bytes = std::make_shared<const std::vector<uint8_t>>(png, png + size);
    free(png);
    c->bmp_bytes.reset();
    c->width = array->width;
    c->height = array->height;
    c->pixels.assign(array->pixels, array->pixels + size_t(array->width) * array->height);
    XSetSelectionOwner(c->display, c->clipboard, c->window, CurrentTime);
    c->owner = XGetSelectionOwner(c->display, c->clipboard) == c->window;
    XFlush(c->display);
    if (!c->owner)
        vollo_fail("vollo_set_clipboard_pixelarray: the X server did not give the clipboard");
    return c->owner;
}
