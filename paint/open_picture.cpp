// A large JPEG opens in two steps, from the file's bytes read once: a copy decoded at
// 1/2, 1/4 or 1/8 of its size (on a thread, while the window opens) shows at fit in the
// first frame, while a worker thread decodes the whole picture; the document opens on it
// at the first tick after it is done. Until then every response that may act on the
// drawing waits for it, so no tool ever sees the copy.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "document.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

// Files at least this long are opened in two steps: smaller ones decode quickly enough.
#define OPEN_LATER_BYTES (2u << 20)

struct paint_loading
{
    std::thread worker;
    std::atomic<bool> done{false};
    std::string path;
    uint8_t *bytes = nullptr;  // the whole file (malloc), until the picture is decoded
    uint64_t size = 0;
    uint32_t *pixels = nullptr, width = 0, height = 0;
    vollo_picture_kind kind = VOLLO_KIND_JPEG;
    std::string error;  // why the decode failed
};

namespace
{

bool is_jpeg(const uint8_t *bytes, uint64_t size)
{
    return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

void decode_whole(paint_loading *job)
{
    job->pixels = vollo_decode_bytes(job->bytes, job->size, &job->width, &job->height, &job->kind);
    if (job->pixels == nullptr)
        job->error = vollo_load_pixelarray_error();
    free(job->bytes);
    job->bytes = nullptr;
    job->done = true;
}

// The copy at fit, centred in the drawing area on the view's grey.
void show_preview(vollo_pixelarray *canvas, const uint32_t *pixels, uint32_t width, uint32_t height)
{
    const int32_t left = VIEW_LEFT + (VIEW_WIDTH - int32_t(width)) / 2;
    const int32_t top = VIEW_TOP + (VIEW_HEIGHT - int32_t(height)) / 2;
    for (int32_t y = VIEW_TOP; y < VIEW_TOP + VIEW_HEIGHT; y++)
        for (int32_t x = VIEW_LEFT; x < VIEW_LEFT + VIEW_WIDTH; x++)
        {
            const bool inside = x >= left && y >= top && x < left + int32_t(width) && y < top + int32_t(height);
            canvas->pixels[size_t(y) * canvas->width + size_t(x)] =
                inside ? pixels[size_t(y - top) * width + size_t(x - left)] | 0xFF000000u : VIEW_BACKDROP;
        }
}

}  // namespace

bool open_picture_later(paint_state *state, const char *path, uint8_t *bytes, uint64_t size)
{
    if (size < OPEN_LATER_BYTES || !is_jpeg(bytes, size))
        return false;
    paint_loading *job = new (std::nothrow) paint_loading();
    if (job == nullptr)
        return false;
    try
    {
        job->path = path;
        job->bytes = bytes;
        job->size = size;
        // The copy decodes while the window opens.
        job->worker = std::thread([state, job] {
            state->loading_preview = vollo_decode_bytes_scaled(job->bytes, job->size, VIEW_WIDTH, VIEW_HEIGHT,
                                                               &state->loading_width, &state->loading_height);
        });
    }
    catch (const std::exception &)
    {
        job->bytes = nullptr;  // still the caller's
        delete job;
        return false;
    }
    state->loading = job;
    return true;
}

void show_picture_preview(paint_state *state)
{
    paint_loading *job = state->loading;
    if (job == nullptr || !job->worker.joinable())
        return;
    job->worker.join();
    // Without a copy (it could not be decoded) the area stays blank until the picture
    // is whole, or says why it is not.
    if (state->loading_preview != nullptr && state->canvas != nullptr)
        show_preview(state->canvas, state->loading_preview, state->loading_width, state->loading_height);
    free(state->loading_preview);
    state->loading_preview = nullptr;
    // Started only now, so that it does not take the processor from the window's start
    // and the first frame (the failure text it may leave is its own thread's).
    try
    {
        job->worker = std::thread(decode_whole, job);
    }
    catch (const std::system_error &)
    {
        decode_whole(job);  // no thread to be had: decoded here
    }
}

bool picture_ready(paint_state *state, bool wait)
{
    paint_loading *job = state != nullptr ? state->loading : nullptr;
    if (job == nullptr)
        return true;
    if (!wait && !job->done)
        return true;
    if (job->worker.joinable())
        job->worker.join();
    if (!job->done)
        decode_whole(job);  // never started: the start-up ended before its first frame
    state->loading = nullptr;
    free(state->loading_preview);
    state->loading_preview = nullptr;
    bool opened = job->pixels != nullptr;
    if (!opened)
        state->loading_error = job->error.empty() ? "cannot be decoded" : job->error;
    else if (!document_open(state, job->pixels, job->width, job->height, job->path.c_str(),
                            picture_kind(job->kind)))
        opened = false, state->loading_error = "not enough memory for the picture";
    if (opened)
    {
        std::string no_journal;
        state->journal = journal_start(drawing_of(state), job->path.c_str(), &no_journal);
        if (state->journal == nullptr && !no_journal.empty())
            fprintf(stderr, "pixodraw: warning: no journal could be written, a crash would lose the drawing: %s\n",
                    no_journal.c_str());
        request_present(state, 1);
    }
    delete job;
    return opened;
}

void picture_drop(paint_state *state)
{
    paint_loading *job = state->loading;
    if (job == nullptr)
        return;
    if (job->worker.joinable())
        job->worker.join();
    free(job->bytes);
    free(job->pixels);
    free(state->loading_preview);
    state->loading_preview = nullptr;
    state->loading = nullptr;
    delete job;
}
