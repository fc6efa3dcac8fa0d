// Documents: a picture opened from the command line at a size other than the window's.
// The window canvas keeps the blank start's interface; the picture has pixels of its
// own, shown through the view, drawn into by the tools and written back by Ctrl+S.
#include <algorithm>
#include <cerrno>
#include <cstdio>
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

// True when the name of `path` ends with `extension` (".png"), in any case, or with
// ".jpeg" for ".jpg": the library's writer then picks that format from the name.
bool named_as(const std::string &path, const char *extension)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string end = path.substr(dot);
    for (char &c : end)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == extension || (end == ".jpeg" && std::string(extension) == ".jpg");
}

// Encodes the picture in the format of `extension` and writes it safely over `path`
// (a temporary file, then a rename). A file whose name says another format is written
// under a name that says this one, then renamed. False with errno telling why.
bool write_encoded(const vollo_pixelarray *picture, const std::string &path, const char *extension)
{
    vollo_buffer *buffer = const_cast<vollo_pixelarray *>(picture);
    errno = 0;
    if (named_as(path, extension))
        return vollo_save_buffer(buffer, path.c_str()) || (errno = errno ? errno : EIO, false);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string temporary =
        folder + "/.pixodraw-" + std::to_string(getpid()) + "-document" + extension;
    struct stat old;
    const bool present = stat(path.c_str(), &old) == 0;
    if (!vollo_save_buffer(buffer, temporary.c_str()))
    {
        if (errno == 0)
            errno = EIO;
        return false;
    }
    if ((present && chmod(temporary.c_str(), old.st_mode & 07777) != 0) ||
        rename(temporary.c_str(), path.c_str()) != 0)
    {
        const int saved = errno;
        unlink(temporary.c_str());
        errno = saved;
        return false;
    }
    return true;
}

}  // namespace

picture_kind picture_kind_of(const char *path)
{
    static const struct
    {
        const char *magic;
        size_t length;
        picture_kind kind;
    } kinds[] = {{"BM", 2, KIND_BMP},          {"\x89PNG", 4, KIND_PNG},
                 {"\xFF\xD8\xFF", 3, KIND_JPEG}, {"GIF8", 4, KIND_GIF},
                 {"8BPS", 4, KIND_PSD},          {"#?RADIANCE", 10, KIND_HDR},
                 {"#?RGBE", 6, KIND_HDR},        {"\x53\x80\xF6\x34", 4, KIND_PIC}};
    char head[16] = {0};
    const int fd = open(path, O_RDONLY);
    if (fd >= 0)
    {
        (void)!read(fd, head, sizeof head);
        close(fd);
    }
    for (const auto &kind : kinds)
        if (memcmp(head, kind.magic, kind.length) == 0)
            return kind.kind;
    return KIND_TGA;  // the one kind read that has no signature
}

bool document_open(paint_state *state, uint32_t *pixels, uint32_t width, uint32_t height,
                   const char *path)
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
    document->kind = picture_kind_of(path);
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

bool document_save(paint_state *state)
{
    const paint_document *document = state->document;
    std::string path = document->path;
    bool saved;
    if (document->kind == KIND_BMP)
        saved = save_bmp_safely(document->picture, path.c_str(), true);
    else
    {
        if (!written_kind(document->kind))
        {
            path = png_beside(path);
            fprintf(stderr, "pixodraw: %s files are not written; the picture goes to %s\n",
                    kind_name(document->kind), path.c_str());
        }
        const char *extension = document->kind == KIND_JPEG ? ".jpg"
                                : document->kind == KIND_TGA ? ".tga"
                                                             : ".png";
        saved = write_encoded(document->picture, path, extension);
    }
    if (!saved)
    {
        fprintf(stderr, "pixodraw: the picture could not be saved as %s: %s\n", path.c_str(),
                strerror(errno));
        return false;
    }
    fprintf(stderr, "pixodraw: saved %s\n", path.c_str());
    state->saved_changes = state->changes;
    return true;
}

void document_touch(paint_state *state, paint_rect area)
{
    paint_document *document = state->document;
    if (document == nullptr || area.x0 > area.x1 || area.y0 > area.y1)
        return;
    paint_rect &changed = document->changed;
    changed = changed.x0 > changed.x1
                  ? area
                  : paint_rect{std::min(changed.x0, area.x0), std::min(changed.y0, area.y0),
                               std::max(changed.x1, area.x1), std::max(changed.y1, area.y1)};
    document->stale = 1;
    request_present(state, 1);
}

bool document_refresh(paint_state *state)
{
    paint_document *document = state->document;
    if (document == nullptr || !document->stale || state->canvas == nullptr)
        return false;
    if (document->changed.x0 <= document->changed.x1)
        mips_update(document, document->changed);
    document->changed = PAINT_NO_RECT;
    view_render(document, state->canvas);
    document->stale = 0;
    return true;
}

vollo_pixelarray *drawing_of(const paint_state *state)
{
    return state->document != nullptr ? state->document->picture : state->canvas;
}
