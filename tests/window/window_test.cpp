// vollo_start, vollo_stop and vollo_loop on real windows under a private Xvfb,
// with real input events from xdotool and real close requests.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "vollo.h"
#include "window_private.hpp"
#include "xvfb.hpp"

namespace vt = vollo_test;

namespace
{

using Clock = std::chrono::steady_clock;
constexpr vollo_response timed_out = 99;

// What the responses saw, handed to them through the loop's data pointer.
struct Recorder
{
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(15);
    std::vector<std::string> calls;
    int frames = 0;
    int stop_after_frames = 0;  // 0: only the deadline ends the loop
};

Recorder &recorder(void *data)
{
    return *static_cast<Recorder *>(data);
}

uint32_t rgb(uint32_t color)
{
    return color & 0xFFFFFF;
}

std::string position()
{
    return std::to_string(gl_mouse.x) + "," + std::to_string(gl_mouse.y);
}

vollo_response until_deadline(void *data)
{
    Recorder &r = recorder(data);
    ++r.frames;
    if (r.stop_after_frames && r.frames >= r.stop_after_frames)
        return 9;
    return Clock::now() > r.deadline ? timed_out : VOLLO_CONTINUE;
}

// Ends the loop when Escape comes up.
vollo_response key_until_escape_up(vollo_event_state state, int32_t key, void *data)
{
    const int down = key >= 0 && key < VOLLO_KEY_COUNT ? gl_keyboard[key] : -1;
    recorder(data).calls.push_back("key " + std::to_string(state) + " " + std::to_string(key) + " down=" +
                                   std::to_string(down));
    return state == VOLLO_RELEASED && key == sf::Keyboard::Escape ? 5 : VOLLO_CONTINUE;
}

// Ends the loop when the left button comes up.
vollo_response click_until_left_up(vollo_event_state state, int32_t button, void *data)
{
    const int down = button >= 0 && button < VOLLO_MOUSE_BUTTON_COUNT ? gl_button[button] : -1;
    recorder(data).calls.push_back("click " + std::to_string(state) + " " + std::to_string(button) + " at " +
                                   position() + " down=" + std::to_string(down) +
                                   " escape=" + std::to_string(gl_keyboard[sf::Keyboard::Escape]));
    return state == VOLLO_RELEASED && button == sf::Mouse::Left ? 4 : VOLLO_CONTINUE;
}

class RealWindow : public vt::XvfbTest
{
protected:
    void SetUp() override
    {
        vt::XvfbTest::SetUp();
        reset_state();
        window = vollo_start(200, 150, false, title);
        ASSERT_NE(window, nullptr);
        id = vt::find_window_by_pid(getpid());
        ASSERT_NE(id, 0u);
        ASSERT_TRUE(vt::move_window_to_origin(id));
        // No window manager: keys go to the window under the pointer.
        ASSERT_TRUE(vt::mouse_move(100, 75));
        vollo_set_loop_main_function(until_deadline);
    }
    void TearDown() override
    {
        vollo_stop(window);
        reset_state();
    }
    static void reset_state()
    {
        gl_callback = vollo_context();
        std::memset(gl_keyboard, 0, sizeof gl_keyboard);
        std::memset(gl_button, 0, sizeof gl_button);
        gl_mouse = vollo_position();
    }
    // Runs the loop while `events` are sent from another thread.
    vollo_response loop_with(const std::function<void()> &events, Recorder &r, uint8_t frequency = 100)
    {
        auto sender = vt::in_background(events);
        const vollo_response result = vollo_loop(window, frequency, &r);
        sender.get();
        return result;
    }

