// Blits, fills and primitives on a real window and on pictures, under Xvfb. The
// window is read back from the screen after vollo_display; pictures through
// their texture.
#include <sys/mman.h>
#include <sys/wait.h>
#include <SFML/Graphics.hpp>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <cstdio>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vollo.h"
#include "saved_image.hpp"
#include "xvfb.hpp"

namespace
{

const uint32_t initial = 0xFFB469FF;
const uint32_t black = 0xFF000000;
const unsigned window_width = 1050, window_height = 800;
const char *const title = "graphics window test";

template <typename T> struct clipable_deleter
{
    void operator()(T *clipable) const { vollo_delete_clipable(clipable); }
};
using array_ptr = std::unique_ptr<vollo_pixelarray, clipable_deleter<vollo_pixelarray>>;
using picture_ptr = std::unique_ptr<vollo_picture, clipable_deleter<vollo_picture>>;

uint32_t rgb(uint32_t color) { return color & 0xFFFFFF; }

// Pixel (x, y) of a pattern in which neighbours differ in every colour channel.
uint32_t pattern(uint32_t x, uint32_t y)
{
    return 0xFF000000 | (x * 7 + y * 3) % 256 | ((x * 5 + y * 11) % 256) << 8 | ((x + y * 13) % 256) << 16;
}

array_ptr make_pattern_array(uint32_t width, uint32_t height)
{
    array_ptr array(vollo_new_pixelarray(width, height));
    EXPECT_NE(array, nullptr);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            array->pixels[y * width + x] = pattern(x, y);
    return array;
}

std::vector<uint32_t> picture_pixels(const vollo_picture *picture)
{
    sf::Image image = picture->texture->copyToImage();
    std::vector<uint32_t> pixels;
    for (unsigned y = 0; y < image.getSize().y; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
        {
            sf::Color c = image.getPixel(x, y);
            pixels.push_back(uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16 | uint32_t(c.a) << 24);
        }
    return pixels;
}

class Window : public vollo_test::XvfbTest
{
protected:
    // One window for the suite, built as vollo_start builds its record, and moved
    // to the screen's origin so that window pixels are screen pixels.
    static void SetUpTestSuite()
    {
        XvfbTest::SetUpTestSuite();
        sf::RenderWindow *render = new sf::RenderWindow(sf::VideoMode(window_width, window_height, 32), title,
                                                        sf::Style::Titlebar | sf::Style::Close);
        render->setVerticalSyncEnabled(false);
        window = new vollo_window{};
        window->type = VOLLO_WINDOW;
        window->render_target = render;
        window->width = window_width;
        window->height = window_height;
        window->name = title;
        vollo_test::WindowId id = vollo_test::find_window_by_name(title);
        ASSERT_NE(id, 0u);
        ASSERT_TRUE(vollo_test::move_window_to_origin(id));
    }

    static void TearDownTestSuite()
    {
        if (window)
        {
            delete static_cast<sf::RenderWindow *>(window->render_target);
            delete window;
            window = nullptr;
        }
    }

    void SetUp() override
    {
        XvfbTest::SetUp();
        ASSERT_NE(window, nullptr);
        vollo_fill(window, black);
    }

    void TearDown() override { gl_vollo_my_blit = nullptr; }

    // Shows the back buffer and waits until the screen region matches `expected`
    // (row by row, colour only); reports the first mismatches otherwise.
    static void expect_screen(int x, int y, int width, int height, const std::function<uint32_t(int, int)> &expected)
    {
        vollo_display(window);
        std::vector<uint32_t> seen;
        auto matches = [&] {
            seen = vollo_test::read_region(x, y, width, height);
            if (seen.size() != size_t(width) * height)
                return false;
            for (int j = 0; j < height; ++j)
                for (int i = 0; i < width; ++i)
                    if (rgb(seen[j * width + i]) != rgb(expected(x + i, y + j)))
                        return false;
            return true;
        };
        if (vollo_test::wait_until(matches, vollo_test::Milliseconds(5000), vollo_test::Milliseconds(50)))
            return;
        int reported = 0;
        for (int j = 0; j < height && reported < 5; ++j)
            for (int i = 0; i < width && reported < 5; ++i)
                if (j * width + i < int(seen.size()) && rgb(seen[j * width + i]) != rgb(expected(x + i, y + j)))
                {
                    ADD_FAILURE() << "screen pixel " << x + i << "," << y + j << " is " << std::hex
                                  << rgb(seen[j * width + i]) << ", expected " << rgb(expected(x + i, y + j));
                    ++reported;
                }
        if (!reported)
            ADD_FAILURE() << "screen region could not be read";
    }

    static vollo_window *window;
};

vollo_window *Window::window = nullptr;

TEST_F(Window, CanvasBlitCoversTheWindowAndAlphaZeroStillReplaces)
{
    vollo_fill(window, 0xFFFFFFFF);
    array_ptr canvas = make_pattern_array(window_width, window_height);
    // A transparent row: with blending the white beneath would show through.
    for (unsigned x = 0; x < window_width; ++x)
        canvas->pixels[400 * window_width + x] &= 0x00FFFFFF;
    vollo_blit(window, canvas.get(), nullptr);
    expect_screen(0, 0, window_width, window_height, pattern);
}

TEST_F(Window, ClipRectangleLandsAtThePositionAndNowhereElse)
{
    array_ptr array = make_pattern_array(64, 64);
    array->clip_x = 10, array->clip_y = 10, array->clip_width = 20, array->clip_height = 20;
    const vollo_position at = {100, 50};
    vollo_blit(window, array.get(), &at);
    expect_screen(90, 40, 40, 40, [](int x, int y) {
        bool inside = x >= 100 && x < 120 && y >= 50 && y < 70;
        return inside ? pattern(x - 90, y - 40) : black;
    });
}

// Mended: the part of a clip rectangle outside the array is never read; clip
// pixel (clip_x, clip_y) still lands at the position.
TEST_F(Window, ClipRectangleReachingOutsideTheArrayIsCutToIt)
{
    array_ptr array = make_pattern_array(16, 16);
    array->clip_x = -5, array->clip_y = -5, array->clip_width = 30, array->clip_height = 12;
    const vollo_position at = {100, 50};
    vollo_blit(window, array.get(), &at);
    expect_screen(95, 45, 40, 30, [](int x, int y) {
        bool inside = x >= 105 && x < 121 && y >= 55 && y < 62;
        return inside ? pattern(x - 105, y - 55) : black;
    });
    array->clip_x = 16, array->clip_y = 0;  // wholly outside: nothing drawn
    vollo_fill(window, black);
    vollo_blit(window, array.get(), &at);
    expect_screen(95, 45, 40, 30, [](int, int) { return black; });
}

TEST_F(Window, PictureWithScaleTwoCoversTwiceItsClipSize)
{
    picture_ptr picture(vollo_new_picture(10, 10));
    ASSERT_NE(picture, nullptr);
    vollo_fill(picture.get(), 0xFF0000FF);
    vollo_draw(picture.get());
    picture->scale_x = picture->scale_y = 2.0;
    const vollo_position at = {200, 200};
    vollo_blit(window, picture.get(), &at);
    expect_screen(195, 195, 30, 30, [](int x, int y) {
        return x >= 200 && x < 220 && y >= 200 && y < 220 ? 0xFF0000FF : black;
    });
}

TEST_F(Window, NewPictureIsTransparentAndFillColoursOnlyTheClip)
{
    picture_ptr picture(vollo_new_picture(30, 20));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->type, uint64_t(VOLLO_PICTURE));
    EXPECT_EQ(picture->width, 30u);
    EXPECT_EQ(picture->height, 20u);
    EXPECT_EQ(picture->clip_width, 30);
    EXPECT_EQ(picture->clip_height, 20);
    EXPECT_EQ(picture->scale_x, 1.0);
    EXPECT_TRUE(picture->texture->isSmooth());
    for (uint32_t pixel : picture_pixels(picture.get()))
        ASSERT_EQ(pixel, 0u);

    picture->clip_width = picture->clip_height = 10;
    vollo_fill(picture.get(), 0xFF00FF00);
    vollo_draw(picture.get());
    std::vector<uint32_t> pixels = picture_pixels(picture.get());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(pixels[y * 30 + x], x < 10 && y < 10 ? 0xFF00FF00 : 0u) << x << "," << y;
}

TEST_F(Window, PixelArrayOntoPictureReplacesAlphaToo)
{
    picture_ptr picture(vollo_new_picture(4, 3));
    ASSERT_NE(picture, nullptr);
    vollo_fill(picture.get(), 0xFFFFFFFF);
    array_ptr array(vollo_new_pixelarray(4, 3));
    for (uint32_t i = 0; i < 12; ++i)
        array->pixels[i] = 0x01020304 * i;  // alpha 0 at i = 0, others small
    vollo_blit(picture.get(), array.get(), nullptr);
    vollo_draw(picture.get());
    std::vector<uint32_t> pixels = picture_pixels(picture.get());
    for (uint32_t i = 0; i < 12; ++i)
        EXPECT_EQ(pixels[i], 0x01020304 * i) << i;
}

// Saves a 5 x 3 opaque pattern (odd width, distinct channels) in a temporary folder.
struct pattern_file
{
    std::string directory, path;
    explicit pattern_file(const char *extension)
    {
        char name[] = "/tmp/vollo-picture-XXXXXX";
        EXPECT_NE(mkdtemp(name), nullptr);
        directory = name;
        path = directory + "/pattern." + extension;
        sf::Image image;
        image.create(5, 3);
        for (unsigned y = 0; y < 3; ++y)
            for (unsigned x = 0; x < 5; ++x)
            {
                uint32_t c = pattern(x, y);
                image.setPixel(x, y, sf::Color(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 255));
            }
        EXPECT_TRUE(image.saveToFile(path));
    }
    ~pattern_file()
    {
        unlink(path.c_str());
        rmdir(directory.c_str());
    }
};

TEST_F(Window, LoadPictureReadsPngAndBmp)
{
    for (const char *extension : {"png", "bmp"})
    {
        pattern_file file(extension);
        picture_ptr picture(vollo_load_picture(file.path.c_str()));
        ASSERT_NE(picture, nullptr) << extension;
        EXPECT_EQ(picture->type, uint64_t(VOLLO_PICTURE));
        EXPECT_EQ(picture->width, 5u);
        EXPECT_EQ(picture->height, 3u);
        EXPECT_EQ(picture->clip_width, 5);
        EXPECT_EQ(picture->clip_height, 3);
        EXPECT_FALSE(picture->texture->isSmooth());
        std::vector<uint32_t> pixels = picture_pixels(picture.get());
        for (uint32_t y = 0; y < 3; ++y)
            for (uint32_t x = 0; x < 5; ++x)
                EXPECT_EQ(pixels[y * 5 + x], pattern(x, y)) << extension << " " << x << "," << y;
    }
}

TEST_F(Window, PictureOntoPixelArrayIsAClippedCopy)
{
    pattern_file file("png");
    picture_ptr picture(vollo_load_picture(file.path.c_str()));
    ASSERT_NE(picture, nullptr);
    struct
    {
        int32_t clip_x, clip_y, clip_width, clip_height;
        vollo_position at;
    } cases[] = {{0, 0, 5, 3, {-2, -1}}, {0, 0, 5, 3, {2, 1}}, {1, 1, 3, 2, {0, 0}}, {-1, -1, 9, 9, {1, 1}}};
    for (const auto &test : cases)
    {
        picture->clip_x = test.clip_x, picture->clip_y = test.clip_y;
        picture->clip_width = test.clip_width, picture->clip_height = test.clip_height;
        picture->scale_x = 3.0;  // ignored by the copy
        array_ptr array(vollo_new_pixelarray(4, 3));
        vollo_blit(array.get(), picture.get(), &test.at);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
            {
                int px = x - test.at.x + test.clip_x, py = y - test.at.y + test.clip_y;
                bool copied = px >= std::max(0, test.clip_x) && px < std::min(5, test.clip_x + test.clip_width) &&
                              py >= std::max(0, test.clip_y) && py < std::min(3, test.clip_y + test.clip_height);
                EXPECT_EQ(array->pixels[y * 4 + x], copied ? pattern(px, py) : initial)
                    << "clip " << test.clip_x << "," << test.clip_y << " at " << test.at.x << "," << test.at.y
                    << " pixel " << x << "," << y;
            }
    }
}

TEST_F(Window, PrimitivesDrawOnTheWindow)
{
    vollo_set_pixel(window, vollo_position{300, 300}, 0xFF0000FF);
    const vollo_position line[2] = {{10, 400}, {110, 400}};
    const uint32_t line_colors[2] = {0xFF0000FF, 0xFFFF0000};
    vollo_set_line(window, line, line_colors);
    const vollo_position triangle[3] = {{500, 100}, {600, 100}, {500, 200}};
    const uint32_t white[3] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    vollo_set_polygon(window, triangle, white);
    vollo_display(window);

    // The point: one opaque red pixel, one of the four that touch the corner the
    // position names (the vertex lies on a pixel corner; the GPU picks one).
    std::vector<uint32_t> around;
    ASSERT_TRUE(vollo_test::wait_until([&] {
        around = vollo_test::read_region(298, 298, 5, 5);
        return std::count(around.begin(), around.end(), 0xFF0000FF) == 1;
    }));
    int red = int(std::find(around.begin(), around.end(), 0xFF0000FF) - around.begin());
    EXPECT_TRUE(red % 5 >= 1 && red % 5 <= 2 && red / 5 >= 1 && red / 5 <= 2) << "red point at offset " << red;

    // The line: red at its start, blue at its end, a mix half way.
    std::vector<uint32_t> rows = vollo_test::read_region(10, 399, 100, 2);
    ASSERT_EQ(rows.size(), 200u);
    int row = rgb(rows[50]) != 0 ? 0 : 1;
    uint32_t start = rgb(rows[row * 100 + 1]), middle = rgb(rows[row * 100 + 50]), end = rgb(rows[row * 100 + 98]);
    EXPECT_GT(start & 0xFF, 240u);
    EXPECT_GT(end >> 16, 240u);
    EXPECT_NEAR(int(middle & 0xFF), 128, 8);
    EXPECT_NEAR(int(middle >> 16), 128, 8);

    // The triangle: filled inside, nothing beyond its hypotenuse.
    EXPECT_EQ(rgb(vollo_test::read_pixel(520, 120).value_or(0)), 0xFFFFFFu);
    EXPECT_EQ(rgb(vollo_test::read_pixel(590, 190).value_or(1)), 0u);
}

// Whether the centre of pixel (x, y) lies exactly on an edge of the triangle:
// the only pixels on which two correct rasterisers may disagree.
bool centre_on_edge(const vollo_position *v, int x, int y)
{
    for (int i = 0; i < 3; ++i)
    {
        const vollo_position &a = v[i], &b = v[(i + 1) % 3];
        int64_t value = int64_t(b.x - a.x) * (2 * y + 1 - 2 * a.y) - int64_t(b.y - a.y) * (2 * x + 1 - 2 * a.x);
        bool between = std::min(a.x, b.x) <= x + 0.5 && x + 0.5 <= std::max(a.x, b.x) &&
                       std::min(a.y, b.y) <= y + 0.5 && y + 0.5 <= std::max(a.y, b.y);
        if (value == 0 && between)
            return true;
    }
    return false;
}

// The same triangles on a picture (drawn by the GPU) and on a pixel array (in
// software) cover the same pixels, except where a pixel centre lies exactly on
// an edge: there the GPU's top-left convention may be mirrored, because a
// render texture is stored bottom-up.
TEST_F(Window, SoftwareTrianglesAgreeWithTheGpu)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int32_t> coordinate(-8, 72);
    int on_edges = 0, compared = 0;
    for (int round = 0; round < 60; ++round)
    {
        vollo_position v[3];
        for (auto &point : v)
            point = {coordinate(random), coordinate(random)};
        const uint32_t white[3] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        picture_ptr picture(vollo_new_picture(64, 64));
        array_ptr array(vollo_new_pixelarray(64, 64));
        vollo_set_polygon(picture.get(), v, white);
        vollo_draw(picture.get());
        vollo_set_polygon(array.get(), v, white);
        std::vector<uint32_t> gpu = picture_pixels(picture.get());
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
            {
                bool by_gpu = gpu[y * 64 + x] == 0xFFFFFFFF, by_software = array->pixels[y * 64 + x] == 0xFFFFFFFF;
                ++compared;
                if (by_gpu == by_software)
                    continue;
                ++on_edges;
                ASSERT_TRUE(centre_on_edge(v, x, y))
                    << "pixel " << x << "," << y << (by_gpu ? " only on the GPU" : " only in software")
                    << " for triangle (" << v[0].x << "," << v[0].y << ") (" << v[1].x << "," << v[1].y
                    << ") (" << v[2].x << "," << v[2].y << ")";
            }
    }
    RecordProperty("pixels_differing_on_edges", on_edges);
    RecordProperty("pixels_compared", compared);
}

