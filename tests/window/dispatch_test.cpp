// Event dispatch fed with constructed SFML events (no joystick can be plugged in
// here), and the setters and context record.
#include <malloc.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "vollo.h"
#include "window_private.hpp"

using vollo_internal::dispatch_event;

namespace
{

// What the responses saw, in order, as text ("key 0 36").
std::vector<std::string> calls;
vollo_response next_result = VOLLO_CONTINUE;
int data_token;

void record(const std::string &call, void *data)
{
    calls.push_back(data == &data_token ? call : call + " (wrong data)");
}

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    record("key " + std::to_string(state) + " " + std::to_string(key) + " down=" +
               std::to_string(key == 36 ? gl_keyboard[36] : -1),
           data);
    return next_result;
}
vollo_response on_text(uint32_t character, void *data)
{
    record("text " + std::to_string(character), data);
    return next_result;
}
vollo_response on_click(vollo_event_state state, int32_t button, void *data)
{
    record("click " + std::to_string(state) + " " + std::to_string(button) + " at " +
               std::to_string(gl_mouse.x) + "," + std::to_string(gl_mouse.y),
           data);
    return next_result;
}
vollo_response on_move(const vollo_position *move, void *data)
{
    record("move " + std::to_string(move->x) + "," + std::to_string(move->y), data);
    return next_result;
}
vollo_response on_wheel(int32_t wheel, int32_t delta, void *data)
{
    record("wheel " + std::to_string(wheel) + " " + std::to_string(delta), data);
    return next_result;
}
vollo_response on_joy_connect(vollo_event_state state, int32_t joystick, vollo_joystick *slot, void *data)
{
    record("joy " + std::to_string(state) + " " + std::to_string(joystick) +
               (slot == &gl_joystick[joystick & 7] ? " slot" : " other"),
           data);
    return next_result;
}
vollo_response on_joy_button(vollo_event_state state, int32_t joystick, int32_t button, void *data)
{
    record("joybutton " + std::to_string(state) + " " + std::to_string(joystick) + " " + std::to_string(button),
           data);
    return next_result;
}
vollo_response on_joy_axis(int32_t joystick, int32_t axis, float position, void *data)
{
    record("joyaxis " + std::to_string(joystick) + " " + std::to_string(axis) + " " +
               std::to_string(static_cast<int>(position)),
           data);
    return next_result;
}
vollo_response on_resize(uint32_t width, uint32_t height, void *data)
{
    record("resize " + std::to_string(width) + "x" + std::to_string(height), data);
    return next_result;
}
vollo_response on_focus(vollo_event_state state, void *data)
{
    record("focus " + std::to_string(state), data);
    return next_result;
}
vollo_response on_mouse_enter(vollo_event_state state, void *data)
{
    record("pointer " + std::to_string(state), data);
    return next_result;
}
vollo_response on_frame(void *)
{
    return VOLLO_CONTINUE;
}

// Stores any number in an SFML enumeration field, listed value or not, as a
// damaged or future event could carry it.
template <typename Enumeration>
void store(Enumeration &field, int number)
{
    const std::underlying_type_t<Enumeration> value = static_cast<std::underlying_type_t<Enumeration>>(number);
    std::memcpy(&field, &value, sizeof value);
}

