// PIXODRAW: a paint program. With one argument, the picture it names is the whole
// canvas when it has the window's size, and otherwise opens as a document shown through
// a view; without one, a blank canvas with the interface drawn on it. After the window
// closes, the terminal dialogue offers to save the canvas, and a changed canvas that
// it did not save is kept in a recovery file.
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"
#include "terminal.h"

// The canvas: a window-sized picture as it is (its own interface included), else the
// blank start's, with any other picture opened as a document in it. Takes the pixels.
// Null, or why it could not be made.
static const char *make_canvas(paint_state *state, const char *path, uint32_t *pixels,
                               uint32_t width, uint32_t height, bool as_document)
{
    const bool whole = pixels != nullptr && width == PAINT_WIDTH && height == PAINT_HEIGHT && !as_document;
    state->canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    if (state->canvas == nullptr)
    {
        free(pixels);
        return "not enough memory for the canvas";
    }
    if (whole)
    {
        memcpy(state->canvas->pixels, pixels, size_t(width) * height * 4);
        free(pixels);
        return nullptr;
    }
    fill_color(state);
    if (pixels != nullptr && !document_open(state, pixels, width, height, path))
    {
        vollo_delete_clipable(state->canvas);
        return "not enough memory for the picture";
    }
    return nullptr;
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
    const bool from_clipboard = command_line_has(argc, argv, "--clipboard");
    const bool load = operands == 1 && !from_clipboard;
    // A closed terminal or output pipe must not end the run before the drawing is saved
    // or kept: writes to them fail instead, and reads see the end of input.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    install_stop_signals();
    // Opaque black until a colour is picked: the circle icon and the circle tool use it.
    paint_state state = {nullptr, nullptr, 0, PAINT_BLACK};
    // The picture is decoded once, before any window opens, so that a file that cannot
    // be shown gives an error without a window.
    uint32_t *pixels = nullptr, width = 0, height = 0;
    if (load && (pixels = vollo_decode_picture(picture, &width, &height)) == nullptr)
        return fail("cannot load the picture", picture, vollo_load_pixelarray_error());
    char clipboard_path[64];
    if (from_clipboard && (pixels = clipboard_picture(clipboard_path, sizeof clipboard_path, &width, &height)) == nullptr)
        return fail("cannot open the clipboard's picture", nullptr, vollo_error());
    if (from_clipboard)
        picture = clipboard_path;
    if (!load && !from_clipboard)
        my_putstr("Tip: You can load a picture by giving its path as argument\n");
    // Then the window: a document's picture is never uploaded whole, only the canvas.
    state.window = vollo_start(PAINT_WIDTH, PAINT_HEIGHT, false, "PIXODRAW");
    if (state.window == nullptr)
    {
        free(pixels);
        return fail("cannot open the window", nullptr, "no display available (is DISPLAY set?)");
    }
    // Drawings of earlier sessions that died are kept before this one starts.
    recover_journals();
    const char *why = make_canvas(&state, picture, pixels, width, height, from_clipboard);
    if (why == nullptr && from_clipboard)
        state.document->kind = KIND_PNG;
    if (why != nullptr)
    {
        vollo_stop(state.window);
        return fail(load ? "cannot load the picture" : "cannot make the canvas",
                    load ? picture : nullptr, why);
    }
    // The clipboard's picture is in no file yet: the journal holds it whole.
    state.journal = journal_start(drawing_of(&state), load ? picture : nullptr);
    vollo_set_key_response(set_key_response);
    vollo_set_click_response(set_mouse_response);
    vollo_set_loop_main_function(expose);
    vollo_set_move_response(set_move_response);
    vollo_set_focus_response(set_focus_response);
    vollo_set_mouse_enter_response(set_mouse_enter_response);
    vollo_set_resize_response(set_resize_response);
    vollo_set_wheel_response(set_wheel_response);
    request_present(&state, PAINT_START_TICKS);
    vollo_loop(state.window, 100, &state);
    // A stroke still under way when the loop ended counts as an action too.
    finish_action(&state);
    vollo_stop(state.window);
    const int status = end_session(&state);
    vollo_delete_clipable(state.canvas);
    document_close(&state);
    return status;
}
