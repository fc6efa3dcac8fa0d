// The drawing tools and the click chain, driven through click_pos on canvases of
// known content. The tool settings are static for the whole run, so each test first
// brings them to a known state through the buttons themselves.
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "canvas_util.h"
#include "interface.h"
#include "state.h"

namespace
{
const uint32_t BACKGROUND = 0xFF123456u;
const uint32_t RED = 0xFF0000FFu;

struct Tools : ::testing::Test
{
    GuardedCanvas canvas{PAINT_WIDTH, PAINT_HEIGHT, BACKGROUND};
    paint_state state{canvas.pixelarray, nullptr, 0, PAINT_BLACK};

    void press(int32_t x, int32_t y, int32_t button = 0)
    {
        click_pos(vollo_position{x, y}, VOLLO_PRESSED, button, &state);
    }
    void release(int32_t x, int32_t y, int32_t button = 0)
    {
        click_pos(vollo_position{x, y}, VOLLO_RELEASED, button, &state);
    }
    void click(int32_t x, int32_t y)
    {
        press(x, y);
        release(x, y);
    }
    void plus_clicks(int n)
    {
        for (int i = 0; i < n; i++)
            click(960, 60);
    }
    void minus_clicks(int n)
    {
        for (int i = 0; i < n; i++)
            click(960, 20);
    }
    // Size 0 (level 0, bar count 8), then a clean canvas.
    void SetUp() override
    {
        minus_clicks(31);
        canvas.fill_all(BACKGROUND);
        state.color = PAINT_BLACK;
    }
    // Puts a colour under the palette and picks it.
    void pick(uint32_t color)
    {
        canvas.set(500, 60, color);
        press(500, 60);
        release(500, 60);
    }
    // Width of the square stamped with the square brush at (300, 300); 0 when none.
    int square_width()
    {
        click(50, 60);
        canvas.fill_all(BACKGROUND);
        release(300, 300);
        int width = 0;
        while (300 + width < PAINT_WIDTH && canvas.at(300 + width, 300) == PAINT_BLACK)
            width++;
        return width;
    }
};

TEST_F(Tools, SizeZeroStampsChangeOnlyTheReleasePoint)
{
    struct Case
    {
        int32_t button_x, button_y;
        uint32_t expected;
    } cases[] = {{50, 60, PAINT_BLACK}, {160, 60, PAINT_BLACK}, {700, 60, PAINT_WHITE}};
    for (const Case &c : cases)
    {
        click(c.button_x, c.button_y);
        canvas.fill_all(BACKGROUND);
        release(400, 400);
        EXPECT_EQ(canvas.at(400, 400), c.expected) << "tool button at x " << c.button_x;
        EXPECT_EQ(canvas.count(BACKGROUND), PAINT_WIDTH * PAINT_HEIGHT - 1);
    }
}

TEST_F(Tools, SquareAtSizeFiveCoversSixBySixFromTheReleasePoint)
{
    plus_clicks(1);
    for (uint32_t eraser : {0u, 1u})
    {
        click(eraser ? 700 : 50, 60);
        canvas.fill_all(BACKGROUND);
        release(400, 300);
        const uint32_t color = eraser ? PAINT_WHITE : PAINT_BLACK;
        EXPECT_EQ(canvas.count(color, 400, 300, 405, 305), 36);
        EXPECT_EQ(canvas.count(color), 36);
    }
}

TEST_F(Tools, DiscOfRadiusFivePaints97PixelsWithNoHoles)
{
    plus_clicks(1);
    click(160, 60);
    pick(RED);
    canvas.fill_all(BACKGROUND);
    release(500, 400);
    EXPECT_EQ(canvas.count(RED, 495, 395, 505, 405), 97);
    EXPECT_EQ(canvas.count(RED), 97);
    // The pixels that the rings alone leave out lie between two painted pixels of their row.
    const std::set<std::pair<int, int>> between = {{3, 2},  {-3, 2},  {3, -2}, {-3, -2},
                                                   {2, 3},  {-2, 3},  {2, -3}, {-2, -3}};
    for (const auto &pixel : between)
        EXPECT_EQ(canvas.at(500 + pixel.first, 400 + pixel.second), RED)
            << pixel.first << "," << pixel.second;
    // The disc is symmetric and reaches the box's edges at the axes only.
    for (int k = -5; k <= 5; k++)
        for (int j = -5; j <= 5; j++)
            EXPECT_EQ(canvas.at(500 + k, 400 + j), canvas.at(500 - j, 400 + k));
    EXPECT_EQ(canvas.at(505, 400), RED);
    EXPECT_EQ(canvas.at(505, 403), BACKGROUND);
}

TEST_F(Tools, RingOfRadiusFiveCoversItsFirstOctant)
{
    // Rings 5..0 in red, then rings 4..0 in black: red is what ring 5 alone adds.
    state.color = RED;
    algo_circle(&state, vollo_position{300, 300}, 5);
    state.color = PAINT_BLACK;
    algo_circle(&state, vollo_position{300, 300}, 4);
    std::set<std::pair<int, int>> octant;
    for (int x = 0; x <= 6; x++)
        for (int y = 0; y <= x; y++)
            if (canvas.at(300 + x, 300 + y) == RED)
                octant.insert({x, y});
    const std::set<std::pair<int, int>> expected = {{5, 0}, {5, 1}, {5, 2}, {4, 3}};
    EXPECT_EQ(octant, expected);
}

TEST_F(Tools, NegativeRadiusDrawsNothing)
{
    algo_circle(&state, vollo_position{300, 300}, -1);
    EXPECT_EQ(canvas.count(BACKGROUND), PAINT_WIDTH * PAINT_HEIGHT);
}

TEST_F(Tools, ThirtyOnePlusClicksStopAtSize150)
{
    plus_clicks(31);
    EXPECT_EQ(square_width(), 151);
    // Level 30: one minus goes back to 145.
    minus_clicks(1);
    EXPECT_EQ(square_width(), 146);
}

TEST_F(Tools, MinusAtLevelZeroChangesNothing)
{
    minus_clicks(1);
    EXPECT_EQ(square_width(), 1);
    EXPECT_EQ(canvas.count(BACKGROUND, 880, 145, 1049, 199), 170 * 55);
    plus_clicks(1);
    EXPECT_EQ(square_width(), 6);
}

TEST_F(Tools, SizeBarFollowsCount)
{
    plus_clicks(1);
    EXPECT_EQ(canvas.count(PAINT_WHITE, 0, 0, 1049, 799), 14 * 55);
    EXPECT_EQ(canvas.count(PAINT_WHITE, 901, 145, 914, 199), 14 * 55);
    plus_clicks(1);
    EXPECT_EQ(canvas.count(PAINT_WHITE), 19 * 55);
    EXPECT_EQ(canvas.count(PAINT_WHITE, 901, 145, 919, 199), 19 * 55);
    // Plus, plus, minus: the bar is entirely grey, the size one step above the start.
    minus_clicks(1);
    EXPECT_EQ(canvas.count(PAINT_WHITE), 0);
    EXPECT_EQ(canvas.count(PAINT_GREY, 901, 145, 949, 199), 49 * 55);
    EXPECT_EQ(canvas.count(PAINT_GREY), 49 * 55);
    EXPECT_EQ(canvas.at(900, 170), BACKGROUND);
    EXPECT_EQ(canvas.at(950, 170), BACKGROUND);
    EXPECT_EQ(square_width(), 6);
}

TEST_F(Tools, SizeBarStopsAtX1019)
{
    plus_clicks(21);  // count 8 -> 29
    canvas.fill_all(BACKGROUND);
    plus_clicks(1);   // count 29 paints up to 5 * 29 + 874 = 1019
    EXPECT_EQ(canvas.count(PAINT_WHITE, 901, 145, 1019, 199), 119 * 55);
    EXPECT_EQ(canvas.count(PAINT_WHITE), 119 * 55);
    canvas.fill_all(BACKGROUND);
    plus_clicks(8);   // up to level 30: nothing painted, the size still grows
    EXPECT_EQ(canvas.count(BACKGROUND), PAINT_WIDTH * PAINT_HEIGHT);
    EXPECT_EQ(square_width(), 151);
}

TEST(SizeBar, PrintCurserArithmetic)
{
    GuardedCanvas canvas(PAINT_WIDTH, PAINT_HEIGHT, 0);
    paint_state state{canvas.pixelarray, nullptr, 0, 0};
    struct Case
    {
        int32_t count;
        bool plus;
        int32_t first, last;  // painted columns; first > last: nothing
    } cases[] = {
        {8, true, 901, 914},   {9, true, 901, 919},  {29, true, 901, 1019}, {30, true, 1, 0},
        {37, true, 1, 0},      {10, false, 901, 949}, {8, false, 891, 939},  {7, false, 1, 0},
        {38, false, 1041, 1089},
    };
    for (const Case &c : cases)
    {
        canvas.fill_all(0);
        int32_t count = c.count;
        EXPECT_EQ(c.plus ? print_curser_plus(&state, &count) : print_curser_minus(&state, &count), 0);
        EXPECT_EQ(count, c.count + (c.plus ? 1 : -1));
        const uint32_t color = c.plus ? PAINT_WHITE : PAINT_GREY;
        const int32_t last = c.last < PAINT_WIDTH ? c.last : PAINT_WIDTH - 1;
        const int expected = c.first > last ? 0 : (last - c.first + 1) * 55;
        EXPECT_EQ(canvas.count(color), expected) << "count " << c.count;
        EXPECT_EQ(canvas.count(color, c.first, 145, last, 199), expected);
        EXPECT_TRUE(canvas.guards_intact());
    }
}

TEST_F(Tools, ToolsAreChosenOnPressAndStampedOnRelease)
{
    click(50, 60);
    press(400, 400);  // a press in the drawing area stamps nothing
    EXPECT_EQ(canvas.count(BACKGROUND), PAINT_WIDTH * PAINT_HEIGHT);
    release(160, 60);  // a release on the circle button chooses nothing
    pick(RED);
    canvas.fill_all(BACKGROUND);
    plus_clicks(1);
    canvas.fill_all(BACKGROUND);
    release(400, 400);
    EXPECT_EQ(canvas.count(RED), 36) << "still the square brush";
}

TEST_F(Tools, DispatchRegionsAndButtons)
{
    // Each case: a press at (x, y) with a button, then a stamp; what the stamp shows.
    enum Effect
    {
        SQUARE,
        DISC,
        ERASER,
        UNCHANGED  // the eraser chosen before stays
    };
    struct Case
    {
        int32_t x, y, button;
        Effect effect;
    } cases[] = {
        {5, 0, 0, SQUARE},      {105, 120, 0, SQUARE},  {4, 60, 0, UNCHANGED},
        {50, 121, 0, UNCHANGED}, {106, 0, 0, DISC},     {210, 120, 0, DISC},
        {211, 60, 0, UNCHANGED}, {645, 0, 0, ERASER},   {855, 123, 0, ERASER},
        {644, 60, 0, UNCHANGED}, {856, 60, 0, UNCHANGED}, {50, 60, 1, UNCHANGED},
        {160, 60, 2, UNCHANGED},
    };
    plus_clicks(1);
    for (const Case &c : cases)
    {
        click(700, 60);  // eraser
        pick(RED);
        press(c.x, c.y, c.button);
        release(c.x, c.y, c.button);
        canvas.fill_all(BACKGROUND);
        release(400, 400);
        Effect seen = UNCHANGED;
        if (canvas.at(400, 400) == PAINT_BLACK && canvas.count(PAINT_BLACK) == 36)
            seen = SQUARE;
        else if (canvas.at(400, 400) == RED && canvas.count(RED) == 97)
            seen = DISC;
        else if (canvas.count(PAINT_WHITE) == 36)
            seen = ERASER;
        else
            seen = static_cast<Effect>(-1);
        EXPECT_EQ(seen, c.effect == UNCHANGED ? ERASER : c.effect)
            << "press at " << c.x << "," << c.y << " button " << c.button;
    }
}

TEST_F(Tools, DrawingAreaBoundsForStamps)
{
    click(50, 60);
    struct Case
    {
        int32_t x, y;
        bool stamps;
    } cases[] = {{210, 200, true}, {840, 727, true}, {209, 400, false},
                 {841, 400, false}, {400, 199, false}, {400, 728, false}};
    for (const Case &c : cases)
    {
        canvas.fill_all(BACKGROUND);
        release(c.x, c.y);
        EXPECT_EQ(canvas.at(c.x, c.y) == PAINT_BLACK, c.stamps) << c.x << "," << c.y;
        release(c.x, c.y, 1);  // other buttons never stamp
    }
    canvas.fill_all(BACKGROUND);
    release(400, 400, 1);
    release(400, 400, 2);
    EXPECT_EQ(canvas.count(BACKGROUND), PAINT_WIDTH * PAINT_HEIGHT);
}

TEST_F(Tools, SquareBrushResetsTheColourToBlackAndCircleKeepsIt)
{
    pick(RED);
    EXPECT_EQ(state.color, RED);
    click(160, 60);
    EXPECT_EQ(state.color, RED);
    click(50, 60);
    EXPECT_EQ(state.color, PAINT_BLACK);
    pick(RED);
    click(700, 60);
    EXPECT_EQ(state.color, RED);
}

TEST_F(Tools, PaletteRegionAndSeparator)
{
    canvas.set(430, 0, 0xFF010203u);
    canvas.set(642, 122, PAINT_BLACK);
    canvas.set(643, 60, 0xFF0A0B0Cu);
    canvas.set(500, 123, 0xFF0D0E0Fu);
    press(430, 0);
    EXPECT_EQ(state.color, 0xFF010203u);
    press(642, 122);
    EXPECT_EQ(state.color, PAINT_BLACK);
    press(643, 60);
    press(500, 123);
    release(500, 60);
    press(500, 60, 1);
    EXPECT_EQ(state.color, PAINT_BLACK);
}

TEST_F(Tools, ButtonDownFollowsTheLeftButton)
{
    press(10, 790);
    EXPECT_EQ(state.button_down, 1);
    release(10, 790, 1);
    EXPECT_EQ(state.button_down, 1);
    release(10, 790);
    EXPECT_EQ(state.button_down, 0);
}

TEST_F(Tools, StampsAreClippedAtTheBottomEdge)
{
    plus_clicks(30);
    for (int32_t tool_x : {50, 160, 700})
    {
        click(tool_x, 60);
        canvas.fill_all(BACKGROUND);
        release(700, 727);
        EXPECT_TRUE(canvas.guards_intact()) << "tool button x " << tool_x;
    }
    // The eraser's square: columns 700..850, rows 727..799.
    EXPECT_EQ(canvas.count(PAINT_WHITE), 151 * 73);
    // A release at (840, 200) paints up to x = 990, over the interface on the right.
    click(50, 60);
    canvas.fill_all(BACKGROUND);
    release(840, 200);
    EXPECT_EQ(canvas.at(990, 350), PAINT_BLACK);
    EXPECT_EQ(canvas.count(PAINT_BLACK), 151 * 151);
}

TEST_F(Tools, SmallLoadedCanvasIsNeverOverrun)
{
    GuardedCanvas small(300, 250, BACKGROUND);
    paint_state small_state{small.pixelarray, nullptr, 0, PAINT_BLACK};
    auto small_click = [&](int32_t x, int32_t y, vollo_event_state event) {
        click_pos(vollo_position{x, y}, event, 0, &small_state);
    };
    plus_clicks(30);
    small_state.tools = state.tools;  // the size reached on the full canvas
    for (int32_t tool_x : {50, 160, 700})
    {
        small_click(tool_x, 60, VOLLO_PRESSED);
        small_click(tool_x, 60, VOLLO_RELEASED);
        small_click(250, 220, VOLLO_RELEASED);
        small_click(600, 700, VOLLO_RELEASED);  // entirely outside the small canvas
    }
    small_click(500, 60, VOLLO_PRESSED);  // palette region, outside: colour kept
    EXPECT_EQ(small_state.color, PAINT_BLACK);
    small_click(960, 20, VOLLO_RELEASED);  // size bar, outside
    small_click(960, 60, VOLLO_RELEASED);
    EXPECT_TRUE(small.guards_intact());
    EXPECT_EQ(small.count(PAINT_WHITE, 250, 220, 299, 249), 50 * 30);
}

TEST(PixelRoutines, OutsideTheArrayNothingIsWrittenOrRead)
{
    GuardedCanvas canvas(7, 5, 0x11111111u);
    const vollo_position outside[] = {{-1, 0}, {0, -1}, {7, 0}, {0, 5}, {INT32_MAX, INT32_MAX},
                                      {INT32_MIN, 2}, {-1, 6}};
    for (vollo_position p : outside)
    {
        EXPECT_EQ(puxpixel(canvas.pixelarray, p, 0x22222222u), 0);
        EXPECT_EQ(puxcolor(canvas.pixelarray, p), 0u);
        draw_pixel(canvas.pixelarray, 0x22222222u, p.x, p.y);
    }
    tool_state big = {INT32_MAX, INT32_MAX, 0, TOOL_SQUARE, 30};
    puxsquare(canvas.pixelarray, 0x33333333u, vollo_position{INT32_MAX - 1, 3}, &big);
    puxsquare(canvas.pixelarray, 0x33333333u, vollo_position{4, 3}, &big);
    EXPECT_TRUE(canvas.guards_intact());
    EXPECT_EQ(canvas.count(0x33333333u), 3 * 2);
    EXPECT_EQ(canvas.count(0x11111111u), 35 - 6);
    EXPECT_EQ(puxpixel(canvas.pixelarray, vollo_position{6, 4}, 0x44444444u), 0);
    EXPECT_EQ(puxcolor(canvas.pixelarray, vollo_position{6, 4}), 0x44444444u);
    EXPECT_EQ(canvas.at(6, 4), 0x44444444u);
}
}  // namespace