sf::Event make(sf::Event::EventType type)
{
    sf::Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    return event;
}
sf::Event key_event(bool pressed, int code)
{
    sf::Event event = make(pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased);
    store(event.key.code, code);
    return event;
}
sf::Event mouse_button_event(bool pressed, int button, int x, int y)
{
    sf::Event event = make(pressed ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased);
    store(event.mouseButton.button, button);
    event.mouseButton.x = x;
    event.mouseButton.y = y;
    return event;
}
sf::Event move_event(int x, int y)
{
    sf::Event event = make(sf::Event::MouseMoved);
    event.mouseMove.x = x;
    event.mouseMove.y = y;
    return event;
}
sf::Event wheel_event(float delta, int x, int y)
{
    sf::Event event = make(sf::Event::MouseWheelScrolled);
    event.mouseWheelScroll.wheel = sf::Mouse::VerticalWheel;
    event.mouseWheelScroll.delta = delta;
    event.mouseWheelScroll.x = x;
    event.mouseWheelScroll.y = y;
    return event;
}
sf::Event joystick_event(sf::Event::EventType type, unsigned int joystick)
{
    sf::Event event = make(type);
    event.joystickConnect.joystickId = joystick;
    return event;
}
sf::Event joystick_button_event(bool pressed, unsigned int joystick, unsigned int button)
{
    sf::Event event = make(pressed ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased);
    event.joystickButton.joystickId = joystick;
    event.joystickButton.button = button;
    return event;
}
sf::Event joystick_move_event(unsigned int joystick, int axis, float position)
{
    sf::Event event = make(sf::Event::JoystickMoved);
    event.joystickMove.joystickId = joystick;
    store(event.joystickMove.axis, axis);
    event.joystickMove.position = position;
    return event;
}

// Copies of every input array, to check that nothing else changed.
struct Snapshot
{
    std::vector<uint8_t> keyboard{gl_keyboard, gl_keyboard + VOLLO_KEY_COUNT};
    std::vector<uint8_t> buttons{gl_button, gl_button + VOLLO_MOUSE_BUTTON_COUNT};
    std::vector<uint8_t> joy_buttons{gl_joy_button, gl_joy_button + sizeof gl_joy_button};
    std::vector<float> joy_axes{gl_joy_axis, gl_joy_axis + sizeof gl_joy_axis / sizeof(float)};
    int32_t mouse_x = gl_mouse.x, mouse_y = gl_mouse.y;
    bool operator==(const Snapshot &other) const
    {
        return keyboard == other.keyboard && buttons == other.buttons && joy_buttons == other.joy_buttons &&
               joy_axes == other.joy_axes && mouse_x == other.mouse_x && mouse_y == other.mouse_y;
    }
};

class Dispatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reset();
    }
    void TearDown() override
    {
        reset();
    }
    static void reset()
    {
        calls.clear();
        next_result = VOLLO_CONTINUE;
        gl_callback = vollo_context();
        dispatch_event(make(sf::Event::LostFocus), nullptr);  // nothing stays held for the next test
        std::memset(gl_keyboard, 0, sizeof gl_keyboard);
        std::memset(gl_button, 0, sizeof gl_button);
        std::memset(gl_joy_button, 0, sizeof gl_joy_button);
        std::memset(gl_joy_axis, 0, sizeof gl_joy_axis);
        gl_mouse = vollo_position();
        for (vollo_joystick &slot : gl_joystick)
        {
            std::free(slot.name);
            slot = vollo_joystick();
        }
    }
    static vollo_response send(const sf::Event &event)
    {
        return dispatch_event(event, &data_token);
    }
    static void register_all()
    {
        const vollo_context all = {on_key,         on_text,       on_click,    on_move,   on_wheel,
                                   on_joy_connect, on_joy_button, on_joy_axis, on_frame,  on_resize,
                                   on_focus,       on_mouse_enter};
        vollo_set_context(&all);
    }
};

