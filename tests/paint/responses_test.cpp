// The key and click responses, called as the main loop calls them.
#include <vector>
#include <filesystem>

#include <unistd.h>

#include <gtest/gtest.h>

#include "canvas_util.h"
#include "history.h"
#include "interface.h"
#include "state.h"

namespace
{
TEST(Responses, EscapePressEndsEverythingElseContinues)
{
    struct Case
    {
        vollo_event_state event;
        int32_t key;
        vollo_response expected;
    } cases[] = {{VOLLO_PRESSED, 36, 2},  {VOLLO_RELEASED, 36, VOLLO_CONTINUE},
                 {VOLLO_PRESSED, 0, VOLLO_CONTINUE}, {VOLLO_PRESSED, 58, VOLLO_CONTINUE},
                 {VOLLO_PRESSED, -1, VOLLO_CONTINUE}, {VOLLO_RELEASED, 35, VOLLO_CONTINUE}};
    for (const Case &c : cases)
        EXPECT_EQ(set_key_response(c.event, c.key, nullptr), c.expected)
            << "key " << c.key << " event " << c.event;
}

TEST(Responses, LeftPressOnTheExitButtonEndsTheLoop)
{
    GuardedCanvas canvas(PAINT_WIDTH, PAINT_HEIGHT, 0);
    paint_state state{canvas.pixelarray, nullptr, 0, 0xFF00FF00u};
    struct Case
    {
        int32_t x, y, button;
        vollo_event_state event;
        vollo_response expected;
    } cases[] = {
        {885, 654, 0, VOLLO_PRESSED, 0},   {1016, 779, 0, VOLLO_PRESSED, 0},
        {950, 700, 0, VOLLO_PRESSED, 0},   {884, 700, 0, VOLLO_PRESSED, VOLLO_CONTINUE},
        {1017, 700, 0, VOLLO_PRESSED, VOLLO_CONTINUE}, {950, 653, 0, VOLLO_PRESSED, VOLLO_CONTINUE},
        {950, 780, 0, VOLLO_PRESSED, VOLLO_CONTINUE},  {950, 700, 0, VOLLO_RELEASED, VOLLO_CONTINUE},
        {950, 700, 1, VOLLO_PRESSED, VOLLO_CONTINUE},  {950, 700, 2, VOLLO_PRESSED, VOLLO_CONTINUE},
    };
    for (const Case &c : cases)
    {
        gl_mouse = vollo_position{c.x, c.y};
        EXPECT_EQ(set_mouse_response(c.event, c.button, &state), c.expected)
            << c.x << "," << c.y << " button " << c.button << " event " << c.event;
    }
    // The chain runs before the exit test, at the position the library stored.
    gl_mouse = vollo_position{50, 60};
    EXPECT_EQ(set_mouse_response(VOLLO_PRESSED, 0, &state), VOLLO_CONTINUE);
    EXPECT_EQ(state.color, PAINT_BLACK);
    EXPECT_EQ(state.button_down, 1);
    EXPECT_EQ(set_mouse_response(VOLLO_RELEASED, 0, &state), VOLLO_CONTINUE);
    EXPECT_EQ(state.button_down, 0);
    EXPECT_TRUE(canvas.guards_intact());
}

// Stamps count as changes of the drawing; choosing tools, sizes and colours does not.
TEST(Responses, StampsCountAsChanges)
{
    GuardedCanvas canvas(PAINT_WIDTH, PAINT_HEIGHT, 0);
    paint_state state{canvas.pixelarray, nullptr, 0, PAINT_BLACK};
    struct Step
    {
        int32_t x, y;
        uint64_t changes_after;
    } steps[] = {{50, 60, 0},   {960, 60, 0}, {500, 40, 0},  {400, 300, 1},
                 {900, 300, 1}, {700, 60, 1}, {839, 727, 2}, {160, 60, 2}, {210, 200, 3}};
    for (const Step &step : steps)
    {
        gl_mouse = vollo_position{step.x, step.y};
        set_mouse_response(VOLLO_PRESSED, 0, &state);
        set_mouse_response(VOLLO_RELEASED, 0, &state);
        EXPECT_EQ(state.changes, step.changes_after) << step.x << "," << step.y;
    }
    EXPECT_EQ(state.saved_changes, 0u);
}

// Ctrl+S (either Control key) saves into the working directory and marks the canvas
// saved; S alone, its release, or no state saves nothing. The loop goes on every time.
TEST(Responses, ControlSSavesIntoTheWorkingDirectory)
{
    GuardedCanvas canvas(7, 5, 0xFF336699u);
    paint_state state{canvas.pixelarray, nullptr, 0, PAINT_BLACK};
    state.changes = 4;
    state.saved_changes = 1;
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::filesystem::path old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    struct Case
    {
        int32_t control;  // key code held down, or -1
        vollo_event_state event;
        int32_t key;
        bool with_state;
        size_t files_after;
    } cases[] = {{-1, VOLLO_PRESSED, VOLLO_KEY_S, true, 0},
                 {VOLLO_KEY_LEFT_CONTROL, VOLLO_RELEASED, VOLLO_KEY_S, true, 0},
                 {VOLLO_KEY_LEFT_CONTROL, VOLLO_PRESSED, VOLLO_KEY_S + 1, true, 0},
                 {VOLLO_KEY_LEFT_CONTROL, VOLLO_PRESSED, VOLLO_KEY_S, false, 0},
                 {VOLLO_KEY_LEFT_CONTROL, VOLLO_PRESSED, VOLLO_KEY_S, true, 1},
                 {VOLLO_KEY_RIGHT_CONTROL, VOLLO_PRESSED, VOLLO_KEY_S, true, 2}};
    for (const Case &c : cases)
    {
        if (c.control >= 0)
            gl_keyboard[c.control] = 1;
        EXPECT_EQ(set_key_response(c.event, c.key, c.with_state ? &state : nullptr), VOLLO_CONTINUE);
        if (c.control >= 0)
            gl_keyboard[c.control] = 0;
        size_t files = 0;
        for (const auto &entry : std::filesystem::directory_iterator(dir.path))
            files += entry.path().filename().string().rfind("pixodraw-", 0) == 0;
        EXPECT_EQ(files, c.files_after) << "control " << c.control << " key " << c.key;
    }
    EXPECT_EQ(state.saved_changes, 4u);
    std::filesystem::current_path(old_cwd);
}
}  // namespace

