// Real-window test harness: a private X server, real input events, screen pixels,
// and child processes with pipes.
//
// Link the CMake target `vollo_test_support` and give window tests the CTest label
// `window`:
//
//   add_executable(my_window_tests my_window_tests.cpp)
//   target_link_libraries(my_window_tests PRIVATE vollo vollo_test_support GTest::gtest_main)
//   gtest_discover_tests(my_window_tests PROPERTIES LABELS window)
//
// Display. Derive the fixture from vollo_test::XvfbTest (or call
// vollo_test::start_xvfb() yourself, from the main thread, before the first window
// is opened). The first call starts `Xvfb -displayfd <fd> -screen 0 1280x1024x24
// -nolisten tcp -noreset`, which picks a free display number itself, waits until the server
// answers, and sets DISPLAY for this process and its children. The server lives for
// the rest of the process (later calls return the same display) and is stopped by
// its PID at exit; it also dies with the process if the process crashes. Tests
// never skip for lack of a display: when Xvfb cannot start, the test fails.
// There is no window manager: windows appear where they are created, keyboard focus
// follows the pointer, and a WM_DELETE_WINDOW request only comes from this harness.
//
// Windows. find_window_by_pid(pid) or find_window_by_name("title") waits until the
// window exists and returns its X id (for the test process itself: getpid()); move_window_to_origin(id) puts it at
// (0, 0) and waits until it is viewable there, so window pixel (x, y) is screen
// pixel (x, y) and mouse_move(x, y) lands on window pixel (x, y).
//
// Events are real input through the XTEST extension (xdotool): mouse_move,
// mouse_down/mouse_up/click with X button numbers (1 left, 2 middle, 3 right,
// 4 wheel up, 5 wheel down; wheel_up/wheel_down do one notch), key/key_down/key_up
// with X key names ("Escape", "a", "shift", "Return"). Keys go to the window under
// the pointer, so move the pointer over the window first (or call focus_window).
// send_close_request(id) asks the window to close as a window manager would: a
// WM_PROTOCOLS ClientMessage carrying WM_DELETE_WINDOW (not a destroy).
//
// vollo_loop and SFML's event polling block the calling thread, so send events from
// another thread while the loop runs:
//
//   auto events = vollo_test::in_background([&] {
//       vollo_test::mouse_move(10, 20);
//       vollo_test::click(1);
//   });
//   vollo_response result = vollo_loop(window, 100, &state);  // a response ends it
//   events.get();                                             // rethrows any exception
//
// Events sent before the loop runs are not lost: X queues them for the window.
// Helpers that fail report a non-fatal GoogleTest failure with the command's error
// output and return false / an empty result, so they are safe on any thread.
//
// Pixels. read_pixel(x, y) and read_region(x, y, w, h) read the screen and return
// colours in the library's layout (red bits 0-7, green 8-15, blue 16-23, alpha
// 0xFF). wait_for_pixel waits until a pixel satisfies a condition; wait_until
// waits for any condition. Never sleep a fixed time: wait for the condition.
//
// Child processes. ChildProcess runs a program with pipes on stdin, stdout and
// stderr: write_input, close_input, wait_for_output("text"), wait_exit(timeout);
// a child still running when the object dies is killed by its PID.
// run_command runs a program to completion with a timeout.
#ifndef VOLLO_TEST_SUPPORT_XVFB_HPP
#define VOLLO_TEST_SUPPORT_XVFB_HPP

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace vollo_test
{

using Milliseconds = std::chrono::milliseconds;

// Default patience for anything the harness waits for.
constexpr Milliseconds default_timeout{10000};

// ---------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------

// Starts the process's private Xvfb once and sets DISPLAY; returns the display
// name (":N"), or an empty string (with a test failure) when the server cannot start.
std::string start_xvfb();

// PID of the running Xvfb, or -1.
pid_t xvfb_pid();

// Fixture for tests that open windows: starts the display before the first test of
// the suite and fails the suite when it cannot.
class XvfbTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
};

// ---------------------------------------------------------------------------
// Waiting
// ---------------------------------------------------------------------------

// Polls `condition` every `interval` until it is true (returns true) or the
// timeout passes (returns false). The condition is checked once more at the end.
bool wait_until(const std::function<bool()> &condition, Milliseconds timeout = default_timeout,
                Milliseconds interval = Milliseconds(10));

// Runs `task` on a new thread; get() on the result waits for it and rethrows.
std::future<void> in_background(std::function<void()> task);

// ---------------------------------------------------------------------------
// Child processes
// ---------------------------------------------------------------------------

struct CommandResult
{
    bool started = false;    // false when the program could not be run at all
    bool timed_out = false;  // the program was killed because it ran too long
    int exit_code = -1;      // exit status when it exited normally, else -1
    int signal = 0;          // signal that ended it, else 0
    std::string output;      // everything it wrote on stdout
    std::string errors;      // everything it wrote on stderr

    bool succeeded() const { return started && !timed_out && signal == 0 && exit_code == 0; }
    std::string describe() const;  // one line for failure messages
};

// Runs argv[0] (searched in PATH) with `input` on stdin and waits for it.
CommandResult run_command(const std::vector<std::string> &argv, const std::string &input = "",
                          Milliseconds timeout = default_timeout);

