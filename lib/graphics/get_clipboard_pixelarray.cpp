#include <cstdlib>
#include <string>

#include "clipboard_private.hpp"
#include "error/error.hpp"
#include "image/image.hpp"

#include <X11/Xatom.h>

namespace
{

const int patience_ms = 3000;

// The kind asked for: a picture in PNG, else BMP, else a list naming picture files;
// None when the owner offers none of them.
Atom best_target(vollo_internal::clipboard_connection *c)
{
    std::vector<uint8_t> bytes;
    Atom type = None;
    if (!vollo_internal::receive_selection(c, c->targets, bytes, &type, patience_ms) || type != XA_ATOM)
        return c->png;  // an owner that does not list its targets may still give a picture
    const Atom *offered = reinterpret_cast<const Atom *>(bytes.data());
    const size_t count = bytes.size() / sizeof(long);
    for (Atom wanted : {c->png, c->bmp, c->uri_list})
        for (size_t i = 0; i < count; ++i)
            if (offered[i] == wanted)
                return wanted;
    return None;
}

int hex_value(char h)
{
    return h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
}

// The path of the first file:// entry of a uri-list, its %XX escapes decoded; "" for none.
std::string first_file(const std::vector<uint8_t> &list)
{
    const std::string text(list.begin(), list.end());
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, 7, "file://") != 0)
            continue;
        line.erase(0, 7);
        if (line.compare(0, 9, "localhost") == 0)
            line.erase(0, 9);
        std::string path;
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '%' && i + 2 < line.size() + 0 && hex_value(line[i + 1]) >= 0 && hex_value(line[i + 2]) >= 0)
            {
                path += char(hex_value(line[i + 1]) * 16 + hex_value(line[i + 2]));
                i += 2;
            }
            else
                path += line[i];
        return path;
    }
    return "";
}

// The picture in system memory, outside the arena, so that a screenshot of any size fits.
vollo_pixelarray *decode(const std::vector<uint8_t> &bytes)
{
    uint32_t width = 0, height = 0;
    uint32_t *pixels = vollo_decode_bytes(bytes.data(), bytes.size(), &width, &height, nullptr);
    if (!pixels)
    {
        const std::string reason = vollo_error();
        vollo_fail("the clipboard's picture cannot be read: %s", reason.c_str());
        return nullptr;
    }
    vollo_pixelarray *array = vollo_adopt_pixels(pixels, width, height);
    if (!array)
        free(pixels);
    return array;
}

}  // namespace

vollo_pixelarray *vollo_get_clipboard_pixelarray(void)
{
    vollo_internal::clipboard_connection *c = vollo_internal::open_clipboard("vollo_get_clipboard_pixelarray");
    if (!c)
        return nullptr;
    if (c->owner && XGetSelectionOwner(c->display, c->clipboard) == c->window)
        return decode(*c->png_bytes);
    if (XGetSelectionOwner(c->display, c->clipboard) == None)
    {
        vollo_fail("the clipboard is empty");
        return nullptr;
    }
    const Atom target = best_target(c);
    std::vector<uint8_t> bytes;
    Atom type = None;
    if (target == None)
    {
        vollo_fail("the clipboard holds no picture (neither image/png, image/bmp nor text/uri-list)");
        return nullptr;
    }
    if (!vollo_internal::receive_selection(c, target, bytes, &type, patience_ms))
        return nullptr;
    if (target != c->uri_list)
        return decode(bytes);
    const std::string path = first_file(bytes);
    if (path.empty())
    {
        vollo_fail("the clipboard's list of files names no local file");
        return nullptr;
    }
    return vollo_load_pixelarray(path.c_str());
}
