// A coin that spins: one picture holds every frame side by side (a sprite sheet),
// and each blit shows one of them through the picture's clip rectangle.
//
// Shows: loading a sprite sheet, choosing a frame with clip_x / clip_width,
// animation timed with vollo_get_time rather than counted in frames, scaling a
// picture around its centre (origin) with sharp pixels (vollo_set_smooth), and
// outlines drawn with vollo_set_rectangle.
// Keys: Up and Down change the animation speed, Escape quits.
// Options: --sheet PATH (default: examples/assets/coin_sheet.png), --frames N.
#include <cmath>
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

#ifndef VOLLO_EXAMPLE_ASSETS
#define VOLLO_EXAMPLE_ASSETS "examples/assets"
#endif

namespace
{
const int kWidth = 360, kHeight = 200;
const int kFrameSide = 32, kFrameCount = 8;  // the sheet: 8 frames of 32 x 32 in a row

struct Scene
{
    vollo_window *window;
    vollo_picture *sheet;
    double frames_per_second;  // animation speed
    long frames_left;
};

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_UP && scene.frames_per_second < 30)
        scene.frames_per_second += 2;
    if (key == VOLLO_KEY_DOWN && scene.frames_per_second > 2)
        scene.frames_per_second -= 2;
    return VOLLO_CONTINUE;
}

// Shows frame `frame` of the sheet, `scale` times its size, centred on `centre`.
void blit_frame(Scene &scene, int frame, double scale, vollo_position centre)
{
    vollo_picture *sheet = scene.sheet;
    sheet->clip_x = frame * kFrameSide;  // the clip rectangle picks the frame
    sheet->clip_y = 0;
    sheet->clip_width = kFrameSide;
    sheet->clip_height = kFrameSide;
    // The origin is measured from the clip rectangle's top-left corner, in the
    // picture's own pixels, and lands on the blit position: here, the frame's centre.
    sheet->origin_x = kFrameSide / 2.0;
    sheet->origin_y = kFrameSide / 2.0;
    sheet->scale_x = scale;
    sheet->scale_y = scale;
    vollo_blit(scene.window, sheet, &centre);
}

vollo_response each_frame(void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    // The frame shown follows the clock, so the speed is the same at any frame rate.
    const int frame = static_cast<int>(std::floor(vollo_get_time() * scene.frames_per_second)) % kFrameCount;

    vollo_fill(scene.window, VOLLO_RGB(30, 40, 70));
    // The whole sheet along the top, the current frame framed in white.
    const int left = (kWidth - kFrameCount * kFrameSide) / 2;
    for (int i = 0; i < kFrameCount; ++i)
        blit_frame(scene, i, 1.0, {left + i * kFrameSide + kFrameSide / 2, 30});
    vollo_set_rectangle(scene.window, {left + frame * kFrameSide - 1, 13}, kFrameSide + 2, kFrameSide + 2,
                        VOLLO_WHITE, false);
    // The animation, three times larger, and a small one running twice as fast.
    blit_frame(scene, frame, 3.0, {kWidth / 2, 120});
    blit_frame(scene, (frame * 2) % kFrameCount, 1.0, {kWidth / 2 + 90, 140});

    const std::string status = "FRAME " + std::to_string(frame) + "   " +
                               std::to_string(static_cast<int>(scene.frames_per_second)) + " FRAMES/S (UP, DOWN)";
    vollo_draw_text(scene.window, status.c_str(), {8, kHeight - 18}, 1, VOLLO_LIGHT_GRAY);
    const bool last = example_last_frame(scene.frames_left, scene.window);
    vollo_display(scene.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *sheet_path = VOLLO_EXAMPLE_ASSETS "/coin_sheet.png";
    Scene scene = {};
    scene.frames_per_second = 10;
    scene.frames_left = example_frames(argc, argv, "--sheet", &sheet_path);

    scene.window = vollo_start(kWidth, kHeight, false, "vollo: sprite sheet");
    if (scene.window == nullptr)
    {
        std::fprintf(stderr, "sprite_sheet: %s\n", vollo_error());
        return 1;
    }
    scene.sheet = vollo_load_picture(sheet_path);
    if (scene.sheet == nullptr)
    {
        std::fprintf(stderr, "sprite_sheet: %s\n", vollo_error());
        vollo_stop(scene.window);
        return 1;
    }
    vollo_set_smooth(scene.sheet, false);  // scaled up, pixels stay sharp squares
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(scene.window, 60, &scene);
    vollo_delete_clipable(scene.sheet);
    vollo_stop(scene.window);
    return result == 0 || result == 1 ? 0 : 1;
}
