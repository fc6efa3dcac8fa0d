// Construction shared by vollo_new_picture and vollo_load_picture.
#include <new>

#include "error/error.hpp"
#include "graphics.hpp"

namespace vollo_graphics
{

vollo_picture *new_picture_record(uint32_t width, uint32_t height)
{
    vollo_picture *picture = new (std::nothrow) vollo_picture();
    sf::Sprite *sprite = picture ? new (std::nothrow) sf::Sprite() : nullptr;
    if (!sprite)
    {
        delete picture;
        vollo_fail("cannot make a %u x %u picture: out of memory", width, height);
        return nullptr;
    }
    picture->sprite = sprite;
    // Default context settings: no depth buffer. A render texture that could not
    // be created would pass for a picture with no pixels at all; refuse it instead.
    // Without a display SFML aborts while making the render texture: the trap
    // makes that a failure too (the half-made render texture is then abandoned).
    struct creation
    {
        uint32_t width, height;
        sf::RenderTexture *target;
        bool created;
    } request = {width, height, nullptr, false};
    auto create = [](void *context) {
        creation *request = static_cast<creation *>(context);
        request->target = new (std::nothrow) sf::RenderTexture();
        request->created =
            request->target && request->target->create(request->width, request->height, sf::ContextSettings());
    };
    bool survived;
    {
        quiet_sfml_errors quiet;
        survived = run_trapping_abort(create, &request);
    }
    sf::RenderTexture *target = request.target;
    if (!survived || !request.created)
    {
        if (!survived)
            vollo_fail("cannot make a %u x %u picture: no display (set DISPLAY or run under Xvfb)", width, height);
        else
            vollo_fail("cannot make a %u x %u picture: the GPU refused a render texture of that size", width, height);
        if (survived)
            delete target;
        delete sprite;
        delete picture;
        if (!survived)
            vollo_fail("cannot make a %u x %u picture: no display could be reached (pictures live on the GPU; "
                       "pixel arrays need no display)", width, height);
        else
            vollo_fail("cannot make a %u x %u picture: the graphics driver refused it (each side must be 1 to %u)",
                       width, height, sf::Texture::getMaximumSize());
        return nullptr;
    }
    picture->render_target = target;
    picture->type = VOLLO_PICTURE;
    picture->width = target->getSize().x;
    picture->height = target->getSize().y;
    picture->clip_x = 0;
    picture->clip_y = 0;
    picture->clip_width = int32_t(picture->width);
    picture->clip_height = int32_t(picture->height);
    picture->origin_x = 0.0;
    picture->origin_y = 0.0;
    picture->scale_x = 1.0;
    picture->scale_y = 1.0;
    picture->rotation = 0.0;
    vollo_track(picture, "picture", "vollo_new_picture", picture->width, picture->height);
    return picture;
}

void attach_texture(vollo_picture *picture)
{
    sf::RenderTexture *target = static_cast<sf::RenderTexture *>(picture->render_target);
    picture->texture = &target->getTexture();
    sprite_of(picture).setTexture(*picture->texture, false);
}

}  // namespace vollo_graphics