    const char *const title = "vollo window test";
    vollo_window *window = nullptr;
    vt::WindowId id = 0;
};

// ---------------------------------------------------------------------------
// Start-up and shutdown
// ---------------------------------------------------------------------------

class StartUp : public vt::XvfbTest
{
};

TEST_F(StartUp, WindowedAndFullscreenUseStylesSevenAndEight)
{
    struct Case
    {
        bool fullscreen;
        uint32_t width, height;
        bool override_redirect;  // how SFML shows full screen without a window manager
    };
    for (const Case &c : {Case{false, 320, 200, false}, Case{true, 1280, 1024, true}})
    {
        for (bool through_style : {false, true})
        {
            SCOPED_TRACE(std::string(c.fullscreen ? "fullscreen" : "windowed") +
                         (through_style ? " via vollo_start_style" : " via vollo_start"));
            static const char title[] = "vollo start-up";
            vollo_window *window = through_style
                                       ? vollo_start_style(c.width, c.height, c.fullscreen ? 8 : 7, title)
                                       : vollo_start(c.width, c.height, c.fullscreen, title);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->type, 0u);
            EXPECT_EQ(window->width, c.width);
            EXPECT_EQ(window->height, c.height);
            EXPECT_EQ(window->name, title) << "the record keeps the caller's pointer";
            auto *render_window = static_cast<sf::RenderWindow *>(window->render_target);
            ASSERT_NE(render_window, nullptr);
            EXPECT_TRUE(render_window->isOpen());

            vt::WindowId id = vt::find_window_by_pid(getpid());
            ASSERT_NE(id, 0u);
            ASSERT_TRUE(vt::wait_window_viewable(id));
            auto geometry = vt::window_geometry(id);
            ASSERT_TRUE(geometry);
            EXPECT_EQ(geometry->width, static_cast<int>(c.width));
            EXPECT_EQ(geometry->height, static_cast<int>(c.height));
            EXPECT_EQ(geometry->override_redirect, c.override_redirect);
            vollo_stop(window);
            EXPECT_TRUE(vt::wait_until([&] { return !vt::window_geometry(id); }))
                << "vollo_stop must close the X window";
        }
    }
}

TEST_F(StartUp, SizesTheServerCannotShowAreRefusedAndNoTitleIsFine)
{
    const uint32_t sizes[][2] = {{0, 150}, {200, 0}, {0, 0}, {70000, 10}, {10, 65536}};
    for (const auto &size : sizes)
        EXPECT_EQ(vollo_start(size[0], size[1], false, "refused"), nullptr) << size[0] << "x" << size[1];
    // Wider than any GL driver draws into: refused with a reason rather than left to crash.
    vollo_clear_error();
    EXPECT_EQ(vollo_start_style(65535, 2, 7, "wide"), nullptr);
    EXPECT_STRNE(vollo_error(), "");
    vollo_stop(nullptr);  // nothing to close

    vollo_window *untitled = vollo_start(64, 48, false, nullptr);
    ASSERT_NE(untitled, nullptr);
    EXPECT_EQ(untitled->name, nullptr);
    vollo_stop(untitled);
}

vollo_response key_noop(vollo_event_state, int32_t, void *)
{
    return VOLLO_CONTINUE;
}

TEST_F(StartUp, ResponsesOutliveTheWindowAndTheSigabrtDispositionIsKept)
{
    struct sigaction custom = {};
    custom.sa_handler = [](int) {};
    custom.sa_flags = SA_RESTART;
    sigaction(SIGABRT, &custom, nullptr);

    vollo_set_key_response(key_noop);
    vollo_window *window = vollo_start(100, 100, false, "kept");
    ASSERT_NE(window, nullptr);
    struct sigaction now;
    sigaction(SIGABRT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, custom.sa_handler);
    EXPECT_TRUE(now.sa_flags & SA_RESTART);
    vollo_stop(window);
    EXPECT_EQ(gl_callback.key_response, key_noop);
    gl_callback = vollo_context();
    signal(SIGABRT, SIG_DFL);
}

TEST_F(StartUp, SigabrtDuringConstructionGivesNullAndTheProcessGoesOn)
{
    signal(SIGABRT, SIG_DFL);
    vollo_internal::render_window_probe = [] { raise(SIGABRT); };
    EXPECT_EQ(vollo_start(100, 100, false, "trapped"), nullptr);
    vollo_internal::render_window_probe = nullptr;

    struct sigaction now;
    sigaction(SIGABRT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    sigset_t mask;
    sigprocmask(SIG_SETMASK, nullptr, &mask);
    EXPECT_FALSE(sigismember(&mask, SIGABRT)) << "the jump out of the handler left SIGABRT blocked";

    // The trap is armed afresh for the next start-up.
    vollo_window *window = vollo_start(100, 100, false, "after the trap");
    ASSERT_NE(window, nullptr);
    vollo_stop(window);
}

TEST(StartUpWithoutDisplay, SfmlAbortIsTrappedInARealChildProcess)
{
    vt::CommandResult result = vt::run_command({"env", "-u", "DISPLAY", START_WITHOUT_DISPLAY});
    ASSERT_TRUE(result.succeeded()) << result.describe();
    EXPECT_EQ(result.output, "attempt 1: window null, handler restored, SIGABRT unblocked\n"
                             "attempt 2: window null, handler restored, SIGABRT unblocked\n"
                             "clipboard picture: set false (vollo_set_clipboard_pixelarray: no display to hold "
                             "the clipboard (is DISPLAY set?)), get null (vollo_get_clipboard_pixelarray: no "
                             "display to hold the clipboard (is DISPLAY set?))\n"
                             "previous handler ran\n");
}

// ---------------------------------------------------------------------------
// Real events through the loop
// ---------------------------------------------------------------------------

TEST_F(RealWindow, KeyPressAndReleaseReachTheKeyResponseWithSfmlCodes)
{
    vollo_set_key_response(key_until_escape_up);
    Recorder r;
    EXPECT_EQ(loop_with([] { vt::key("Escape"); }, r), 5);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"key 0 36 down=1", "key 1 36 down=0"}));
    EXPECT_EQ(gl_keyboard[36], 0);
}

