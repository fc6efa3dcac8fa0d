// PIXODRAW: a paint program. With one argument, the picture it names is the whole
// canvas; otherwise a blank canvas with the interface drawn on it. After the window
// closes, the terminal dialogue offers to save the canvas.
#include <cerrno>
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
    // Opaque black until a colour is picked: the circle icon and the circle tool use it.
    paint_state state = {nullptr, nullptr, 0, PAINT_BLACK};
    const char *why = nullptr;

    if (argc == 2 && (why = check_picture(argv[1])) != nullptr)
        return fail("cannot load the picture", argv[1], why);
    if (argc != 2)
        my_putstr("Tip: You can load a picture by giving its path as argument\n");
    // The window is opened before the canvas is made: pixel arrays need the display, and
    // only opening the window finds out, without a crash, that there is none.
    state.window = vollo_start(PAINT_WIDTH, PAINT_HEIGHT, false, "PIXODRAW");
    if (state.window == nullptr)
        return fail("cannot open the window", nullptr, "no display available (is DISPLAY set?)");
    if (argc == 2)
    {
        // Any picture kind the library reads: BMP, PNG, JPEG, GIF, TGA, PSD, HDR.
        state.canvas = vollo_load_pixelarray(argv[1]);
        why = vollo_load_pixelarray_error();
    }
    else if ((state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT)) != nullptr)
        fill_color(&state);
    else
        why = "not enough memory for the canvas";
    if (state.canvas == nullptr)
    {
        vollo_stop(state.window);
        if (argc == 2)
            return fail("cannot load the picture", argv[1], why);
        return fail("cannot make the canvas", nullptr, why);
    }
    vollo_set_key_response(set_key_response);
    vollo_set_click_response(set_mouse_response);
    vollo_set_loop_main_function(expose);
    vollo_loop(state.window, 100, &state);
    vollo_stop(state.window);
    save_file(&state);
    vollo_delete_clipable(state.canvas);
    return 0;
}