// A line's pixels all lie along its edges, so the GPU's diamond rule and the
// software's one pixel per step may each pick the other neighbour: every pixel
// of one must lie within one pixel of a pixel of the other, and the counts
// differ by at most two (the GPU leaves out the last pixel, or both ends).
TEST_F(Window, SoftwareLinesFollowTheGpuWithinAPixel)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(2, 61);
    for (int round = 0; round < 40; ++round)
    {
        const vollo_position v[2] = {{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}};
        const uint32_t white[2] = {0xFFFFFFFF, 0xFFFFFFFF};
        picture_ptr picture(vollo_new_picture(64, 64));
        array_ptr array(vollo_new_pixelarray(64, 64));
        vollo_set_line(picture.get(), v, white);
        vollo_draw(picture.get());
        vollo_set_line(array.get(), v, white);
        std::vector<uint32_t> gpu = picture_pixels(picture.get());
        auto near = [](const uint32_t *pixels, int x, int y) {
            for (int j = std::max(0, y - 1); j <= std::min(63, y + 1); ++j)
                for (int i = std::max(0, x - 1); i <= std::min(63, x + 1); ++i)
                    if (pixels[j * 64 + i] == 0xFFFFFFFF)
                        return true;
            return false;
        };
        int by_gpu = 0, by_software = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
            {
                if (gpu[y * 64 + x] == 0xFFFFFFFF)
                {
                    ++by_gpu;
                    ASSERT_TRUE(near(array->pixels, x, y)) << "GPU pixel " << x << "," << y;
                }
                if (array->pixels[y * 64 + x] == 0xFFFFFFFF)
                {
                    ++by_software;
                    ASSERT_TRUE(near(gpu.data(), x, y)) << "software pixel " << x << "," << y;
                }
            }
        EXPECT_LE(std::abs(by_gpu - by_software), 2) << "line (" << v[0].x << "," << v[0].y << ") (" << v[1].x
                                                      << "," << v[1].y << ")";
    }
}

