// Strokes, the fill and the undo history on plain canvases: strokes against the union of
// single stamps at every point of the path, the fill against the region it must cover,
// and undo and redo against snapshots of the canvas.
#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "canvas_util.h"
#include "document.h"
#include "history.h"
#include "interface.h"
#include "state.h"

namespace
{
const uint32_t BACKGROUND = 0xFF123456u;
const uint32_t RED = 0xFF0000FFu;

std::vector<uint32_t> snapshot(const GuardedCanvas &canvas)
{
    return std::vector<uint32_t>(canvas.array.pixels,
                                 canvas.array.pixels + size_t(canvas.array.width) * canvas.array.height);
}

// FNV-1a of every pixel: many canvases compared without keeping them all.
uint64_t fingerprint(const GuardedCanvas &canvas)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size_t(canvas.array.width) * canvas.array.height; i++)
        hash = (hash ^ canvas.array.pixels[i]) * 1099511628211ull;
    return hash;
}


struct Drawing : ::testing::Test
{
    GuardedCanvas canvas{PAINT_WIDTH, PAINT_HEIGHT, BACKGROUND};
    paint_state state{canvas.pixelarray, nullptr, 0, PAINT_BLACK};

    void press(int32_t x, int32_t y) { click_pos(vollo_position{x, y}, VOLLO_PRESSED, 0, &state); }
    void release(int32_t x, int32_t y) { click_pos(vollo_position{x, y}, VOLLO_RELEASED, 0, &state); }
    void click(int32_t x, int32_t y)
    {
        press(x, y);
        release(x, y);
    }
    // Tool button, then the size level, then a clean canvas and history.
    void choose(int32_t tool_x, int level)
    {
        for (int i = 0; i < 31; i++)
            click(960, 20);
        for (int i = 0; i < level; i++)
            click(960, 60);
        click(tool_x, 60);
        canvas.fill_all(BACKGROUND);
        state.history = paint_history{};
    }
    void drag(const std::vector<vollo_position> &path)
    {
        press(path.front().x, path.front().y);
        for (size_t i = 1; i + 1 < path.size(); i++)
            stroke_move(&state, path[i]);
        release(path.back().x, path.back().y);
    }
};

// The line between two points: both ends, one step (straight or diagonal) between
// neighbours, monotone, and never more than half a pixel across from the exact line.
TEST(Lines, PointsFollowTheExactLineWithoutGaps)
{
    const vollo_position ends[][2] = {{{0, 0}, {0, 0}},   {{0, 0}, {10, 0}},   {{5, 5}, {-7, 2}},
                                      {{3, -4}, {4, 40}}, {{-20, 9}, {17, -9}}, {{100, 100}, {99, 99}}};
    for (const auto &end : ends)
    {
        const vollo_position a = end[0], b = end[1];
        const std::vector<vollo_position> points = line_points(a, b);
        ASSERT_FALSE(points.empty());
        EXPECT_TRUE(points.front().x == a.x && points.front().y == a.y);
        EXPECT_TRUE(points.back().x == b.x && points.back().y == b.y);
        EXPECT_EQ(points.size(), size_t(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y))) + 1);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        for (size_t i = 0; i < points.size(); i++)
        {
            const vollo_position p = points[i];
            if (length > 0)
            {
                EXPECT_LE(std::abs((b.x - a.x) * double(p.y - a.y) - (b.y - a.y) * double(p.x - a.x)) / length,
                          0.5 * std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) / length + 1e-9);
            }
            if (i == 0)
                continue;
            const vollo_position q = points[i - 1];
            EXPECT_LE(std::abs(p.x - q.x), 1);
            EXPECT_LE(std::abs(p.y - q.y), 1);
            EXPECT_TRUE((p.x - q.x) * (b.x - a.x) >= 0 && (p.y - q.y) * (b.y - a.y) >= 0);
        }
    }
}

