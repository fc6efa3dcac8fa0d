// The BMP reader: the layouts it accepts and the files it refuses.
#include <cerrno>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"

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
        {"16 bits per pixel", patched(good, 28, 16, 2)},
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
        {"5-6-5 masks", patched(patched(patched(masked, 54, 0xF800), 58, 0x07E0), 62, 0x001F)},
        {"two channels on one byte", patched(masked, 54, 0x0000FF00)},
        {"zero mask", patched(masked, 62, 0)},
    };
    for (const Refused &c : cases)
    {
        SCOPED_TRACE(c.name);
        vollo_pixelarray *pixels = load(c.bytes);
        EXPECT_EQ(pixels, nullptr);
        EXPECT_NE(reason, nullptr);
        vollo_delete_clipable(pixels);
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
