// A picture loaded from a file, scaled and turning, with a sound on the space bar.
//
// Shows: loading a picture and a sound effect, a picture's origin, scale and
// rotation, blitting onto the window, and playing an effect from a key response.
// Options: --picture PATH, --sound PATH (defaults: the files in examples/assets),
// --frames N. Escape ends it.
#include <cmath>
#include <cstdio>

#include "example_args.hpp"
#include "vollo.h"

#ifndef VOLLO_EXAMPLE_ASSETS
#define VOLLO_EXAMPLE_ASSETS "examples/assets"
#endif

namespace
{
struct Scene
{
    vollo_window *window;
    vollo_picture *badge;
    vollo_sound *blip;
    long frame;
    long frames_left;
};

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_SPACE)
    {
        vollo_sound_stop(scene.blip);  // start over if it is still playing
        vollo_sound_play(scene.blip);
    }
    return VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    ++scene.frame;

    // The picture turns around its origin, which is placed at the blit position,
    // and breathes between 1.5 and 2.5 times its size.
    scene.badge->rotation = scene.frame * 3.0;
    const double scale = 2.0 + 0.5 * std::sin(scene.frame * 0.05);
    scene.badge->scale_x = scale;
    scene.badge->scale_y = scale;

    vollo_fill(scene.window, 0xFF303030);
    const vollo_position centre = {160, 120};
    vollo_blit(scene.window, scene.badge, &centre);
    const bool last = example_last_frame(scene.frames_left, scene.window);
    vollo_display(scene.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *picture_path = VOLLO_EXAMPLE_ASSETS "/badge.png";
    const char *sound_path = VOLLO_EXAMPLE_ASSETS "/blip.wav";
    Scene scene = {};
    scene.frames_left = example_frames(argc, argv, "--picture", &picture_path);
    example_frames(argc, argv, "--sound", &sound_path);

    scene.window = vollo_start(320, 240, false, "vollo: spinning picture (space: sound)");
    if (scene.window == nullptr)
        return 1;
    // Pictures live on the GPU: load them once a window (and its GL context) exists.
    scene.badge = vollo_load_picture(picture_path);
    scene.blip = vollo_load_effect(sound_path);
    if (scene.badge == nullptr || scene.blip == nullptr)
    {
        std::fprintf(stderr, "cannot load %s or %s\n", picture_path, sound_path);
        vollo_delete_clipable(scene.badge);
        vollo_delete_sound(scene.blip);
        vollo_stop(scene.window);
        return 1;
    }
    // Turn around the picture's centre rather than its top-left corner.
    scene.badge->origin_x = scene.badge->width / 2.0;
    scene.badge->origin_y = scene.badge->height / 2.0;
    vollo_sound_volume(scene.blip, 80);

    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(scene.window, 60, &scene);

    vollo_delete_sound(scene.blip);
    vollo_delete_clipable(scene.badge);
    vollo_stop(scene.window);
    return result == 0 || result == 1 ? 0 : 1;
}