// Each case drags along a path; the canvas must be exactly the union of the single stamps
// (as a click gives them) at the points of each straight piece that lie in the drawing area,
// cut to the drawn drawing area: nothing of a drag reaches the interface.
TEST_F(Drawing, StrokesAreTheUnionOfTheStampsAlongThePath)
{
    struct Case
    {
        const char *name;
        int32_t tool_x;
        int level;
        std::vector<vollo_position> path;
    } cases[] = {
        {"square size 0, long jump", 50, 0, {{300, 400}, {700, 450}}},
        {"square size 0, steep", 50, 0, {{400, 210}, {420, 700}, {421, 701}}},
        {"circle size 30, zigzag", 160, 6, {{300, 300}, {600, 320}, {350, 600}, {700, 700}}},
        {"circle size 150, one-pixel moves", 160, 30, {{400, 400}, {401, 400}, {402, 401}, {402, 402}, {401, 403}}},
        {"eraser size 20, out and back", 700, 4, {{220, 300}, {100, 350}, {500, 400}, {850, 760}}},
        {"square size 10, back over itself", 50, 2, {{500, 500}, {600, 500}, {500, 500}, {500, 500}}},
        {"circle size 5, release outside", 160, 1, {{830, 720}, {900, 790}}},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        choose(c.tool_x, c.level);
        drag(c.path);
        const std::vector<uint32_t> stroke = snapshot(canvas);
        const uint32_t color = c.tool_x == 700 ? PAINT_WHITE : PAINT_BLACK;
        EXPECT_GT(canvas.count(color), 0);
        canvas.fill_all(BACKGROUND);
        for (size_t i = 0; i + 1 < c.path.size(); i++)
            for (vollo_position p : line_points(c.path[i], c.path[i + 1]))
                if (in_drawing_area(p) && c.tool_x == 160)
                    algo_circle(&state, p, state.tools.radius);
                else if (in_drawing_area(p))
                    puxsquare(canvas.pixelarray, color, p, &state.tools);
        for (int32_t y = 0; y < PAINT_HEIGHT; y++)
            for (int32_t x = 0; x < PAINT_WIDTH; x++)
                if (x < 211 || x > 839 || y < 200 || y > 727)
                    canvas.set(x, y, BACKGROUND);
        EXPECT_TRUE(snapshot(canvas) == stroke) << "stroke differs from the union of its stamps";
        EXPECT_TRUE(canvas.guards_intact());
    }
}

TEST_F(Drawing, AStrokeIsOneActionAndItsReleaseStampIsNotDoubled)
{
    choose(160, 2);
    const std::vector<uint32_t> before = snapshot(canvas);
    drag({{300, 300}, {350, 310}, {400, 330}});
    EXPECT_EQ(state.changes, 1u);
    ASSERT_EQ(state.history.steps.size(), 1u);
    const std::vector<uint32_t> after = snapshot(canvas);
    EXPECT_TRUE(history_undo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == before);
    EXPECT_TRUE(history_redo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == after);
    // Press and release at one point: one stamp, one action, as a click.
    choose(50, 1);
    click(400, 400);
    EXPECT_EQ(canvas.count(PAINT_BLACK), 36);
    EXPECT_EQ(state.history.steps.size(), 1u);
    // A press outside the drawing area starts no stroke: moves paint nothing.
    press(100, 400);
    stroke_move(&state, vollo_position{500, 500});
    EXPECT_EQ(canvas.count(PAINT_BLACK), 36);
    release(100, 400);
    EXPECT_EQ(state.history.steps.size(), 1u);
}

// The size bar is painted over a disc that reaches it; undo and redo then leave the bar as
// it was painted and change the rest of the disc's pixels only.
TEST_F(Drawing, UndoAndRedoLeaveTheSizeBarPaintedSinceAlone)
{
    choose(160, 13);  // radius 65, bar count 21
    state.color = RED;
    std::vector<uint32_t> before = snapshot(canvas);
    click(840, 200);  // the disc reaches x 905, y 135
    std::vector<uint32_t> after = snapshot(canvas);
    ASSERT_EQ(canvas.at(902, 199), RED);
    click(960, 60);  // plus: the bar, white, x 901 to 979
    for (std::vector<uint32_t> *expected : {&before, &after})
        for (int32_t y = 145; y <= 199; y++)
            for (int32_t x = 901; x <= 979; x++)
                (*expected)[size_t(y) * PAINT_WIDTH + x] = PAINT_WHITE;
    EXPECT_TRUE(history_undo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == before);
    EXPECT_TRUE(history_redo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == after);
    EXPECT_EQ(state.history.steps.size(), 1u);
}

