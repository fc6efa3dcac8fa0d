// The key and click responses, called as the main loop calls them.
#include <gtest/gtest.h>

#include "canvas_util.h"

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
    paint_state state{canvas.pixelarray, nullptr, 0, 0xFF00FF00u, 0, 0};
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
}  // namespace
