#include <memory>
#include <new>

#include "graphics.hpp"

vollo_picture *vollo_load_picture(const char *path)
{
    // A file that cannot be read fails before the display is touched.
    if (vollo_fail_unreadable(path))
        return nullptr;
    // The texture needs a display; without one, SFML's abort is trapped and
    // loading fails.
    struct loading
    {
        const char *path;
        sf::Texture *texture;
        bool loaded;
    } request = {path, nullptr, false};
    auto load = [](void *context) {
        loading *request = static_cast<loading *>(context);
        request->texture = new (std::nothrow) sf::Texture();
        // The empty rectangle asks for the whole image.
        request->loaded = request->texture && request->texture->loadFromFile(request->path, sf::IntRect(0, 0, 0, 0));
    };
    bool survived;
    {
        vollo_graphics::quiet_sfml_errors quiet;
        survived = vollo_graphics::run_trapping_abort(load, &request);
    }
    if (!survived)
    {
        vollo_fail("cannot load '%s': no display could be reached (pictures live on the GPU; "
                   "vollo_load_pixelarray needs no display)", path);
        return nullptr;
    }
    std::unique_ptr<sf::Texture> owned(request.texture);
    if (!request.loaded)
    {
        vollo_fail_load(path, "not a picture that can be decoded (damaged, of an unsupported kind, or larger "
                              "than the GPU's textures)");
        return nullptr;
    }
    const sf::Texture &loaded = *owned;
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
    vollo_track(picture, "picture", "vollo_load_picture", picture->width, picture->height);
    return picture;
}
