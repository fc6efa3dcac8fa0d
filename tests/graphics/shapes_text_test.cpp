// Shapes and built-in text on pixel arrays, checked pixel by pixel against
// references computed here by brute force over pixel centres.
#include <algorithm>
#include <climits>
#include <cstring>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/text.hpp"
#include "vollo.h"

namespace
{

const uint32_t background = 0xFF203040;

struct array_deleter
{
    void operator()(vollo_pixelarray *array) const { vollo_delete_clipable(array); }
};
using array_ptr = std::unique_ptr<vollo_pixelarray, array_deleter>;

array_ptr make_filled(uint32_t width, uint32_t height, uint32_t color = background)
{
    array_ptr array(vollo_new_pixelarray(width, height));
    EXPECT_NE(array, nullptr);
    if (array)
        std::fill(array->pixels, array->pixels + width * height, color);
    return array;
}

// Whether pixel (x, y) of the shape is drawn.
using coverage = std::function<bool(int64_t x, int64_t y)>;

// The pixels of `inside` with a side-neighbour outside it.
coverage outline_of(coverage inside)
{
    return [inside](int64_t x, int64_t y) {
        return inside(x, y) && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
    };
}

// Centre of pixel (x, y) inside or on the ellipse; every term is a multiple of
// 1/16, exact in doubles for these sizes.
coverage ellipse_reference(double cx, double cy, double a, double b)
{
    return [=](int64_t x, int64_t y) {
        const double u = x + 0.5 - cx, v = y + 0.5 - cy;
        return a > 0 && b > 0 && u * u * b * b + v * v * a * a <= a * a * b * b;
    };
}

coverage rectangle_reference(int64_t left, int64_t top, int64_t width, int64_t height)
{
    return [=](int64_t x, int64_t y) { return x >= left && x < left + width && y >= top && y < top + height; };
}

// Compares every pixel with the reference (drawn: `color`, else the background)
// and returns the number drawn.
int64_t expect_pixels(const vollo_pixelarray *array, const coverage &expected, uint32_t color,
                      const std::string &what)
{
    int64_t count = 0, reported = 0;
    for (int64_t y = 0; y < array->height; ++y)
        for (int64_t x = 0; x < array->width; ++x)
        {
            const bool drawn = expected(x, y);
            count += drawn;
            const uint32_t seen = array->pixels[y * array->width + x];
            if (seen != (drawn ? color : background) && reported++ < 3)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << seen;
        }
    return count;
}

struct shape_case
{
    const char *name;
    int32_t x, y, a, b;  // rectangle: corner and size; ellipse and circle: centre and radii
    bool filled;
    int64_t expected_count;  // -1: not checked against a literal
};

// Literal counts checked by hand for the simplest cases; the others come from the
// brute-force reference.
const shape_case shape_cases[] = {
    {"rectangle", 3, 4, 10, 6, true, 60},
    {"rectangle", 3, 4, 10, 6, false, 28},
    {"rectangle", -5, -5, 8, 100, true, 3 * 48},
    {"rectangle", 40, 10, 1, 1, false, 1},
    {"rectangle", 40, 10, 2, 5, false, 10},
    {"rectangle", 40, 10, 0, 5, true, 0},
    {"rectangle", 40, 10, 5, -1, true, 0},
    {"circle", 20, 20, 1, 1, true, 4},
    {"circle", 20, 20, 2, 2, true, 12},
    {"circle", 20, 20, 10, 10, true, -1},
    {"circle", 20, 20, 10, 10, false, -1},
    {"circle", 0, 0, 7, 7, true, -1},
    {"circle", 63, 47, 30, 30, false, -1},
    {"circle", 20, 20, 0, 0, true, 0},
    {"ellipse", 30, 20, 17, 6, true, -1},
    {"ellipse", 30, 20, 17, 6, false, -1},
    {"ellipse", 30, 20, 4, 2, true, -1},  // centres exactly on the border
    {"ellipse", 30, 20, 2, 12, false, -1},
    {"ellipse", 31, 24, 1, 20, true, -1},
    {"ellipse", 31, 24, 40, 1, false, -1},
};

}  // namespace

