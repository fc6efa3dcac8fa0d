// For the record-and-replay test: a log line per frame and a drawing that depend only on
// vollo's input, time and random numbers. After Escape, each input line shows the frame.
#include <cstdio>

#include "vollo.h"

namespace
{

struct Game
{
    vollo_window *window = nullptr;
    vollo_pixelarray *canvas = nullptr;
    int frame = 0;
};

const uint32_t colours[] = {VOLLO_RED, VOLLO_GREEN, VOLLO_BLUE, VOLLO_ORANGE, VOLLO_PURPLE, VOLLO_CYAN};

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    std::printf("  key %d %d\n", state, key);
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 7 : VOLLO_CONTINUE;
}

vollo_response on_click(vollo_event_state state, int32_t button, void *)
{
    std::printf("  click %d %d at %d,%d\n", state, button, gl_mouse.x, gl_mouse.y);
    return VOLLO_CONTINUE;
}

void show(Game &game)
{
    vollo_blit(game.window, game.canvas, nullptr);
    vollo_display(game.window);
}

vollo_response frame(void *data)
{
    Game &game = *static_cast<Game *>(data);
    ++game.frame;
    const vollo_position mouse = *vollo_get_mouse_position();
    const int32_t dice = vollo_random(0, 5);
    std::printf("%d t=%.6f dt=%.6f fps=%.3f dice=%d mouse=%d,%d a=%d%d%d left=%d\n", game.frame, vollo_get_time(),
                vollo_get_frame_time(), vollo_get_fps(), dice, mouse.x, mouse.y, vollo_key_down(VOLLO_KEY_A),
                vollo_key_pressed(VOLLO_KEY_A), vollo_key_released(VOLLO_KEY_A), vollo_mouse_down(VOLLO_MOUSE_LEFT));
    if (vollo_mouse_down(VOLLO_MOUSE_LEFT))
        vollo_set_rectangle(game.canvas, {mouse.x - 2, mouse.y - 2}, 5, 5, colours[dice], true);
    if (vollo_key_down(VOLLO_KEY_A))
        vollo_set_rectangle(game.canvas, {game.frame * 3 % 160, 100 + dice}, 3, 10, colours[dice], true);
    show(game);
    return VOLLO_CONTINUE;
}

}  // namespace

int main()
{
    Game game;
    game.window = vollo_start(160, 120, false, "replay program");
    game.canvas = vollo_new_pixelarray(160, 120);
    if (!game.window || !game.canvas)
        return 1;
    vollo_fill(game.canvas, VOLLO_WHITE);
    vollo_set_key_response(on_key);
    vollo_set_click_response(on_click);
    vollo_set_text_response([](uint32_t character, void *) -> vollo_response {
        return std::printf("  text %u\n", character), VOLLO_CONTINUE;
    });
    vollo_set_resize_response([](uint32_t width, uint32_t height, void *) -> vollo_response {
        return std::printf("  resize %ux%u\n", width, height), VOLLO_CONTINUE;
    });
    vollo_set_loop_main_function(frame);
    std::printf("loop returned %d\n", vollo_loop(game.window, 100, &game));
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin))
    {
        show(game);
        std::printf("shown\n");
        std::fflush(stdout);
    }
    vollo_delete_clipable(game.canvas);
    vollo_stop(game.window);
    return 0;
}
