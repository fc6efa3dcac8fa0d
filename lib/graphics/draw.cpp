#include "graphics.hpp"

void vollo_draw(vollo_picture *picture)
{
    // Only a picture's render target is a render texture.
    if (!picture || picture->type != VOLLO_PICTURE || !picture->render_target)
        return;
    static_cast<sf::RenderTexture *>(picture->render_target)->display();
}