TEST(Shapes, PixelsMatchTheCentreRuleExactly)
{
    const uint32_t color = 0xFF00C0FF;
    for (const shape_case &test : shape_cases)
    {
        array_ptr array = make_filled(64, 48);
        coverage inside;
        const std::string name = std::string(test.name) + (test.filled ? " filled " : " outline ") +
                                 std::to_string(test.x) + "," + std::to_string(test.y) + " " +
                                 std::to_string(test.a) + "x" + std::to_string(test.b);
        if (test.name[0] == 'r')
        {
            vollo_set_rectangle(array.get(), {test.x, test.y}, test.a, test.b, color, test.filled);
            inside = rectangle_reference(test.x, test.y, test.a, test.b);
        }
        else if (test.name[0] == 'c')
        {
            vollo_set_circle(array.get(), {test.x, test.y}, test.a, color, test.filled);
            inside = ellipse_reference(test.x, test.y, test.a, test.a);
        }
        else
        {
            vollo_set_ellipse(array.get(), {test.x, test.y}, test.a, test.b, color, test.filled);
            inside = ellipse_reference(test.x, test.y, test.a, test.b);
        }
        const int64_t count = expect_pixels(array.get(), test.filled ? inside : outline_of(inside), color, name);
        if (test.expected_count >= 0)
        {
            EXPECT_EQ(count, test.expected_count) << name;
        }
    }
}

TEST(Shapes, StayInsideTheClipRectangle)
{
    array_ptr array = make_filled(40, 30);
    array->clip_x = 5, array->clip_y = 6, array->clip_width = 20, array->clip_height = 10;
    const uint32_t color = 0xFFFFFFFF;
    vollo_set_circle(array.get(), {15, 11}, 30, color, true);
    expect_pixels(array.get(), rectangle_reference(5, 6, 20, 10), color, "circle over the clip rectangle");
    array->clip_x = -100, array->clip_width = 103;  // reaches outside the array: cut to it
    std::fill(array->pixels, array->pixels + 40 * 30, background);
    vollo_set_rectangle(array.get(), {-1000, -1000}, 5000, 5000, color, true);
    expect_pixels(array.get(), rectangle_reference(0, 6, 3, 10), color, "rectangle with a clip reaching out");
}

// Shapes far outside, or with extreme coordinates and sizes, change nothing
// outside their true area and end quickly (rows outside the buffer are skipped).
TEST(Shapes, ExtremeCoordinatesAreSafe)
{
    const uint32_t color = 0xFFFFFFFF;
    const int32_t low = INT32_MIN, high = INT32_MAX;
    struct
    {
        std::function<void(vollo_buffer *)> draw;
        coverage expected;
    } cases[] = {
        {[&](vollo_buffer *b) { vollo_set_rectangle(b, {high, high}, high, high, color, true); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_rectangle(b, {low, low}, high, high, color, false); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_rectangle(b, {low, low}, high, high, color, true); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_rectangle(b, {-10, -10}, high, high, color, true); },
         rectangle_reference(0, 0, 16, 12)},
        {[&](vollo_buffer *b) { vollo_set_circle(b, {high, low}, high, color, true); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_circle(b, {low, low}, high, color, false); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_circle(b, {0, 0}, high, color, true); }, rectangle_reference(0, 0, 16, 12)},
        {[&](vollo_buffer *b) { vollo_set_circle(b, {0, 0}, high, color, false); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_ellipse(b, {high, high}, high, high, color, false); }, nullptr},
        {[&](vollo_buffer *b) { vollo_set_ellipse(b, {8, 6}, high, 3, color, true); },
         rectangle_reference(0, 3, 16, 6)},
        {[&](vollo_buffer *b) {
             const vollo_position ends[2] = {{low, low}, {high, high}};
             vollo_set_line_width(b, ends, high, color);
         },
         rectangle_reference(0, 0, 16, 12)},
        {[&](vollo_buffer *b) {
             const vollo_position ends[2] = {{low, 100}, {high, 100}};
             vollo_set_line_width(b, ends, 9, color);
         },
         nullptr},
        {[&](vollo_buffer *b) {
             const vollo_position ends[2] = {{low, 5}, {high, 5}};
             vollo_set_line_width(b, ends, 3, color);
         },
         rectangle_reference(0, 4, 16, 3)},
        {[&](vollo_buffer *b) { vollo_draw_text(b, "far away", {high - 3, high - 3}, high, color); }, nullptr},
        {[&](vollo_buffer *b) { vollo_draw_text(b, "far\naway", {low, low}, 1000, color); }, nullptr},
    };
    int index = 0;
    for (const auto &test : cases)
    {
        array_ptr array = make_filled(16, 12);
        test.draw(array.get());
        const coverage none = [](int64_t, int64_t) { return false; };
        expect_pixels(array.get(), test.expected ? test.expected : none, color, "case " + std::to_string(index++));
    }
}