TEST_F(Dispatch, CloseEndsWithOneWithoutAnyResponse)
{
    EXPECT_EQ(send(make(sf::Event::Closed)), 1);
    register_all();
    EXPECT_EQ(send(make(sf::Event::Closed)), 1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, KeysUpdateTheKeyboardOnlyWithAResponseAndInRange)
{
    Snapshot untouched;
    send(key_event(true, sf::Keyboard::Escape));
    EXPECT_TRUE(Snapshot() == untouched) << "no key response: nothing may change";

    vollo_set_key_response(on_key);
    send(key_event(true, sf::Keyboard::Escape));
    EXPECT_EQ(gl_keyboard[36], 1);
    send(key_event(false, sf::Keyboard::Escape));
    EXPECT_EQ(gl_keyboard[36], 0);
    send(key_event(true, sf::Keyboard::Pause));  // the last code, 100
    EXPECT_EQ(gl_keyboard[100], 1);

    // Codes outside 0..100 reach the response but never index the table.
    Snapshot before;
    for (int code : {VOLLO_KEY_UNKNOWN, 101, 127, -2, -128, 1000, -70000})
        send(key_event(true, code));
    EXPECT_TRUE(Snapshot() == before);
    EXPECT_EQ(calls, (std::vector<std::string>{"key 0 36 down=1", "key 1 36 down=0", "key 0 100 down=-1",
                                               "key 0 -1 down=-1", "key 0 101 down=-1", "key 0 127 down=-1",
                                               "key 0 -2 down=-1", "key 0 -128 down=-1",
                                               "key 0 1000 down=-1", "key 0 -70000 down=-1"}));
}

TEST_F(Dispatch, ResponseResultsOtherThanContinueArePassedOn)
{
    register_all();
    for (vollo_response result : {0, 1, 2, 4, -1, 7})
    {
        next_result = result;
        EXPECT_EQ(send(key_event(true, 0)), result);
        EXPECT_EQ(send(mouse_button_event(true, 0, 1, 1)), result);
        EXPECT_EQ(send(move_event(2, 2)), result);
    }
    next_result = VOLLO_CONTINUE;
    EXPECT_EQ(send(make(sf::Event::Resized)), VOLLO_CONTINUE);
    EXPECT_EQ(send(make(sf::Event::GainedFocus)), VOLLO_CONTINUE);
    next_result = 6;
    for (sf::Event::EventType type : {sf::Event::Resized, sf::Event::LostFocus, sf::Event::MouseLeft})
        EXPECT_EQ(send(make(type)), 6);
}

TEST_F(Dispatch, WindowEventsReachTheirResponsesAndTouchNoInputState)
{
    sf::Event resized = make(sf::Event::Resized);
    resized.size.width = 640;
    resized.size.height = 480;
    const std::vector<sf::Event::EventType> window_events = {
        sf::Event::GainedFocus, sf::Event::LostFocus, sf::Event::MouseEntered, sf::Event::MouseLeft};
    Snapshot untouched;
    send(resized);  // no responses: nothing is called
    for (sf::Event::EventType type : window_events)
        send(make(type));
    EXPECT_TRUE(calls.empty());

    register_all();
    send(resized);
    for (sf::Event::EventType type : window_events)
        send(make(type));
    EXPECT_TRUE(Snapshot() == untouched);
    EXPECT_EQ(calls, (std::vector<std::string>{"resize 640x480", "focus 0", "focus 1", "pointer 0",
                                               "pointer 1"}));
    EXPECT_EQ(VOLLO_GAINED, 0);
    EXPECT_EQ(VOLLO_LOST, 1);
    EXPECT_EQ(VOLLO_ENTERED, 0);
    EXPECT_EQ(VOLLO_LEFT, 1);
}

TEST_F(Dispatch, ClicksStorePositionAndButtonOnlyWithAResponse)
{
    Snapshot untouched;
    send(mouse_button_event(true, sf::Mouse::Left, 30, 40));
    EXPECT_TRUE(Snapshot() == untouched);

    vollo_set_click_response(on_click);
    send(mouse_button_event(true, sf::Mouse::Right, 30, 40));
    EXPECT_EQ(gl_button[sf::Mouse::Right], 1);
    send(mouse_button_event(false, sf::Mouse::Right, 31, 41));
    EXPECT_EQ(gl_button[sf::Mouse::Right], 0);
    send(mouse_button_event(true, sf::Mouse::XButton2, 5, 6));
    EXPECT_EQ(gl_button[4], 1);

    Snapshot before;
    send(mouse_button_event(true, 5, 7, 8));  // beyond the five buttons
    send(mouse_button_event(true, -3, 7, 8));
    EXPECT_EQ(std::vector<uint8_t>(gl_button, gl_button + 5), before.buttons);
    EXPECT_EQ(gl_mouse.x, 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"click 0 1 at 30,40", "click 1 1 at 31,41", "click 0 4 at 5,6",
                                               "click 0 5 at 7,8", "click 0 -3 at 7,8"}));
}