TEST_F(Window, PolygonOnAPictureShowsAfterDraw)
{
    picture_ptr picture(vollo_new_picture(20, 20));
    const vollo_position v[3] = {{0, 0}, {20, 0}, {0, 20}};
    const uint32_t colors[3] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
    vollo_set_polygon(picture.get(), v, colors);
    vollo_draw(picture.get());
    std::vector<uint32_t> pixels = picture_pixels(picture.get());
    EXPECT_EQ(pixels[2 * 20 + 2], 0xFF0000FFu);
    EXPECT_EQ(pixels[18 * 20 + 18], 0u);
}

struct blit_call
{
    int calls = 0;
    vollo_buffer *destination = nullptr;
    vollo_clipable *source = nullptr;
    const vollo_position *position = nullptr;
    vollo_position value{};
} blit_record;

TEST_F(Window, BlitHookGetsTheArguments)
{
    blit_record = blit_call();
    gl_vollo_my_blit = [](vollo_buffer *destination, vollo_clipable *source, const vollo_position *position) {
        ++blit_record.calls;
        blit_record.destination = destination, blit_record.source = source;
        blit_record.position = position, blit_record.value = *position;
    };
    array_ptr destination(vollo_new_pixelarray(4, 4)), source = make_pattern_array(6, 5);
    source->clip_x = 1, source->clip_width = 3;
    const vollo_position at = {-3, 2};
    vollo_blit(destination.get(), source.get(), &at);
    EXPECT_EQ(blit_record.destination, destination.get());
    EXPECT_EQ(blit_record.source, source.get());
    EXPECT_EQ(blit_record.position, &at);
    vollo_blit(destination.get(), source.get(), nullptr);
    ASSERT_NE(blit_record.position, nullptr);
    EXPECT_EQ(blit_record.value.x, 0);
    EXPECT_EQ(blit_record.value.y, 0);
    EXPECT_EQ(blit_record.calls, 2);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(destination->pixels[i], initial) << "the built-in copy ran beside the hook";
}

