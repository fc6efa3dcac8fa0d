// The BMP reader: the layouts it accepts and the files it refuses.
#include <cerrno>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"
#include "bmp.h"

namespace
{

class BmpReader : public ::testing::Test
{
protected:
    // Writes the file and loads it; the reason is kept in `reason`.
    vollo_pixelarray *load(const std::vector<uint8_t> &bytes)
    {
        std::string path = dir.file("picture.bmp");
        write_file(path, bytes);
        reason = nullptr;
        return load_bmp_reason(path.c_str(), &reason);
    }
    TempDir dir;
    const char *reason = nullptr;
};

// Every pixel is the pattern, opaque, at the picture's size.
void expect_pattern(const vollo_pixelarray *pixels, uint32_t width, uint32_t height)
{
    ASSERT_NE(pixels, nullptr);
    ASSERT_EQ(pixels->width, width);
    ASSERT_EQ(pixels->height, height);
    for (uint32_t y = 0; y < height; y++)
        for (uint32_t x = 0; x < width; x++)
            ASSERT_EQ(pixels->pixels[y * width + x], pattern_pixel(x, y) | 0xFF000000u)
                << "pixel (" << x << ", " << y << ")";
}

struct Accepted
{
    const char *name;
    BmpFile file;
};

BmpFile with(void (*change)(BmpFile &))
{
    BmpFile file;
    change(file);
    return file;
}

TEST_F(BmpReader, ReadsUncompressedLayouts)
{
    const Accepted cases[] = {
        {"2x2 bottom-up, 2 padding bytes per row", BmpFile{}},
        {"odd width 3x2", with([](BmpFile &f) { f.width = 3; })},
        {"1x1", with([](BmpFile &f) { f.width = 1; f.height = 1; })},
        {"top-down", with([](BmpFile &f) { f.width = 5; f.height = -3; })},
        {"32-bit without masks", with([](BmpFile &f) { f.width = 3; f.bits_per_pixel = 32; })},
        {"32-bit bit fields after a 40-byte header",
         with([](BmpFile &f) { f.width = 3; f.bits_per_pixel = 32; f.compression = 3; f.masks = true; })},
        {"32-bit bit fields in a 124-byte header, RGBA order, top-down",
         with([](BmpFile &f) {
             f.width = 3; f.height = -2; f.bits_per_pixel = 32; f.compression = 3; f.masks = true;
             f.info_size = 124; f.red_mask = 0xFF; f.green_mask = 0xFF00; f.blue_mask = 0xFF0000;
         })},
        {"124-byte header, data further on", with([](BmpFile &f) { f.info_size = 124; f.gap = 20; })},
        {"gap between header and rows", with([](BmpFile &f) { f.width = 7; f.gap = 1000; })},
    };
    for (const Accepted &c : cases)
    {
        SCOPED_TRACE(c.name);
        vollo_pixelarray *pixels = load(c.file.bytes());
        EXPECT_EQ(reason, nullptr) << reason;
        uint32_t height = static_cast<uint32_t>(c.file.height < 0 ? -c.file.height : c.file.height);
        expect_pattern(pixels, static_cast<uint32_t>(c.file.width), height);
        vollo_delete_clipable(pixels);
    }
}

// Bytes beyond the rows (an older, longer file) are ignored.
TEST_F(BmpReader, IgnoresBytesAfterTheRows)
{
    std::vector<uint8_t> bytes = BmpFile{}.bytes();
    bytes.resize(bytes.size() + 100, 0x99);
    vollo_pixelarray *pixels = load(bytes);
    expect_pattern(pixels, 2, 2);
    vollo_delete_clipable(pixels);
}

// Files of the kinds that no tool at hand writes, with their pixels written out (top row
// first). Palette colours: P0 = (10, 20, 30), P1 = (200, 100, 50), P2 = (0, 255, 7),
// P3 = (90, 0, 250); W is the white that RLE codes leave where they skip.
const uint32_t P0 = rgba(10, 20, 30), P1 = rgba(200, 100, 50), P2 = rgba(0, 255, 7),
               P3 = rgba(90, 0, 250), W = rgba(255, 255, 255);
const std::vector<uint8_t> four_colours = {30, 20, 10, 0, 50, 100, 200, 0, 7, 255, 0, 0, 250, 0, 90, 0};

struct HandMade
{
    const char *name;
    BmpParts parts;
    std::vector<uint32_t> expected;
};

BmpParts parts(uint32_t info_size, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
               std::vector<uint32_t> masks, std::vector<uint8_t> palette, std::vector<uint8_t> data,
               uint32_t colors_used = 0)
{
    BmpParts p;
    p.info_size = info_size;
    p.width = width;
    p.height = height;
    p.bits = bits;
    p.compression = compression;
    p.masks = std::move(masks);
    p.palette = std::move(palette);
    p.data = std::move(data);
    p.colors_used = colors_used;
    return p;
}

std::vector<uint8_t> full_palette()
{
    std::vector<uint8_t> entries;
    for (int i = 0; i < 256; i++)
        entries.insert(entries.end(), {uint8_t(i / 2), uint8_t(255 - i), uint8_t(i), 0});
    return entries;
}

std::vector<uint8_t> little_endian(std::vector<uint32_t> words, int size)
{
    std::vector<uint8_t> bytes;
    for (uint32_t word : words)
        for (int i = 0; i < size; i++)
            bytes.push_back(uint8_t(word >> (8 * i)));
    return bytes;
}

TEST_F(BmpReader, ReadsTheKindsNoToolWrites)
{
    const HandMade cases[] = {
        {"OS/2 1-bit, 3-byte palette entries",
         parts(12, 3, 2, 1, 0, {}, {30, 20, 10, 50, 100, 200}, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}),
         {P1, P0, P1, P0, P1, P1}},
        {"2-bit", parts(40, 5, 1, 2, 0, {}, four_colours, {0xE4, 0xC0, 0, 0}), {P3, P2, P1, P0, P3}},
        {"4-bit, palette of 3 colours",
         parts(40, 5, 1, 4, 0, {}, {30, 20, 10, 0, 50, 100, 200, 0, 7, 255, 0, 0}, {0x20, 0x11, 0x20, 0}, 3),
         {P2, P0, P1, P1, P2}},
        {"8-bit, colour count 0: the full palette, top-down",
         parts(40, 3, -2, 8, 0, {}, full_palette(), {0, 128, 255, 0, 7, 200, 1, 0}),
         {rgba(0, 255, 0), rgba(128, 127, 64), rgba(255, 0, 127), rgba(7, 248, 3), rgba(200, 55, 100),
          rgba(1, 254, 0)}},
        {"16-bit default 5-5-5, top bit ignored",
         parts(40, 2, 1, 16, 0, {}, {}, little_endian({0xFC00, 0x061E}, 2)),
         {rgba(255, 0, 0), rgba(8, 132, 247)}},
        {"16-bit 5-6-5 bit fields",
         parts(40, 2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, little_endian({0xFC11, 0x0821}, 2)),
         {rgba(255, 130, 140), rgba(8, 4, 8)}},
        {"16-bit 4-4-4-4 with alpha in a V5 header, over white",
         parts(124, 3, 1, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {}, little_endian({0xF0F0, 0x0F00, 0x8123, 0}, 2)),
         {rgba(0, 255, 0), W, rgba(128, 137, 146)}},
        {"32-bit 10-10-10-2 in a V3 header, over white",
         parts(56, 3, 1, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, {},
               little_endian({0xFFF80001, 0x400FFC00, 0x80000000 | 300u << 20 | 700u << 10 | 1000u}, 4)),
         {rgba(255, 128, 0), rgba(170, 255, 170), rgba(135, 201, 251)}},
        {"32-bit 5-6-5 bit fields",
         parts(40, 2, 1, 32, 3, {0xF800, 0x07E0, 0x001F}, {}, little_endian({0xFC11, 0x0821}, 4)),
         {rgba(255, 130, 140), rgba(8, 4, 8)}},
        {"32-bit fields wider than 16 bits",
         parts(40, 2, 1, 32, 3, {0x0001FFFF, 0x03FE0000, 0xFC000000}, {},
               little_endian({0x0001FFFF, 0x10000u | 256u << 17 | 33u << 26}, 4)),
         {rgba(255, 0, 0), rgba(128, 128, 134)}},
        {"32-bit V5 without fields, fourth byte all zero: opaque",
         parts(124, 2, 1, 32, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0}), {rgba(3, 2, 1), rgba(6, 5, 4)}},
        {"32-bit V5 without fields, with alpha: over white",
         parts(124, 2, 1, 32, 0, {}, {}, {1, 2, 3, 255, 40, 50, 60, 0}), {rgba(3, 2, 1), W}},
        {"RLE8: runs, absolute run, delta, end of line and picture, run past the width",
         parts(40, 6, 3, 8, 1, {}, four_colours,
               {3, 1, 0, 3, 2, 0, 3, 0, 5, 1, 0, 0, 0, 2, 2, 1, 2, 2, 0, 1}),
         {W, W, P2, P2, W, W, W, W, W, W, W, W, P1, P1, P1, P2, P0, P3}},
        {"RLE4: runs of two nibbles, delta, absolute run",
         parts(40, 7, 2, 4, 2, {}, four_colours, {5, 0x12, 0, 2, 1, 0, 1, 0x20, 0, 0, 0, 3, 0x01, 0x20, 0, 1}),
         {P0, P1, P2, W, W, W, W, P1, P2, P1, P2, P1, W, P2}},
        {"RLE8 ending at the last pixel without end-of-picture",
         parts(40, 2, 1, 8, 1, {}, four_colours, {2, 3}), {P3, P3}},
        {"RLE8 delta past the last row ends the picture",
         parts(40, 2, 2, 8, 1, {}, four_colours, {1, 1, 0, 2, 0, 9, 7, 7}), {W, W, P1, W}},
    };
    for (const HandMade &c : cases)
    {
        SCOPED_TRACE(c.name);
        vollo_pixelarray *pixels = load(c.parts.bytes());
        ASSERT_NE(pixels, nullptr) << reason;
        const uint32_t height = uint32_t(c.parts.height < 0 ? -c.parts.height : c.parts.height);
        ASSERT_EQ(pixels->width, uint32_t(c.parts.width));
        ASSERT_EQ(pixels->height, height);
        std::vector<uint32_t> got(pixels->pixels, pixels->pixels + size_t(pixels->width) * height);
        EXPECT_EQ(got, c.expected);
        vollo_delete_clipable(pixels);
        EXPECT_EQ(vollo_check_picture(dir.file("picture.bmp").c_str()), nullptr);
    }
}