// The empty drawing area is x 211-839, y 200-727 inside a grey frame on the canvas.
TEST_F(Drawing, FillCoversExactlyTheConnectedRegionOfOneColour)
{
    struct Case
    {
        const char *name;
        int32_t seed_x, seed_y;
        int filled;  // RED pixels after the fill
    } cases[] = {
        {"inside the ring", 400, 400, 99 * 99},
        {"outside the ring: the rest of the area", 250, 250, 629 * 528 - 101 * 101 + 1},
        {"the open corner belongs to the outside", 450, 450, 629 * 528 - 101 * 101 + 1},
        {"on the ring: its own pixels only", 350, 350, 101 * 101 - 99 * 99 - 1},
        {"on the frame: its column inside the limit only", 210, 400, 528},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        canvas.fill_all(PAINT_GREY);
        pux_rectangle(canvas.pixelarray, 211, 200, 839, 727, PAINT_WHITE);
        // A black square ring whose corner (450, 450) is white: that pixel touches the
        // inside only diagonally.
        pux_rectangle(canvas.pixelarray, 350, 350, 450, 450, PAINT_BLACK);
        pux_rectangle(canvas.pixelarray, 351, 351, 449, 449, PAINT_WHITE);
        canvas.set(450, 450, PAINT_WHITE);
        const paint_rect changed =
            flood_fill(canvas.pixelarray, vollo_position{c.seed_x, c.seed_y}, RED,
                       paint_rect{210, 200, 840, 727});
        EXPECT_EQ(canvas.count(RED), c.filled);
        EXPECT_EQ(canvas.count(RED, 210, 200, 840, 727), c.filled);
        EXPECT_EQ(canvas.count(RED, changed.x0, changed.y0, changed.x1, changed.y1), c.filled);
        EXPECT_TRUE(canvas.guards_intact());
    }
}

TEST_F(Drawing, FillToolChosenOnThePotFillsOnReleaseAsOneAction)
{
    choose(260, 0);
    canvas.fill_all(PAINT_GREY);
    pux_rectangle(canvas.pixelarray, 211, 200, 839, 727, PAINT_WHITE);
    canvas.set(500, 60, RED);
    press(500, 60);  // the palette: red
    release(500, 60);
    const std::vector<uint32_t> before = snapshot(canvas);
    release(500, 500);
    EXPECT_EQ(canvas.count(RED, 210, 200, 840, 727), 629 * 528);
    EXPECT_EQ(canvas.count(PAINT_GREY), PAINT_WIDTH * PAINT_HEIGHT - 629 * 528 - 1);
    EXPECT_EQ(state.changes, 1u);
    release(500, 500);  // red on red: nothing to do, no action
    EXPECT_EQ(state.changes, 1u);
    EXPECT_TRUE(history_undo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == before);
    // Drags do not paint with the fill.
    press(300, 300);
    stroke_move(&state, vollo_position{400, 400});
    EXPECT_TRUE(snapshot(canvas) == before);
}

TEST_F(Drawing, FillOnASmallCanvasStaysInside)
{
    GuardedCanvas small(300, 250, PAINT_WHITE);
    const paint_rect changed = flood_fill(small.pixelarray, vollo_position{250, 220}, RED,
                                          paint_rect{210, 200, 840, 727});
    EXPECT_TRUE(small.guards_intact());
    EXPECT_EQ(small.count(RED), 90 * 50);
    EXPECT_EQ(changed.x0, 210);
    EXPECT_EQ(changed.y1, 249);
    EXPECT_GT(flood_fill(small.pixelarray, vollo_position{400, 220}, RED, paint_rect{210, 200, 840, 727}).x0,
              -1);  // a seed beyond the canvas changes nothing
    EXPECT_EQ(small.count(RED), 90 * 50);
}

TEST(HistoryCode, RunsAndLiteralsRoundTrip)
{
    struct Case
    {
        std::vector<uint32_t> words;
        size_t code_size;
    } cases[] = {
        {{}, 0},
        {{7}, 2},
        {{0, 0, 0, 0}, 2},
        {{1, 2, 1, 2}, 5},
        {{5, 5, 9, 9, 9, 9, 3}, 1 + 2 + 2 + 1 + 1},
        {{0x80000000u, 0x80000000u, 0x80000000u, 0xFFFFFFFFu}, 2 + 2},
    };
    for (const Case &c : cases)
    {
        const std::vector<uint32_t> code = history_encode(c.words.data(), c.words.size());
        EXPECT_EQ(code.size(), c.code_size);
        std::vector<uint32_t> decoded;
        for (size_t i = 0; i < code.size();)
        {
            const uint32_t n = code[i] & 0x7FFFFFFFu;
            if (code[i++] & 0x80000000u)
            {
                decoded.insert(decoded.end(), code.begin() + i, code.begin() + i + n);
                i += n;
            }
            else
                decoded.insert(decoded.end(), n, code[i++]);
        }
        EXPECT_EQ(decoded, c.words);
    }
}

