#include "graphics.hpp"

vollo_picture *vollo_load_picture(const char *path)
{
    if (!path)
        return nullptr;
    sf::Texture loaded;
    {
        vollo_graphics::quiet_sfml_errors quiet;
        // The empty rectangle asks for the whole image.
        if (!loaded.loadFromFile(path, sf::IntRect(0, 0, 0, 0)))
            return nullptr;
    }
    sf::Sprite sprite(loaded);

    vollo_picture *picture = vollo_graphics::new_picture_record(loaded.getSize().x, loaded.getSize().y);
    if (!picture)
        return nullptr;
    sf::RenderTexture *target = static_cast<sf::RenderTexture *>(picture->render_target);
    target->clear(sf::Color(0, 0, 0, 0));
    target->draw(sprite, sf::RenderStates::Default);
    target->display();
    // Unlike a new picture, a loaded one keeps sharp (nearest) filtering.
    vollo_graphics::attach_texture(picture);
    return picture;
}
