// Pixel arrays without a display: creation, deletion, the software drawing used
// while no hook is installed, installed hooks, and saving.
#include <signal.h>
#include <sys/resource.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "vollo.h"
#include "saved_image.hpp"
#include "xvfb.hpp"

namespace
{

const uint32_t initial = 0xFFB469FF;

struct array_deleter
{
    void operator()(vollo_pixelarray *array) const { vollo_delete_clipable(array); }
};
using array_ptr = std::unique_ptr<vollo_pixelarray, array_deleter>;

array_ptr make_array(uint32_t width, uint32_t height)
{
    array_ptr array(vollo_new_pixelarray(width, height));
    EXPECT_NE(array, nullptr);
    return array;
}

uint32_t pixel(const vollo_pixelarray *array, int64_t x, int64_t y)
{
    return array->pixels[y * array->width + x];
}

// Every pixel of `array` that differs from the initial colour.
std::vector<std::pair<int, int>> drawn(const vollo_pixelarray *array)
{
    std::vector<std::pair<int, int>> result;
    for (uint32_t y = 0; y < array->height; ++y)
        for (uint32_t x = 0; x < array->width; ++x)
            if (pixel(array, x, y) != initial)
                result.emplace_back(x, y);
    return result;
}

TEST(PixelArray, StartsPinkWithBytesInRgbaOrder)
{
    array_ptr array = make_array(2, 2);
    const unsigned char expected[] = {0xFF, 0x69, 0xB4, 0xFF};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::memcmp(reinterpret_cast<unsigned char *>(array->pixels) + i * 4, expected, 4), 0);
}

TEST(PixelArray, RecordFieldsAfterCreation)
{
    array_ptr array = make_array(7, 3);
    EXPECT_EQ(array->type, uint64_t(VOLLO_PIXELARRAY));
    EXPECT_EQ(array->width, 7u);
    EXPECT_EQ(array->height, 3u);
    EXPECT_EQ(array->clip_x, 0);
    EXPECT_EQ(array->clip_y, 0);
    EXPECT_EQ(array->clip_width, 7);
    EXPECT_EQ(array->clip_height, 3);
    EXPECT_EQ(array->origin_x, 0.0);
    EXPECT_EQ(array->origin_y, 0.0);
    EXPECT_EQ(array->scale_x, 1.0);
    EXPECT_EQ(array->scale_y, 1.0);
    EXPECT_EQ(array->rotation, 0.0);
}

TEST(PixelArray, RefusesSizesThatOverflowOrExceedTheArena)
{
    const uint64_t before = get_nb_alloc();
    // 65536 * 65536 wraps to 0 in 32 bits; 65537 * 65535 wraps to a small count.
    const uint32_t sizes[][2] = {{65536, 65536}, {65537, 65535}, {UINT32_MAX, 2}, {4096, 4096}};
    for (const auto &size : sizes)
        EXPECT_EQ(vollo_new_pixelarray(size[0], size[1]), nullptr) << size[0] << " x " << size[1];
    EXPECT_EQ(get_nb_alloc(), before);
}

TEST(PixelArray, EmptyArrayDrawsNothing)
{
    vollo_pixelarray *array = vollo_new_pixelarray(0, 3);
    if (!array)
        return;  // refusing an empty array is as good as drawing nothing on it
    const vollo_position points[3] = {{-1, -1}, {5, 0}, {0, 5}};
    const uint32_t colors[3] = {1, 2, 3};
    vollo_fill(array, 1);
    vollo_set_pixel(array, points[0], 1);
    vollo_set_line(array, points, colors);
    vollo_set_polygon(array, points, colors);
    vollo_blit(array, array, nullptr);
    EXPECT_EQ(array->width, 0u);
    vollo_delete_clipable(array);
}

TEST(PixelArray, DeleteGivesTheBlockBack)
{
    vollo_pixelarray *array = vollo_new_pixelarray(10, 10);
    ASSERT_NE(array, nullptr);
    const uint64_t before = get_nb_alloc();
    vollo_delete_clipable(array);
    EXPECT_EQ(get_nb_alloc(), before - 1);
}

