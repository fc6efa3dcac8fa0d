// Documents: a picture opened from the command line at a size other than the window's.
// The window canvas keeps the blank start's interface; the picture has pixels of its
// own, shown through the view, drawn into by the tools and written back by Ctrl+S.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bmp.h"
#include "document.h"
#include "interface.h"
#include "rect.h"
#include "state.h"

namespace
{

// A pixel-array record over pixels of the document's own (never staged to the GPU).
vollo_pixelarray *wrap_pixels(uint32_t *pixels, uint32_t width, uint32_t height)
{
    vollo_pixelarray *array = new (std::nothrow) vollo_pixelarray();
    if (array == nullptr)
        return nullptr;
    array->type = VOLLO_PIXELARRAY;
    array->width = width;
    array->height = height;
    array->pixels = pixels;
    array->clip_width = int32_t(width);
    array->clip_height = int32_t(height);
    array->scale_x = array->scale_y = 1.0;
    return array;
}

bool written_kind(picture_kind kind)
{
    return kind == KIND_BMP || kind == KIND_PNG || kind == KIND_JPEG || kind == KIND_TGA;
}

const char *kind_name(picture_kind kind)
{
    static const char *const names[] = {"BMP", "PNG", "JPEG", "TGA", "GIF", "PSD", "HDR", "PIC"};
    return names[kind];
}

// NAME.png for NAME.EXT (or NAME).
std::string png_beside(const std::string &path)
{
    const size_t slash = path.rfind('/'), dot = path.rfind('.');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (extension ? path.substr(0, dot) : path) + ".png";
}

// Encodes the picture in the format of `extension` and writes it whole over `path` with
// the library's one writer. False with errno telling why.
bool write_encoded(const vollo_pixelarray *picture, const std::string &path, const char *extension)
{
    uint64_t size = 0;
    errno = 0;
    uint8_t *bytes = vollo_encode_pixels(picture->pixels, picture->width, picture->height,
                                         picture->width, extension, &size);
    if (bytes == nullptr)
        return errno = errno ? errno : ENOMEM, false;
    const bool written = vollo_write_file(path.c_str(), bytes, size);
    const int saved = errno;
    free(bytes);
    errno = saved;
    return written;
}

bool same_file(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// When another program replaced or rewrote the file since it was opened or last saved,
// that version is kept beside it as NAME-other.EXT (-2, -3, ... when taken) before the
// save replaces it. What was done, for standard error; empty when the file is as known.
std::string keep_other_version(const paint_document *document, const std::string &path)
{
    struct stat now;
    if (document->known.st_ino == 0 || stat(path.c_str(), &now) != 0 || !S_ISREG(now.st_mode) ||
        same_file(now, document->known))
        return std::string();
    const size_t slash = path.rfind('/'), dot = path.rfind('.');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string stem = extension ? path.substr(0, dot) : path;
    const std::string end = extension ? path.substr(dot) : std::string();
    for (int number = 1; number <= 1000; number++)
    {
        const std::string other =
            stem + "-other" + (number > 1 ? "-" + std::to_string(number) : std::string()) + end;
        if (link(path.c_str(), other.c_str()) == 0)
            return path + " was changed by another program; that version is kept in " + other;
        if (errno != EEXIST)
            break;
    }
    return path + " was changed by another program, and that version could not be kept: " + strerror(errno);
}

}  // namespace

bool document_open(paint_state *state, uint32_t *pixels, uint32_t width, uint32_t height,
                   const char *path, picture_kind kind)
{
    paint_document *document = new (std::nothrow) paint_document();
    if (document == nullptr || (document->picture = wrap_pixels(pixels, width, height)) == nullptr ||
        (document->path = strdup(path)) == nullptr || !mips_build(document))
    {
        if (document != nullptr && document->picture != nullptr)
            document->picture->pixels = nullptr;
        state->document = document;
        document_close(state);
        free(pixels);
        return false;
    }
    document->kind = kind;
    stat(path, &document->known);
    view_reset(&document->view, width, height);
    state->document = document;
    return true;
}

void document_close(paint_state *state)
{
    paint_document *document = state->document;
    if (document == nullptr)
        return;
    if (document->picture != nullptr)
    {
        free(document->picture->pixels);
        delete document->picture;
    }
    free(document->path);
    delete document;
    state->document = nullptr;
}

bool document_save(paint_state *state, std::string *written, std::string *note)
{
    const paint_document *document = state->document;
    std::string &path = *written;
    path = document->path;
    note->clear();
    bool saved;
    if (written_kind(document->kind))
        *note = keep_other_version(document, path);
    if (document->kind == KIND_BMP)
        saved = save_bmp_safely(document->picture, path.c_str(), true);
    else
    {
        if (!written_kind(document->kind))
        {
            path = png_beside(path);
            *note = std::string(kind_name(document->kind)) +
                    " files are not written; the picture goes to " + path;
        }
        const char *extension = document->kind == KIND_JPEG ? ".jpg"
                                : document->kind == KIND_TGA ? ".tga"
                                                             : ".png";
        saved = write_encoded(document->picture, path, extension);
    }
    if (saved && written_kind(document->kind))
        stat(path.c_str(), &state->document->known);
    if (!saved)
        return false;
    state->saved_changes = state->changes;
    return true;
}

void document_touch(paint_state *state, paint_rect area)
{
    paint_document *document = state->document;
    if (document == nullptr || rect_empty(area))
        return;
    document->changed = rect_union(document->changed, area);
    request_present(state, 1);
}

bool document_refresh(paint_state *state)
{
    paint_document *document = state->document;
    if (document == nullptr || state->canvas == nullptr || (!document->stale && rect_empty(document->changed)))
        return false;
    const paint_rect changed = document->changed;
    if (!rect_empty(changed))
        mips_update(document, changed);
    document->changed = PAINT_NO_RECT;
    // Only the levels and the screen under the changed pixels, unless the view moved.
    view_render(document, state->canvas,
                document->stale ? PAINT_LAYOUT.drawing_area.drawn : view_screen_area(document, changed));
    document->stale = 0;
    return true;
}

vollo_pixelarray *drawing_of(const paint_state *state)
{
    return state->document != nullptr ? state->document->picture : state->canvas;
}