TEST_F(RealWindow, KeysWithoutAKeyResponseLeaveTheKeyboardAlone)
{
    vollo_set_click_response(click_until_left_up);  // tells when the key has gone through
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::key_down("Escape");
                      vt::click(1);
                  },
                  r),
              4);
    vt::key_up("Escape");
    EXPECT_EQ(r.calls, (std::vector<std::string>{"click 0 0 at 100,75 down=1 escape=0",
                                                 "click 1 0 at 100,75 down=0 escape=0"}));
}

TEST_F(RealWindow, UnidentifiedKeysComeAsMinusOne)
{
    vollo_set_key_response(key_until_escape_up);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::key("XF86AudioMute");
                      vt::key("Escape");
                  },
                  r),
              5);
    ASSERT_EQ(r.calls.size(), 4u);
    EXPECT_EQ(r.calls[0], "key 0 -1 down=-1");
    EXPECT_EQ(r.calls[1], "key 1 -1 down=-1");
}

TEST_F(RealWindow, ClicksStorePositionAndButtons)
{
    vollo_set_click_response(click_until_left_up);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::mouse_move(25, 35);
                      vt::click(3);
                      vt::mouse_move(40, 45);
                      vt::click(1);
                  },
                  r),
              4);
    EXPECT_EQ(r.calls, (std::vector<std::string>{
                           "click 0 1 at 25,35 down=1 escape=0", "click 1 1 at 25,35 down=0 escape=0",
                           "click 0 0 at 40,45 down=1 escape=0", "click 1 0 at 40,45 down=0 escape=0"}));
    EXPECT_EQ(gl_mouse.x, 40);
    EXPECT_EQ(gl_mouse.y, 45);
}

vollo_response wheel_twice(int32_t wheel, int32_t delta, void *data)
{
    Recorder &r = recorder(data);
    r.calls.push_back("wheel " + std::to_string(wheel) + " " + std::to_string(delta) + " at " + position());
    return r.calls.size() == 2 ? 8 : VOLLO_CONTINUE;
}

TEST_F(RealWindow, WheelNotchesGiveWholeDeltas)
{
    vollo_set_wheel_response(wheel_twice);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::mouse_move(60, 70);
                      vt::wheel_up();
                      vt::wheel_down();
                  },
                  r),
              8);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"wheel 0 1 at 60,70", "wheel 0 -1 at 60,70"}));
}

vollo_response move_until_45_31(const vollo_position *move, void *data)
{
    recorder(data).calls.push_back("move " + std::to_string(move->x) + "," + std::to_string(move->y));
    return gl_mouse.x == 45 && gl_mouse.y == 31 ? 6 : VOLLO_CONTINUE;
}

vollo_response click_quietly(vollo_event_state state, int32_t button, void *data)
{
    recorder(data).calls.push_back("click " + std::to_string(state) + " " + std::to_string(button));
    return VOLLO_CONTINUE;
}

TEST_F(RealWindow, MovesAreRelativeToTheLastKnownPosition)
{
    vollo_set_move_response(move_until_45_31);
    vollo_set_click_response(click_quietly);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::mouse_move(40, 25);
                      vt::click(1);
                      vt::mouse_move(45, 31);
                  },
                  r),
              6);
    // The pointer was brought to (100, 75) before the loop: that first move is
    // measured from (0, 0). The last one is measured from the click.
    EXPECT_EQ(r.calls, (std::vector<std::string>{"move 100,75", "move -60,-50", "click 0 0", "click 1 0",
                                                 "move 5,6"}));
}

