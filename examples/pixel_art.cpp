// A pixel-art scene drawn at 160 x 90 pixels and shown as large as the window
// allows, in whole-pixel steps, whatever the window's size.
//
// Shows: vollo_set_logical_size (drawing and mouse positions in logical pixels,
// kept across resizes, black bars around), whole or fractional scale factors,
// vollo_key_down for held keys, and shapes drawn at a small resolution.
// Keys: arrows move the cat, W switches whole factors on and off, 1/2/3 set the
// window to 1, 2.5 or 4 times the scene, Escape quits. Resizing the window works
// too. --frames N ends it after N frames.
#include <algorithm>
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const uint32_t kWidth = 160, kHeight = 90;  // the logical resolution

struct Scene
{
    vollo_window *window;
    bool whole_factors;
    double cat_x;  // left edge of the cat, in logical pixels
    long frames_left;
};

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_W)
    {
        scene.whole_factors = !scene.whole_factors;
        vollo_set_logical_size(scene.window, kWidth, kHeight, scene.whole_factors);
    }
    // The logical size holds when the window changes size.
    const double factors[3] = {1, 2.5, 4};
    if (key >= VOLLO_KEY_1 && key <= VOLLO_KEY_3)
        vollo_set_size(scene.window, uint32_t(kWidth * factors[key - VOLLO_KEY_1]),
                       uint32_t(kHeight * factors[key - VOLLO_KEY_1]));
    return VOLLO_CONTINUE;
}

// A cat of a few rectangles, its feet on y = 70.
void draw_cat(vollo_window *window, int x)
{
    const uint32_t fur = VOLLO_RGB(240, 150, 60), dark = VOLLO_RGB(90, 50, 20);
    vollo_set_rectangle(window, {x, 60}, 12, 7, fur, true);         // body
    vollo_set_rectangle(window, {x + 10, 55}, 7, 6, fur, true);     // head
    vollo_set_rectangle(window, {x + 10, 53}, 2, 2, fur, true);     // ears
    vollo_set_rectangle(window, {x + 15, 53}, 2, 2, fur, true);
    vollo_set_pixel(window, {x + 12, 57}, dark);                     // eyes
    vollo_set_pixel(window, {x + 15, 57}, dark);
    vollo_set_rectangle(window, {x - 3, 58}, 3, 1, fur, true);      // tail
    for (int leg : {1, 4, 8, 10})
        vollo_set_rectangle(window, {x + leg, 67}, 1, 3, dark, true);
}

vollo_response each_frame(void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    vollo_window *window = scene.window;
    const double step = 40 * std::min(vollo_get_frame_time(), 0.05);  // 40 logical pixels a second
    if (vollo_key_down(VOLLO_KEY_LEFT))
        scene.cat_x = std::max(0.0, scene.cat_x - step);
    if (vollo_key_down(VOLLO_KEY_RIGHT))
        scene.cat_x = std::min(double(kWidth - 17), scene.cat_x + step);

    // Everything below is in the 160 x 90 space: the sky in bands, a sun, hills, grass.
    for (int band = 0; band < 7; ++band)
        vollo_set_rectangle(window, {0, band * 10}, kWidth, 10, VOLLO_RGB(60 + band * 20, 110 + band * 15, 220), true);
    vollo_set_circle(window, {128, 20}, 9, VOLLO_YELLOW, true);
    vollo_set_ellipse(window, {40, 72}, 60, 22, VOLLO_RGB(60, 150, 70), true);
    vollo_set_ellipse(window, {125, 74}, 50, 16, VOLLO_RGB(40, 120, 60), true);
    vollo_set_rectangle(window, {0, 70}, kWidth, 20, VOLLO_RGB(90, 60, 40), true);
    draw_cat(window, int(scene.cat_x));

    // The mouse position is in logical pixels too: a cross-hair on the pixel under it.
    const vollo_position mouse = *vollo_get_mouse_position();
    vollo_set_rectangle(window, {mouse.x - 1, mouse.y - 1}, 3, 3, VOLLO_WHITE, false);
    const std::string text = std::to_string(mouse.x) + "," + std::to_string(mouse.y) +
                             (scene.whole_factors ? " WHOLE" : " ANY");
    vollo_draw_text(window, text.c_str(), {2, 78}, 1, VOLLO_WHITE);

    const bool last = example_last_frame(scene.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    Scene scene = {};
    scene.frames_left = example_frames(argc, argv);
    scene.whole_factors = true;
    scene.cat_x = 20;
    // A window of 4 x 4 window pixels per logical pixel, which the user may resize.
    scene.window = vollo_start(kWidth * 4, kHeight * 4, false, "vollo: pixel art at 160 x 90");
    if (scene.window == nullptr)
    {
        std::fprintf(stderr, "pixel_art: %s\n", vollo_error());
        return 1;
    }
    vollo_set_logical_size(scene.window, kWidth, kHeight, scene.whole_factors);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(scene.window, 60, &scene);
    vollo_stop(scene.window);
    return result == 0 || result == 1 ? 0 : 1;
}
