// A sound board: three pads that play effects, and a music track that can be
// paused, resumed and moved through with a seek bar.
//
// Shows: effects (vollo_load_effect, played over themselves with
// vollo_sound_play_voice) beside a streamed music (vollo_load_music), and
// vollo_sound_pause, vollo_sound_resume, vollo_sound_seek, vollo_sound_offset
// and vollo_sound_length, all in seconds.
// Keys: 1, 2, 3 (or a click on a pad) play the pads; Space pauses and resumes the
// music; Left and Right seek one second; a click on the bar seeks there; Escape
// quits. Options: --assets FOLDER (default: examples/assets), --frames N.
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

#ifndef VOLLO_EXAMPLE_ASSETS
#define VOLLO_EXAMPLE_ASSETS "examples/assets"
#endif

namespace
{
const int kWidth = 420, kHeight = 240, kPadSize = 110, kBarTop = 170, kBarWidth = 380;
const char *const kPadFiles[3] = {"drum.wav", "blip.wav", "chime.wav"};
const uint32_t kPadColors[3] = {VOLLO_ORANGE, VOLLO_CYAN, VOLLO_PINK};

struct Board
{
    vollo_window *window;
    vollo_sound *pads[3];
    vollo_sound *music;
    bool paused;
    long frames_left;
};

void toggle_pause(Board &board)
{
    if (board.paused)
        vollo_sound_resume(board.music);  // on from where it was
    else
        vollo_sound_pause(board.music);
    board.paused = !board.paused;
}

void seek_to(Board &board, double seconds)
{
    const double length = vollo_sound_length(board.music);
    vollo_sound_seek(board.music, seconds < 0 ? 0 : seconds > length ? length : seconds);
}

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Board &board = *static_cast<Board *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key >= VOLLO_KEY_1 && key <= VOLLO_KEY_3)
        vollo_sound_play_voice(board.pads[key - VOLLO_KEY_1]);
    if (key == VOLLO_KEY_SPACE)
        toggle_pause(board);
    if (key == VOLLO_KEY_LEFT || key == VOLLO_KEY_RIGHT)
        seek_to(board, vollo_sound_offset(board.music) + (key == VOLLO_KEY_LEFT ? -1 : 1));
    return VOLLO_CONTINUE;
}

vollo_response on_click(vollo_event_state state, int32_t button, void *data)
{
    Board &board = *static_cast<Board *>(data);
    const vollo_position at = *vollo_get_mouse_position();
    if (state != VOLLO_PRESSED || button != VOLLO_MOUSE_LEFT)
        return VOLLO_CONTINUE;
    for (int pad = 0; pad < 3; ++pad)
        if (at.x >= 20 + pad * 130 && at.x < 20 + pad * 130 + kPadSize && at.y >= 20 && at.y < 20 + kPadSize)
            vollo_sound_play_voice(board.pads[pad]);
    if (at.y >= kBarTop && at.y < kBarTop + 20 && at.x >= 20 && at.x < 20 + kBarWidth)
        seek_to(board, vollo_sound_length(board.music) * (at.x - 20) / kBarWidth);
    return VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Board &board = *static_cast<Board *>(data);
    vollo_window *window = board.window;
    vollo_fill(window, VOLLO_RGB(30, 30, 30));
    for (int pad = 0; pad < 3; ++pad)
    {
        // A pad is bright while any of its voices sounds.
        const bool sounding = vollo_sound_playing(board.pads[pad]);
        vollo_set_rectangle(window, {20 + pad * 130, 20}, kPadSize, kPadSize,
                            sounding ? kPadColors[pad] : VOLLO_DARK_GRAY, true);
        vollo_draw_text(window, std::to_string(pad + 1).c_str(), {68 + pad * 130, 62}, 4, VOLLO_WHITE);
    }
    // The seek bar: the part played so far, out of the whole length.
    const double offset = vollo_sound_offset(board.music), length = vollo_sound_length(board.music);
    vollo_set_rectangle(window, {20, kBarTop}, kBarWidth, 20, VOLLO_DARK_GRAY, true);
    if (length > 0)
        vollo_set_rectangle(window, {20, kBarTop}, int(kBarWidth * offset / length), 20, VOLLO_GREEN, true);
    char clock[64];
    std::snprintf(clock, sizeof clock, "%s %.1f / %.1f S   SPACE: PAUSE  LEFT/RIGHT: SEEK",
                  board.paused ? "PAUSED" : "PLAYING", offset, length);
    vollo_draw_text(window, clock, {20, kBarTop + 30}, 1, VOLLO_LIGHT_GRAY);
    const bool last = example_last_frame(board.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *assets = VOLLO_EXAMPLE_ASSETS;
    Board board = {};
    board.frames_left = example_frames(argc, argv, "--assets", &assets);
    for (int pad = 0; pad < 3; ++pad)
        board.pads[pad] = vollo_load_effect((std::string(assets) + "/" + kPadFiles[pad]).c_str());
    board.music = vollo_load_music((std::string(assets) + "/tune.wav").c_str());
    board.window = vollo_start(kWidth, kHeight, false, "vollo: sound board");
    const bool loaded = board.pads[0] && board.pads[1] && board.pads[2] && board.music;
    if (!loaded || board.window == nullptr)
        std::fprintf(stderr, "sound_board: %s\n", vollo_error());  // the latest failure
    int status = 1;
    if (loaded && board.window != nullptr)
    {
        vollo_sound_loop(board.music, true);
        vollo_sound_play(board.music);
        vollo_set_key_response(on_key);
        vollo_set_click_response(on_click);
        vollo_set_loop_main_function(each_frame);
        const vollo_response result = vollo_loop(board.window, 60, &board);
        status = result == 0 || result == 1 ? 0 : 1;
    }
    for (vollo_sound *sound : {board.pads[0], board.pads[1], board.pads[2], board.music})
        vollo_delete_sound(sound);  // null: nothing
    vollo_stop(board.window);
    return status;
}