TEST(PixelArray, DeleteIgnoresWindowRecordsAndNull)
{
    vollo_window window{};
    window.type = VOLLO_WINDOW;
    window.width = 5;
    window.name = "kept";
    const uint64_t before = get_nb_alloc();
    vollo_delete_clipable(reinterpret_cast<vollo_clipable *>(&window));
    vollo_delete_clipable(nullptr);
    EXPECT_EQ(window.type, uint64_t(VOLLO_WINDOW));
    EXPECT_EQ(window.width, 5u);
    EXPECT_STREQ(window.name, "kept");
    EXPECT_EQ(get_nb_alloc(), before);
}

TEST(PixelArray, LoadPictureRefusesMissingAndNonImageFiles)
{
    ASSERT_FALSE(vollo_test::start_xvfb().empty());  // pictures live on the GPU
    char directory[] = "/tmp/vollo-graphics-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    std::string text = std::string(directory) + "/not-an-image.png";
    FILE *file = fopen(text.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs("plain text, not pixels\n", file);
    ASSERT_EQ(fclose(file), 0);
    EXPECT_EQ(vollo_load_picture((std::string(directory) + "/missing.png").c_str()), nullptr);
    EXPECT_EQ(vollo_load_picture(text.c_str()), nullptr);
    EXPECT_EQ(vollo_load_picture(nullptr), nullptr);
    remove(text.c_str());
    rmdir(directory);
}

// The fill replaces exactly the part of the clip rectangle inside the array.
TEST(SoftwareFill, CoversTheClipRectangleInsideTheArray)
{
    struct
    {
        int32_t x, y, width, height;
    } clips[] = {{0, 0, 8, 6}, {2, 1, 3, 4}, {-3, -2, 5, 4}, {6, 4, 10, 10}, {8, 0, 3, 3},
                 {0, 0, 0, 6}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {-100, 3, INT32_MAX, 1}};
    for (const auto &clip : clips)
    {
        array_ptr array = make_array(8, 6);
        array->clip_x = clip.x;
        array->clip_y = clip.y;
        array->clip_width = clip.width;
        array->clip_height = clip.height;
        vollo_fill(array.get(), 0x80123456);
        for (int64_t y = 0; y < 6; ++y)
            for (int64_t x = 0; x < 8; ++x)
            {
                bool inside = x >= clip.x && x < int64_t(clip.x) + clip.width && y >= clip.y &&
                              y < int64_t(clip.y) + clip.height;
                EXPECT_EQ(pixel(array.get(), x, y), inside ? 0x80123456 : initial)
                    << "clip " << clip.x << "," << clip.y << " pixel " << x << "," << y;
            }
    }
}

TEST(SoftwareSetPixel, WritesOnlyInsideTheArray)
{
    const vollo_position positions[] = {{0, 0}, {4, 2}, {-1, 0}, {5, 0}, {0, -1}, {0, 3},
                                        {INT32_MIN, 1}, {1, INT32_MAX}};
    for (const vollo_position &position : positions)
    {
        array_ptr array = make_array(5, 3);
        vollo_set_pixel(array.get(), position, 0x00000000);
        bool inside = position.x >= 0 && position.x < 5 && position.y >= 0 && position.y < 3;
        auto pixels = drawn(array.get());
        if (inside)
            EXPECT_EQ(pixels, (std::vector<std::pair<int, int>>{{position.x, position.y}}));
        else
            EXPECT_TRUE(pixels.empty()) << position.x << "," << position.y;
    }
}

TEST(SoftwareLine, DrawsBothEndsOnePixelPerMajorStep)
{
    using pixels = std::vector<std::pair<int, int>>;
    struct
    {
        vollo_position from, to;
        pixels expected;  // in row-major order
    } cases[] = {
        {{1, 1}, {4, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {{4, 1}, {1, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {{2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {{4, 2}, {0, 0}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {{1, 0}, {2, 4}, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}}},
        {{3, 3}, {3, 3}, {{3, 3}}},
    };
    for (const auto &test : cases)
    {
        array_ptr array = make_array(6, 5);
        const vollo_position points[2] = {test.from, test.to};
        const uint32_t colors[2] = {0xFF000000, 0xFF000000};
        vollo_set_line(array.get(), points, colors);
        EXPECT_EQ(drawn(array.get()), test.expected)
            << test.from.x << "," << test.from.y << " -> " << test.to.x << "," << test.to.y;
    }
}

TEST(SoftwareLine, InterpolatesEveryChannel)
{
    array_ptr array = make_array(5, 1);
    const vollo_position points[2] = {{0, 0}, {4, 0}};
    const uint32_t colors[2] = {0x00FF00FF, 0xFF00FF00};
    vollo_set_line(array.get(), points, colors);
    // Each channel moves by a quarter of its range per step, rounded to nearest.
    const uint32_t expected[5] = {0x00FF00FF, 0x40BF40BF, 0x80808080, 0xBF40BF40, 0xFF00FF00};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(pixel(array.get(), x, 0), expected[x]) << x;
}

TEST(SoftwareLine, ExtremeEndsStayFastAndInside)
{
    array_ptr array = make_array(4, 4);
    const vollo_position points[2] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}};
    const uint32_t colors[2] = {0, 0};
    vollo_set_line(array.get(), points, colors);
    EXPECT_EQ(drawn(array.get()), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(SoftwareTriangle, SmallTriangleCoversCentresInsideOnly)
{
    array_ptr array = make_array(6, 6);
    const vollo_position points[3] = {{0, 0}, {4, 0}, {0, 4}};
    const uint32_t colors[3] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
    vollo_set_polygon(array.get(), points, colors);
    // Centres with x + y + 1 < 4; those on the hypotenuse (a right edge) are out.
    EXPECT_EQ(drawn(array.get()),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}));
    EXPECT_EQ(pixel(array.get(), 1, 1), 0xFF0000FFu);
}

TEST(SoftwareTriangle, HugeTriangleCoversTheWholeArray)
{
    array_ptr array = make_array(7, 5);
    const vollo_position points[3] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {0, INT32_MAX}};
    const uint32_t colors[3] = {0xFF000000, 0xFF000000, 0xFF000000};
    vollo_set_polygon(array.get(), points, colors);
    EXPECT_EQ(drawn(array.get()).size(), 35u);
    EXPECT_EQ(pixel(array.get(), 6, 4), 0xFF000000u);
}

// Two triangles sharing the diagonal of a square, whose pixel centres all lie on
// it: the top-left rule gives each pixel to exactly one of them.
TEST(SoftwareTriangle, SharedEdgeIsDrawnExactlyOnce)
{
    const vollo_position halves[2][3] = {{{0, 0}, {8, 0}, {8, 8}}, {{0, 0}, {8, 8}, {0, 8}}};
    std::vector<int> count(64, 0);
    for (const auto &half : halves)
    {
        array_ptr array = make_array(8, 8);
        const uint32_t colors[3] = {0, 0, 0};
        vollo_set_polygon(array.get(), half, colors);
        for (auto [x, y] : drawn(array.get()))
            ++count[y * 8 + x];
    }
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(count[i], 1) << "pixel " << i % 8 << "," << i / 8;
}

// Reference coverage: the pixel centre moved by (e, e * e) for a vanishing e lies
// strictly inside. On a left edge that moves it inwards, on a top edge too, on
// right and bottom edges outwards; that is the top-left rule, stated differently.
bool reference_covered(const vollo_position *v, int x, int y)
{
    const double e = 1.0 / 1024;
    const double px = x + 0.5 + e, py = y + 0.5 + e * e;
    double area = double(v[1].x - v[0].x) * (v[2].y - v[0].y) - double(v[1].y - v[0].y) * (v[2].x - v[0].x);
    if (area == 0)
        return false;
    for (int i = 0; i < 3; ++i)
    {
        const vollo_position &a = v[i], &b = v[(i + 1) % 3];
        double value = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
        if (value * area <= 0)
            return false;
    }
    return true;
}

TEST(SoftwareTriangle, MatchesTheTopLeftRuleOnRandomTriangles)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int32_t> coordinate(-6, 26);
    for (int round = 0; round < 400; ++round)
    {
        vollo_position v[3];
        for (auto &point : v)
            point = {coordinate(random), coordinate(random)};
        if (round % 4 == 0)  // many shared horizontal and vertical edges
            v[1].y = v[0].y, v[2].x = v[0].x;
        array_ptr array = make_array(20, 20);
        const uint32_t colors[3] = {0x11223344, 0x11223344, 0x11223344};
        vollo_set_polygon(array.get(), v, colors);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(pixel(array.get(), x, y) == 0x11223344u, reference_covered(v, x, y))
                    << "triangle (" << v[0].x << "," << v[0].y << ") (" << v[1].x << "," << v[1].y << ") ("
                    << v[2].x << "," << v[2].y << ") pixel " << x << "," << y;
    }
}

TEST(SoftwareTriangle, InterpolatesColoursBarycentrically)
{
    array_ptr array = make_array(64, 64);
    const vollo_position v[3] = {{0, 0}, {64, 0}, {0, 64}};
    const uint32_t colors[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    vollo_set_polygon(array.get(), v, colors);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x + y < 63; ++x)
        {
            uint32_t c = pixel(array.get(), x, y);
            int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
            // Weights at the centre: green grows with x, blue with y.
            EXPECT_NEAR(green, (x + 0.5) / 64 * 255, 0.51) << x << "," << y;
            EXPECT_NEAR(blue, (y + 0.5) / 64 * 255, 0.51) << x << "," << y;
            EXPECT_NEAR(red + green + blue, 255, 1);
            EXPECT_EQ(c >> 24, 0xFFu);
        }
}

// A shape drawn partly outside a small array leaves there exactly what it leaves
// on a large array that holds it whole, for crossings of every border.
TEST(SoftwareClipping, SmallArrayMatchesWindowOfLargeArray)
{
    const int offset = 30;
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> coordinate(-25, 35);
    for (int round = 0; round < 300; ++round)
    {
        vollo_position v[3], shifted[3];
        for (int i = 0; i < 3; ++i)
        {
            v[i] = {coordinate(random), coordinate(random)};
            shifted[i] = {v[i].x + offset, v[i].y + offset};
        }
        const uint32_t colors[3] = {0xFF0000FF, 0x8000FF00, 0x00FF0000};
        array_ptr small = make_array(12, 9), large = make_array(100, 100);
        if (round % 2)
        {
            vollo_set_line(small.get(), v, colors);
            vollo_set_line(large.get(), shifted, colors);
        }
        else
        {
            vollo_set_polygon(small.get(), v, colors);
            vollo_set_polygon(large.get(), shifted, colors);
        }
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(pixel(small.get(), x, y), pixel(large.get(), x + offset, y + offset))
                    << (round % 2 ? "line" : "triangle") << " round " << round << " pixel " << x << "," << y;
    }
}

// Source pixel (x, y) holds x + 16 * y.
array_ptr make_numbered(uint32_t width, uint32_t height)
{
    array_ptr array = make_array(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            array->pixels[y * width + x] = x + 16 * y;
    return array;
}

TEST(SoftwareBlit, CopiesTheClipRegionToThePositionClipped)
{
    struct
    {
        int32_t clip_x, clip_y, clip_width, clip_height;
        vollo_position position;
    } cases[] = {{0, 0, 5, 4, {0, 0}},  {0, 0, 5, 4, {-2, -3}}, {0, 0, 5, 4, {4, 4}},
                 {1, 1, 2, 2, {0, 0}},  {1, 2, 3, 2, {5, 0}},   {-2, -1, 4, 4, {1, 1}},
                 {3, 2, 9, 9, {-1, 2}}, {0, 0, 5, 4, {6, 0}},   {0, 0, 5, 4, {INT32_MIN, INT32_MAX}}};
    for (const auto &test : cases)
    {
        array_ptr source = make_numbered(5, 4);
        source->clip_x = test.clip_x;
        source->clip_y = test.clip_y;
        source->clip_width = test.clip_width;
        source->clip_height = test.clip_height;
        array_ptr destination = make_array(6, 5);
        vollo_blit(destination.get(), source.get(), &test.position);
        for (int64_t y = 0; y < 5; ++y)
            for (int64_t x = 0; x < 6; ++x)
            {
                // The source pixel that lands here, if any.
                int64_t sx = x - test.position.x + test.clip_x, sy = y - test.position.y + test.clip_y;
                bool copied = sx >= std::max(0, test.clip_x) && sx < std::min<int64_t>(5, int64_t(test.clip_x) + test.clip_width) &&
                              sy >= std::max(0, test.clip_y) && sy < std::min<int64_t>(4, int64_t(test.clip_y) + test.clip_height);
                EXPECT_EQ(pixel(destination.get(), x, y), copied ? uint32_t(sx + 16 * sy) : initial)
                    << "clip " << test.clip_x << "," << test.clip_y << " at " << test.position.x << ","
                    << test.position.y << " pixel " << x << "," << y;
            }
    }
}

TEST(SoftwareBlit, NullPositionIsOriginAndOverlapOnItselfIsSafe)
{
    array_ptr source = make_numbered(4, 4);
    array_ptr destination = make_array(4, 4);
    vollo_blit(destination.get(), source.get(), nullptr);
    EXPECT_EQ(std::memcmp(destination->pixels, source->pixels, 64), 0);

    const vollo_position shifts[] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}, {2, 0}};
    for (const vollo_position &shift : shifts)
    {
        array_ptr array = make_numbered(4, 4);
        vollo_blit(array.get(), array.get(), &shift);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
            {
                int sx = x - shift.x, sy = y - shift.y;
                bool copied = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
                EXPECT_EQ(pixel(array.get(), x, y), copied ? uint32_t(sx + 16 * sy) : uint32_t(x + 16 * y))
                    << "shift " << shift.x << "," << shift.y << " pixel " << x << "," << y;
            }
    }
}

// Installed hooks win over the software drawing and get the very arguments.
struct hook_record
{
    int calls = 0;
    vollo_buffer *buffer = nullptr;
    vollo_position position{};
    const vollo_position *points = nullptr;
    const uint32_t *colors = nullptr;
    uint32_t color = 0;
} record;

class Hooks : public ::testing::Test
{
protected:
    void SetUp() override { record = hook_record(); }
    void TearDown() override
    {
        gl_vollo_my_fill = nullptr;
        gl_vollo_my_set_pixel = nullptr;
        gl_vollo_my_set_line = nullptr;
        gl_vollo_my_set_polygon = nullptr;
    }
};

TEST_F(Hooks, ReceiveExactlyTheGivenArguments)
{
    gl_vollo_my_fill = [](vollo_buffer *buffer, uint32_t color) { ++record.calls, record.buffer = buffer, record.color = color; };
    gl_vollo_my_set_pixel = [](vollo_buffer *buffer, vollo_position position, uint32_t color) {
        ++record.calls, record.buffer = buffer, record.position = position, record.color = color;
    };
    gl_vollo_my_set_line = [](vollo_buffer *buffer, const vollo_position *points, const uint32_t *colors) {
        ++record.calls, record.buffer = buffer, record.points = points, record.colors = colors;
    };
    gl_vollo_my_set_polygon = gl_vollo_my_set_line;

    array_ptr array = make_array(3, 3);
    const vollo_position points[3] = {{-7, 1}, {2, 2}, {0, 2}};
    const uint32_t colors[3] = {1, 2, 3};

    vollo_fill(array.get(), 0xDEADBEEF);
    EXPECT_EQ(record.buffer, array.get());
    EXPECT_EQ(record.color, 0xDEADBEEFu);
    vollo_set_pixel(array.get(), vollo_position{-3, 9}, 0x12345678);
    EXPECT_EQ(record.position.x, -3);
    EXPECT_EQ(record.position.y, 9);
    EXPECT_EQ(record.color, 0x12345678u);
    vollo_set_line(array.get(), points, colors);
    EXPECT_EQ(record.points, points);
    EXPECT_EQ(record.colors, colors);
    record.points = nullptr, record.colors = nullptr;
    vollo_set_polygon(array.get(), points + 0, colors + 0);
    EXPECT_EQ(record.points, points);
    EXPECT_EQ(record.colors, colors);
    EXPECT_EQ(record.calls, 4);
    EXPECT_TRUE(drawn(array.get()).empty()) << "the software drawing ran beside the hook";

    // Buffers of unknown kinds go to the hooks too; without a hook nothing happens.
    vollo_clipable other{};
    other.type = 9;
    vollo_fill(&other, 1);
    EXPECT_EQ(record.buffer, &other);
    EXPECT_EQ(record.calls, 5);
    gl_vollo_my_fill = nullptr;
    vollo_fill(&other, 1);
    EXPECT_EQ(record.calls, 5);
}

// ---------------------------------------------------------------------------
// Saving to image files
// ---------------------------------------------------------------------------

// An odd-sized array whose neighbours differ in every channel, alpha included.
array_ptr make_save_pattern(uint32_t width, uint32_t height)
{
    array_ptr array = make_array(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            array->pixels[y * width + x] = (x * 37 + y * 5) % 256 | ((x * 3 + y * 71) % 256) << 8 |
                                           ((x * 11 + y * 13 + 128) % 256) << 16 |
                                           uint32_t(255 - (x * 29 + y * 17) % 200) << 24;
    return array;
}

TEST(SaveBuffer, PixelArrayRoundTripsThroughThePngBmpAndTgaFormats)
{
    saved_image::Folder folder;
    array_ptr array = make_save_pattern(7, 5);
    const struct
    {
        const char *name;
        const char *format;
    } cases[] = {{"a.png", "PNG"}, {"b.BMP", "BMP"}, {"c.tga", "TGA"}, {"d.Png", "PNG"}};
    for (const auto &test : cases)
    {
        SCOPED_TRACE(test.name);
        const std::string path = folder.file(test.name);
        ASSERT_TRUE(vollo_save_buffer(array.get(), path.c_str()));
        const auto image = saved_image::read_with_pillow(path);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->format, test.format);
        ASSERT_EQ(image->width, 7);
        ASSERT_EQ(image->height, 5);
        EXPECT_EQ(image->pixels, std::vector<uint32_t>(array->pixels, array->pixels + 35));
    }
    // Saving again over a file replaces it whole.
    array_ptr small = make_save_pattern(3, 2);
    ASSERT_TRUE(vollo_save_buffer(small.get(), folder.file("a.png").c_str()));
    const auto replaced = saved_image::read_with_pillow(folder.file("a.png"));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->pixels, std::vector<uint32_t>(small->pixels, small->pixels + 6));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"a.png", "b.BMP", "c.tga", "d.Png"}));
}

