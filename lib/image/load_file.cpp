// A picture file into a new pixel array: BMP files through the library's own reader,
// every other kind through SFML's image loader; the kind is told by the content.
#include <cstdio>
#include <cstring>
#include <string>

#include "error/error.hpp"
#include "error/records.hpp"
#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const too_large = "BMP picture too large for the memory available";
const char *const no_array = "picture too large for the memory available";

vollo_pixelarray *load_bmp_file(picture_file *file, const char **reason, bool keep_alpha)
{
    bmp_layout layout;
    std::vector<uint8_t> data;
    if ((*reason = check_bmp(file, &layout)) != nullptr ||
        (*reason = read_bmp_data(file, &layout, &data)) != nullptr)
        return nullptr;
    vollo_pixelarray *array = vollo_new_pixelarray(layout.width, layout.height);
    if (array == nullptr)
    {
        *reason = too_large;
        return nullptr;
    }
    *reason = decode_bmp(data.data(), data.size(), &layout, array->pixels, keep_alpha);
    if (*reason != nullptr)
    {
        vollo_delete_clipable(array);
        return nullptr;
    }
    return array;
}

vollo_pixelarray *load_other_file(picture_file *file, const char **reason, bool keep_alpha)
{
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> pixels;
    uint32_t width = 0, height = 0;
    if ((*reason = read_rest(file, &bytes)) != nullptr ||
        (*reason = decode_other(bytes, &pixels, &width, &height, keep_alpha)) != nullptr)
        return nullptr;
    bytes = std::vector<uint8_t>();  // the file's bytes are no longer needed
    vollo_pixelarray *array = vollo_new_pixelarray(width, height);
    if (array == nullptr)
    {
        *reason = no_array;
        return nullptr;
    }
    memcpy(array->pixels, pixels.data(), pixels.size() * 4);
    return array;
}

// The size a file's header claims, when it can be told.
bool size_in_header(const picture_file &file, uint64_t *width, uint64_t *height)
{
    bmp_layout layout{};
    if (!is_bmp(file))
        return claimed_size(file.head, width, height);
    parse_bmp(file.head.data(), file.head.size(), &layout);
    *width = layout.width;
    *height = layout.height;
    return layout.width > 0 && layout.height > 0;
}

// The picture's size from its first bytes, or from the whole file when they do not tell
// it (a photo's metadata can push its JPEG frame header far in).
bool known_size(const char *path, const picture_file &file, uint64_t *width, uint64_t *height)
{
    uint32_t columns = 0, rows = 0;
    if (size_in_header(file, width, height))
        return true;
    if (!vollo_picture_size(path, &columns, &rows))
        return false;
    *width = columns;
    *height = rows;
    return true;
}

// Feeds vollo_error: the path, then why; for a picture the arena cannot hold, what
// it needs and the remedy.
void fail_load(const char *path, const picture_file &file, const char *reason)
{
    uint64_t width = 0, height = 0;
    if (file.fd < 0)
        vollo_fail("cannot open '%s': %s", path ? path : "(no path)", reason);
    else if (std::strstr(reason, "too large") && known_size(path, file, &width, &height) &&
             width * height <= max_pixels && !fits_in_arena(width * height))
        vollo_fail_arena(("cannot load '" + std::string(path) + "': ").c_str(), uint32_t(width), uint32_t(height));
    else
        vollo_fail("cannot load '%s': %s", path, reason);
}

// vollo_load_pixelarray_error gives the reason vollo_error gives for the failure, without
// the words that name the file: "cannot load 'PATH': " + reason is vollo_error's text.
const char *same_reason_as_error(const char *path)
{
    static char text[1024];
    const std::string error = vollo_error(), named = path ? "'" + std::string(path) + "': " : std::string();
    const size_t at = named.empty() ? std::string::npos : error.find(named);
    std::snprintf(text, sizeof text, "%s", at == std::string::npos ? error.c_str() : error.c_str() + at + named.size());
    return text;
}

}  // namespace

bool is_bmp(const picture_file &file)
{
    return file.head.size() >= 2 && file.head[0] == 'B' && file.head[1] == 'M';
}

vollo_pixelarray *load_file(const char *path, bool bmp_only, bool keep_alpha)
{
    picture_file file;
    const char *reason = open_picture(path, &file);
    vollo_pixelarray *array = nullptr;
    if (reason == nullptr)
    {
        if (bmp_only || is_bmp(file))
            array = load_bmp_file(&file, &reason, keep_alpha);
        else
            array = load_other_file(&file, &reason, keep_alpha);
    }
    gl_vollo_load_error = reason;
    if (array)
        vollo_track(array, "pixel array", bmp_only ? "vollo_load_bmp" : "vollo_load_pixelarray", array->width,
                    array->height);
    else
    {
        fail_load(path, file, reason);
        gl_vollo_load_error = same_reason_as_error(path);
    }
    return array;
}

}  // namespace vollo_image
