// Picture-tool functions, headless: pixel arrays over malloc'd pixels, scaling, pictures
// decoded small, text fitted to a width, outlines, real random numbers.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "saved_image.hpp"
#include "vollo.h"

namespace
{

// A temporary folder of the test's own, removed with what it holds.
struct temp_folder
{
    std::string name;
    temp_folder()
    {
        char pattern[] = "/tmp/picture_tools.XXXXXX";
        name = mkdtemp(pattern);
    }
    ~temp_folder() { std::system(("rm -rf '" + name + "'").c_str()); }
    const std::string &path() const { return name; }
};

uint32_t *block_of(uint32_t count, uint32_t color)
{
    uint32_t *pixels = static_cast<uint32_t *>(std::malloc(count * 4));
    for (uint32_t i = 0; i < count; ++i)
        pixels[i] = color;
    return pixels;
}

// Every kind of call that takes a pixel array, on an adopted one; deleting it frees the
// block with free() (the sanitizer build checks the pairing) and leaves the arena alone.
TEST(AdoptedPixels, WorkEverywhereAPixelArrayDoes)
{
    temp_folder dir;
    const uint64_t live = get_nb_alloc();
    vollo_pixelarray *adopted = vollo_adopt_pixels(block_of(64 * 32, VOLLO_BLACK), 64, 32);
    vollo_pixelarray *arena = vollo_new_pixelarray(8, 8);
    ASSERT_NE(adopted, nullptr);
    vollo_set_rectangle(adopted, {0, 0}, 4, 4, VOLLO_RED, true);
    vollo_draw_text(adopted, "A", {10, 10}, 1, VOLLO_WHITE);
    vollo_set_line_color(adopted, {0, 31}, {63, 31}, VOLLO_BLUE);
    vollo_blit(arena, adopted, nullptr);
    vollo_blit(adopted, arena, nullptr);
    EXPECT_EQ(adopted->pixels[0], VOLLO_RED);
    EXPECT_EQ(adopted->pixels[31 * 64 + 40], VOLLO_BLUE);
    EXPECT_TRUE(vollo_save_buffer(adopted, (dir.path() + "/a.png").c_str()));
    vollo_delete_clipable(adopted);
    vollo_delete_clipable(arena);
    EXPECT_EQ(get_nb_alloc(), live);
    EXPECT_EQ(vollo_adopt_pixels(nullptr, 4, 4), nullptr);
    EXPECT_NE(std::string(vollo_error()).find("no pixels"), std::string::npos);
}

TEST(ScalePixelArray, EachFilterGivesItsPixels)
{
    // A 4 x 2 array: two black columns, two white ones.
    const uint32_t k = VOLLO_BLACK, w = VOLLO_WHITE, half = VOLLO_RGB(128, 128, 128);
    const struct
    {
        vollo_filter filter;
        uint32_t width, height;
        std::vector<uint32_t> expected;
    } cases[] = {
        {VOLLO_FILTER_BOX, 2, 1, {k, w}},
        {VOLLO_FILTER_BOX, 1, 1, {half}},
        {VOLLO_FILTER_NEAREST, 8, 1, {k, k, k, k, w, w, w, w}},
        {VOLLO_FILTER_BILINEAR, 2, 1, {k, w}},
        {VOLLO_FILTER_BILINEAR, 4, 2, {k, k, w, w, k, k, w, w}},
    };
    vollo_pixelarray *source = vollo_new_pixelarray(4, 2);
    for (int i = 0; i < 8; ++i)
        source->pixels[i] = i % 4 < 2 ? k : w;
    for (const auto &c : cases)
    {
        vollo_pixelarray *scaled = vollo_scale_pixelarray(source, c.width, c.height, c.filter);
        ASSERT_NE(scaled, nullptr);
        EXPECT_EQ(std::vector<uint32_t>(scaled->pixels, scaled->pixels + c.width * c.height), c.expected)
            << "filter " << c.filter << " to " << c.width << " x " << c.height;
        vollo_delete_clipable(scaled);
    }
    EXPECT_EQ(vollo_scale_pixelarray(source, 0, 4, VOLLO_FILTER_BOX), nullptr);
    EXPECT_EQ(vollo_scale_pixelarray(nullptr, 4, 4, VOLLO_FILTER_BOX), nullptr);
    vollo_delete_clipable(source);
}

TEST(DecodePictureScaled, FitsKeepsTheAspectAndNeverEnlarges)
{
    temp_folder dir;
    const struct
    {
        const char *name;
        uint32_t width, height, max_width, max_height, want_width, want_height;
    } cases[] = {
        {"a.jpg", 640, 320, 100, 100, 100, 50},  // reduced while decoding, then filtered
        {"b.jpg", 300, 600, 1000, 150, 75, 150},
        {"c.png", 64, 48, 32, 32, 32, 24},       // decoded whole, then filtered
        {"d.bmp", 20, 10, 500, 500, 20, 10},     // never enlarged
        {"e.jpg", 1000, 1, 10, 10, 10, 1},       // at least one pixel a side
        {"f.jpg", 1600, 1200, 200, 200, 200, 150},  // progressive: its first scans alone
    };
    for (const auto &c : cases)
    {
        const std::string path = dir.path() + "/" + c.name;
        vollo_pixelarray *picture = vollo_new_pixelarray(c.width, c.height);
        vollo_fill(picture, VOLLO_RGB(200, 40, 40));
        ASSERT_TRUE(vollo_save_buffer(picture, path.c_str()));
        vollo_delete_clipable(picture);
        if (c.name[0] == 'f')
        {
            ASSERT_EQ(std::system(("convert " + path + " -interlace Plane " + path).c_str()), 0);
        }
        uint32_t width = 0, height = 0;
        uint32_t *pixels = vollo_decode_picture_scaled(path.c_str(), c.max_width, c.max_height, &width, &height);
        ASSERT_NE(pixels, nullptr) << c.name << ": " << vollo_error();
        EXPECT_EQ(width, c.want_width) << c.name;
        EXPECT_EQ(height, c.want_height) << c.name;
        EXPECT_NEAR(int(VOLLO_RED_OF(pixels[width * height / 2])), 200, 4) << c.name;
        // The same picture from the file's bytes in memory: the same pixels.
        uint64_t size = 0;
        uint8_t *bytes = vollo_read_file(path.c_str(), &size);
        uint32_t bytes_width = 0, bytes_height = 0;
        uint32_t *from_bytes = vollo_decode_bytes_scaled(bytes, size, c.max_width, c.max_height, &bytes_width,
                                                         &bytes_height);
        ASSERT_NE(from_bytes, nullptr) << c.name << ": " << vollo_error();
        EXPECT_EQ(std::vector<uint32_t>(from_bytes, from_bytes + size_t(bytes_width) * bytes_height),
                  std::vector<uint32_t>(pixels, pixels + size_t(width) * height)) << c.name;
        std::free(from_bytes), std::free(bytes), std::free(pixels);
    }
    uint32_t width = 0, height = 0;
    EXPECT_EQ(vollo_decode_bytes_scaled(nullptr, 0, 10, 10, &width, &height), nullptr);
    EXPECT_EQ(vollo_decode_picture_scaled((dir.path() + "/a.jpg").c_str(), 0, 10, &width, &height), nullptr);
    EXPECT_EQ(vollo_decode_picture_scaled((dir.path() + "/none.jpg").c_str(), 10, 10, &width, &height), nullptr);
    EXPECT_NE(std::string(vollo_error()).find("none.jpg"), std::string::npos);
}

// Progressive files at 1/8 of their size, against libjpeg's own reduced decode of the
// whole file (Pillow's draft mode). Quality 40 makes the DC's last refining bit show.
TEST(DecodePictureScaled, ProgressiveAtAnEighthMatchesLibjpegs)
{
    temp_folder dir;
    const std::string pillow = "/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1])";
    const struct
    {
        uint32_t width, height;
        std::string encoder;  // from IN to OUT
        // 4:2:0 chroma: libjpeg's 1/8 decode gives each chroma block 2 x 2 pixels from
        // more than its DC, so both are compared averaged over 2 x 2 pixels.
        uint32_t fold;
        int tolerance;  // per channel
    } cases[] = {
        {203, 131, "convert IN -interlace Plane -quality 40 -sampling-factor 1x1 OUT", 1, 0},
        {203, 121, "convert IN -interlace Plane -quality 40 -sampling-factor 2x2 OUT", 2, 2},
        {97, 61, pillow + ".save(sys.argv[2], progressive=True, quality=40, subsampling=1)' IN OUT", 1, 0},
        {97, 61, pillow + ".convert(\"L\").save(sys.argv[2], progressive=True, quality=40)' IN OUT", 1, 0},
        {203, 121, "cjpeg -progressive -quality 40 -sample 2x2 -restart 1 -outfile OUT IN", 2, 2},
        {131, 203, "cjpeg -progressive -quality 40 -grayscale -restart 7B -outfile OUT IN", 1, 0},
        {163, 77, "cjpeg -progressive -quality 40 -sample 3x2,1x1,3x1 -restart 2B -outfile OUT IN", 1, 0},
    };
    for (const auto &c : cases)
    {
        const std::string in = dir.path() + "/source.ppm", out = dir.path() + "/progressive.jpg";
        std::string command = "convert -size " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                              " -seed 5 plasma:fractal -blur 0x3 " + in + " && " + c.encoder;
        command.replace(command.find(" IN"), 3, " " + in);
        command.replace(command.find(" OUT"), 4, " " + out);
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const auto reference = saved_image::read_with_pillow(out, int(c.fold));
        ASSERT_TRUE(reference.has_value());
        uint32_t width = 0, height = 0;
        uint32_t *pixels = vollo_decode_picture_scaled(out.c_str(), (c.width + 7) / 8 / c.fold,
                                                       (c.height + 7) / 8 / c.fold, &width, &height);
        ASSERT_NE(pixels, nullptr) << c.encoder << ": " << vollo_error();
        ASSERT_EQ(width, uint32_t(reference->width)) << c.encoder;
        ASSERT_EQ(height, uint32_t(reference->height)) << c.encoder;
        int worst = 0;
        for (uint32_t i = 0; i < width * height; ++i)
            for (int shift = 0; shift < 32; shift += 8)
                worst = std::max(worst, std::abs(int(pixels[i] >> shift & 255) -
                                                 int(reference->pixels[i] >> shift & 255)));
        EXPECT_LE(worst, c.tolerance) << c.encoder;
        std::free(pixels);
    }
}

// Cut short or with a byte changed anywhere, a progressive file gives a picture of the
// size that fits, or null with a reason; never a crash nor a read out of bounds.
TEST(DecodePictureScaled, DamagedProgressiveGivesAPictureOrAReason)
{
    temp_folder dir;
    const std::string good = dir.path() + "/good.jpg", bad = dir.path() + "/bad.jpg";
    ASSERT_EQ(std::system(("convert -size 203x131 -seed 5 plasma:fractal ppm:- | cjpeg -progressive -sample 2x2 "
                           "-restart 1 -outfile " + good).c_str()), 0);
    std::string bytes;
    {
        FILE *file = std::fopen(good.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
            bytes += char(c);
        std::fclose(file);
    }
    for (size_t step = 0; step < 96; ++step)
    {
        // Changed bytes through the headers and the data, then cuts at every sixteenth.
        std::string damaged = bytes;
        if (step < 80)
            damaged[step < 40 ? step * 17 % 700 : bytes.size() * step / 80] ^= char(0x55 + step);
        else
            damaged.resize(bytes.size() * (step - 80) / 16);
        FILE *file = std::fopen(bad.c_str(), "wb");
        ASSERT_EQ(std::fwrite(damaged.data(), 1, damaged.size(), file), damaged.size());
        std::fclose(file);
        uint32_t width = 0, height = 0;
        uint32_t *pixels = vollo_decode_picture_scaled(bad.c_str(), 26, 17, &width, &height);
        if (pixels)
            EXPECT_TRUE(width >= 1 && width <= 26 && height >= 1 && height <= 17) << "step " << step;
        else
            EXPECT_NE(std::string(vollo_error()).find("bad.jpg"), std::string::npos) << "step " << step;
        std::free(pixels);
    }
}

TEST(TextFit, WritesTheTextOrItsLongestStartWithAnEllipsis)
{
    // Built-in font at scale 1: 6 pixels a character, less 1.
    const struct
    {
        const char *text;
        int32_t max_width;
        size_t out_size;
        const char *expected;
    } cases[] = {
        {"photo.jpg", 100, 64, "photo.jpg"},
        {"photo.jpg", 53, 64, "photo.jpg"},
        {"photo.jpg", 52, 64, "photo..."},
        {"\xC3\xA9t\xC3\xA9.png", 29, 64, "\xC3\xA9t..."},  // cut between whole characters
        {"photo.jpg", 100, 5, "p..."},                      // limited by the room in out
        {"photo.jpg", 10, 64, ""},                          // not even the ellipsis fits
    };
    for (const auto &c : cases)
    {
        char out[64];
        const int32_t width = vollo_text_fit(nullptr, c.text, 1, c.max_width, out, c.out_size);
        EXPECT_STREQ(out, c.expected) << c.text << " in " << c.max_width;
        EXPECT_EQ(width, vollo_text_size(out, 1).width) << c.text;
        EXPECT_LE(width, c.max_width);
    }
}

TEST(PolygonOutline, DrawsEachSideAndClosesTheShape)
{
    vollo_pixelarray *array = vollo_new_pixelarray(10, 10);
    const struct
    {
        std::vector<vollo_position> points;
        int painted;
    } cases[] = {
        {{{1, 1}, {8, 1}, {8, 8}, {1, 8}}, 28},  // a square's border
        {{{2, 2}, {6, 2}}, 5},                   // two points: one line
        {{{3, 3}}, 1},                           // one point: one pixel
        {{}, 0},
    };
    for (const auto &c : cases)
    {
        vollo_fill(array, VOLLO_BLACK);
        vollo_set_polygon_outline(array, c.points.data(), uint32_t(c.points.size()), VOLLO_WHITE);
        int painted = 0;
        for (int i = 0; i < 100; ++i)
            painted += array->pixels[i] == VOLLO_WHITE;
        EXPECT_EQ(painted, c.painted) << c.points.size() << " points";
    }
    vollo_delete_clipable(array);
}

TEST(RandomReal, StaysInTheUnitRangeAndRepeatsForASeed)
{
    vollo_random_seed(42);
    std::vector<double> first;
    for (int i = 0; i < 1000; ++i)
        first.push_back(vollo_random_real());
    vollo_random_seed(42);
    double sum = 0;
    for (int i = 0; i < 1000; ++i)
    {
        const double value = vollo_random_real();
        EXPECT_EQ(value, first[i]);
        EXPECT_GE(value, 0.0);
        EXPECT_LT(value, 1.0);
        sum += value;
    }
    EXPECT_NEAR(sum / 1000, 0.5, 0.05);
}

}  // namespace
