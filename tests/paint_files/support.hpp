// Helpers shared by the tests of the paint program's files and terminal layer.
#ifndef PAINT_FILES_SUPPORT_HPP
#define PAINT_FILES_SUPPORT_HPP

#include <cstdint>
#include <string>
#include <vector>

#include "vollo.h"

// A fresh folder under /tmp, removed with everything in it at the end of the scope.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

std::vector<uint8_t> read_file(const std::string &path);
void write_file(const std::string &path, const std::vector<uint8_t> &bytes);

// A pixel value from its channels (bytes red, green, blue, alpha in memory).
inline uint32_t rgba(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha = 255)
{
    return red | (green << 8) | (blue << 16) | (alpha << 24);
}

// A distinct, asymmetric colour for every pixel, so that a flipped row, a swapped
// channel or a shifted column shows; alpha varies too, to prove it is dropped.
uint32_t pattern_pixel(uint32_t x, uint32_t y);

// A new pixel array filled with pattern_pixel.
vollo_pixelarray *pattern_canvas(uint32_t width, uint32_t height);

// A BMP file built byte by byte, for the reader's tests.
struct BmpFile
{
    int32_t width = 2;
    int32_t height = 2;            // negative: rows stored top-down
    uint16_t bits_per_pixel = 24;
    uint32_t compression = 0;
    uint32_t info_size = 40;
    uint32_t gap = 0;              // bytes between the header (and masks) and the rows
    bool masks = false;            // 12 bytes of bit-field masks at offset 54
    uint32_t red_mask = 0x00FF0000, green_mask = 0x0000FF00, blue_mask = 0x000000FF;
    const char *signature = "BM";

    // Pixel (x, y) of the picture, y = 0 at the top: pattern_pixel, opaque.
    std::vector<uint8_t> bytes() const;
};

// A BMP file of any kind assembled from its parts, for the kinds that no tool at hand
// writes: the headers, then the masks, the palette and the pixel data as given.
struct BmpParts
{
    uint32_t info_size = 40;       // 12: OS/2 1.x, with 16-bit sizes and no fields after bits
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t colors_used = 0;
    std::vector<uint32_t> masks;   // at offset 54: inside a longer header, after a 40-byte one
    std::vector<uint8_t> palette;  // entries as stored: B, G, R (and 0 after a Windows header)
    uint32_t gap = 0;              // bytes between the palette and the pixel data
    std::vector<uint8_t> data;     // the pixel data as stored

    std::vector<uint8_t> bytes() const;
};

#endif