TEST(SaveBuffer, JpegStaysCloseToThePixelsAndDropsAlpha)
{
    saved_image::Folder folder;
    array_ptr array = make_array(64, 48);
    for (uint32_t y = 0; y < 48; ++y)
        for (uint32_t x = 0; x < 64; ++x)
            array->pixels[y * 64 + x] = 0x80000000u | (x * 4) | (y * 5) << 8 | ((x + y) * 2) << 16;
    for (const char *name : {"photo.jpg", "photo.JPEG"})
    {
        SCOPED_TRACE(name);
        ASSERT_TRUE(vollo_save_buffer(array.get(), folder.file(name).c_str()));
        const auto image = saved_image::read_with_pillow(folder.file(name));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->format, "JPEG");
        ASSERT_EQ(image->pixels.size(), 64u * 48u);
        double total = 0;
        int largest = 0;
        for (size_t index = 0; index < image->pixels.size(); ++index)
        {
            EXPECT_EQ(image->pixels[index] >> 24, 0xFFu);
            for (int shift = 0; shift < 24; shift += 8)
            {
                const int difference = std::abs(int(image->pixels[index] >> shift & 0xFF) -
                                                 int(array->pixels[index] >> shift & 0xFF));
                total += difference;
                largest = std::max(largest, difference);
            }
        }
        EXPECT_LT(total / (64 * 48 * 3), 2.0);
        EXPECT_LT(largest, 24);
    }
}