// Actions of random squares of random colours, some over others.
struct History : Drawing
{
    std::mt19937 random{12};
    void random_action()
    {
        std::uniform_int_distribution<int32_t> x(211, 839), y(200, 727), size(0, 30);
        tool_state tools = {0, 0, 0, TOOL_SQUARE, 0};
        tools.width = tools.height = tools.radius = size(random) * 5;
        tools.tool = paint_tool(1 + int32_t(random() % 3));
        state.color = 0xFF000000u | (random() & 0xFFFFFFu);
        const vollo_position p = {x(random), y(random)};
        stroke_release(&state, &tools, p);
    }
};

TEST_F(History, HundredFiftyActionsThenHundredUndosGiveTheFiftiethAndRedoComesBack)
{
    std::vector<uint64_t> after(1, fingerprint(canvas));
    const std::vector<uint32_t> start = snapshot(canvas);
    std::vector<uint32_t> fiftieth;
    for (int i = 0; i < 150; i++)
    {
        random_action();
        after.push_back(fingerprint(canvas));
        if (i == 49)
            fiftieth = snapshot(canvas);
    }
    EXPECT_EQ(state.changes, 150u);
    for (int i = 149; i >= 50; i--)
    {
        ASSERT_TRUE(history_undo(&state.history, canvas.pixelarray));
        ASSERT_EQ(fingerprint(canvas), after[i]) << "after undoing action " << i + 1;
    }
    EXPECT_TRUE(snapshot(canvas) == fiftieth);
    for (int i = 51; i <= 60; i++)
    {
        ASSERT_TRUE(history_redo(&state.history, canvas.pixelarray));
        ASSERT_EQ(fingerprint(canvas), after[i]) << "after redoing action " << i;
    }
    // A new action drops what was undone.
    random_action();
    EXPECT_FALSE(history_redo(&state.history, canvas.pixelarray));
    EXPECT_EQ(state.history.steps.size(), 61u);
    for (int i = 0; i < 61; i++)
        ASSERT_TRUE(history_undo(&state.history, canvas.pixelarray));
    EXPECT_FALSE(history_undo(&state.history, canvas.pixelarray));
    EXPECT_TRUE(snapshot(canvas) == start);
}

// Actions whose difference does not compress (noise), bound to a limit that holds only
// some of them: the oldest go first, the bytes never pass the limit, and undoing all that
// is left gives the canvas as it was after the oldest action dropped.
TEST_F(History, TheBoundDropsTheOldestSteps)
{
    struct Case
    {
        size_t limit;
        int actions;
    } cases[] = {{PAINT_HISTORY_LIMIT, 200}, {3u << 20, 30}, {200000, 12}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.limit);
        canvas.fill_all(BACKGROUND);
        state.history = paint_history{};
        state.history.limit = c.limit;
        std::vector<uint64_t> after(1, fingerprint(canvas));
        for (int i = 0; i < c.actions; i++)
        {
            // 300 x 300 pixels of noise, about 360 KB of difference.
            const int32_t left = 211 + (i * 37) % 300, top = 200 + (i * 53) % 200;
            history_cover(&state.history, canvas.pixelarray, paint_rect{left, top, left + 299, top + 299});
            for (int32_t y = top; y < top + 300; y++)
                for (int32_t x = left; x < left + 300; x++)
                    canvas.set(x, y, random());
            finish_action(&state);
            EXPECT_LE(state.history.bytes, c.limit);
            after.push_back(fingerprint(canvas));
        }
        const size_t kept = state.history.steps.size();
        EXPECT_LT(kept, size_t(c.actions));
        EXPECT_GE(kept, c.limit / (2 * 300 * 300 * 4));
        for (size_t i = 0; i < kept; i++)
            ASSERT_TRUE(history_undo(&state.history, canvas.pixelarray));
        EXPECT_FALSE(history_undo(&state.history, canvas.pixelarray));
        EXPECT_EQ(fingerprint(canvas), after[c.actions - kept]);
    }
    // A step bigger than the whole limit cannot be kept: nothing older may be undone then.
    state.history = paint_history{};
    state.history.limit = 1000;
    random_action();
    history_cover(&state.history, canvas.pixelarray, paint_rect{0, 0, 99, 99});
    for (int32_t i = 0; i < 100 * 100; i++)
        canvas.array.pixels[(i / 100) * PAINT_WIDTH + i % 100] = random();
    finish_action(&state);
    EXPECT_FALSE(history_undo(&state.history, canvas.pixelarray));
}
}  // namespace

