#include <cstring>
#include <string>
#include <vector>

#include "graphics.hpp"
#include "window_private.hpp"

namespace
{
// The window as the next vollo_display will show it: its back buffer, made opaque.
bool window_pixels(vollo_buffer *buffer, sf::Image &image)
{
    sf::RenderWindow *window = static_cast<sf::RenderWindow *>(buffer->render_target);
    sf::Texture texture;
    // The whole window, bars included: the record holds the logical size when one is set.
    if (!window || !texture.create(window->getSize().x, window->getSize().y))
        return false;
    vollo_internal::paint_bars(static_cast<vollo_window *>(buffer));
    texture.update(*window);
    image = texture.copyToImage();
    const sf::Vector2u size = image.getSize();
    for (unsigned int y = 0; y < size.y; ++y)
        for (unsigned int x = 0; x < size.x; ++x)
        {
            sf::Color color = image.getPixel(x, y);
            color.a = 255;
            image.setPixel(x, y, color);
        }
    return true;
}

// The buffer's pixels, 4 bytes each (R, G, B, A) row by row, into `pixels`.
bool read_pixels(vollo_buffer *buffer, std::vector<uint8_t> &pixels, uint32_t &width, uint32_t &height)
{
    sf::Image image;
    if (buffer->type == VOLLO_PIXELARRAY)
    {
        const vollo_clipable *array = static_cast<vollo_clipable *>(buffer);
        if (!array->pixels)
            return false;
        width = buffer->width;
        height = buffer->height;
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(array->pixels);
        pixels.assign(bytes, bytes + size_t(width) * height * 4);
        return true;
    }
    if (buffer->type == VOLLO_PICTURE)
    {
        const vollo_clipable *picture = static_cast<vollo_clipable *>(buffer);
        if (!picture->texture)
            return false;
        image = picture->texture->copyToImage();
    }
    else if (buffer->type != VOLLO_WINDOW || !window_pixels(buffer, image))
        return false;
    width = image.getSize().x;
    height = image.getSize().y;
    const uint8_t *bytes = image.getPixelsPtr();
    if (!bytes)
        return false;
    pixels.assign(bytes, bytes + size_t(width) * height * 4);
    return true;
}
}  // namespace

bool vollo_save_buffer(vollo_buffer *buffer, const char *path)
{
    if (!buffer || !path || *path == '\0')
    {
        vollo_fail("vollo_save_buffer: %s", !buffer ? "no buffer given" : "no path given");
        return false;
    }
    const vollo_graphics::image_format format = vollo_graphics::format_of(path);
    if (format == vollo_graphics::image_format::none)
    {
        vollo_fail("'%s': cannot write this format (use .png, .bmp, .tga or .jpg)", path);
        return false;
    }
    try
    {
        std::vector<uint8_t> pixels;
        uint32_t width = 0, height = 0;
        std::string bytes;
        vollo_graphics::quiet_sfml_errors quiet;
        if (!read_pixels(buffer, pixels, width, height))
            vollo_fail("cannot save '%s': the buffer's pixels cannot be read (no pixels, or no display)", path);
        else if (!vollo_graphics::encode_image(pixels.data(), width, height, format, bytes))
            vollo_fail("cannot save '%s': the %u x %u picture cannot be encoded (out of memory, or more than "
                       "2 GiB of pixels)", path, width, height);
        else
            return vollo_write_file(path, bytes.data(), bytes.size());
    }
    catch (const std::exception &)
    {
        vollo_fail("cannot save '%s': out of memory", path);
    }
    return false;
}