vollo_response text_until_capital(uint32_t character, void *data)
{
    recorder(data).calls.push_back("text " + std::to_string(character));
    return character == 'A' ? 10 : VOLLO_CONTINUE;
}

TEST_F(RealWindow, TypedTextReachesTheTextResponse)
{
    vollo_set_text_response(text_until_capital);
    Recorder r;
    EXPECT_EQ(loop_with([] { vt::type_text("hA"); }, r), 10);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"text 104", "text 65"}));
}

TEST_F(RealWindow, CloseRequestEndsTheLoopWithOneEvenWithNoResponse)
{
    gl_callback = vollo_context();  // not even a main function
    // Without the close taking effect the loop would never return: give up loudly.
    static std::atomic<bool> returned{false};  // the later tests of this process go on
    std::thread watchdog([] {
        std::this_thread::sleep_for(std::chrono::seconds(30));
        if (returned)
            return;
        std::fprintf(stderr, "vollo_loop did not return after a close request\n");
        std::_Exit(1);
    });
    watchdog.detach();
    Recorder r;
    EXPECT_EQ(loop_with([this] { vt::send_close_request(id); }, r), 1);
    returned = true;
    EXPECT_TRUE(static_cast<sf::RenderWindow *>(window->render_target)->isOpen())
        << "the window stays open until vollo_stop";
}

vollo_response record_resize(uint32_t width, uint32_t height, void *data)
{
    recorder(data).calls.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
    return VOLLO_CONTINUE;
}

TEST_F(RealWindow, ResizeUpdatesTheRecordAndKeepsOnePixelPerPixel)
{
    vollo_set_resize_response(record_resize);
    vollo_set_click_response(click_until_left_up);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [this] {
                      vt::xdotool({"windowsize", std::to_string(id), "300", "220"});
                      vt::mouse_move(280, 210);
                      vt::click(1);
                  },
                  r),
              4);
    // Creating and moving the window may report its first size before the new one.
    const std::string calls = ::testing::PrintToString(r.calls);
    const auto last_resize = std::find_if(r.calls.rbegin(), r.calls.rend(),
                                          [](const std::string &call) { return call.rfind("resize", 0) == 0; });
    ASSERT_NE(last_resize, r.calls.rend()) << calls;
    EXPECT_EQ(*last_resize, "resize 300x220") << calls;
    EXPECT_EQ(r.calls.back(), "click 1 0 at 280,210 down=0 escape=0") << calls;
    EXPECT_EQ(window->width, 300u);
    EXPECT_EQ(window->height, 220u);

    // A pixel array as large as the new window lands pixel for pixel, unstretched.
    vollo_pixelarray *array = vollo_new_pixelarray(300, 220);
    ASSERT_NE(array, nullptr);
    vollo_fill(array, 0xFFFF0000);
    array->pixels[210 * 300 + 280] = 0xFF0000FF;
    // The software renderer picks up the new drawable size a frame or two late, as
    // a program that draws every frame sees: present until the pixel shows.
    EXPECT_TRUE(vt::wait_until([&] {
        vollo_blit(window, array, nullptr);
        vollo_display(window);
        return vt::read_pixel(280, 210).value_or(0) == 0xFF0000FFu;
    }));
    EXPECT_EQ(vt::read_pixel(279, 210).value_or(0), 0xFFFF0000u);
    EXPECT_EQ(vt::read_pixel(281, 211).value_or(0), 0xFFFF0000u);
    vollo_delete_clipable(array);
}

TEST_F(RealWindow, ResizeResponseComesOnceAtStartWithTheFirstSize)
{
    vollo_set_resize_response(record_resize);
    Recorder first, second;
    first.stop_after_frames = 5;
    second.stop_after_frames = 5;
    EXPECT_EQ(vollo_loop(window, 100, &first), 9);
    EXPECT_EQ(vollo_loop(window, 100, &second), 9);
    EXPECT_EQ(first.calls, std::vector<std::string>{"resize 200x150"});
    EXPECT_TRUE(second.calls.empty()) << ::testing::PrintToString(second.calls);
}

// Presses of Right held for a second, and how many of its frames saw vollo_key_pressed.
struct Repeats
{
    int presses = 0, pressed_frames = 0, frames_since_first = 0;
};

