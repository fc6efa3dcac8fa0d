// A small paint program: draw with the mouse on a pixel array.
//
// Shows: a pixel array as a canvas kept between frames, mouse buttons and moves
// (click, move and wheel responses, vollo_get_mouse_position), thick round lines
// with vollo_set_line_width, shapes drawn over the canvas on the window only, and
// saving the canvas with vollo_save_buffer (vollo_error tells why a save failed).
// Mouse: left draws, right erases, the wheel sizes the brush, the palette picks a
// colour. Keys: C clears, S saves (--save PATH, default painting.png), Escape quits.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kWidth = 480, kHeight = 320, kSwatch = 32;
const uint32_t kPalette[] = {VOLLO_BLACK, VOLLO_RED, VOLLO_ORANGE, VOLLO_YELLOW, VOLLO_GREEN, VOLLO_CYAN, VOLLO_BLUE};
const int kColors = sizeof kPalette / sizeof kPalette[0];

struct Paint
{
    vollo_window *window;
    vollo_pixelarray *canvas;
    const char *save_path;
    uint32_t color;
    int brush;              // line width in pixels
    bool drawing, erasing;  // left or right button held on the canvas
    vollo_position last;    // where the stroke was at the previous event
    long frames_left;
};

void stroke_to(Paint &paint, vollo_position to)
{
    const vollo_position ends[2] = {paint.last, to};
    vollo_set_line_width(paint.canvas, ends, paint.brush, paint.erasing ? VOLLO_WHITE : paint.color);
    paint.last = to;
}

vollo_response on_click(vollo_event_state state, int32_t button, void *data)
{
    Paint &paint = *static_cast<Paint *>(data);
    const vollo_position at = *vollo_get_mouse_position();
    if (state == VOLLO_RELEASED || (at.x < kSwatch && at.y / kSwatch < kColors))
    {
        if (state == VOLLO_PRESSED)  // on the palette, down the left side
            paint.color = kPalette[at.y / kSwatch];
        paint.drawing = paint.erasing = false;
        return VOLLO_CONTINUE;
    }
    paint.drawing = button == VOLLO_MOUSE_LEFT;
    paint.erasing = button == VOLLO_MOUSE_RIGHT;
    paint.last = at;
    stroke_to(paint, at);  // a click alone leaves a dot
    return VOLLO_CONTINUE;
}

// Every move while a button is held draws the segment from the last position.
vollo_response on_move(const vollo_position *, void *data)
{
    Paint &paint = *static_cast<Paint *>(data);
    if (paint.drawing || paint.erasing)
        stroke_to(paint, *vollo_get_mouse_position());
    return VOLLO_CONTINUE;
}

vollo_response on_wheel(int32_t, int32_t delta, void *data)
{
    Paint &paint = *static_cast<Paint *>(data);
    paint.brush = std::clamp(paint.brush + 2 * delta, 1, 60);
    return VOLLO_CONTINUE;
}

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Paint &paint = *static_cast<Paint *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_C)
        vollo_fill(paint.canvas, VOLLO_WHITE);
    if (key == VOLLO_KEY_S && !vollo_save_buffer(paint.canvas, paint.save_path))
        std::fprintf(stderr, "paint_pixels: %s\n", vollo_error());
    return VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Paint &paint = *static_cast<Paint *>(data);
    vollo_window *window = paint.window;
    vollo_blit(window, paint.canvas, nullptr);
    // The palette and the brush outline go on the window, not into the painting.
    for (int i = 0; i < kColors; ++i)
    {
        vollo_set_rectangle(window, {0, i * kSwatch}, kSwatch, kSwatch, kPalette[i], true);
        if (kPalette[i] == paint.color)
            vollo_set_rectangle(window, {2, i * kSwatch + 2}, kSwatch - 4, kSwatch - 4, VOLLO_WHITE, false);
    }
    const vollo_position mouse = *vollo_get_mouse_position();
    vollo_set_circle(window, {mouse.x, mouse.y}, std::max(1, paint.brush / 2), VOLLO_GRAY, false);
    vollo_draw_text(window, ("BRUSH " + std::to_string(paint.brush) + "  C: CLEAR  S: SAVE").c_str(),
                    {kSwatch + 8, kHeight - 16}, 1, VOLLO_DARK_GRAY);
    const bool last = example_last_frame(paint.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}

// A first stroke drawn by the program itself: a wave across the canvas.
void draw_wave(Paint &paint)
{
    auto wave = [](int x) { return vollo_position{x, kHeight / 2 + static_cast<int>(50 * std::sin(x / 40.0))}; };
    paint.last = wave(60);
    for (int x = 60; x <= kWidth - 30; x += 4)
        stroke_to(paint, wave(x));
}
}  // namespace

int main(int argc, char **argv)
{
    Paint paint = {};
    paint.save_path = "painting.png";
    paint.frames_left = example_frames(argc, argv, "--save", &paint.save_path);
    paint.color = VOLLO_BLUE;
    paint.brush = 12;

    paint.window = vollo_start(kWidth, kHeight, false, "vollo: paint on a pixel array");
    paint.canvas = vollo_new_pixelarray(kWidth, kHeight);
    if (paint.window == nullptr || paint.canvas == nullptr)
    {
        std::fprintf(stderr, "paint_pixels: %s\n", vollo_error());
        vollo_delete_clipable(paint.canvas);
        vollo_stop(paint.window);
        return 1;
    }
    vollo_fill(paint.canvas, VOLLO_WHITE);  // a new pixel array is pink
    draw_wave(paint);
    vollo_set_click_response(on_click);
    vollo_set_move_response(on_move);
    vollo_set_wheel_response(on_wheel);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(paint.window, 60, &paint);
    vollo_delete_clipable(paint.canvas);
    vollo_stop(paint.window);
    return result == 0 || result == 1 ? 0 : 1;
}
