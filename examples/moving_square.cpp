// A square on a pixel array, moved with the arrow keys.
//
// Shows: opening a window, a pixel array written directly in memory, the fixed-rate
// main loop with a main function and a key response, and the keyboard state array.
// Escape (or closing the window) ends it; --frames N ends it after N frames.
#include <cstdio>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const uint32_t kWidth = 320, kHeight = 240, kSide = 24;
const uint32_t kBackground = 0xFF402010;  // colours are 0xAABBGGRR: dark blue
const uint32_t kSquare = 0xFF30C0FF;      // orange

// The program's own data, handed by vollo_loop to every response.
struct Game
{
    vollo_window *window;
    vollo_pixelarray *canvas;
    int x, y;          // top-left corner of the square
    long frames_left;  // -1: no limit
};

// Key presses arrive here; Escape ends the loop by returning anything but
// VOLLO_CONTINUE (that value becomes vollo_loop's result).
vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    if (state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE)
        return 0;
    return VOLLO_CONTINUE;
}

// Called once per frame, after the frame's events were dispatched.
vollo_response each_frame(void *data)
{
    Game &game = *static_cast<Game *>(data);

    // Held keys are read from the keyboard state that vollo_loop keeps up to date.
    const uint8_t *keys = vollo_get_keyboard();
    const int step = 3;
    if (keys[VOLLO_KEY_LEFT] && game.x >= step)
        game.x -= step;
    if (keys[VOLLO_KEY_RIGHT] && game.x + kSide + step <= kWidth)
        game.x += step;
    if (keys[VOLLO_KEY_UP] && game.y >= step)
        game.y -= step;
    if (keys[VOLLO_KEY_DOWN] && game.y + kSide + step <= kHeight)
        game.y += step;

    // Redraw the whole picture in memory: pixel (x, y) is pixels[y * width + x].
    vollo_fill(game.canvas, kBackground);
    for (uint32_t row = 0; row < kSide; ++row)
        for (uint32_t column = 0; column < kSide; ++column)
            game.canvas->pixels[(game.y + row) * kWidth + game.x + column] = kSquare;

    // Copy it onto the window and show the result.
    vollo_blit(game.window, game.canvas, nullptr);
    const bool last = example_last_frame(game.frames_left, game.window);
    vollo_display(game.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    Game game = {};
    game.frames_left = example_frames(argc, argv);
    game.x = (kWidth - kSide) / 2;
    game.y = (kHeight - kSide) / 2;

    game.window = vollo_start(kWidth, kHeight, false, "vollo: moving square");
    if (game.window == nullptr)
    {
        std::fprintf(stderr, "cannot open a window\n");
        return 1;
    }
    game.canvas = vollo_new_pixelarray(kWidth, kHeight);
    if (game.canvas == nullptr)
    {
        vollo_stop(game.window);
        return 1;
    }

    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(game.window, 60, &game);  // 60 frames a second

    vollo_delete_clipable(game.canvas);
    vollo_stop(game.window);
    return result == 0 || result == 1 ? 0 : 1;  // 1: the window was closed
}
