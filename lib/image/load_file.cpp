// A picture file into a new pixel array of the arena: the file read once, decoded by the
// one decoder, then copied into the array; the kind is told by the content.
#include <algorithm>
#include <cstdlib>
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

const char *const bmp_too_large = "BMP picture too large for the memory available";
const char *const no_array = "picture too large for the memory available";

// The size a file's header claims, when it can be told.
bool size_in_header(const std::vector<uint8_t> &bytes, bool bmp, uint64_t *width, uint64_t *height)
{
    bmp_layout layout{};
    if (!bmp)
        return claimed_size(bytes.data(), bytes.size(), width, height);
    parse_bmp(bytes.data(), std::min(bytes.size(), head_size), &layout);
    *width = layout.width;
    *height = layout.height;
    return layout.width > 0 && layout.height > 0;
}

// Feeds vollo_error: the path, then why; for a picture the arena cannot hold, what
// it needs and the remedy.
void fail_load(const char *path, file_reach reach, const std::vector<uint8_t> &bytes, bool bmp,
               const char *reason)
{
    uint64_t width = 0, height = 0;
    if (reach != file_read)
        fail_reading(path, reach, reason);
    else if (std::strstr(reason, "too large") && size_in_header(bytes, bmp, &width, &height) &&
             width * height <= max_pixels && !fits_in_arena(width * height))
        vollo_fail_arena(("cannot load '" + std::string(path) + "': ").c_str(), uint32_t(width), uint32_t(height));
    else
        vollo_fail("cannot load '%s': %s", path, reason);
}

// vollo_load_pixelarray_error gives the reason vollo_error gives for the failure, without
// the words that name the file: "cannot load 'PATH': " + reason is vollo_error's text.
const char *same_reason_as_error(const char *path)
{
    thread_local char text[1024];
    const std::string error = vollo_error(), named = path ? "'" + std::string(path) + "': " : std::string();
    const size_t at = named.empty() ? std::string::npos : error.find(named);
    std::snprintf(text, sizeof text, "%s", at == std::string::npos ? error.c_str() : error.c_str() + at + named.size());
    return text;
}

// Refuses, before decoding, a picture whose header claims more than the arena holds.
const char *check_arena(const std::vector<uint8_t> &bytes, bool bmp)
{
    uint64_t width = 0, height = 0;
    if (!size_in_header(bytes, bmp, &width, &height) || fits_in_arena(width * height))
        return nullptr;
    return bmp ? bmp_too_large : no_array;
}

}  // namespace

vollo_pixelarray *load_file(const char *path, bool bmp_only, bool keep_alpha)
{
    std::vector<uint8_t> bytes;
    decoded_picture picture;
    file_reach reach = file_missing;
    const char *reason = read_whole(path, &bytes, &reach);
    const bool bmp = bmp_only || kind_of(bytes.data(), bytes.size()) == VOLLO_KIND_BMP;
    if (reason == nullptr)
        reason = check_arena(bytes, bmp);
    if (reason == nullptr)
        reason = decode_bytes(bytes.data(), bytes.size(), bmp_only, keep_alpha, &picture);
    vollo_pixelarray *array = nullptr;
    if (reason == nullptr && (array = vollo_new_pixelarray(picture.width, picture.height)) == nullptr)
        reason = bmp ? bmp_too_large : no_array;
    if (array != nullptr)
        memcpy(array->pixels, picture.pixels, size_t(picture.width) * picture.height * 4);
    free(picture.pixels);
    gl_vollo_load_error = reason;
    if (array)
        vollo_track(array, "pixel array", bmp_only ? "vollo_load_bmp" : "vollo_load_pixelarray", array->width,
                    array->height);
    else
    {
        fail_load(path, reach, bytes, bmp, reason);
        gl_vollo_load_error = same_reason_as_error(path);
    }
    return array;
}

}  // namespace vollo_image
