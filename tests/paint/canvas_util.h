// Helpers for the paint program's tests: a pixel array with guard words around its
// pixels (to catch any write outside it), a small BMP writer independent of the
// program's own, and a per-test temporary folder.
#ifndef PAINT_CANVAS_UTIL_H
#define PAINT_CANVAS_UTIL_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "vollo.h"

#define GUARD_WORDS 4096u
#define GUARD_VALUE 0xDEADBEEFu

// A pixel array of any size, every pixel `fill`, with GUARD_WORDS guard words on each side.
// The paint routines use only the clipable head of a pixel array (size and pixels); the
// head is kept here without the SFML staging objects, whose construction would need a
// display, so that these tests run anywhere.
struct GuardedCanvas
{
    vollo_clipable head;
    std::vector<uint32_t> storage;
    vollo_pixelarray *const pixelarray;
    vollo_clipable &array;

    GuardedCanvas(uint32_t width, uint32_t height, uint32_t fill)
        : head(), storage(static_cast<size_t>(width) * height + 2 * GUARD_WORDS, GUARD_VALUE),
          pixelarray(reinterpret_cast<vollo_pixelarray *>(&head)), array(head)
    {
        array.type = VOLLO_PIXELARRAY;
        array.render_target = nullptr;
        array.width = width;
        array.height = height;
        array.clip_x = 0;
        array.clip_y = 0;
        array.clip_width = static_cast<int32_t>(width);
        array.clip_height = static_cast<int32_t>(height);
        array.origin_x = array.origin_y = 0;
        array.scale_x = array.scale_y = 1;
        array.rotation = 0;
        array.pixels = storage.data() + GUARD_WORDS;
        fill_all(fill);
    }
    GuardedCanvas(const GuardedCanvas &) = delete;
    GuardedCanvas &operator=(const GuardedCanvas &) = delete;

    void fill_all(uint32_t color)
    {
        for (size_t i = 0; i < static_cast<size_t>(array.width) * array.height; i++)
            array.pixels[i] = color;
    }
    uint32_t at(int32_t x, int32_t y) const
    {
        return array.pixels[static_cast<size_t>(y) * array.width + x];
    }
    void set(int32_t x, int32_t y, uint32_t color)
    {
        array.pixels[static_cast<size_t>(y) * array.width + x] = color;
    }
    bool guards_intact() const
    {
        const size_t end = GUARD_WORDS + static_cast<size_t>(array.width) * array.height;
        for (size_t i = 0; i < GUARD_WORDS; i++)
            if (storage[i] != GUARD_VALUE || storage[end + i] != GUARD_VALUE)
                return false;
        return true;
    }
    // Number of pixels of the given colour inside x0..x1, y0..y1 (clipped).
    int count(uint32_t color, int32_t x0 = 0, int32_t y0 = 0, int32_t x1 = INT32_MAX,
              int32_t y1 = INT32_MAX) const
    {
        int n = 0;
        for (int32_t y = y0 < 0 ? 0 : y0; y <= y1 && y < static_cast<int32_t>(array.height); y++)
            for (int32_t x = x0 < 0 ? 0 : x0; x <= x1 && x < static_cast<int32_t>(array.width); x++)
                n += at(x, y) == color;
        return n;
    }
};

// Writes a 24-bit bottom-up BMP whose pixel (x, y) is color(x, y) (0xAABBGGRR; alpha dropped).
template <typename ColorOf>
bool write_test_bmp(const std::string &path, int32_t width, int32_t height, ColorOf color)
{
    const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t data = row * static_cast<uint32_t>(height);
    std::vector<uint8_t> file(54 + data, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, 54 + data);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, data);
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++)
        {
            const uint32_t c = color(x, y);
            uint8_t *p = &file[54 + static_cast<size_t>(height - 1 - y) * row + 3 * x];
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
        }
    FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// A fresh folder under /tmp, removed with everything in it by the destructor.
struct TempDir
{
    std::string path;
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
};

// Colours of the test pictures: distinct per pixel, opaque once loaded.
inline uint32_t palette_color(int32_t x, int32_t y)
{
    return 0xFF000000u | static_cast<uint32_t>((x * 7 + 1) & 0xFF) |
           (static_cast<uint32_t>((y * 2 + 3) & 0xFF) << 8) |
           (static_cast<uint32_t>((x + y) & 0xFF) << 16);
}
inline uint32_t pot_color(int32_t x, int32_t y)
{
    return 0xFF000000u | static_cast<uint32_t>((200 - x) & 0xFF) |
           (static_cast<uint32_t>((y * 3) & 0xFF) << 8) | (0x40u << 16);
}

#endif