TEST_F(RealWindow, KeyRepeatGivesPressesAgainAndAgainUnlessSwitchedOff)
{
    for (bool repeat : {true, false})
    {
        SCOPED_TRACE(repeat ? "repeat on" : "repeat off");
        vollo_set_key_repeat(window, repeat);
        vollo_set_key_response([](vollo_event_state state, int32_t key, void *data) -> vollo_response {
            static_cast<Repeats *>(data)->presses += state == VOLLO_PRESSED && key == VOLLO_KEY_RIGHT;
            return VOLLO_CONTINUE;
        });
        vollo_set_loop_main_function([](void *data) -> vollo_response {
            Repeats &seen = *static_cast<Repeats *>(data);
            seen.pressed_frames += vollo_key_pressed(VOLLO_KEY_RIGHT);
            seen.frames_since_first += seen.presses > 0;
            return seen.frames_since_first >= 100 ? 9 : VOLLO_CONTINUE;
        });
        Repeats seen;
        ASSERT_TRUE(vt::key_down("Right"));
        EXPECT_EQ(vollo_loop(window, 100, &seen), 9);
        EXPECT_TRUE(vollo_key_down(VOLLO_KEY_RIGHT));
        ASSERT_TRUE(vt::key_up("Right"));
        if (repeat)
            EXPECT_GE(seen.presses, 3);
        else
            EXPECT_EQ(seen.presses, 1);
        EXPECT_EQ(seen.pressed_frames, 1) << "repeats are no new press";
    }
}

TEST_F(RealWindow, ClipboardTakesAndGivesUtf8)
{
    for (const char *text : {"plain", "h\xC3\xA9llo \xE2\x9C\x93 \xE8\xA1\xA8", ""})
    {
        vollo_set_clipboard(text);
        EXPECT_STREQ(vollo_get_clipboard(), text);
    }
    vollo_set_clipboard(nullptr);
    EXPECT_STREQ(vollo_get_clipboard(), "");
}

// ---------------------------------------------------------------------------
// Window control
// ---------------------------------------------------------------------------

TEST_F(RealWindow, SetSizeResizesTheWindowTheRecordAndTheClickCoordinates)
{
    for (const auto &refused : {std::pair<uint32_t, uint32_t>{0, 100}, {100, 0}, {65536, 100}, {100, 70000}})
    {
        EXPECT_FALSE(vollo_set_size(window, refused.first, refused.second));
        EXPECT_EQ(window->width, 200u);
        EXPECT_EQ(window->height, 150u);
    }
    EXPECT_FALSE(vollo_set_size(nullptr, 10, 10));

    ASSERT_TRUE(vollo_set_size(window, 320, 230));
    EXPECT_EQ(window->width, 320u);
    EXPECT_EQ(window->height, 230u);
    EXPECT_TRUE(vt::wait_until([&] {
        const auto geometry = vt::window_geometry(id);
        return geometry && geometry->width == 320 && geometry->height == 230;
    })) << "the X window keeps its old size";

    vollo_set_resize_response(record_resize);
    vollo_set_click_response(click_until_left_up);
    Recorder r;
    EXPECT_EQ(loop_with(
                  [] {
                      vt::mouse_move(310, 220);
                      vt::click(1);
                  },
                  r),
              4);
    const std::string calls = ::testing::PrintToString(r.calls);
    EXPECT_NE(std::find(r.calls.begin(), r.calls.end(), "resize 320x230"), r.calls.end()) << calls;
    EXPECT_EQ(r.calls.back(), "click 1 0 at 310,220 down=0 escape=0") << calls;

    // Drawn pixel for pixel over the new size.
    vollo_pixelarray *array = vollo_new_pixelarray(320, 230);
    ASSERT_NE(array, nullptr);
    vollo_fill(array, 0xFF00FF00);
    array->pixels[220 * 320 + 310] = 0xFF0000FF;
    EXPECT_TRUE(vt::wait_until([&] {
        vollo_blit(window, array, nullptr);
        vollo_display(window);
        return vt::read_pixel(310, 220).value_or(0) == 0xFF0000FFu;
    }));
    EXPECT_EQ(vt::read_pixel(309, 220).value_or(0), 0xFF00FF00u);
    vollo_delete_clipable(array);
}

vollo_response record_move(const vollo_position *, void *data)
{
    recorder(data).calls.push_back("move " + position());
    return VOLLO_CONTINUE;
}