// Codes aimed outside the picture are cut off at its edges, whatever they say.
TEST_F(BmpReader, RleCodesNeverWriteOutsideThePicture)
{
    std::vector<uint8_t> codes;
    for (int i = 0; i < 300; i++)
        codes.insert(codes.end(), {255, 1, 0, 2, 255, 0, 0, 3, 1, 1, 1, 0});
    codes.insert(codes.end(), {0, 2, 255, 255, 255, 1});
    vollo_pixelarray *pixels = load(parts(40, 3, 2, 8, 1, {}, four_colours, codes).bytes());
    ASSERT_NE(pixels, nullptr) << reason;
    std::vector<uint32_t> got(pixels->pixels, pixels->pixels + 6);
    EXPECT_EQ(got, (std::vector<uint32_t>{W, W, W, P1, P1, P1}));
    vollo_delete_clipable(pixels);
}

struct Refused
{
    const char *name;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> patched(std::vector<uint8_t> bytes, size_t offset, uint32_t value, int size = 4)
{
    for (int i = 0; i < size; i++)
        bytes.at(offset + i) = (value >> (8 * i)) & 0xFF;
    return bytes;
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

// Palette entries as stored after a Windows header: grey levels 0, 1, 2...
std::vector<uint8_t> grey_palette(uint32_t count)
{
    std::vector<uint8_t> entries;
    for (uint32_t i = 0; i < count; i++)
        entries.insert(entries.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    return entries;
}

// A 1 x 1 file of the given depth, compression, masks, palette and data.
std::vector<uint8_t> kind(uint16_t bits, uint32_t compression, std::vector<uint32_t> masks,
                          std::vector<uint8_t> palette, std::vector<uint8_t> data)
{
    BmpParts parts;
    parts.bits = bits;
    parts.compression = compression;
    parts.masks = std::move(masks);
    parts.palette = std::move(palette);
    parts.data = std::move(data);
    return parts.bytes();
}

TEST_F(BmpReader, RefusesWhatItCannotReadWhole)
{
    const std::vector<uint8_t> good = BmpFile{}.bytes();  // 54 + 2 rows of 8 bytes
    const std::vector<uint8_t> masked =
        with([](BmpFile &f) { f.bits_per_pixel = 32; f.compression = 3; f.masks = true; }).bytes();
    const Refused cases[] = {
        {"empty file", {}},
        {"header cut at 53 bytes", cut(good, 53)},
        {"no pixel data at all", cut(good, 54)},
        {"last padding byte missing", cut(good, good.size() - 1)},
        {"no BM signature", patched(good, 0, 'B' | ('A' << 8), 2)},
        {"12-byte info header", patched(good, 14, 12)},
        {"8 bits per pixel", patched(good, 28, 8, 2)},
        {"0 bits per pixel", patched(good, 28, 0, 2)},
        {"RLE8 compression", patched(good, 30, 1)},
        {"bit fields at 24 bits", patched(good, 30, 3)},
        {"PNG inside", patched(good, 30, 5)},
        {"width 0", patched(good, 18, 0)},
        {"negative width", patched(good, 18, static_cast<uint32_t>(-2))},
        {"height 0", patched(good, 22, 0)},
        {"most negative height", patched(good, 22, 0x80000000u)},
        {"huge width", patched(good, 18, 0x7FFFFFFF)},
        {"huge height", patched(good, 22, 0x7FFFFFFF)},
        {"huge negative height", patched(good, 22, static_cast<uint32_t>(-0x7FFFFFFF))},
        {"100000 x 100000", patched(patched(good, 18, 100000), 22, 100000)},
        {"8000 x 8000 with two rows of data", patched(patched(good, 18, 8000), 22, 8000)},
        {"data offset inside the header", patched(good, 10, 20)},
        {"data offset 0", patched(good, 10, 0)},
        {"data offset past the end", patched(good, 10, 1000)},
        {"data offset 4 GiB", patched(good, 10, 0xFFFFFFFF)},
        {"masks cut short", cut(masked, 60)},
        {"two channels on one byte", patched(masked, 54, 0x0000FF00)},
        {"zero mask", patched(masked, 62, 0)},
        {"mask with a gap", patched(masked, 62, 0x0F0F)},
        {"16-bit mask past 16 bits", kind(16, 3, {0x10000, 0x3E0, 0x1F}, {}, {0, 0, 0, 0})},
        {"64 bits per pixel", patched(good, 28, 64, 2)},
        {"RLE8 at 4 bits", kind(4, 1, {}, grey_palette(16), {0, 1})},
        {"RLE4 at 8 bits", kind(8, 2, {}, grey_palette(16), {0, 1})},
        {"JPEG inside", patched(good, 30, 4)},
        {"CMYK", patched(good, 30, 11)},
        {"CMYK RLE8", patched(good, 30, 12)},
        {"unknown compression", patched(good, 30, 7)},
        {"Huffman 1D in an OS/2 2.x header",
         [] { BmpParts p = {}; p.info_size = 64; p.bits = 1; p.compression = 3;
              p.palette = grey_palette(2); p.data = {0, 0, 0, 0}; return p.bytes(); }()},
        {"RLE24 in an OS/2 2.x header",
         [] { BmpParts p = {}; p.info_size = 64; p.bits = 24; p.compression = 4;
              p.data = {0, 1}; return p.bytes(); }()},
        {"unknown info header size", patched(good, 14, 44)},
        {"index past a short palette", kind(4, 0, {}, grey_palette(2), {0x31, 0, 0, 0})},
        {"palette with no entry at all", kind(8, 0, {}, {}, {0, 0, 0, 0})},
        {"RLE8 index past the palette", kind(8, 1, {}, grey_palette(2), {1, 2, 0, 1})},
        {"RLE8 codes end before the picture does",
         [] { BmpParts p = {}; p.height = 2; p.compression = 1; p.palette = grey_palette(2);
              p.data = {1, 1}; return p.bytes(); }()},
        {"RLE8 no codes at all", kind(8, 1, {}, grey_palette(2), {})},
        {"RLE8 absolute run past the data", kind(8, 1, {}, grey_palette(2), {0, 5, 1, 1})},
        {"RLE4 delta cut short", kind(4, 2, {}, grey_palette(2), {0, 2, 1})},
    };
    for (const Refused &c : cases)
    {
        SCOPED_TRACE(c.name);
        vollo_pixelarray *pixels = load(c.bytes);
        EXPECT_EQ(pixels, nullptr);
        EXPECT_NE(reason, nullptr);
        vollo_delete_clipable(pixels);
        // The check without display refuses a BMP file for the same reason, unless the
        // fault lies in pixel codes, which it does not decode.
        const char *checked = vollo_check_picture(dir.file("picture.bmp").c_str());
        const bool bmp = c.bytes.size() >= 2 && c.bytes[0] == 'B' && c.bytes[1] == 'M';
        if (bmp && checked != nullptr && reason != nullptr)
        {
            EXPECT_STREQ(checked, reason);
        }
    }
}

TEST_F(BmpReader, RefusesPathsThatAreNoPicture)
{
    const char *missing = "/nonexistent/picture.bmp";
    EXPECT_EQ(load_bmp(missing), nullptr);
    const char *reason = nullptr;
    EXPECT_EQ(load_bmp_reason(dir.path().c_str(), &reason), nullptr);
    EXPECT_NE(reason, nullptr);
    EXPECT_EQ(load_bmp_reason("/dev/null", &reason), nullptr);
    EXPECT_NE(reason, nullptr);
    EXPECT_EQ(load_bmp(nullptr), nullptr);
}

// Picture sizes come from the headers alone, also for pictures too large to load.
TEST_F(BmpReader, PictureSizeComesFromTheHeaders)
{
    const std::vector<uint8_t> good = BmpFile{}.bytes();
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                0, 0, 0x13, 0x88, 0, 0, 0x0F, 0xA0};  // 5000 x 4000, nothing after
    struct Case
    {
        const char *name;
        std::vector<uint8_t> bytes;
        bool known;
        uint32_t width, height;
    } cases[] = {
        {"small BMP", good, true, 2, 2},
        {"BMP of 8000 x 8000, two rows of data", patched(patched(good, 18, 8000), 22, 8000), true, 8000, 8000},
        {"top-down BMP", patched(good, 22, static_cast<uint32_t>(-3)), true, 2, 3},
        {"BMP of width 0", patched(good, 18, 0), false, 0, 0},
        {"PNG header of 5000 x 4000", png, true, 5000, 4000},
        {"text", {'h', 'e', 'l', 'l', 'o'}, false, 0, 0},
        {"empty file", {}, false, 0, 0},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        write_file(dir.file("sized"), c.bytes);
        uint32_t width = 7, height = 7;
        EXPECT_EQ(vollo_picture_size(dir.file("sized").c_str(), &width, &height), c.known);
        if (c.known)
        {
            EXPECT_EQ(width, c.width);
            EXPECT_EQ(height, c.height);
        }
    }
    uint32_t width = 0, height = 0;
    EXPECT_FALSE(vollo_picture_size("/nonexistent/picture.png", &width, &height));
    EXPECT_FALSE(vollo_picture_size(dir.file("sized").c_str(), nullptr, &height));
}

// A FIFO nobody writes to reads as empty instead of blocking the program.
TEST_F(BmpReader, FifoWithoutWriterDoesNotHang)
{
    std::string fifo = dir.file("fifo.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(load_bmp(fifo.c_str()), nullptr);
}

// Through a pipe the file size is unknown beforehand: rows cut short are found while reading.
TEST_F(BmpReader, PipeCutShortIsRefusedAndAWholeOneRead)
{
    signal(SIGPIPE, SIG_IGN);
    for (bool whole : {true, false})
    {
        SCOPED_TRACE(whole ? "whole" : "cut short");
        std::vector<uint8_t> bytes = with([](BmpFile &f) { f.width = 301; f.height = 250; f.gap = 9; }).bytes();
        if (!whole)
            bytes.resize(bytes.size() - 10);
        std::string fifo = dir.file(whole ? "whole" : "short");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        std::thread writer([&] {
            int fd = open(fifo.c_str(), O_WRONLY);
            if (fd < 0)
                return;
            size_t done = 0;
            while (done < bytes.size())
            {
                ssize_t n = write(fd, bytes.data() + done, std::min<size_t>(bytes.size() - done, 1000));
                if (n <= 0)
                    break;
                done += static_cast<size_t>(n);
            }
            close(fd);
        });
        // The reader's non-blocking open may come before the writer's: wait for a writer.
        const char *reason = nullptr;
        vollo_pixelarray *pixels = nullptr;
        int keep = open(fifo.c_str(), O_RDONLY);  // blocks until the writer opened
        pixels = load_bmp_reason(fifo.c_str(), &reason);
        close(keep);
        writer.join();
        if (whole)
            expect_pattern(pixels, 301, 250);
        else
        {
            EXPECT_EQ(pixels, nullptr);
            EXPECT_NE(reason, nullptr);
        }
        vollo_delete_clipable(pixels);
    }
}

}  // namespace