namespace
{
// Ctrl+Z undoes and Ctrl+Y or Ctrl+Shift+Z redo, on the key press, with either Control
// and either Shift; other keys and releases do nothing.
TEST(Responses, UndoAndRedoKeys)
{
    GuardedCanvas canvas(PAINT_WIDTH, PAINT_HEIGHT, PAINT_WHITE);
    paint_state state{canvas.pixelarray, nullptr, 0, PAINT_BLACK};
    tool_state square = {5, 5, 5, TOOL_SQUARE, 1};
    enum Effect
    {
        NOTHING,
        UNDO,
        REDO
    };
    struct Case
    {
        std::vector<int32_t> held;
        vollo_event_state event;
        int32_t key;
        Effect effect;
    } cases[] = {
        {{VOLLO_KEY_LEFT_CONTROL}, VOLLO_PRESSED, VOLLO_KEY_Z, UNDO},
        {{VOLLO_KEY_RIGHT_CONTROL}, VOLLO_PRESSED, VOLLO_KEY_Z, UNDO},
        {{VOLLO_KEY_LEFT_CONTROL}, VOLLO_PRESSED, VOLLO_KEY_Y, REDO},
        {{VOLLO_KEY_LEFT_CONTROL, VOLLO_KEY_LEFT_SHIFT}, VOLLO_PRESSED, VOLLO_KEY_Z, REDO},
        {{VOLLO_KEY_RIGHT_CONTROL, VOLLO_KEY_RIGHT_SHIFT}, VOLLO_PRESSED, VOLLO_KEY_Z, REDO},
        {{VOLLO_KEY_LEFT_CONTROL}, VOLLO_RELEASED, VOLLO_KEY_Z, NOTHING},
        {{}, VOLLO_PRESSED, VOLLO_KEY_Z, NOTHING},
        {{VOLLO_KEY_LEFT_SHIFT}, VOLLO_PRESSED, VOLLO_KEY_Y, NOTHING},
        {{VOLLO_KEY_LEFT_CONTROL}, VOLLO_PRESSED, VOLLO_KEY_Y - 1, NOTHING},
    };
    for (const Case &c : cases)
    {
        canvas.fill_all(PAINT_WHITE);
        state.history = paint_history{};
        stroke_release(&state, &square, vollo_position{400, 400});
        ASSERT_EQ(canvas.count(PAINT_BLACK), 36);
        const bool undo_first = c.effect == REDO;
        if (undo_first)
        {
            ASSERT_TRUE(history_undo(&state.history, canvas.pixelarray));
        }
        const uint64_t changes = state.changes;
        for (int32_t key : c.held)
            gl_keyboard[key] = 1;
        EXPECT_EQ(set_key_response(c.event, c.key, &state), VOLLO_CONTINUE);
        for (int32_t key : c.held)
            gl_keyboard[key] = 0;
        const int black = c.effect == UNDO ? 0 : c.effect == REDO ? 36 : undo_first ? 0 : 36;
        EXPECT_EQ(canvas.count(PAINT_BLACK), black) << "key " << c.key << " event " << c.event;
        EXPECT_EQ(state.changes, changes + (c.effect == NOTHING ? 0 : 1));
    }
}
}  // namespace
