#include <fstream>
#include <iterator>
#include <new>

#include "graphics/graphics.hpp"
#include "text.hpp"

vollo_font *vollo_load_font(const char *path)
{
    if (!path)
        return nullptr;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    vollo_font *font = new (std::nothrow) vollo_font;
    if (!font)
        return nullptr;
    try
    {
        font->data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    catch (...)
    {
        delete font;
        return nullptr;
    }
    // A directory opens as a stream but reads as nothing; so does an empty file.
    vollo_graphics::quiet_sfml_errors quiet;
    if (file.bad() || font->data.empty() || !font->font.loadFromMemory(font->data.data(), font->data.size()))
    {
        delete font;
        return nullptr;
    }
    return font;
}
