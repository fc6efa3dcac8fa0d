#include <fstream>
#include <iterator>
#include <new>

#include "graphics/graphics.hpp"
#include "error/error.hpp"
#include "error/records.hpp"
#include "text.hpp"

vollo_font *vollo_load_font(const char *path)
{
    std::ifstream file;
    if (path)
        file.open(path, std::ios::binary);
    if (!path || !file)
    {
        vollo_fail_load(path, "cannot be read");
        return nullptr;
    }
    vollo_font *font = new (std::nothrow) vollo_font;
    if (!font)
    {
        vollo_fail("cannot load '%s': out of memory", path);
        return nullptr;
    }
    try
    {
        font->data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    catch (...)
    {
        delete font;
        vollo_fail_load(path, "cannot be read whole (out of memory, or a read error)");
        return nullptr;
    }
    // A directory opens as a stream but reads as nothing; so does an empty file.
    vollo_graphics::quiet_sfml_errors quiet;
    if (file.bad() || font->data.empty() || !font->font.loadFromMemory(font->data.data(), font->data.size()) ||
        !vollo_text::open_face(font))
    {
        delete font;
        vollo_fail_load(path, "not a font that can be read (TrueType, OpenType or Type 1)");
        return nullptr;
    }
    vollo_track(font, "font", "vollo_load_font", 0, 0);
    return font;
}