// The blend rule of the header, with plain integer division rounding halves up.
uint32_t reference_blend(uint32_t color, uint32_t under)
{
    const uint32_t a = color >> 24;
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const uint32_t value = ((color >> shift) & 0xFF) * a + ((under >> shift) & 0xFF) * (255 - a);
        result |= (2 * value + 255) / 510 << shift;
    }
    return result | (a + (2 * (under >> 24) * (255 - a) + 255) / 510) << 24;
}

TEST(Shapes, TranslucentColoursBlendAsStated)
{
    // Hand-computed: half-transparent blue over opaque red; anything over transparent.
    struct
    {
        uint32_t color, under, expected;
    } cases[] = {
        {0x80FF0000, 0xFF0000FF, 0xFF80007F},
        {0x80FF0000, 0x00000000, 0x80800000},
        {0x00FFFFFF, 0x12345678, 0x12345678},
        {0xFF123456, 0x00ABCDEF, 0xFF123456},
    };
    for (const auto &test : cases)
    {
        array_ptr array = make_filled(3, 3, test.under);
        vollo_set_rectangle(array.get(), {1, 1}, 1, 1, test.color, true);
        EXPECT_EQ(array->pixels[4], test.expected) << std::hex << test.color << " over " << test.under;
        EXPECT_EQ(array->pixels[0], test.under);
        EXPECT_EQ(reference_blend(test.color, test.under), test.expected);
    }
    std::mt19937 random(5);
    array_ptr array = make_filled(1, 1);
    for (int round = 0; round < 20000; ++round)
    {
        const uint32_t color = random(), under = random();
        array->pixels[0] = under;
        vollo_set_circle(array.get(), {1, 1}, 1, color, true);
        ASSERT_EQ(array->pixels[0], reference_blend(color, under)) << std::hex << color << " over " << under;
    }
    // A translucent outline is blended once everywhere, its corners included.
    array_ptr framed = make_filled(8, 8, 0xFF000000);
    vollo_set_rectangle(framed.get(), {1, 1}, 6, 6, 0x80FFFFFF, false);
    const uint32_t once = reference_blend(0x80FFFFFF, 0xFF000000);
    for (int64_t y = 0; y < 8; ++y)
        for (int64_t x = 0; x < 8; ++x)
        {
            const bool border = (x == 1 || x == 6 || y == 1 || y == 6) && x >= 1 && x <= 6 && y >= 1 && y <= 6;
            EXPECT_EQ(framed->pixels[y * 8 + x], border ? once : 0xFF000000u) << x << "," << y;
        }
}

// Pixel centres within width / 2 of the segment between the end pixels' centres,
// in exact integers (distances squared times 4).
bool within_reference(vollo_position a, vollo_position b, int64_t width, int64_t x, int64_t y)
{
    const int64_t dx = b.x - a.x, dy = b.y - a.y, px = x - a.x, py = y - a.y;
    const int64_t length2 = dx * dx + dy * dy, along = px * dx + py * dy;
    if (length2 == 0 || along <= 0)
        return 4 * (px * px + py * py) <= width * width;
    if (along >= length2)
        return 4 * ((px - dx) * (px - dx) + (py - dy) * (py - dy)) <= width * width;
    const int64_t cross = dx * py - dy * px;
    return 4 * cross * cross <= width * width * length2;
}

