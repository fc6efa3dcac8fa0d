// Lines and triangles drawn on a picture (by SFML, on the GPU) and on a pixel
// array (by the library, in memory), side by side.
//
// Shows: vollo_set_line and vollo_set_polygon with per-corner colours, which work
// the same on both kinds of buffer, vollo_draw to finish drawing on a picture, and
// blitting both onto the window. Escape ends it; --frames N after N frames.
#include "example_args.hpp"
#include "vollo.h"

namespace
{
const uint32_t kRed = 0xFF0000FF, kGreen = 0xFF00FF00, kBlue = 0xFFFF0000, kWhite = 0xFFFFFFFF;

// The same drawing for any buffer: a fan of lines and two shaded triangles.
void draw_shapes(vollo_buffer *buffer)
{
    for (int32_t x = 0; x < 150; x += 15)
    {
        const vollo_position ends[2] = {{0, 0}, {x, 149}};
        const uint32_t colors[2] = {kWhite, kBlue};  // fades along the line
        vollo_set_line(buffer, ends, colors);
    }
    const vollo_position big[3] = {{75, 10}, {145, 130}, {20, 100}};
    const uint32_t big_colors[3] = {kRed, kGreen, kBlue};
    vollo_set_polygon(buffer, big, big_colors);
    const vollo_position small[3] = {{100, 20}, {140, 20}, {140, 60}};
    const uint32_t small_colors[3] = {kWhite, kWhite, kRed};
    vollo_set_polygon(buffer, small, small_colors);
}

struct Scene
{
    vollo_window *window;
    vollo_picture *picture;
    vollo_pixelarray *pixels;
    long frames_left;
};

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    vollo_fill(scene.window, 0xFF202020);
    const vollo_position left = {10, 10}, right = {170, 10};
    vollo_blit(scene.window, scene.picture, &left);
    vollo_blit(scene.window, scene.pixels, &right);
    const bool last = example_last_frame(scene.frames_left, scene.window);
    vollo_display(scene.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    Scene scene = {};
    scene.frames_left = example_frames(argc, argv);
    scene.window = vollo_start(330, 170, false, "vollo: lines and triangles");
    if (scene.window == nullptr)
        return 1;
    scene.picture = vollo_new_picture(150, 150);     // starts fully transparent
    scene.pixels = vollo_new_pixelarray(150, 150);   // starts 0xFFB469FF everywhere
    if (scene.picture == nullptr || scene.pixels == nullptr)
    {
        vollo_delete_clipable(scene.picture);
        vollo_delete_clipable(scene.pixels);
        vollo_stop(scene.window);
        return 1;
    }

    // Both are drawn once; the main loop only shows them.
    vollo_fill(scene.picture, 0xFF000000);
    draw_shapes(scene.picture);
    vollo_draw(scene.picture);  // what was drawn on a picture shows after vollo_draw
    vollo_fill(scene.pixels, 0xFF000000);
    draw_shapes(scene.pixels);

    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(scene.window, 30, &scene);

    vollo_delete_clipable(scene.picture);
    vollo_delete_clipable(scene.pixels);
    vollo_stop(scene.window);
    return result == 0 || result == 1 ? 0 : 1;
}