TEST_F(Dispatch, MovesAreRelativeToTheLastPositionOfAnyMouseEvent)
{
    send(move_event(10, 20));  // no response: the position is still tracked
    EXPECT_EQ(gl_mouse.x, 10);
    EXPECT_EQ(gl_mouse.y, 20);
    vollo_set_move_response(on_move);
    vollo_set_click_response(on_click);
    send(move_event(15, 18));
    send(mouse_button_event(true, 0, 100, 100));
    send(move_event(90, 110));
    send(wheel_event(1.0f, 50, 50));  // no wheel response: position still taken
    send(move_event(50, 49));
    // Extreme positions wrap instead of overflowing.
    send(move_event(std::numeric_limits<int>::min(), 0));
    send(move_event(std::numeric_limits<int>::max(), 0));
    EXPECT_EQ(calls, (std::vector<std::string>{"move 5,-2", "click 0 0 at 100,100", "move -10,10", "move 0,-1",
                                               "move 2147483598,-49", "move -1,0"}));
}

TEST_F(Dispatch, FirstMoveIsMeasuredFromTheOrigin)
{
    vollo_set_move_response(on_move);
    send(move_event(12, 34));
    EXPECT_EQ(calls, std::vector<std::string>{"move 12,34"});
}

TEST_F(Dispatch, WheelDeltaIsTruncatedTowardZero)
{
    vollo_set_wheel_response(on_wheel);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float delta : {1.0f, -1.0f, 2.9f, -2.9f, 0.5f, nan, 1e20f, -1e20f})
        send(wheel_event(delta, 3, 4));
    EXPECT_EQ(calls, (std::vector<std::string>{"wheel 0 1", "wheel 0 -1", "wheel 0 2", "wheel 0 -2", "wheel 0 0",
                                               "wheel 0 0", "wheel 0 2147483647", "wheel 0 -2147483648"}));
    EXPECT_EQ(gl_mouse.x, 3);
    EXPECT_EQ(gl_mouse.y, 4);
}

TEST_F(Dispatch, TextIsPassedAsDelivered)
{
    sf::Event event = make(sf::Event::TextEntered);
    event.text.unicode = 0x1F600;
    send(event);  // no response: nothing
    vollo_set_text_response(on_text);
    send(event);
    event.text.unicode = 'a';
    send(event);
    EXPECT_EQ(calls, (std::vector<std::string>{"text 128512", "text 97"}));
}

TEST_F(Dispatch, JoystickConnectionFillsAndReleasesTheSlot)
{
    send(joystick_event(sf::Event::JoystickConnected, 2));
    EXPECT_EQ(gl_joystick[2].connected, 0) << "no connection response: slot untouched";

    vollo_set_joy_connect_response(on_joy_connect);
    gl_joystick[2].name = strdup("stale name of an earlier connection");
    send(joystick_event(sf::Event::JoystickConnected, 2));
    const sf::Joystick::Identification identification = sf::Joystick::getIdentification(2);
    EXPECT_EQ(gl_joystick[2].connected, 1);
    ASSERT_NE(gl_joystick[2].name, nullptr);
    EXPECT_STREQ(gl_joystick[2].name, identification.name.toAnsiString().c_str());
    EXPECT_EQ(gl_joystick[2].vendor_id, identification.vendorId);
    EXPECT_EQ(gl_joystick[2].product_id, identification.productId);
    EXPECT_EQ(gl_joystick[2].nb_buttons, sf::Joystick::getButtonCount(2));
    EXPECT_EQ(gl_joystick[2].axes, 0) << "no joystick here, so no axis";

    send(joystick_event(sf::Event::JoystickDisconnected, 2));
    EXPECT_EQ(gl_joystick[2].connected, 0);
    EXPECT_EQ(gl_joystick[2].name, nullptr);
    // Connecting and disconnecting again must not release anything twice.
    send(joystick_event(sf::Event::JoystickDisconnected, 2));
    send(joystick_event(sf::Event::JoystickConnected, 7));
    send(joystick_event(sf::Event::JoystickConnected, 7));
    EXPECT_EQ(calls, (std::vector<std::string>{"joy 0 2 slot", "joy 1 2 slot", "joy 1 2 slot", "joy 0 7 slot",
                                               "joy 0 7 slot"}));
}

