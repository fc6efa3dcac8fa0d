#include "support.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include <dirent.h>
#include <ftw.h>

#include <gtest/gtest.h>



TempDir::TempDir()
{
    char pattern[] = "/tmp/paint_files_XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    nftw(
        path_.c_str(),
        [](const char *entry, const struct stat *, int, struct FTW *) { return remove(entry); },
        16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> TempDir::entries() const
{
    std::vector<std::string> names;
    DIR *dir = opendir(path_.c_str());
    if (dir == nullptr)
        return names;
    while (struct dirent *entry = readdir(dir))
    {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint32_t pattern_pixel(uint32_t x, uint32_t y)
{
    return rgba((x * 7 + 200) & 0xFF, (y * 13 + 3) & 0xFF, (x * 3 + y * 5 + 90) & 0xFF,
                (x + y) & 0xFF);
}

vollo_pixelarray *pattern_canvas(uint32_t width, uint32_t height)
{
    vollo_pixelarray *canvas = vollo_new_pixelarray(width, height);
    if (canvas != nullptr)
        for (uint32_t y = 0; y < height; y++)
            for (uint32_t x = 0; x < width; x++)
                canvas->pixels[y * width + x] = pattern_pixel(x, y);
    return canvas;
}

namespace
{
void put(std::vector<uint8_t> &out, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        out.push_back((value >> (8 * i)) & 0xFF);
}
}  // namespace

std::vector<uint8_t> BmpFile::bytes() const
{
    uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    uint32_t pixel_size = bits_per_pixel / 8;
    uint32_t row_size = (static_cast<uint32_t>(width) * pixel_size + 3) / 4 * 4;
    uint32_t offset = 14 + std::max<uint32_t>(info_size, 40) + (masks && info_size == 40 ? 12 : 0) + gap;
    std::vector<uint8_t> out;
    out.push_back(signature[0]);
    out.push_back(signature[1]);
    put(out, offset + row_size * rows, 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, info_size, 4);
    put(out, static_cast<uint32_t>(width), 4);
    put(out, static_cast<uint32_t>(height), 4);
    put(out, 1, 2);
    put(out, bits_per_pixel, 2);
    put(out, compression, 4);
    put(out, row_size * rows, 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    if (masks)
    {
        put(out, red_mask, 4);
        put(out, green_mask, 4);
        put(out, blue_mask, 4);
        if (info_size >= 56)
            put(out, 0, 4);  // no alpha mask
    }
    out.resize(offset, 0xEE);  // the rest of a longer header, and the gap
    for (uint32_t stored = 0; stored < rows; stored++)
    {
        uint32_t y = height > 0 ? rows - 1 - stored : stored;
        size_t start = out.size();
        for (uint32_t x = 0; x < static_cast<uint32_t>(width); x++)
        {
            uint32_t pixel = pattern_pixel(x, y);
            uint8_t channel[4] = {static_cast<uint8_t>(pixel & 0xFF), static_cast<uint8_t>(pixel >> 8),
                                  static_cast<uint8_t>(pixel >> 16), 0x55};
            uint8_t stored_pixel[4] = {channel[2], channel[1], channel[0], 0x55};
            if (masks)
            {
                uint32_t word = 0x55u << 24;  // filler in the byte no mask names
                uint32_t all_masks[3] = {red_mask, green_mask, blue_mask};
                word &= ~(red_mask | green_mask | blue_mask);
                for (int c = 0; c < 3; c++)
                {
                    int shift = __builtin_ctz(all_masks[c]);
                    word |= static_cast<uint32_t>(channel[c]) << shift;
                }
                for (int i = 0; i < 4; i++)
                    stored_pixel[i] = (word >> (8 * i)) & 0xFF;
            }
            out.insert(out.end(), stored_pixel, stored_pixel + pixel_size);
        }
        out.resize(start + row_size, 0xAA);  // padding
    }
    return out;
}

std::vector<uint8_t> BmpParts::bytes() const
{
    const bool os2 = info_size == 12;
    const uint32_t header_end = 14 + info_size + (info_size == 40 ? 4 * uint32_t(masks.size()) : 0);
    const uint32_t offset = header_end + uint32_t(palette.size()) + gap;
    std::vector<uint8_t> out = {'B', 'M'};
    put(out, offset + uint32_t(data.size()), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, info_size, 4);
    put(out, static_cast<uint32_t>(width), os2 ? 2 : 4);
    put(out, static_cast<uint32_t>(height), os2 ? 2 : 4);
    put(out, 1, 2);
    put(out, bits, 2);
    if (!os2)
    {
        put(out, compression, 4);
        put(out, uint32_t(data.size()), 4);
        put(out, 2835, 4);
        put(out, 2835, 4);
        put(out, colors_used, 4);
        put(out, 0, 4);
    }
    for (uint32_t mask : masks)
        put(out, mask, 4);
    out.resize(header_end, 0);
    out.insert(out.end(), palette.begin(), palette.end());
    out.resize(offset, 0xEE);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}
