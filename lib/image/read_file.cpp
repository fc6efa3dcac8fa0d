// A whole file read once into new memory, as the picture readers read it.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "error/error.hpp"
#include "image.hpp"

uint8_t *vollo_read_file(const char *path, uint64_t *size)
{
    std::vector<uint8_t> bytes;
    vollo_image::file_reach reach = vollo_image::file_missing;
    const char *reason = size == nullptr ? "no place for the size" : vollo_image::read_whole(path, &bytes, &reach);
    uint8_t *copy = nullptr;
    if (reason == nullptr && (copy = static_cast<uint8_t *>(malloc(bytes.size() + 1))) == nullptr)
        reason = "not enough memory for the file";
    gl_vollo_load_error = reason;
    if (reason != nullptr)
    {
        vollo_image::fail_reading(path, reach == vollo_image::file_read ? vollo_image::file_unreadable : reach, reason);
        return nullptr;
    }
    memcpy(copy, bytes.data(), bytes.size());
    *size = bytes.size();
    return copy;
}
