// PIXODRAW: a paint program. With one argument, the picture it names is the whole
// canvas; otherwise a blank canvas with the interface drawn on it. After the window
// closes, the terminal dialogue offers to save the canvas, and a changed canvas that
// it did not save is kept in a recovery file.
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "paint.h"

// Checks the picture before any window opens, so that a file that cannot be shown gives
// an error without a window: BMP headers and length, other kinds decoded once. Null when
// it looks loadable, otherwise why not.
static const char *check_picture(const char *path)
{
    return vollo_check_picture(path);
}

// Canvases come from the library's arena, 20 MiB unless it is sized before the first
// allocation: a picture with more pixels than that (a photo of many megapixels) gets
// an arena that holds it.
static void make_room_for(const char *path)
{
    uint32_t width = 0, height = 0;
    if (!vollo_picture_size(path, &width, &height))
        return;
    const uint64_t needed_mib = ((uint64_t(width) * height * 4) >> 20) + 8;
    if (needed_mib > uint64_t(get_max_heap_size()))
        set_max_heap_size(int32_t(needed_mib < 2047 ? needed_mib : 2047));
}

static int fail(const char *what, const char *path, const char *why)
{
    if (path != nullptr)
        std::fprintf(stderr, "pixodraw: %s %s: %s\n", what, path, why);
    else
        std::fprintf(stderr, "pixodraw: %s: %s\n", what, why);
    return 1;
}

int main(int argc, char **argv)
{
    const char *picture = nullptr;
    int operands = 0;
    const int option_status = read_command_line(argc, argv, &picture, &operands);
    if (option_status >= 0)
        return option_status;
    const bool load = operands == 1;
    // A closed terminal or output pipe must not end the run before the drawing is saved
    // or kept: writes to them fail instead, and reads see the end of input.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    install_stop_signals();
    // Opaque black until a colour is picked: the circle icon and the circle tool use it.
    paint_state state = {nullptr, nullptr, 0, PAINT_BLACK};
    const char *why = nullptr;

    if (load)
        make_room_for(picture);
    if (load && (why = check_picture(picture)) != nullptr)
        return fail("cannot load the picture", picture, why);
    if (!load)
        my_putstr("Tip: You can load a picture by giving its path as argument\n");
    // The window is opened before the canvas is made: pixel arrays need the display, and
    // only opening the window finds out, without a crash, that there is none.
    state.window = vollo_start(PAINT_WIDTH, PAINT_HEIGHT, false, "PIXODRAW");
    if (state.window == nullptr)
        return fail("cannot open the window", nullptr, "no display available (is DISPLAY set?)");
    // Drawings of earlier sessions that died are kept before this one starts.
    recover_journals();
    if (load)
    {
        // Any picture kind the library reads: BMP, PNG, JPEG, GIF, TGA, PSD, HDR.
        state.canvas = vollo_load_pixelarray(picture);
        why = vollo_load_pixelarray_error();
    }
    else if ((state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT)) != nullptr)
        fill_color(&state);
    else
        why = "not enough memory for the canvas";
    if (state.canvas == nullptr)
    {
        vollo_stop(state.window);
        if (load)
            return fail("cannot load the picture", picture, why);
        return fail("cannot make the canvas", nullptr, why);
    }
    state.journal = journal_start(state.canvas, load ? picture : nullptr);
    vollo_set_key_response(set_key_response);
    vollo_set_click_response(set_mouse_response);
    vollo_set_loop_main_function(expose);
    vollo_set_move_response(set_move_response);
    vollo_set_focus_response(set_focus_response);
    vollo_set_mouse_enter_response(set_mouse_enter_response);
    vollo_set_resize_response(set_resize_response);
    request_present(&state, PAINT_START_TICKS);
    vollo_loop(state.window, 100, &state);
    // A stroke still under way when the loop ended counts as an action too.
    finish_action(&state);
    vollo_stop(state.window);
    const int status = end_session(&state);
    vollo_delete_clipable(state.canvas);
    return status;
}