TEST_F(Window, ShaderAppliesToPicturesOnlyNotToPixelArrays)
{
    ASSERT_TRUE(sf::Shader::isAvailable());
    sf::Shader green;
    ASSERT_TRUE(green.loadFromMemory("void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }",
                                     sf::Shader::Fragment));
    array_ptr array = make_pattern_array(8, 8);
    picture_ptr source(vollo_new_picture(8, 8));
    vollo_fill(source.get(), 0xFF0000FF);
    vollo_draw(source.get());
    picture_ptr plain(vollo_new_picture(16, 8)), shaded(vollo_new_picture(16, 8));
    const vollo_position right = {8, 0};
    vollo_blit(plain.get(), array.get(), nullptr);
    vollo_blit_shader(shaded.get(), array.get(), nullptr, &green);
    vollo_blit_shader(shaded.get(), source.get(), &right, &green);
    vollo_draw(plain.get());
    vollo_draw(shaded.get());
    std::vector<uint32_t> a = picture_pixels(plain.get()), b = picture_pixels(shaded.get());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(b[y * 16 + x], x < 8 ? a[y * 16 + x] : 0xFF00FF00) << x << "," << y;
}

// Draws the same thing on a picture and on a pixel array over the same pattern.
void draw_on_both(vollo_picture *picture, vollo_pixelarray *array, const std::function<void(vollo_buffer *)> &draw)
{
    array_ptr pattern_array = make_pattern_array(array->width, array->height);
    std::copy(pattern_array->pixels, pattern_array->pixels + array->width * array->height, array->pixels);
    vollo_blit(picture, pattern_array.get(), nullptr);
    draw(picture);
    draw(array);
    vollo_draw(picture);
}