// A 320 x 180 space in windows of several sizes: drawn scaled and centred between
// black bars, with the pointer in logical pixels, over the bars too (not clamped).
TEST_F(RealWindow, LogicalSizeScalesDrawingAndMousePositions)
{
    // box: the window pixels showing the space (left, top, right, bottom); marker: a window
    // pixel showing logical pixels (100..103, 50..53); corner: window pixel (0, 0), logical.
    const struct { int width, height; bool whole; int box[4]; vollo_position marker; std::string corner; } cases[] = {
        {1280, 720, true, {0, 0, 1279, 719}, {401, 201}, "0,0"},
        {1000, 700, true, {20, 80, 979, 619}, {321, 231}, "-7,-27"},
        {1000, 700, false, {0, 68, 999, 630}, {314, 226}, "0,-22"},
        {600, 600, true, {140, 210, 459, 389}, {240, 260}, "-140,-210"},
        {200, 150, true, {0, 18, 199, 130}, {63, 50}, "0,-29"},  // smaller than the space
    };
    vollo_pixelarray *space = vollo_new_pixelarray(320, 180);
    ASSERT_NE(space, nullptr);
    vollo_fill(space, VOLLO_GREEN);
    for (int y = 50; y < 54; ++y)
        std::fill(space->pixels + y * 320 + 100, space->pixels + y * 320 + 104, VOLLO_RED);
    vollo_set_move_response(record_move);
    vollo_set_click_response(click_until_left_up);
    for (const auto &c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (c.whole ? " whole" : ""));
        ASSERT_TRUE(vollo_set_size(window, c.width, c.height));
        vollo_set_logical_size(window, 320, 180, c.whole);
        EXPECT_EQ(window->width * 1000 + window->height, 320u * 1000 + 180);
        const std::tuple<int, int, uint32_t> pixels[] = {
            {c.marker.x, c.marker.y, VOLLO_RED}, {c.box[0], c.box[1], VOLLO_GREEN}, {c.box[2], c.box[3], VOLLO_GREEN},
            {c.box[0] - 1, c.box[1] - 1, VOLLO_BLACK}, {c.box[2] + 1, c.box[3] + 1, VOLLO_BLACK}};
        EXPECT_TRUE(vt::wait_until([&] {
            vollo_blit(window, space, nullptr);
            vollo_display(window);
            return std::all_of(std::begin(pixels), std::end(pixels), [&](const auto &pixel) {
                const auto [x, y, color] = pixel;
                return x < 0 || y < 0 || x >= c.width || y >= c.height || vt::read_pixel(x, y).value_or(0) == color;
            });
        }));
        Recorder r;
        EXPECT_EQ(loop_with([&c] { vt::mouse_move(0, 0), vt::mouse_move(c.marker.x, c.marker.y), vt::click(1); }, r), 4);
        ASSERT_GE(r.calls.size(), 4u);  // moves left over from the resize may come first
        EXPECT_EQ(std::vector<std::string>(r.calls.end() - 4, r.calls.end()),
                  (std::vector<std::string>{"move " + c.corner, "move 100,50", "click 0 0 at 100,50 down=1 escape=0",
                                            "click 1 0 at 100,50 down=0 escape=0"}));
    }
    // A saved window is the whole window, bars included.
    char folder[] = "/tmp/vollo-logical-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string saved = std::string(folder) + "/window.png";
    uint32_t size[2] = {0, 0};
    EXPECT_TRUE(vollo_save_buffer(window, saved.c_str()) && vollo_picture_size(saved.c_str(), &size[0], &size[1]));
    EXPECT_EQ(size[0] * 1000 + size[1], 200u * 1000 + 150);
    unlink(saved.c_str());
    rmdir(folder);
    vollo_clear_error();
    vollo_set_logical_size(window, 0, 5, false);  // refused
    EXPECT_EQ(window->width, 320u);
    EXPECT_NE(std::string(vollo_error()), "");
    vollo_set_logical_size(window, 0, 0, false);  // one window pixel per buffer pixel again
    EXPECT_EQ(window->width * 1000 + window->height, 200u * 1000 + 150);
    EXPECT_NEAR(vollo_get_mouse_position()->x, 63, 1) << "the pointer stays where it is, in window pixels";
    vollo_delete_clipable(space);
}

