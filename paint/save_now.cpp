// Ctrl+S saves the whole canvas, Ctrl+E exports the drawing as PNG: in the working
// directory, the program going on; the export encodes on a worker thread while the
// window keeps showing frames.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include <unistd.h>

#include "bmp.h"
#include "document.h"
#include "journal.h"
#include "state.h"
#include "terminal.h"

// Says on standard error where the file went, or why it did not; releases path and folder.
static bool report(char *path, char *folder, const char *what)
{
    if (path != nullptr)
        fprintf(stderr, "pixodraw: saved %s\n", path);
    else
        fprintf(stderr, "pixodraw: the %s could not be saved in %s: %s\n", what,
                folder != nullptr ? folder : "the working directory", strerror(errno));
    free(folder);
    free(path);
    return path != nullptr;
}

// The whole canvas as a PNG file over `path`, through the library's one writer.
static bool save_png_whole(const vollo_pixelarray *canvas, const char *path)
{
    uint64_t size = 0;
    errno = 0;
    uint8_t *bytes = vollo_encode_pixels(canvas->pixels, canvas->width, canvas->height, canvas->width, ".png", &size);
    if (bytes == nullptr)
        return errno = errno ? errno : ENOMEM, false;
    const bool written = vollo_write_file(path, bytes, size);
    const int error = errno;
    free(bytes);
    errno = error;
    return written;
}

bool save_now(paint_state *state)
{
    if (state == nullptr || state->canvas == nullptr)
        return false;
    if (state->document != nullptr)
    {
        // The journal keeps its own copy of the picture it started from: a save only
        // marks that nothing before it needs recovering.
        std::string path, note;
        const bool saved = document_save(state, &path, &note);
        const int error = errno;
        if (!note.empty())
            fprintf(stderr, "pixodraw: %s\n", note.c_str());
        if (!saved)
        {
            fprintf(stderr, "pixodraw: the picture could not be saved as %s: %s\n", path.c_str(),
                    strerror(error));
            return false;
        }
        fprintf(stderr, "pixodraw: saved %s\n", path.c_str());
        journal_saved(state->journal);
        return true;
    }
    // The full folder name, so that the message tells where the file is.
    char *folder = getcwd(nullptr, 0);
    char *path = nullptr;
    if (state->canvas_file == nullptr)
        path = save_bmp_numbered(state->canvas, folder != nullptr ? folder : ".", time(nullptr));
    else if (state->canvas_file_png ? save_png_whole(state->canvas, state->canvas_file)
                                    : save_bmp_safely(state->canvas, state->canvas_file, true))
        path = strdup(state->canvas_file);
    if (path != nullptr)
    {
        // A crash from here on need not keep what was just saved.
        state->saved_changes = state->changes;
        journal_saved(state->journal);
    }
    return report(path, folder, "picture");
}

// An export under way on a worker thread: it reads the drawing, which nothing changes
// until export_finish has joined it.
struct paint_export
{
    std::thread worker;
    std::atomic<bool> done{false};
    char *folder = nullptr;
    char *path = nullptr;
    int error = 0;
};

bool export_now(paint_state *state)
{
    const vollo_pixelarray *drawing = state != nullptr ? drawing_of(state) : nullptr;
    if (drawing == nullptr)
        return false;
    // One at a time: a second Ctrl+E waits for the first.
    export_finish(state, true);
    // A document's whole picture; on a blank start the drawing area alone.
    const paint_rect area = state->document != nullptr
                                ? paint_rect{0, 0, int32_t(drawing->width) - 1, int32_t(drawing->height) - 1}
                                : PAINT_LAYOUT.drawing_area.drawn;
    paint_export *job = new (std::nothrow) paint_export();
    if (job == nullptr)
        return report(nullptr, getcwd(nullptr, 0), "drawing");
    job->folder = getcwd(nullptr, 0);
    try
    {
        job->worker = std::thread([job, drawing, area] {
            job->path = export_png_numbered(drawing, area, job->folder != nullptr ? job->folder : ".",
                                            time(nullptr));
            job->error = errno;
            job->done = true;
        });
    }
    catch (const std::system_error &)
    {
        // No thread to be had: the export runs here.
        job->path = export_png_numbered(drawing, area, job->folder != nullptr ? job->folder : ".",
                                        time(nullptr));
        job->error = errno;
        job->done = true;
    }
    state->exporting = job;
    return true;
}

bool export_finish(paint_state *state, bool wait)
{
    paint_export *job = state != nullptr ? state->exporting : nullptr;
    if (job == nullptr || (!wait && !job->done))
        return false;
    if (job->worker.joinable())
        job->worker.join();
    state->exporting = nullptr;
    errno = job->error;
    const bool saved = report(job->path, job->folder, "drawing");
    delete job;
    return saved;
}