// Shapes and built-in text are cut into whole-pixel runs before the GPU sees them,
// so a picture gets the pixel array's pixels, blending rounded at most one step
// apart, clip rectangle included.
TEST_F(Window, ShapesAndBuiltinTextOnAPictureMatchThePixelArray)
{
    const int32_t big = INT32_MAX;
    const vollo_position thick[2] = {{5, 70}, {90, 8}}, thin[2] = {{-20, 3}, {120, 60}};
    const std::function<void(vollo_buffer *)> cases[] = {
        [](vollo_buffer *b) { vollo_set_rectangle(b, {10, 12}, 50, 30, VOLLO_RED, true); },
        [](vollo_buffer *b) { vollo_set_rectangle(b, {-3, 5}, 70, 60, VOLLO_RGBA(0, 255, 0, 100), false); },
        [](vollo_buffer *b) { vollo_set_circle(b, {48, 40}, 30, VOLLO_RGBA(0, 0, 255, 128), true); },
        [](vollo_buffer *b) { vollo_set_circle(b, {48, 40}, 37, VOLLO_YELLOW, false); },
        [](vollo_buffer *b) { vollo_set_ellipse(b, {50, 41}, 45, 13, VOLLO_RGBA(255, 255, 255, 77), true); },
        [](vollo_buffer *b) { vollo_set_ellipse(b, {-5, 90}, 60, 70, VOLLO_CYAN, false); },
        [&](vollo_buffer *b) { vollo_set_line_width(b, thick, 9, VOLLO_RGBA(255, 0, 255, 200)); },
        [&](vollo_buffer *b) { vollo_set_line_width(b, thin, 1, VOLLO_WHITE); },
        [&](vollo_buffer *b) { vollo_set_circle(b, {0, 0}, big, VOLLO_RGBA(9, 99, 199, 33), true); },
        [](vollo_buffer *b) { vollo_draw_text(b, "Score: 42\n\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", {3, 4}, 2, VOLLO_BLACK); },
        [](vollo_buffer *b) { vollo_draw_text(b, "abc", {40, 60}, 1, VOLLO_RGBA(255, 0, 0, 128)); },
    };
    int index = 0;
    for (const auto &draw : cases)
    {
        for (bool clipped : {false, true})
        {
            picture_ptr picture(vollo_new_picture(96, 80));
            array_ptr array(vollo_new_pixelarray(96, 80));
            ASSERT_TRUE(picture && array);
            if (clipped)
                for (vollo_clipable *c : {static_cast<vollo_clipable *>(picture.get()),
                                          static_cast<vollo_clipable *>(array.get())})
                    c->clip_x = 20, c->clip_y = 15, c->clip_width = 50, c->clip_height = 40;
            draw_on_both(picture.get(), array.get(), draw);
            const std::vector<uint32_t> gpu = picture_pixels(picture.get());
            int differing = 0;
            for (int i = 0; i < 96 * 80 && differing < 3; ++i)
                for (int shift = 0; shift < 32; shift += 8)
                    if (std::abs(int(gpu[i] >> shift & 0xFF) - int(array->pixels[i] >> shift & 0xFF)) > 1)
                    {
                        ADD_FAILURE() << "case " << index << (clipped ? " clipped" : "") << " pixel " << i % 96
                                      << "," << i / 96 << ": picture " << std::hex << gpu[i] << ", pixel array "
                                      << array->pixels[i];
                        ++differing;
                        break;
                    }
            if (differing)
                return;
        }
        ++index;
    }
}

// The built-in font and the shapes on the window, read back from the screen, give
// the pixels they give on a pixel array.
TEST_F(Window, BuiltinTextOnTheScreenIsTheGlyphBitmaps)
{
    const char *text = "Hello, world!\nAa0@\xC3\x84\xC3\xB1\xC3\x9F?";
    array_ptr array(vollo_new_pixelarray(200, 60));
    std::fill(array->pixels, array->pixels + 200 * 60, black);
    for (vollo_buffer *buffer : {static_cast<vollo_buffer *>(array.get()), static_cast<vollo_buffer *>(window)})
    {
        const int32_t x = buffer == window ? 300 : 0, y = buffer == window ? 100 : 0;
        vollo_set_ellipse(buffer, {x + 150, y + 30}, 45, 25, VOLLO_BLUE, true);
        vollo_set_circle(buffer, {x + 150, y + 30}, 28, VOLLO_RED, false);
        const vollo_position ends[2] = {{x + 2, y + 58}, {x + 190, y + 40}};
        vollo_set_line_width(buffer, ends, 5, VOLLO_YELLOW);
        vollo_set_rectangle(buffer, {x + 180, y - 10}, 30, 30, VOLLO_WHITE, false);
        vollo_draw_text(buffer, text, {x + 4, y + 5}, 2, VOLLO_GREEN);
    }
    expect_screen(300, 100, 200, 60, [&](int x, int y) { return array->pixels[(y - 100) * 200 + (x - 300)]; });
    int drawn = int(std::count(array->pixels, array->pixels + 200 * 60, VOLLO_GREEN));
    EXPECT_GT(drawn, 500);
}