// At a scale of 3, each primitive covers whole logical pixels: the window shows the
// drawing of a 1:1 pixel array of the logical size, each pixel enlarged to 3 x 3.
TEST_F(RealWindow, PrimitivesInALogicalSpaceAreDrawnInLogicalPixels)
{
    const int width = 60, height = 40, scale = 3;
    const vollo_position line[] = {{2, 3}, {57, 30}}, steep[] = {{50, 1}, {44, 38}};
    const uint32_t line_colors[] = {VOLLO_RED, VOLLO_BLUE}, polygon_colors[] = {VOLLO_RED, VOLLO_GREEN, VOLLO_BLUE};
    const vollo_position triangle[] = {{5, 35}, {30, 8}, {41, 37}};
    const std::function<void(vollo_buffer *)> primitives[] = {
        [](vollo_buffer *b) { vollo_set_pixel(b, {7, 2}, VOLLO_BLACK), vollo_set_pixel(b, {59, 39}, VOLLO_RED); },
        [&](vollo_buffer *b) { vollo_set_line(b, line, line_colors), vollo_set_line(b, steep, line_colors); },
        [&](vollo_buffer *b) { vollo_set_polygon(b, triangle, polygon_colors); },
    };
    ASSERT_TRUE(vollo_set_size(window, width * scale, height * scale));
    vollo_set_logical_size(window, width, height, true);
    vollo_pixelarray *array = vollo_new_pixelarray(width, height);
    ASSERT_NE(array, nullptr);
    for (size_t i = 0; i < std::size(primitives); ++i)
    {
        SCOPED_TRACE("primitive " + std::to_string(i));
        vollo_fill(array, VOLLO_WHITE);
        primitives[i](array);
        std::vector<uint32_t> expected;
        for (int y = 0; y < height * scale; ++y)
            for (int x = 0; x < width * scale; ++x)
                expected.push_back(rgb(array->pixels[(y / scale) * width + x / scale]));
        std::vector<uint32_t> shown;
        EXPECT_TRUE(vt::wait_until([&] {
            vollo_fill(window, VOLLO_WHITE);
            primitives[i](window);
            vollo_display(window);
            shown = vt::read_region(0, 0, width * scale, height * scale);
            std::transform(shown.begin(), shown.end(), shown.begin(), rgb);
            return shown == expected;
        }));
        size_t wrong = 0;
        for (size_t p = 0; p < shown.size() && p < expected.size(); ++p)
            wrong += shown[p] != expected[p];
        EXPECT_EQ(wrong, 0u);
    }
    vollo_delete_clipable(array);
}

TEST_F(RealWindow, SetTitleRenamesTheWindowAndKeepsThePointer)
{
    static const char renamed[] = "vollo renamed window";
    vollo_set_title(window, renamed);
    EXPECT_EQ(window->name, renamed);
    // The request leaves with the loop's next look at the event queue.
    Recorder r;
    r.stop_after_frames = 2;
    EXPECT_EQ(vollo_loop(window, 100, &r), 9);
    EXPECT_EQ(vt::find_window_by_name(renamed), id);
    vollo_set_title(window, nullptr);  // an empty title, no crash
    EXPECT_EQ(window->name, nullptr);
    vollo_set_title(nullptr, renamed);
}

TEST_F(RealWindow, ShowCursorHidesAndShowsThePointerOverTheWindow)
{
    ASSERT_TRUE(vt::mouse_move(60, 60));
    vollo_show_cursor(window, false);
    EXPECT_TRUE(vt::wait_until([] { return vt::visible_cursor_pixels().value_or(-1) == 0; }))
        << "the pointer is still drawn over the window";
    vollo_show_cursor(window, true);
    EXPECT_TRUE(vt::wait_until([] { return vt::visible_cursor_pixels().value_or(0) > 0; }))
        << "the pointer stays hidden";
    vollo_set_vertical_sync(window, true);  // accepted by the software renderer
    vollo_set_vertical_sync(window, false);
    vollo_show_cursor(nullptr, false);
}

TEST_F(RealWindow, PendingEventsWaitForTheNextLoop)
{
    vollo_set_key_response([](vollo_event_state state, int32_t key, void *data) -> vollo_response {
        recorder(data).calls.push_back("key " + std::to_string(state) + " " + std::to_string(key));
        return state == VOLLO_PRESSED ? 5 : VOLLO_CONTINUE;
    });
    ASSERT_TRUE(vt::key("Escape"));
    ASSERT_TRUE(vt::send_close_request(id));

    // Without a window the loop polls nothing: the close request stays queued.
    Recorder without_window;
    without_window.stop_after_frames = 5;
    EXPECT_EQ(vollo_loop(nullptr, 255, &without_window), 9);
    EXPECT_EQ(without_window.frames, 5);
    EXPECT_TRUE(without_window.calls.empty());

    Recorder first, second;
    EXPECT_EQ(vollo_loop(window, 100, &first), 5);  // stops at the press
    EXPECT_EQ(vollo_loop(window, 100, &second), 1);  // release, then the close request
    EXPECT_EQ(first.calls, std::vector<std::string>{"key 0 36"});
    EXPECT_EQ(second.calls, std::vector<std::string>{"key 1 36"});
}