TEST_F(Dispatch, ReconnectingASlotDoesNotLeakItsName)
{
    vollo_set_joy_connect_response(
        [](vollo_event_state, int32_t, vollo_joystick *, void *) -> vollo_response { return VOLLO_CONTINUE; });
    send(joystick_event(sf::Event::JoystickConnected, 3));
    const size_t in_use_before = mallinfo2().uordblks;
    for (int i = 0; i < 2000; ++i)
        send(joystick_event(sf::Event::JoystickConnected, 3));
    // Each lost name would hold at least 16 bytes.
    EXPECT_LT(mallinfo2().uordblks - in_use_before, 2000u * 16 / 4);
}

TEST_F(Dispatch, JoystickNumbersBeyondTheSlotsAreIgnored)
{
    register_all();
    for (unsigned int joystick : {8u, 9u, 1000u})
    {
        send(joystick_event(sf::Event::JoystickConnected, joystick));
        send(joystick_event(sf::Event::JoystickDisconnected, joystick));
    }
    EXPECT_TRUE(calls.empty());
    for (const vollo_joystick &slot : gl_joystick)
        EXPECT_EQ(slot.connected, 0);
}

TEST_F(Dispatch, JoystickButtonsAndAxesNeedTheConnectionResponseToo)
{
    vollo_set_joy_button_response(on_joy_button);
    vollo_set_joy_axis_response(on_joy_axis);
    Snapshot untouched;
    send(joystick_button_event(true, 1, 3));
    send(joystick_move_event(1, sf::Joystick::Y, 50.0f));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(Snapshot() == untouched);

    vollo_set_joy_connect_response(on_joy_connect);
    send(joystick_button_event(true, 1, 3));
    EXPECT_EQ(gl_joy_button[1 * 32 + 3], 1);
    send(joystick_button_event(true, 7, 31));
    EXPECT_EQ(gl_joy_button[255], 1);
    send(joystick_button_event(false, 1, 3));
    EXPECT_EQ(gl_joy_button[1 * 32 + 3], 0);
    send(joystick_move_event(1, sf::Joystick::Y, 50.0f));
    EXPECT_EQ(gl_joy_axis[1 * 8 + 1], 50.0f);
    send(joystick_move_event(7, sf::Joystick::PovY, -100.0f));
    EXPECT_EQ(gl_joy_axis[63], -100.0f);

    // Numbers beyond the arrays reach the response but write nowhere.
    Snapshot before;
    send(joystick_button_event(true, 8, 0));
    send(joystick_button_event(true, 0, 32));
    send(joystick_move_event(8, 0, 1.0f));
    send(joystick_move_event(0, 8, 1.0f));
    send(joystick_move_event(0, -1, 1.0f));
    EXPECT_TRUE(Snapshot() == before);
    EXPECT_EQ(calls, (std::vector<std::string>{"joybutton 0 1 3", "joybutton 0 7 31", "joybutton 1 1 3",
                                               "joyaxis 1 1 50", "joyaxis 7 7 -100", "joybutton 0 8 0",
                                               "joybutton 0 0 32", "joyaxis 8 0 1", "joyaxis 0 8 1",
                                               "joyaxis 0 -1 1"}));
}