TEST(SaveBuffer, FailuresReturnFalseAndLeaveNothingBehind)
{
    saved_image::Folder folder;
    array_ptr array = make_save_pattern(5, 3);
    ASSERT_EQ(0, mkdir(folder.file("folder.png").c_str(), 0700));
    const struct
    {
        const char *what;
        vollo_buffer *buffer;
        std::string path;
    } cases[] = {
        {"null buffer", nullptr, folder.file("x.png")},
        {"null path", array.get(), ""},
        {"no extension", array.get(), folder.file("picture")},
        {"unknown extension", array.get(), folder.file("x.gif")},
        {"extension on the folder only", array.get(), folder.file("shots.png/picture")},
        {"missing folder", array.get(), folder.file("missing/x.png")},
        {"a folder in the way", array.get(), folder.file("folder.png")},
    };
    for (const auto &test : cases)
    {
        SCOPED_TRACE(test.what);
        EXPECT_FALSE(vollo_save_buffer(test.buffer, test.path.empty() ? nullptr : test.path.c_str()));
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"folder.png"});
}

// A full disk, as a file size limit: the old file stays whole and no temporary is left.
TEST(SaveBuffer, AFullDiskKeepsTheOldFile)
{
    saved_image::Folder folder;
    array_ptr small = make_save_pattern(3, 2);
    const std::string path = folder.file("keep.png");
    ASSERT_TRUE(vollo_save_buffer(small.get(), path.c_str()));
    const auto before = saved_image::read_with_pillow(path);

    array_ptr large = make_save_pattern(300, 200);
    std::mt19937 noise(7);
    for (uint32_t index = 0; index < 300 * 200; ++index)
        large->pixels[index] = noise();  // does not compress below the limit
    struct rlimit saved_limit;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved_limit));
    struct rlimit limit = saved_limit;
    limit.rlim_cur = 4096;
    void (*saved_handler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limit));
    const bool saved = vollo_save_buffer(large.get(), path.c_str());
    setrlimit(RLIMIT_FSIZE, &saved_limit);
    signal(SIGXFSZ, saved_handler);

    EXPECT_FALSE(saved) << "a write cut short was reported as success";
    const auto after = saved_image::read_with_pillow(path);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->pixels, before->pixels);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"keep.png"});
}

}  // namespace

