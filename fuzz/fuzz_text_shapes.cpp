// Built-in text and shapes with arbitrary coordinates, sizes, clip rectangles and
// UTF-8 bytes, on a small pixel array: nothing is written outside the array's clip
// rectangle, the decoder never reads past the end, and text stays in its box.
#include <cstring>
#include <vector>

#include "text/text.hpp"
#include "vollo.h"

namespace
{

const uint32_t width = 23, height = 17, untouched = 0x5A5A5A5A;

int32_t take(const uint8_t *&data, size_t &size)
{
    int32_t value = 0;
    const size_t n = size < 4 ? size : 4;
    std::memcpy(&value, data, n);
    data += n, size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vollo_delete_clipable(vollo_new_pixelarray(1, 1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int32_t selector = take(data, size), x = take(data, size), y = take(data, size);
    const int32_t a = take(data, size), b = take(data, size), clip = take(data, size);
    const std::string text(reinterpret_cast<const char *>(data), size);

    // The decoder moves 1 to 4 bytes a step and stops at the terminator.
    for (const char *p = text.c_str(); *p;)
    {
        const char *before = p;
        vollo_text::next_code_point(p);
        if (p - before < 1 || p - before > 4 || p > text.c_str() + std::strlen(text.c_str()))
            abort();
    }

    vollo_pixelarray *array = vollo_new_pixelarray(width, height);
    if (!array)
        abort();
    std::fill(array->pixels, array->pixels + width * height, untouched);
    // A clip rectangle anywhere, of any size; only its part inside the array counts.
    array->clip_x = int8_t(clip), array->clip_y = int8_t(clip >> 8);
    array->clip_width = uint8_t(clip >> 16), array->clip_height = uint8_t(clip >> 24);
    const uint32_t color = 0x80000000u | uint32_t(selector >> 8);
    const vollo_position ends[2] = {{x, y}, {a, b}};
    switch (uint32_t(selector) % 6)
    {
    case 0: vollo_set_rectangle(array, {x, y}, a, b, color, selector & 0x100); break;
    case 1: vollo_set_circle(array, {x, y}, a, color, selector & 0x100); break;
    case 2: vollo_set_ellipse(array, {x, y}, a, b, color, selector & 0x100); break;
    case 3: vollo_set_line_width(array, ends, clip >> 24 & 0x3F, color); break;
    default: vollo_draw_text(array, text.c_str(), {x, y}, a % 9, color); break;
    }
    for (int64_t py = 0; py < height; ++py)
        for (int64_t px = 0; px < width; ++px)
        {
            const bool in_clip = px >= array->clip_x && px < int64_t(array->clip_x) + array->clip_width &&
                                 py >= array->clip_y && py < int64_t(array->clip_y) + array->clip_height;
            if (!in_clip && array->pixels[py * width + px] != untouched)
                abort();
        }

    // Text drawn at the origin stays inside the box its size gives.
    const vollo_size box = vollo_text_size(text.c_str(), 1);
    array->clip_x = array->clip_y = 0, array->clip_width = width, array->clip_height = height;
    std::fill(array->pixels, array->pixels + width * height, untouched);
    vollo_draw_text(array, text.c_str(), {0, 0}, 1, 0xFF000000);
    for (int64_t py = 0; py < height; ++py)
        for (int64_t px = 0; px < width; ++px)
            if (array->pixels[py * width + px] != untouched && (px >= box.width || py >= box.height))
                abort();
    vollo_delete_clipable(array);
    return 0;
}