const char *const dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct font_deleter
{
    void operator()(vollo_font *font) const { vollo_delete_font(font); }
};
using font_ptr = std::unique_ptr<vollo_font, font_deleter>;

// Box of the pixels unlike `ground` in a width x height block, and how many are
// neither the ground nor the full text colour (anti-aliased edges).
struct ink
{
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1, partial = 0;
};
ink find_ink(const uint32_t *pixels, int width, int height, uint32_t ground, uint32_t full)
{
    ink found;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint32_t c = rgb(pixels[y * width + x]);
            if (c == rgb(ground))
                continue;
            found.left = std::min(found.left, x), found.top = std::min(found.top, y);
            found.right = std::max(found.right, x + 1), found.bottom = std::max(found.bottom, y + 1);
            found.partial += c != rgb(full);
        }
    return found;
}

// Text in a font file draws visible anti-aliased glyphs on all three buffers, its
// farthest ink within a pixel of the box vollo_text_size_font gives, nothing
// before the position and nothing outside a picture's clip rectangle.
TEST_F(Window, FontFileTextIsAntiAliasedAndFitsItsBox)
{
    font_ptr font(vollo_load_font(dejavu));
    ASSERT_NE(font, nullptr) << "install fonts-dejavu-core";
    const char *text = "Hello, W\xC3\xB6rld\nline two";
    const vollo_size size = vollo_text_size_font(font.get(), text, 32);
    ASSERT_GT(size.width, 150);
    ASSERT_GT(size.height, 60);
    const vollo_position at = {20, 30};
    const int width = 400, height = 150;
    auto check = [&](const std::vector<uint32_t> &pixels, const char *where) {
        const ink found = find_ink(pixels.data(), width, height, black, VOLLO_WHITE);
        EXPECT_GE(found.left, at.x - 1) << where;
        EXPECT_GE(found.top, at.y) << where;
        EXPECT_NEAR(found.right, at.x + size.width, 1) << where;
        EXPECT_NEAR(found.bottom, at.y + size.height, 1) << where;
        EXPECT_GT(found.partial, 100) << where << ": no anti-aliased edges";
    };

    vollo_draw_text_font(window, font.get(), text, {at.x + 300, at.y + 200}, 32, VOLLO_WHITE);
    vollo_display(window);
    std::vector<uint32_t> screen;
    ASSERT_TRUE(vollo_test::wait_until([&] {
        screen = vollo_test::read_region(300, 200, width, height);
        return screen.size() == size_t(width) * height &&
               std::any_of(screen.begin(), screen.end(), [](uint32_t c) { return rgb(c) == 0xFFFFFF; });
    }));
    check(screen, "window");

    picture_ptr picture(vollo_new_picture(width, height));
    vollo_fill(picture.get(), black);
    vollo_draw_text_font(picture.get(), font.get(), text, at, 32, VOLLO_WHITE);
    vollo_draw(picture.get());
    check(picture_pixels(picture.get()), "picture");

    array_ptr array(vollo_new_pixelarray(width, height));
    std::fill(array->pixels, array->pixels + width * height, black);
    vollo_draw_text_font(array.get(), font.get(), text, at, 32, VOLLO_WHITE);
    check(std::vector<uint32_t>(array->pixels, array->pixels + width * height), "pixel array");

    // Half-transparent text blends: no pixel gets brighter than half white.
    std::fill(array->pixels, array->pixels + width * height, black);
    vollo_draw_text_font(array.get(), font.get(), text, at, 32, VOLLO_RGBA(255, 255, 255, 128));
    EXPECT_LE(*std::max_element(array->pixels, array->pixels + width * height), 0xFF808080u);
    EXPECT_GE(*std::max_element(array->pixels, array->pixels + width * height), 0xFF7F7F7Fu);

    // Clip rectangles hold on a picture and on a pixel array.
    for (vollo_clipable *clipable : {static_cast<vollo_clipable *>(picture.get()),
                                     static_cast<vollo_clipable *>(array.get())})
    {
        vollo_fill(clipable, black);  // the whole buffer, before the clip rectangle shrinks
        clipable->clip_x = 60, clipable->clip_y = 40, clipable->clip_width = 50, clipable->clip_height = 20;
        vollo_draw_text_font(clipable, font.get(), text, at, 32, VOLLO_WHITE);
        vollo_draw(picture.get());
        const std::vector<uint32_t> pixels = clipable == array.get()
                                                 ? std::vector<uint32_t>(array->pixels, array->pixels + width * height)
                                                 : picture_pixels(picture.get());
        const ink found = find_ink(pixels.data(), width, height, black, VOLLO_WHITE);
        EXPECT_GE(found.left, 60);
        EXPECT_GE(found.top, 40);
        EXPECT_LE(found.right, 110);
        EXPECT_LE(found.bottom, 60);
        EXPECT_GT(found.right, 60) << "nothing drawn inside the clip rectangle";
    }
}

