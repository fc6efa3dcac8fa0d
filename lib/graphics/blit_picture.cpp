// A picture source: drawn through SFML with its clip rectangle, origin, scale and
// rotation, or copied pixel by pixel onto a pixel array.
#include "graphics.hpp"

namespace vollo_graphics
{

void blit_picture(vollo_buffer *destination, vollo_picture *source, const vollo_position *position,
                  const sf::Shader *shader)
{
    if (!source->render_target)
        return;
    attach_texture(source);
    sf::Sprite &sprite = sprite_of(source);
    sprite.setTextureRect(sf::IntRect(source->clip_x, source->clip_y, source->clip_width, source->clip_height));
    sprite.setPosition(float(position->x), float(position->y));
    sprite.setOrigin(float(source->origin_x), float(source->origin_y));
    sprite.setScale(float(source->scale_x), float(source->scale_y));
    sprite.setRotation(float(source->rotation));

    if (destination->type == VOLLO_PIXELARRAY)
    {
        copy_picture_to_pixelarray(static_cast<vollo_pixelarray *>(destination), source, *position);
        return;
    }
    sf::RenderTarget *target = render_target_of(destination);
    if (!target)
        return;
    target->draw(sprite, shader ? sf::RenderStates(shader) : sf::RenderStates::Default);
}

// The picture's clip region lands with its top-left corner at the position, as
// it does on the window; pixels outside the destination are skipped. Origin,
// scale and rotation are not applied, and nothing is blended; the tint is.
void copy_picture_to_pixelarray(vollo_pixelarray *destination, vollo_picture *source, vollo_position position)
{
    if (!destination->pixels)
        return;
    sf::Image image = source->texture->copyToImage();
    region clip{source->clip_x, source->clip_y, source->clip_width, source->clip_height};
    region inside = intersect(clip, region{0, 0, image.getSize().x, image.getSize().y});
    int64_t shift_x = int64_t(position.x) - clip.x;
    int64_t shift_y = int64_t(position.y) - clip.y;
    region target{inside.x + shift_x, inside.y + shift_y, inside.width, inside.height};
    target = intersect(target, region{0, 0, destination->width, destination->height});
    if (target.empty())
        return;
    const uint8_t *bytes = image.getPixelsPtr();
    // The tint multiplies every channel, as it does on the GPU (white: no change).
    const sf::Color tint = sprite_of(source).getColor();
    const uint32_t factor[4] = {tint.r, tint.g, tint.b, tint.a};
    auto tinted = [&](const uint8_t *from, int channel) { return (uint32_t(from[channel]) * factor[channel] + 127) / 255; };
    for (int64_t y = target.y; y < target.y + target.height; ++y)
    {
        uint32_t *row = destination->pixels + size_t(y) * destination->width;
        const uint8_t *from = bytes + (size_t(y - shift_y) * image.getSize().x + size_t(target.x - shift_x)) * 4;
        for (int64_t x = target.x; x < target.x + target.width; ++x, from += 4)
            row[x] = tinted(from, 0) | tinted(from, 1) << 8 | tinted(from, 2) << 16 | tinted(from, 3) << 24;
    }
}

}  // namespace vollo_graphics