vollo_response unregister_itself(vollo_event_state state, int32_t key, void *data)
{
    vollo_set_key_response(nullptr);
    return on_key(state, key, data);
}

TEST_F(Dispatch, AResponseMayChangeTheResponsesForTheNextEvent)
{
    vollo_set_key_response(unregister_itself);
    send(key_event(true, sf::Keyboard::Escape));
    send(key_event(false, sf::Keyboard::Escape));  // nobody listens any more
    EXPECT_EQ(calls, std::vector<std::string>{"key 0 36 down=1"});
    EXPECT_EQ(gl_keyboard[36], 1);
}

// ---------------------------------------------------------------------------
// Setters and the context record
// ---------------------------------------------------------------------------

TEST_F(Dispatch, EachSetterWritesItsOwnFieldOnly)
{
    // Each setter, applied alone, must make exactly its field non-null.
    const std::vector<std::pair<void (*)(), const char *>> setters = {
        {[] { vollo_set_key_response(on_key); }, "key"},
        {[] { vollo_set_text_response(on_text); }, "text"},
        {[] { vollo_set_click_response(on_click); }, "click"},
        {[] { vollo_set_move_response(on_move); }, "move"},
        {[] { vollo_set_wheel_response(on_wheel); }, "wheel"},
        {[] { vollo_set_joy_connect_response(on_joy_connect); }, "joy_connect"},
        {[] { vollo_set_joy_button_response(on_joy_button); }, "joy_button"},
        {[] { vollo_set_joy_axis_response(on_joy_axis); }, "joy_axis"},
        {[] { vollo_set_loop_main_function(on_frame); }, "main"},
        {[] { vollo_set_resize_response(on_resize); }, "resize"},
        {[] { vollo_set_focus_response(on_focus); }, "focus"},
        {[] { vollo_set_mouse_enter_response(on_mouse_enter); }, "mouse_enter"},
    };
    for (size_t i = 0; i < setters.size(); ++i)
    {
        gl_callback = vollo_context();
        setters[i].first();
        const void *fields[12] = {
            reinterpret_cast<const void *>(gl_callback.key_response),
            reinterpret_cast<const void *>(gl_callback.text_response),
            reinterpret_cast<const void *>(gl_callback.click_response),
            reinterpret_cast<const void *>(gl_callback.move_response),
            reinterpret_cast<const void *>(gl_callback.wheel_response),
            reinterpret_cast<const void *>(gl_callback.joy_connect_response),
            reinterpret_cast<const void *>(gl_callback.joy_button_response),
            reinterpret_cast<const void *>(gl_callback.joy_axis_response),
            reinterpret_cast<const void *>(gl_callback.loop_main_function),
            reinterpret_cast<const void *>(gl_callback.resize_response),
            reinterpret_cast<const void *>(gl_callback.focus_response),
            reinterpret_cast<const void *>(gl_callback.mouse_enter_response)};
        static_assert(sizeof fields == sizeof(vollo_context), "one entry per response");
        for (size_t j = 0; j < 12; ++j)
            EXPECT_EQ(fields[j] != nullptr, i == j) << "setter " << setters[i].second << ", field " << j;
    }
    vollo_set_loop_main_function(nullptr);
    EXPECT_EQ(gl_callback.loop_main_function, nullptr);
}

TEST_F(Dispatch, SetContextReplacesEveryResponseAndGetContextIsTheLiveRecord)
{
    register_all();
    // Written for the first nine fields, as older programs do: the rest are null.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
    const vollo_context only_text = {nullptr, on_text, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr};
#pragma GCC diagnostic pop
    vollo_set_context(&only_text);
    EXPECT_EQ(gl_callback.resize_response, nullptr);
    EXPECT_EQ(std::memcmp(&gl_callback, &only_text, sizeof only_text), 0);

    vollo_set_context(nullptr);  // refused: nothing changes
    EXPECT_EQ(gl_callback.text_response, on_text);

    const vollo_context *live = vollo_get_context();
    EXPECT_EQ(live, &gl_callback);
    vollo_set_click_response(on_click);
    EXPECT_EQ(live->click_response, on_click);

    // A saved copy restores the whole set.
    const vollo_context saved = *vollo_get_context();
    gl_callback = vollo_context();
    vollo_set_context(&saved);
    EXPECT_EQ(gl_callback.text_response, on_text);
    EXPECT_EQ(gl_callback.click_response, on_click);
}

