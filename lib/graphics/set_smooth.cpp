#include "graphics.hpp"

void vollo_set_smooth(vollo_picture *picture, bool smooth)
{
    if (picture && picture->type == VOLLO_PICTURE && picture->render_target)
        static_cast<sf::RenderTexture *>(picture->render_target)->setSmooth(smooth);
}