TEST(Shapes, ThickLinesCoverTheCentresNearTheSegment)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> coordinate(-10, 50), thickness(1, 12);
    const uint32_t color = 0xFF0000FF;
    for (int round = 0; round < 300; ++round)
    {
        const vollo_position ends[2] = {{coordinate(random), coordinate(random)},
                                        {coordinate(random), coordinate(random)}};
        const int32_t width = round < 20 ? round % 4 + 1 : thickness(random);
        array_ptr array = make_filled(40, 40);
        vollo_set_line_width(array.get(), ends, width, color);
        const coverage expected = [&](int64_t x, int64_t y) { return within_reference(ends[0], ends[1], width, x, y); };
        const std::string name = "line " + std::to_string(ends[0].x) + "," + std::to_string(ends[0].y) + " to " +
                                 std::to_string(ends[1].x) + "," + std::to_string(ends[1].y) + " width " +
                                 std::to_string(width);
        expect_pixels(array.get(), expected, color, name);
        if (HasFailure())
            return;
    }
}

// Width 1: every column of a shallow line (and row of a steep one) holds a pixel.
TEST(Shapes, ThinLineHasNoGaps)
{
    array_ptr array = make_filled(64, 64);
    const vollo_position ends[2] = {{2, 3}, {61, 40}};
    vollo_set_line_width(array.get(), ends, 1, 0xFFFFFFFF);
    for (int x = 2; x <= 61; ++x)
    {
        int drawn = 0;
        for (int y = 0; y < 64; ++y)
            drawn += array->pixels[y * 64 + x] == 0xFFFFFFFF;
        EXPECT_GE(drawn, 1) << "column " << x;
    }
}

namespace
{

// What vollo_draw_text should leave: glyph bits scaled up, cell by cell.
coverage text_reference(const std::vector<std::vector<uint32_t>> &lines, int64_t left, int64_t top, int64_t scale)
{
    return [=](int64_t x, int64_t y) {
        const int64_t line = (y - top) / (12 * scale), cell = (x - left) / (6 * scale);
        if (x < left || y < top || line >= int64_t(lines.size()) || cell >= int64_t(lines[line].size()))
            return false;
        const int64_t row = (y - top) % (12 * scale) / scale, column = (x - left) % (6 * scale) / scale;
        if (row >= vollo_text::glyph_rows || column >= vollo_text::glyph_columns)
            return false;
        return bool(vollo_text::builtin_glyph(lines[line][cell]).rows[row] >> (4 - column) & 1);
    };
}

}  // namespace

TEST(BuiltinText, DrawsExactlyTheGlyphBitmaps)
{
    struct
    {
        const char *text;
        std::vector<std::vector<uint32_t>> code_points;
        vollo_position at;
        int32_t scale;
    } cases[] = {
        {"Hi!", {{'H', 'i', '!'}}, {2, 3}, 1},
        {"Ag\n\xC3\x80\xC3\xA9\xC3\xBF", {{'A', 'g'}, {0xC0, 0xE9, 0xFF}}, {1, 0}, 3},
        {"@~{}", {{'@', '~', '{', '}'}}, {-4, -5}, 2},  // cut at the top-left corner
        {"\xE2\x82\xAC\x01\xC3(", {{0x20AC, 1, vollo_text::invalid_code_point, '('}}, {0, 0}, 1},
    };
    const uint32_t color = 0xFF00FF00;
    for (const auto &test : cases)
    {
        array_ptr array = make_filled(60, 80);
        vollo_draw_text(array.get(), test.text, test.at, test.scale, color);
        expect_pixels(array.get(), text_reference(test.code_points, test.at.x, test.at.y, test.scale), color, test.text);
    }
}

