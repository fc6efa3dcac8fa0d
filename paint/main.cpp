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
#include <string>
#include <ctime>
#include <algorithm>

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
                               uint32_t width, uint32_t height, vollo_picture_kind kind,
                               bool as_document)
{
    const bool whole =
        !as_document && pixels != nullptr && width == PAINT_WIDTH && height == PAINT_HEIGHT;
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
    if (pixels != nullptr && !document_open(state, pixels, width, height, path, picture_kind(kind)))
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

// `--new WIDTHxHEIGHT`: white pixels of that size (each side 1 to 16384), and the name
// Ctrl+S will save them under, pixodraw-YYYYMMDD-HHMMSS.png in the working directory,
// not taken now. Null after an error on standard error.
static uint32_t *new_picture(const char *size, uint32_t *width, uint32_t *height, char *name,
                             size_t room)
{
    unsigned w = 0, h = 0;
    char end = 0;
    if (std::sscanf(size, "%ux%u%c", &w, &h, &end) != 2 || w < 1 || h < 1 || w > 16384 || h > 16384)
    {
        std::fprintf(stderr, "pixodraw: --new wants WIDTHxHEIGHT, each 1 to 16384, not '%s'\n", size);
        return nullptr;
    }
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    struct stat taken;
    std::snprintf(name, room, "pixodraw-%s.png", stamp);
    for (int n = 2; stat(name, &taken) == 0; n++)
        std::snprintf(name, room, "pixodraw-%s-%d.png", stamp, n);
    uint32_t *pixels = static_cast<uint32_t *>(malloc(size_t(w) * h * 4));
    if (pixels == nullptr)
        std::fprintf(stderr, "pixodraw: not enough memory for a %ux%u picture\n", w, h);
    else
        std::fill(pixels, pixels + size_t(w) * h, PAINT_WHITE);
    *width = w;
    *height = h;
    return pixels;
}

int main(int argc, char **argv)
{
    const char *picture = nullptr;
    int operands = 0;
    const bool blank_document = argc == 3 && strcmp(argv[1], "--new") == 0;
    const int option_status = blank_document ? -1 : read_command_line(argc, argv, &picture, &operands);
    if (option_status >= 0)
        return option_status;
    const bool from_clipboard = command_line_has(argc, argv, "--clipboard");
    const bool load = (operands == 1 && !from_clipboard) || blank_document;
    char new_name[64];
    // A closed terminal or output pipe must not end the run before the drawing is saved
    // or kept: writes to them fail instead, and reads see the end of input.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    install_stop_signals();
    // Opaque black until a colour is picked: the circle icon and the circle tool use it.
    paint_state state = {nullptr, nullptr, 0, PAINT_BLACK};
    // The picture file is read once and decoded, before any window opens, so that a file
    // that cannot be shown gives an error without a window.
    uint32_t *pixels = nullptr, width = 0, height = 0;
    vollo_picture_kind kind = VOLLO_KIND_TGA;
    if (blank_document &&
        (pixels = new_picture(argv[2], &width, &height, new_name, sizeof new_name)) == nullptr)
        return 1;
    if (blank_document)
        picture = new_name;
    uint64_t size = 0;
    uint8_t *bytes = load && !blank_document ? vollo_read_file(picture, &size) : nullptr;
    if (load && !blank_document && bytes == nullptr)
        return fail("cannot load the picture", picture, vollo_load_pixelarray_error());
    // A large JPEG shows a smaller copy first while the whole picture decodes from the
    // same bytes; any other picture is decoded now.
    const bool later = bytes != nullptr && open_picture_later(&state, picture, bytes, size);
    if (bytes != nullptr && !later)
    {
        pixels = vollo_decode_bytes(bytes, size, &width, &height, &kind);
        free(bytes);
        if (pixels == nullptr)
            return fail("cannot load the picture", picture, vollo_load_pixelarray_error());
    }
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
        picture_drop(&state);
        free(pixels);
        return fail("cannot open the window", nullptr, "no display available (is DISPLAY set?)");
    }
    // Drawings of earlier sessions that died are kept before this one starts.
    recover_journals();
    list_recovery_files();
    const bool as_document = blank_document || from_clipboard;
    const char *why = make_canvas(&state, picture, pixels, width, height, kind, as_document || later);
    show_picture_preview(&state);
    if (why != nullptr)
    {
        picture_drop(&state);
        vollo_stop(state.window);
        return fail(load ? "cannot load the picture" : "cannot make the canvas",
                    load ? picture : nullptr, why);
    }
    if (as_document)
        state.document->kind = KIND_PNG;
    // A drawing saved from a blank start: its indicator and panel show this run's state,
    // and Ctrl+S writes back to its file.
    if (load && state.document == nullptr && own_band(state.canvas))
    {
        draw_tool_panel(&state);
        draw_indicator(&state);
    }
    if (load && state.document == nullptr && (kind == VOLLO_KIND_BMP || kind == VOLLO_KIND_PNG))
    {
        state.canvas_file = picture;
        state.canvas_file_png = kind == VOLLO_KIND_PNG;
    }
    // A new picture, or the clipboard's, has no file yet: its journal starts from every pixel.
    std::string no_journal;
    if (!later)
        state.journal = journal_start(drawing_of(&state), load && !as_document ? picture : nullptr, &no_journal);
    if (state.journal == nullptr && !no_journal.empty())
        fprintf(stderr, "pixodraw: warning: no journal could be written, a crash would lose the drawing: %s\n",
                no_journal.c_str());
    vollo_set_key_response(set_key_response);
    vollo_set_click_response(set_mouse_response);
    vollo_set_loop_main_function(expose);
    vollo_set_move_response(set_move_response);
    vollo_set_focus_response(set_focus_response);
    vollo_set_mouse_enter_response(set_mouse_enter_response);
    vollo_set_resize_response(set_resize_response);
    vollo_set_wheel_response(set_wheel_response);
    vollo_set_text_response(tool_text_response);
    request_present(&state, PAINT_START_TICKS);
    vollo_loop(state.window, 100, &state);
    export_finish(&state, true);
    if (!picture_ready(&state, true) || !state.loading_error.empty())
    {
        vollo_stop(state.window);
        vollo_delete_clipable(state.canvas);
        return fail("cannot load the picture", picture, state.loading_error.c_str());
    }
    // A stroke or text still under way when the loop ended counts as an action too.
    finish_action(&state);
    tools_end(&state);
    tool_report(&state);
    vollo_stop(state.window);
    const int status = end_session(&state);
    vollo_delete_clipable(state.canvas);
    document_close(&state);
    return status;
}