// Record and replay
class RecordAndReplay : public vt::XvfbTest
{
protected:
    struct Run
    {
        std::string log;
        std::vector<uint32_t> screen;
    };
    // Runs the replay program with `variable` naming the recording, sends `input`, and
    // takes its log and its last frame as shown on screen.
    Run run(const std::string &variable, const std::function<void()> &input)
    {
        vt::ChildProcess program;
        Run result;
        EXPECT_TRUE(program.start({"env", variable + "=" + recording, REPLAY_PROGRAM}));
        EXPECT_TRUE(vt::move_window_to_origin(vt::find_window_by_pid(program.pid())));
        input();
        EXPECT_TRUE(program.wait_for_output("loop returned 7\n")) << program.errors();
        EXPECT_TRUE(program.write_input("show\n"));
        EXPECT_TRUE(program.wait_for_output("shown\n"));
        result.screen = vt::read_region(0, 0, 160, 120);
        program.close_input();
        EXPECT_TRUE(program.wait_exit() && program.exit_code() == 0) << program.errors();
        result.log = program.output();
        return result;
    }
    void TearDown() override
    {
        unlink(recording.c_str());
        rmdir(folder);
    }
    char folder[32] = "/tmp/vollo-record-XXXXXX";
    std::string recording = std::string(mkdtemp(folder)) + "/input.txt";
};

TEST_F(RecordAndReplay, AReplayPrintsTheSameLogAndLeavesTheSameScreen)
{
    const Run recorded = run("VOLLO_RECORD", [] {
        vt::xdotool({"mousemove", "40", "40", "mousedown", "1", "mousemove", "80", "60", "mousemove", "120", "90",
                     "mouseup", "1", "keydown", "a", "sleep", "0.3", "keyup", "a", "type", "hi"});
        vt::key("Escape");
    });
    const Run replayed = run("VOLLO_REPLAY", [] {});
    EXPECT_EQ(replayed.log, recorded.log);
    for (const char *seen : {"  resize 160x120\n", "  click 0 0 at 40,40\n", "  key 0 0\n", "  text 104\n"})
        EXPECT_NE(recorded.log.find(seen), std::string::npos) << seen << " missing from\n" << recorded.log;
    ASSERT_EQ(recorded.screen.size(), 160u * 120u);
    EXPECT_EQ(replayed.screen, recorded.screen);
    EXPECT_GT(160 * 120 - std::count(recorded.screen.begin(), recorded.screen.end(), 0xFFFFFFFFu), 100)
        << "the input painted nothing";
}

// Recordings that are valid but hostile: sizes the window cannot take, a stroke cut by
// a loss of focus, unknown keys, the largest seed, CRLF ends, no result line. The
// program runs them to the end: a refused resize is reported, and the recording that
// stops without its result line ends the loop as a closed window does.
TEST_F(RecordAndReplay, AHostileRecordingIsPlayedToItsEndWithoutACrash)
{
    std::ofstream(recording) << "vollo-input 1\r\nseed 18446744073709551615\r\nloop 0\r\n1 resize 65535 65535\r\n"
                                "2 resize 32767 32767\r\n3 click pressed 0 10 10\r\n3 move 1048576 -1048576\r\n"
                                "4 focus lost\r\n5 key pressed -1\r\n5 key released 100\r\n6 wheel 1 -1024 5 5\r\n";
    vt::ChildProcess program;
    ASSERT_TRUE(program.start({"env", "VOLLO_DEBUG=1", "VOLLO_REPLAY=" + recording, REPLAY_PROGRAM}));
    EXPECT_TRUE(program.wait_for_output("loop returned 1\n")) << program.output() << program.errors();
    program.close_input();
    EXPECT_TRUE(program.wait_exit() && program.exit_code() == 0) << program.errors();
    for (const char *size : {"65535 x 65535", "32767 x 32767"})
        EXPECT_NE(program.errors().find(std::string("cannot resize the window to ") + size), std::string::npos)
            << program.errors();
    EXPECT_NE(program.output().find("  resize 160x120\n"), std::string::npos) << "the size the window kept";
}

}  // namespace