// Fills of a whole document's picture: one step each, coded from the runs painted (a
// picture of one colour takes a single run), and undo and redo give back each picture
// exactly.
TEST_F(Drawing, FillOfADocumentIsOneCompactExactStep)
{
    struct Case
    {
        const char *name;
        int32_t tolerance;
        uint32_t (*pixel)(uint32_t x, uint32_t y);
        size_t most_code;  // words of the step's code at most
        size_t filled;
    } cases[] = {
        {"one colour", 0, [](uint32_t, uint32_t) { return PAINT_WHITE; }, 2, 2000 * 1500},
        {"a black frame keeps the fill inside", 0,
         [](uint32_t x, uint32_t y) { return x == 300 || y == 300 || x == 1200 || y == 900 ? PAINT_BLACK : PAINT_WHITE; },
         4 * 1500, 899 * 599},
        {"close greys within the tolerance, in stripes", 10,
         [](uint32_t x, uint32_t y) { return (x / 3 + y) % 2 ? 0xFF808080u : 0xFF838383u; }, SIZE_MAX,
         2000 * 1500},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        const uint32_t width = 2000, height = 1500;
        uint32_t *pixels = static_cast<uint32_t *>(malloc(size_t(width) * height * 4));
        for (uint32_t y = 0; y < height; y++)
            for (uint32_t x = 0; x < width; x++)
                pixels[size_t(y) * width + x] = c.pixel(x, y);
        ASSERT_TRUE(document_open(&state, pixels, width, height, "/nonexistent/fill.png", KIND_PNG));
        const vollo_pixelarray *picture = state.document->picture;
        const std::vector<uint32_t> before(picture->pixels, picture->pixels + size_t(width) * height);
        state.tools.tool = TOOL_FILL;
        state.tools.width = c.tolerance;
        state.color = RED;
        stroke_release(&state, &state.tools, vollo_position{VIEW_LEFT + VIEW_WIDTH / 2, VIEW_TOP + VIEW_HEIGHT / 2});
        const std::vector<uint32_t> after(picture->pixels, picture->pixels + size_t(width) * height);
        EXPECT_EQ(state.changes, 1u);
        ASSERT_EQ(state.history.steps.size(), 1u);
        EXPECT_LE(state.history.steps.back().diff.size(), c.most_code);
        EXPECT_TRUE(state.history.before.empty()) << "no copy of the region was kept";
        EXPECT_EQ(size_t(std::count(after.begin(), after.end(), RED)), c.filled);
        EXPECT_TRUE(history_undo(&state.history, state.document->picture));
        EXPECT_TRUE(std::equal(before.begin(), before.end(), picture->pixels));
        EXPECT_TRUE(history_redo(&state.history, state.document->picture));
        EXPECT_TRUE(std::equal(after.begin(), after.end(), picture->pixels));
        document_close(&state);
        state.history = paint_history{};
        state.changes = 0;
    }
}

// A change of a document's pixels redraws only the screen under them, and that gives the
// same canvas as drawing the whole view again, at any zoom.
TEST_F(Drawing, DocumentRedrawOfAChangeEqualsTheWholeView)
{
    const uint32_t width = 3001, height = 2003;
    uint32_t *pixels = static_cast<uint32_t *>(malloc(size_t(width) * height * 4));
    for (size_t i = 0; i < size_t(width) * height; i++)
        pixels[i] = 0xFF000000u | uint32_t(i * 2654435761u) >> 8;
    ASSERT_TRUE(document_open(&state, pixels, width, height, "/nonexistent/view.png", KIND_PNG));
    const double zooms[] = {0, 1.0 / 3, 0.5, 1, 3};  // 0: at fit
    for (double zoom : zooms)
    {
        SCOPED_TRACE(zoom);
        paint_view &view = state.document->view;
        view_reset(&view, width, height);
        if (zoom > 0)
            view_zoom(&view, zoom, vollo_position{VIEW_LEFT + 100, VIEW_TOP + 80});
        state.document->stale = 1;
        document_refresh(&state);
        // A rectangle across the picture's corner of the screen, odd on every side.
        for (uint32_t y = 37; y < 151; y++)
            for (uint32_t x = 45; x < 313; x++)
                pixels[size_t(y) * width + x] = 0xFF00FF00u + uint32_t(zoom * 10);
        document_touch(&state, paint_rect{45, 37, 312, 150});
        ASSERT_TRUE(document_refresh(&state));
        const std::vector<uint32_t> partial = snapshot(canvas);
        state.document->stale = 1;
        document_refresh(&state);
        EXPECT_TRUE(snapshot(canvas) == partial);
    }
    document_close(&state);
}