// Text in a font file drawn on a pixel array by a child process with no display
// (DISPLAY unset, no GL context ever made) gives what the GPU draws on a picture,
// each channel within one level: kerning, several lines, tabs, malformed UTF-8,
// half-transparent colour, large glyphs spanning tiles, text cut by the edges.
TEST_F(Window, FontTextWithoutADisplayMatchesTheGpu)
{
    font_ptr font(vollo_load_font(dejavu));
    ASSERT_NE(font, nullptr);
    const struct
    {
        const char *text;
        int32_t size;
        vollo_position at;
        uint32_t color;
    } cases[] = {
        {"AVATAR Wolf, To.\nline\ttwo \xC3\xA9t\xC3\xA9\r\n\xFF?", 23, {5, 3}, VOLLO_WHITE},
        {"fi ffl 0123456789", 11, {-3, 40}, VOLLO_RGBA(40, 200, 120, 160)},
        {"@O", 1000, {-40, -30}, VOLLO_RGBA(255, 200, 100, 255)},
    };
    const uint32_t width = 1300, height = 1100;
    const size_t bytes = size_t(width) * height * 4;
    uint32_t *headless = static_cast<uint32_t *>(mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(headless, MAP_FAILED);
    for (const auto &c : cases)
    {
        picture_ptr picture(vollo_new_picture(width, height));
        ASSERT_TRUE(picture);
        vollo_fill(picture.get(), black);
        vollo_draw_text_font(picture.get(), font.get(), c.text, c.at, c.size, c.color);
        vollo_draw(picture.get());
        const std::vector<uint32_t> gpu = picture_pixels(picture.get());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            unsetenv("DISPLAY");
            vollo_pixelarray *array = vollo_new_pixelarray(width, height);
            if (!array)
                _exit(2);
            std::fill(array->pixels, array->pixels + width * height, black);
            vollo_draw_text_font(array, font.get(), c.text, c.at, c.size, c.color);
            std::copy(array->pixels, array->pixels + width * height, headless);
            _exit(*vollo_error() ? 3 : 0);
        }
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.text << ": status " << status;
        int differing = 0, inked = 0;
        for (uint32_t i = 0; i < width * height; ++i)
        {
            inked += rgb(headless[i]) != 0;
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int(gpu[i] >> shift & 0xFF) - int(headless[i] >> shift & 0xFF)) > 1 && differing++ < 3)
                    ADD_FAILURE() << c.text << ": pixel " << i % width << "," << i / width << ": GPU " << std::hex
                                  << gpu[i] << ", headless " << headless[i];
        }
        EXPECT_GT(inked, 300) << c.text;
    }
    munmap(headless, bytes);
}

TEST_F(Window, FontLoadingFailsWithNullAndEmptyCallsDrawNothing)
{
    char folder[] = "/tmp/vollo-font-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string not_a_font = std::string(folder) + "/notes.ttf", empty = std::string(folder) + "/empty.ttf";
    FILE *file = std::fopen(not_a_font.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("this is not a font\n", file);
    ASSERT_EQ(std::fclose(file), 0);
    file = std::fopen(empty.c_str(), "w");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fclose(file), 0);
    for (const char *path : {(const char *)nullptr, "/nonexistent/font.ttf", (const char *)folder,
                             not_a_font.c_str(), empty.c_str()})
        EXPECT_EQ(vollo_load_font(path), nullptr) << (path ? path : "null");
    unlink(not_a_font.c_str());
    unlink(empty.c_str());
    rmdir(folder);
    vollo_delete_font(nullptr);

    font_ptr font(vollo_load_font(dejavu));
    ASSERT_NE(font, nullptr);
    array_ptr array(vollo_new_pixelarray(40, 40));
    for (int32_t size : {0, -5, 1025})
    {
        vollo_draw_text_font(array.get(), font.get(), "A", {0, 0}, size, VOLLO_WHITE);
        EXPECT_EQ(vollo_text_size_font(font.get(), "A", size).width, 0) << size;
    }
    vollo_draw_text_font(array.get(), font.get(), "", {0, 0}, 12, VOLLO_WHITE);
    vollo_draw_text_font(array.get(), nullptr, "A", {0, 0}, 12, VOLLO_WHITE);
    vollo_draw_text_font(array.get(), font.get(), "A", {INT32_MIN, INT32_MAX}, 1024, VOLLO_WHITE);
    for (int i = 0; i < 40 * 40; ++i)
        ASSERT_EQ(array->pixels[i], initial) << i;
}

