#include "graphics.hpp"

vollo_picture *vollo_new_picture(uint32_t width, uint32_t height)
{
    vollo_picture *picture = vollo_graphics::new_picture_record(width, height);
    if (!picture)
        return nullptr;
    sf::RenderTexture *target = static_cast<sf::RenderTexture *>(picture->render_target);
    target->clear(sf::Color(0, 0, 0, 0));
    target->display();
    target->setSmooth(true);
    vollo_graphics::attach_texture(picture);
    return picture;
}
