// The harness against a bare SFML window and a few child processes: if these
// fail, every window test built on the harness is suspect.
#include <unistd.h>

#include <SFML/Graphics.hpp>

#include "xvfb.hpp"

namespace vt = vollo_test;

namespace
{

class Harness : public vt::XvfbTest
{
protected:
    // Polls the window until an event satisfying `wanted` arrives.
    bool wait_event(sf::RenderWindow &window, const std::function<bool(const sf::Event &)> &wanted,
                    sf::Event *seen = nullptr)
    {
        return vt::wait_until([&] {
            sf::Event event;
            while (window.pollEvent(event))
                if (wanted(event))
                {
                    if (seen)
                        *seen = event;
                    return true;
                }
            return false;
        });
    }
};

TEST_F(Harness, DisplayIsPrivateAndAnswers)
{
    const char *display = getenv("DISPLAY");
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(vt::start_xvfb(), display);
    EXPECT_GT(vt::xvfb_pid(), 0);
    vt::CommandResult geometry = vt::run_command({"xdotool", "getdisplaygeometry"});
    ASSERT_TRUE(geometry.succeeded()) << geometry.describe();
    EXPECT_EQ(geometry.output, "1280 1024\n");
}

TEST_F(Harness, FindsMovesAndReadsAWindow)
{
    sf::RenderWindow window(sf::VideoMode(200, 150), "harness smoke");
    vt::WindowId id = vt::find_window_by_pid(getpid());
    ASSERT_NE(id, 0u);
    EXPECT_EQ(vt::find_window_by_name("harness smoke"), id);
    ASSERT_TRUE(vt::move_window_to_origin(id));
    auto geometry = vt::window_geometry(id);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, 200);
    EXPECT_EQ(geometry->height, 150);

    // Asymmetric colour, so a red/blue swap in the screen reader shows.
    const uint32_t orange = 0xFF1080F0;  // R F0, G 80, B 10
    bool shown = vt::wait_until([&] {
        window.clear(sf::Color(0xF0, 0x80, 0x10));
        window.display();
        auto pixel = vt::read_pixel(100, 75);
        return pixel && *pixel == orange;
    });
    EXPECT_TRUE(shown);
    std::vector<uint32_t> region = vt::read_region(198, 148, 4, 4);
    ASSERT_EQ(region.size(), 16u);
    EXPECT_EQ(region[0], orange);        // (198, 148) inside the window
    EXPECT_NE(region[15], orange);       // (201, 151) outside it
}

TEST_F(Harness, DeliversRealMouseKeyAndCloseEvents)
{
    sf::RenderWindow window(sf::VideoMode(200, 150), "harness events");
    vt::WindowId id = vt::find_window_by_pid(getpid());
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(vt::move_window_to_origin(id));

    // Sent from another thread while this one polls, as tests of a blocking loop do.
    auto events = vt::in_background([] {
        vt::mouse_move(30, 40);
        vt::click(1);
    });
    sf::Event seen;
    EXPECT_TRUE(wait_event(window, [](const sf::Event &e) { return e.type == sf::Event::MouseButtonReleased; },
                           &seen));
    events.get();
    EXPECT_EQ(seen.mouseButton.button, sf::Mouse::Left);
    EXPECT_EQ(seen.mouseButton.x, 30);
    EXPECT_EQ(seen.mouseButton.y, 40);

    ASSERT_TRUE(vt::wheel_down());
    EXPECT_TRUE(wait_event(window, [](const sf::Event &e) {
        return e.type == sf::Event::MouseWheelScrolled && e.mouseWheelScroll.delta < 0;
    }));

    ASSERT_TRUE(vt::key("Escape"));
    EXPECT_TRUE(wait_event(window, [](const sf::Event &e) {
        return e.type == sf::Event::KeyReleased && e.key.code == sf::Keyboard::Escape;
    }));

    ASSERT_TRUE(vt::send_close_request(id));
    EXPECT_TRUE(wait_event(window, [](const sf::Event &e) { return e.type == sf::Event::Closed; }));
    EXPECT_TRUE(window.isOpen());  // a close request is only a request
}

TEST(HarnessProcesses, RunsCommandsWithInputAndStatus)
{
    vt::CommandResult echoed = vt::run_command({"cat"}, "line one\nline two\n");
    EXPECT_TRUE(echoed.succeeded()) << echoed.describe();
    EXPECT_EQ(echoed.output, "line one\nline two\n");

    vt::CommandResult failed = vt::run_command({"sh", "-c", "echo oops >&2; exit 3"});
    EXPECT_EQ(failed.exit_code, 3);
    EXPECT_EQ(failed.errors, "oops\n");

    vt::CommandResult slow = vt::run_command({"sleep", "30"}, "", vt::Milliseconds(100));
    EXPECT_TRUE(slow.timed_out);
    EXPECT_EQ(slow.signal, SIGKILL);

    vt::CommandResult missing = vt::run_command({"/nonexistent/program"});
    EXPECT_FALSE(missing.succeeded());
    EXPECT_EQ(missing.exit_code, 127);
}

TEST(HarnessProcesses, TalksToARunningChild)
{
    vt::ChildProcess child;
    ASSERT_TRUE(child.start({"sh", "-c", "echo 'Name ?'; read answer; echo \"got $answer\"; exit 5"}));
    ASSERT_TRUE(child.wait_for_output("Name ?\n"));
    EXPECT_TRUE(child.running());
    ASSERT_TRUE(child.write_input("yes\n"));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 5);
    EXPECT_EQ(child.output(), "Name ?\ngot yes\n");
    // Writing to a child that is gone fails instead of killing the test with SIGPIPE.
    EXPECT_FALSE(child.write_input("more\n"));
}

}  // namespace