// Pictures made and updated from pixel arrays keep every pixel, alpha included; the
// filtering switches; a tint multiplies at each blit; vollo_blit_blend lays a pixel
// array over the window, a picture and a pixel array alike (each channel within 1).
TEST_F(Window, PicturesFromPixelsTintFilteringAndBlend)
{
    auto near = [](uint32_t seen, uint32_t expected) {
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(int(seen >> shift & 0xFF) - int(expected >> shift & 0xFF)) > 1)
                return false;
        return true;
    };
    array_ptr first = make_pattern_array(5, 3), second = make_pattern_array(5, 3), other(vollo_new_pixelarray(4, 3));
    first->pixels[0] = VOLLO_RGBA(10, 20, 30, 0), first->pixels[14] = VOLLO_RGBA(200, 100, 50, 77);
    std::reverse(second->pixels, second->pixels + 15);
    picture_ptr picture(vollo_new_picture_from_pixelarray(first.get())), white(vollo_new_picture(2, 2)), canvas(vollo_new_picture(2, 1));
    ASSERT_NE(picture, nullptr);
    vollo_fill(white.get(), VOLLO_WHITE), vollo_draw(white.get());
    array_ptr copy(vollo_new_pixelarray(2, 2)), target(vollo_new_pixelarray(2, 1)), blend(vollo_new_pixelarray(2, 1));
    blend->pixels[0] = VOLLO_RGBA(255, 0, 0, 128), blend->pixels[1] = VOLLO_TRANSPARENT;
    const uint32_t tint = VOLLO_RGBA(255, 128, 0, 128), over_blue = VOLLO_RGBA(128, 0, 127, 255);
    const vollo_position at = {600, 500};
    auto same = [](const vollo_picture *p, const vollo_pixelarray *a) {
        return picture_pixels(p) == std::vector<uint32_t>(a->pixels, a->pixels + a->width * a->height);
    };
    // Two pixels after the blend: half red over blue, then blue left as it was.
    auto blended = [&](const std::vector<uint32_t> &two) { return two.size() == 2 && near(two[0], over_blue) && two[1] == VOLLO_BLUE; };
    const std::pair<const char *, std::function<bool()>> checks[] = {
        {"same size and pixels", [&] { return picture->width == 5 && picture->height == 3 && same(picture.get(), first.get()); }},
        {"smooth, then sharp", [&] { return picture->texture->isSmooth() && (vollo_set_smooth(picture.get(), false), !picture->texture->isSmooth()); }},
        {"update", [&] { return vollo_update_picture(picture.get(), second.get()) && same(picture.get(), second.get()); }},
        {"update of another size fails", [&] { vollo_clear_error();
             return !vollo_update_picture(picture.get(), other.get()) && *vollo_error() && same(picture.get(), second.get()); }},
        {"tint onto a pixel array", [&] { vollo_set_tint(white.get(), tint), vollo_blit(copy.get(), white.get(), nullptr);
             return std::all_of(copy->pixels, copy->pixels + 4, [&](uint32_t c) { return near(c, tint); }); }},
        {"tint onto a picture", [&] { vollo_fill(canvas.get(), VOLLO_BLACK), vollo_blit(canvas.get(), white.get(), nullptr);
             return vollo_draw(canvas.get()), near(picture_pixels(canvas.get())[0], VOLLO_RGBA(128, 64, 0, 255)); }},
        {"white is no tint", [&] { vollo_set_tint(white.get(), VOLLO_WHITE), vollo_blit(copy.get(), white.get(), nullptr);
             return copy->pixels[3] == VOLLO_WHITE; }},
        {"blend onto a pixel array", [&] { std::fill(target->pixels, target->pixels + 2, VOLLO_BLUE);
             return vollo_blit_blend(target.get(), blend.get(), nullptr), blended({target->pixels, target->pixels + 2}); }},
        {"blend onto a picture", [&] { vollo_fill(canvas.get(), VOLLO_BLUE), vollo_blit_blend(canvas.get(), blend.get(), nullptr);
             return vollo_draw(canvas.get()), blended(picture_pixels(canvas.get())); }},
        {"blend onto the window", [&] { vollo_set_rectangle(window, at, 2, 1, VOLLO_BLUE, true), vollo_blit_blend(window, blend.get(), &at);
             vollo_display(window);
             return vollo_test::wait_until([&] { return blended(vollo_test::read_region(at.x, at.y, 2, 1)); }); }},
    };
    for (const auto &check : checks)
        EXPECT_TRUE(check.second()) << check.first;
}

TEST_F(Window, SavedPictureHoldsWhatItsTextureHolds)
{
    picture_ptr picture(vollo_new_picture(9, 6));
    ASSERT_NE(picture, nullptr);
    vollo_fill(picture.get(), 0xFF20C040);
    const vollo_position corners[3] = {{0, 0}, {8, 0}, {0, 5}};
    const uint32_t colors[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    vollo_set_polygon(picture.get(), corners, colors);
    vollo_draw(picture.get());
    saved_image::Folder folder;
    const std::string path = folder.file("picture.png");
    ASSERT_TRUE(vollo_save_buffer(picture.get(), path.c_str()));
    const auto image = saved_image::read_with_pillow(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 9);
    EXPECT_EQ(image->height, 6);
    EXPECT_EQ(image->pixels, picture_pixels(picture.get())) << "rows upside down or channels swapped";
}

// The screenshot is the frame being drawn: once displayed, the screen shows the same pixels.
TEST_F(Window, ScreenshotEqualsTheScreenAfterDisplay)
{
    array_ptr array = make_pattern_array(window_width, window_height);
    vollo_blit(window, array.get(), nullptr);
    const vollo_position corners[3] = {{100, 100}, {400, 150}, {200, 500}};
    const uint32_t colors[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    vollo_set_polygon(window, corners, colors);
    saved_image::Folder folder;
    const std::string path = folder.file("screen.bmp");
    ASSERT_TRUE(vollo_save_buffer(window, path.c_str()));
    const auto image = saved_image::read_with_pillow(path);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, int(window_width));
    ASSERT_EQ(image->height, int(window_height));
    for (uint32_t pixel : image->pixels)
        ASSERT_EQ(pixel >> 24, 0xFFu) << "a screenshot is opaque";
    expect_screen(0, 0, window_width, window_height,
                  [&](int x, int y) { return image->pixels[size_t(y) * window_width + x]; });
    EXPECT_EQ(image->pixels[700 * window_width + 1000], pattern(1000, 700));
}

}  // namespace