TEST_F(Dispatch, GettersReturnTheLiveGlobals)
{
    EXPECT_EQ(vollo_get_mouse_position(), &gl_mouse);
    EXPECT_EQ(vollo_get_mouse_button(), gl_button);
    EXPECT_EQ(vollo_get_keyboard(), gl_keyboard);
    EXPECT_EQ(vollo_get_joy_button(), gl_joy_button);
    EXPECT_EQ(vollo_get_joy_axis(), gl_joy_axis);
    static_assert(sizeof gl_keyboard == 101 && sizeof gl_button == 5 && sizeof gl_joy_button == 256 &&
                      sizeof gl_joy_axis == 64 * sizeof(float) &&
                      sizeof gl_joystick / sizeof gl_joystick[0] == 8,
                  "input state sizes");
}

// The names are SFML's numbering: a key event's code is the name's value, the
// index of its keyboard flag, and what vollo_key_name describes.
TEST_F(Dispatch, KeyAndButtonNamesAreTheNumbersEventsCarry)
{
    struct
    {
        int32_t name;
        int sfml;
        const char *text;
    } keys[] = {
        {VOLLO_KEY_UNKNOWN, sf::Keyboard::Unknown, "Unknown"},
        {VOLLO_KEY_A, sf::Keyboard::A, "A"},
        {VOLLO_KEY_M, sf::Keyboard::M, "M"},
        {VOLLO_KEY_Z, sf::Keyboard::Z, "Z"},
        {VOLLO_KEY_0, sf::Keyboard::Num0, "0"},
        {VOLLO_KEY_9, sf::Keyboard::Num9, "9"},
        {VOLLO_KEY_ESCAPE, sf::Keyboard::Escape, "Escape"},
        {VOLLO_KEY_LEFT_SHIFT, sf::Keyboard::LShift, "Left Shift"},
        {VOLLO_KEY_RIGHT_SYSTEM, sf::Keyboard::RSystem, "Right System"},
        {VOLLO_KEY_MENU, sf::Keyboard::Menu, "Menu"},
        {VOLLO_KEY_TILDE, sf::Keyboard::Tilde, "`"},
        {VOLLO_KEY_HYPHEN, sf::Keyboard::Hyphen, "-"},
        {VOLLO_KEY_SPACE, sf::Keyboard::Space, "Space"},
        {VOLLO_KEY_ENTER, sf::Keyboard::Enter, "Enter"},
        {VOLLO_KEY_BACKSPACE, sf::Keyboard::Backspace, "Backspace"},
        {VOLLO_KEY_TAB, sf::Keyboard::Tab, "Tab"},
        {VOLLO_KEY_PAGE_UP, sf::Keyboard::PageUp, "Page Up"},
        {VOLLO_KEY_DELETE, sf::Keyboard::Delete, "Delete"},
        {VOLLO_KEY_ADD, sf::Keyboard::Add, "Numpad +"},
        {VOLLO_KEY_DIVIDE, sf::Keyboard::Divide, "Numpad /"},
        {VOLLO_KEY_LEFT, sf::Keyboard::Left, "Left"},
        {VOLLO_KEY_RIGHT, sf::Keyboard::Right, "Right"},
        {VOLLO_KEY_UP, sf::Keyboard::Up, "Up"},
        {VOLLO_KEY_DOWN, sf::Keyboard::Down, "Down"},
        {VOLLO_KEY_NUMPAD_0, sf::Keyboard::Numpad0, "Numpad 0"},
        {VOLLO_KEY_NUMPAD_9, sf::Keyboard::Numpad9, "Numpad 9"},
        {VOLLO_KEY_F1, sf::Keyboard::F1, "F1"},
        {VOLLO_KEY_F15, sf::Keyboard::F15, "F15"},
        {VOLLO_KEY_PAUSE, sf::Keyboard::Pause, "Pause"},
    };
    vollo_set_key_response(on_key);
    for (const auto &key : keys)
    {
        EXPECT_EQ(key.name, key.sfml) << key.text;
        EXPECT_STREQ(vollo_key_name(key.name), key.text);
        calls.clear();
        send(key_event(true, key.sfml));
        EXPECT_EQ(calls, std::vector<std::string>{"key 0 " + std::to_string(key.name) + " down=" +
                                                  std::to_string(key.name == 36 ? 1 : -1)});
        if (key.name >= 0)
        {
            EXPECT_EQ(vollo_get_keyboard()[key.name], 1) << key.text;
        }
    }
    static_assert(VOLLO_KEY_PAUSE + 1 == VOLLO_KEY_COUNT && sf::Keyboard::KeyCount == VOLLO_KEY_COUNT,
                  "every key has a name");
    std::set<std::string> names;
    for (int32_t key = 0; key < VOLLO_KEY_COUNT; ++key)
        names.insert(vollo_key_name(key));
    EXPECT_EQ(names.size(), size_t(VOLLO_KEY_COUNT)) << "two keys share a name";
    for (int32_t outside : {VOLLO_KEY_COUNT, -2, INT32_MIN, INT32_MAX})
        EXPECT_STREQ(vollo_key_name(outside), "Unknown");

    static_assert(VOLLO_MOUSE_LEFT == sf::Mouse::Left && VOLLO_MOUSE_RIGHT == sf::Mouse::Right &&
                      VOLLO_MOUSE_MIDDLE == sf::Mouse::Middle && VOLLO_MOUSE_EXTRA_2 + 1 == sf::Mouse::ButtonCount,
                  "mouse button numbering");
}