namespace
{

// ---------------------------------------------------------------------------
// Without any display
// ---------------------------------------------------------------------------

// Pixel arrays are plain memory: with DISPLAY unset (an X connection would abort the
// process), each step works, from making an array through drawing, saving and
// loading it to deleting it.
TEST(Headless, PixelArraysWorkWithoutAnyDisplay)
{
    const char *display = std::getenv("DISPLAY");
    const std::string kept_display = display ? display : "";
    unsetenv("DISPLAY");
    saved_image::Folder folder;
    const std::string saved = folder.file("headless.png");
    array_ptr array = make_array(48, 32), other = make_numbered(4, 4), loaded;
    vollo_pixelarray *a = array.get();
    auto count_of = [&](uint32_t color) { return std::count(a->pixels, a->pixels + 48 * 32, color); };
    const vollo_position ends[3] = {{0, 31}, {47, 31}, {0, 20}};
    const uint32_t red[3] = {VOLLO_RED, VOLLO_RED, VOLLO_RED};
    const uint32_t half = VOLLO_RGBA(0, 0, 255, 128);
    const uint64_t allocations = get_nb_alloc();
    const std::pair<const char *, std::function<bool()>> steps[] = {
        {"fill", [&] { return vollo_fill(a, VOLLO_BLACK), count_of(VOLLO_BLACK) == 48 * 32; }},
        {"rectangle", [&] { return vollo_set_rectangle(a, {2, 2}, 4, 3, VOLLO_WHITE, true), count_of(VOLLO_WHITE) == 12; }},
        {"circle", [&] { return vollo_set_circle(a, {20, 8}, 3, VOLLO_GREEN, true), pixel(a, 20, 8) == VOLLO_GREEN; }},
        {"ellipse", [&] { return vollo_set_ellipse(a, {30, 8}, 4, 2, VOLLO_CYAN, false), count_of(VOLLO_CYAN) > 8; }},
        {"thick line", [&] { return vollo_set_line_width(a, ends, 3, VOLLO_YELLOW), pixel(a, 24, 31) == VOLLO_YELLOW; }},
        {"line", [&] { return vollo_set_line(a, ends + 1, red), pixel(a, 0, 20) == VOLLO_RED; }},
        {"triangle", [&] { return vollo_set_polygon(a, ends, red), pixel(a, 2, 29) == VOLLO_RED; }},
        {"point", [&] { return vollo_set_pixel(a, {47, 0}, half), pixel(a, 47, 0) == half; }},
        {"built-in text", [&] { return vollo_draw_text(a, "Hi", {34, 18}, 1, VOLLO_MAGENTA), count_of(VOLLO_MAGENTA) > 10; }},
        {"text size", [&] { return vollo_text_size("Hi", 2).width == 22; }},
        // Text in a font file is drawn by FreeType, measured the same, with no display.
        {"font text", [&] {
             vollo_font *font = vollo_load_font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
             const auto black = count_of(VOLLO_BLACK);
             vollo_clear_error(), vollo_draw_text_font(a, font, "Hi", {0, 8}, 12, VOLLO_WHITE);
             const bool drawn = count_of(VOLLO_BLACK) < black - 10 && count_of(VOLLO_WHITE) > 5;
             const vollo_size box = vollo_text_size_font(font, "Hi", 12);
             return vollo_delete_font(font), font && drawn && box.width > 8 && box.height > 8 && !*vollo_error(); }},
        {"blit", [&] { return vollo_blit(a, other.get(), &ends[2]), pixel(a, 3, 23) == 3 + 16 * 3; }},
        {"blend", [&] { return vollo_set_pixel(other.get(), {0, 0}, half), vollo_blit_blend(a, other.get(), nullptr),
                        pixel(a, 0, 0) == VOLLO_RGB(0, 0, 128); }},
        {"save, read back", [&] {
             auto image = vollo_save_buffer(a, saved.c_str()) ? saved_image::read_with_pillow(saved) : std::nullopt;
             return image && image->pixels == std::vector<uint32_t>(a->pixels, a->pixels + 48 * 32); }},
        {"load composited", [&] { loaded.reset(vollo_load_pixelarray(saved.c_str()));
             return loaded && pixel(loaded.get(), 47, 0) == VOLLO_RGB(127, 127, 255) && pixel(loaded.get(), 3, 23) == VOLLO_WHITE; }},
        {"load with alpha", [&] { loaded.reset(vollo_load_pixelarray_rgba(saved.c_str()));
             return loaded && std::equal(a->pixels, a->pixels + 48 * 32, loaded->pixels); }},
        {"delete", [&] { loaded.reset(), other.reset(); return get_nb_alloc() == allocations - 1; }},
    };
    for (const auto &step : steps)
        EXPECT_TRUE(step.second()) << step.first;
    if (display)
        setenv("DISPLAY", kept_display.c_str(), 1);
}

}  // namespace