TEST(BuiltinText, EveryPrintableCharacterHasItsOwnGlyph)
{
    std::vector<uint32_t> printable;
    for (uint32_t c = 33; c < 127; ++c)
        printable.push_back(c);
    for (uint32_t c = 161; c < 256; ++c)
        if (c != 0xAD)  // the soft hyphen is drawn as a short hyphen, checked below
            printable.push_back(c);
    const vollo_text::glyph &replacement = vollo_text::replacement_glyph();
    for (size_t i = 0; i < printable.size(); ++i)
    {
        const vollo_text::glyph &g = vollo_text::builtin_glyph(printable[i]);
        EXPECT_NE(&g, &replacement) << printable[i];
        EXPECT_TRUE(std::any_of(std::begin(g.rows), std::end(g.rows), [](uint8_t row) { return row != 0; }))
            << printable[i];
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(std::memcmp(&g, &vollo_text::builtin_glyph(printable[j]), sizeof g), 0)
                << printable[i] << " looks like " << printable[j];
    }
    EXPECT_NE(std::memcmp(&vollo_text::builtin_glyph(0xAD), &vollo_text::builtin_glyph('-'), sizeof replacement), 0);
    for (uint32_t blank : {0x20u, 0xA0u})
        for (uint8_t row : vollo_text::builtin_glyph(blank).rows)
            EXPECT_EQ(row, 0) << blank;
    for (uint32_t unknown : {0u, 9u, 127u, 0x80u, 0x9Fu, 0x100u, 0x20ACu, 0x10FFFFu, vollo_text::invalid_code_point})
        EXPECT_EQ(&vollo_text::builtin_glyph(unknown), &replacement) << unknown;
}

TEST(BuiltinText, DecodesUtf8AndRejectsMalformedSequences)
{
    struct
    {
        const char *text;
        std::vector<uint32_t> code_points;
    } cases[] = {
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {'a', 0xE9, 0x20AC, 0x1F600}},
        {"\xC0\xAF", {vollo_text::invalid_code_point, vollo_text::invalid_code_point}},  // overlong
        {"\xED\xA0\x80", {vollo_text::invalid_code_point, vollo_text::invalid_code_point,
                          vollo_text::invalid_code_point}},  // surrogate
        {"\xF4\x90\x80\x80", std::vector<uint32_t>(4, vollo_text::invalid_code_point)},  // above U+10FFFF
        {"\xE2\x82", {vollo_text::invalid_code_point, vollo_text::invalid_code_point}},  // cut by the end
        {"\xFF" "b", {vollo_text::invalid_code_point, 'b'}},
    };
    for (const auto &test : cases)
    {
        std::vector<uint32_t> seen;
        for (const char *p = test.text; *p;)
            seen.push_back(vollo_text::next_code_point(p));
        EXPECT_EQ(seen, test.code_points) << test.text;
    }
}

TEST(BuiltinText, SizeIsTheBoxItCovers)
{
    struct
    {
        const char *text;
        int32_t scale, width, height;
    } cases[] = {
        {"", 1, 0, 0},         {"A", 1, 5, 11},           {"AB", 1, 11, 11},      {"AB", 3, 33, 33},
        {"A\nBCD", 1, 17, 23}, {"\xC3\xA9t\xC3\xA9", 2, 34, 22}, {"ab\n", 1, 11, 23}, {"A", 0, 0, 0},
        {"A", -2, 0, 0},       {"AB", INT32_MAX, INT32_MAX, INT32_MAX},
    };
    for (const auto &test : cases)
    {
        const vollo_size size = vollo_text_size(test.text, test.scale);
        EXPECT_EQ(size.width, test.width) << test.text << " scale " << test.scale;
        EXPECT_EQ(size.height, test.height) << test.text << " scale " << test.scale;
    }
    EXPECT_EQ(vollo_text_size(nullptr, 1).width, 0);
    // The box holds every drawn pixel and is reached on both sides.
    array_ptr array = make_filled(80, 80);
    vollo_draw_text(array.get(), "Wg\nMj", {0, 0}, 2, 0xFFFFFFFF);
    const vollo_size size = vollo_text_size("Wg\nMj", 2);
    int64_t right = 0, bottom = 0;
    for (int64_t y = 0; y < 80; ++y)
        for (int64_t x = 0; x < 80; ++x)
            if (array->pixels[y * 80 + x] == 0xFFFFFFFF)
                right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
    EXPECT_EQ(right, size.width);
    EXPECT_EQ(bottom, size.height);
}