// Writes a photo-like picture of `size` ("WxH") at `path`, a JPEG or a PNG after its
// ending: gradients and noise (so that it does not compress to nothing, and two decoders
// or a wrong base would show), made by Pillow. False when Pillow fails.
bool make_photo(const std::string &path, const std::string &size);

// A program running with pipes on stdin, stdout and stderr. Output is collected
// in the background, so the child never blocks on a full pipe.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();  // kills (SIGKILL) and reaps a child that is still running
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Starts argv[0] (searched in PATH; a path with '/' is used as is) in
    // `directory` (empty: the current one). Returns false when it cannot start.
    bool start(const std::vector<std::string> &argv, const std::string &directory = "");

    pid_t pid() const { return pid_; }
    bool write_input(const std::string &text);  // false when the pipe is closed
    void close_input();                         // the child then sees end of file

    // Waits until everything written on stdout (or stderr) contains `text`.
    bool wait_for_output(const std::string &text, Milliseconds timeout = default_timeout);
    bool wait_for_errors(const std::string &text, Milliseconds timeout = default_timeout);
    std::string output() const;  // stdout so far
    std::string errors() const;  // stderr so far

    // Waits for the child to end; false on timeout (the child keeps running).
    // Afterwards exit_code() / signal() tell how it ended.
    bool wait_exit(Milliseconds timeout = default_timeout);
    bool running() const;
    int exit_code() const { return exit_code_; }  // -1 unless it exited normally
    int signal() const { return signal_; }        // 0 unless a signal ended it
    void kill_now(int signal_number = 9);         // signal the child by its PID

private:
    void collect(int fd, std::string *sink);
    bool wait_for(const std::string *sink, const std::string &text, Milliseconds timeout);
    bool reap(bool block);

    pid_t pid_ = -1;
    int input_fd_ = -1;
    int exit_code_ = -1;
    int signal_ = 0;
    bool reaped_ = true;
    std::string output_;
    std::string errors_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::thread output_reader_;
    std::thread errors_reader_;
};

// ---------------------------------------------------------------------------
// Windows and events (all coordinates are screen pixels)
// ---------------------------------------------------------------------------

typedef unsigned long WindowId;

// Waits for a titled top-level window created by process `pid` (found through the
// server's X-Resource extension, so it works without _NET_WM_PID), or whose title
// matches `name` exactly; the newest when there are several; 0 (with a failure)
// after the timeout.
WindowId find_window_by_pid(pid_t pid, Milliseconds timeout = default_timeout);
WindowId find_window_by_name(const std::string &name, Milliseconds timeout = default_timeout);

struct WindowGeometry
{
    int x = 0, y = 0;          // absolute position of the inside of the window
    int width = 0, height = 0;
    bool viewable = false;     // mapped and all its ancestors mapped
    bool override_redirect = false;
};
std::optional<WindowGeometry> window_geometry(WindowId window);

// Number of pixels of the pointer's current image that are not fully transparent
// (0 while a window under the pointer hides it); empty (with a failure) on error.
std::optional<int> visible_cursor_pixels();

// Moves the window to (0, 0) and waits until it is viewable there.
bool move_window_to_origin(WindowId window, Milliseconds timeout = default_timeout);
// Waits until the window is viewable (mapped).
bool wait_window_viewable(WindowId window, Milliseconds timeout = default_timeout);
// Gives the window the keyboard focus.
bool focus_window(WindowId window);

// A plain window of another X client, to take the keyboard focus away from the window
// under test (with focus_window). It lives until the object dies.
class OtherWindow
{
public:
    // Maps it at (x, y) with this size and waits until it is viewable; false on failure.
    bool open(int x, int y, int width, int height);
    WindowId id() const { return id_; }

private:
    ChildProcess helper_;
    WindowId id_ = 0;
};

// Runs xdotool with these arguments; false (with a failure) when it fails.
bool xdotool(const std::vector<std::string> &arguments);

bool mouse_move(int x, int y);
bool mouse_down(int button);
bool mouse_up(int button);
bool click(int button);
bool wheel_up();    // button 4
bool wheel_down();  // button 5
bool key(const std::string &name);  // press and release
bool key_down(const std::string &name);
bool key_up(const std::string &name);
bool type_text(const std::string &text);

// Sends WM_PROTOCOLS / WM_DELETE_WINDOW to the window, as a window manager does.
bool send_close_request(WindowId window);

// Screen pixels as 0xAABBGGRR with alpha 0xFF; empty on failure.
std::optional<uint32_t> read_pixel(int x, int y);
std::vector<uint32_t> read_region(int x, int y, int width, int height);
// Waits until the pixel satisfies `condition`; returns the last colour read when it
// does, nothing on timeout.
std::optional<uint32_t> wait_for_pixel(int x, int y, const std::function<bool(uint32_t)> &condition,
                                       Milliseconds timeout = default_timeout);
// Waits until the pixel is exactly `color` (alpha ignored).
bool wait_for_color(int x, int y, uint32_t color, Milliseconds timeout = default_timeout);

}  // namespace vollo_test

#endif
