// The picture on the system clipboard, taken as a document's pixels.
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "interface.h"
#include "terminal.h"

uint32_t *clipboard_picture(char *path, size_t room, uint32_t *width, uint32_t *height)
{
    vollo_pixelarray *picture = vollo_get_clipboard_pixelarray();
    if (picture == nullptr)
        return nullptr;
    const size_t count = size_t(picture->width) * picture->height;
    uint32_t *pixels = static_cast<uint32_t *>(malloc(count * 4));
    if (pixels != nullptr)
        memcpy(pixels, picture->pixels, count * 4);
    *width = picture->width;
    *height = picture->height;
    vollo_delete_clipable(picture);
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(path, room, "clipboard-%Y%m%d-%H%M%S.png", &local);
    return pixels;
}