// Colour names pack channels as the pixels hold them: red in the low byte.
TEST(ColourNames, PackAndUnpackChannels)
{
    static_assert(VOLLO_RGBA(0x12, 0x34, 0x56, 0x78) == 0x78563412u, "byte order");
    static_assert(VOLLO_RGB(1, 2, 3) == 0xFF030201u, "opaque");
    static_assert(VOLLO_RGBA(256 + 7, -1, 0, 0) == 0x0000FF07u, "channels modulo 256");
    const uint32_t color = VOLLO_RGBA(10, 20, 30, 40);
    EXPECT_EQ(VOLLO_RED_OF(color), 10u);
    EXPECT_EQ(VOLLO_GREEN_OF(color), 20u);
    EXPECT_EQ(VOLLO_BLUE_OF(color), 30u);
    EXPECT_EQ(VOLLO_ALPHA_OF(color), 40u);
    struct
    {
        uint32_t name;
        sf::Color sfml;
    } named[] = {{VOLLO_WHITE, sf::Color::White},   {VOLLO_BLACK, sf::Color::Black},
                 {VOLLO_RED, sf::Color::Red},       {VOLLO_GREEN, sf::Color::Green},
                 {VOLLO_BLUE, sf::Color::Blue},     {VOLLO_YELLOW, sf::Color::Yellow},
                 {VOLLO_CYAN, sf::Color::Cyan},     {VOLLO_MAGENTA, sf::Color::Magenta},
                 {VOLLO_TRANSPARENT, sf::Color::Transparent}};
    for (const auto &test : named)
        EXPECT_EQ(test.name, test.sfml.toInteger() >> 24 | test.sfml.a << 24 | test.sfml.b << 16 |
                                 test.sfml.g << 8)
            << std::hex << test.name;
    EXPECT_EQ(VOLLO_PINK, 0xFFB469FFu) << "a new pixel array's colour";
}

}  // namespace
