// Private X server, child processes, X input events and screen reading for tests.
#include "xvfb.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#ifndef VOLLO_TEST_SUPPORT_DIR
#error "VOLLO_TEST_SUPPORT_DIR must name the folder holding xhelper.py"
#endif

namespace vollo_test
{
namespace
{

const char *const python = "/usr/bin/python3";  // Debian's X library belongs to this one
const std::string xhelper = std::string(VOLLO_TEST_SUPPORT_DIR) + "/xhelper.py";

std::mutex xvfb_mutex;
std::string xvfb_display;
pid_t xvfb_process = -1;

// Stops the server by its PID at exit: SIGTERM lets it remove its lock and socket.
void stop_xvfb()
{
    std::lock_guard<std::mutex> lock(xvfb_mutex);
    if (xvfb_process <= 0)
        return;
    kill(xvfb_process, SIGTERM);
    for (int tries = 0; tries < 300; ++tries)
    {
        if (waitpid(xvfb_process, nullptr, WNOHANG) != 0)
        {
            xvfb_process = -1;
            return;
        }
        usleep(10000);
    }
    kill(xvfb_process, SIGKILL);
    waitpid(xvfb_process, nullptr, 0);
    xvfb_process = -1;
}

bool is_main_thread()
{
    return syscall(SYS_gettid) == getpid();
}

std::string read_file(const std::string &path)
{
    std::string text;
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return text;
    char chunk[512];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return text;
}

// Starts Xvfb and reads the display number it chose; sets `failure` otherwise.
bool launch_xvfb(std::string *failure)
{
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
    {
        *failure = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    char log_path[] = "/tmp/vollo-xvfb-XXXXXX";
    int log_fd = mkstemp(log_path);
    const bool die_with_parent = is_main_thread();
    const pid_t parent = getpid();
    const std::string fd_text = std::to_string(ready[1]);

    pid_t child = fork();
    if (child < 0)
    {
        *failure = std::string("fork: ") + std::strerror(errno);
        close(ready[0]);
        close(ready[1]);
        return false;
    }
    if (child == 0)
    {
        // The server must not outlive a test process that crashes.
        if (die_with_parent)
        {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent)
                _exit(127);
        }
        fcntl(ready[1], F_SETFD, 0);
        int null_fd = open("/dev/null", O_RDWR);
        dup2(null_fd, 0);
        dup2(null_fd, 1);
        // Its messages go to a log, never to the test's own output pipes.
        dup2(log_fd >= 0 ? log_fd : null_fd, 2);
        // -noreset: without it the server resets whenever its last client leaves (the
        // readiness probe, a helper command), and a connection made during the reset fails.
        execlp("Xvfb", "Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    if (log_fd >= 0)
        close(log_fd);
    xvfb_process = child;

    // Xvfb writes the display number once it accepts connections.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool complete = false;
    while (!complete && std::chrono::steady_clock::now() < deadline)
    {
        pollfd entry = {ready[0], POLLIN, 0};
        int polled = poll(&entry, 1, 100);
        if (polled < 0 && errno != EINTR)
            break;
        if (polled <= 0)
        {
            if (waitpid(child, nullptr, WNOHANG) == child)
            {
                xvfb_process = -1;
                break;
            }
            continue;
        }
        char c;
        ssize_t got = read(ready[0], &c, 1);
        if (got <= 0)
            break;
        if (c == '\n')
            complete = true;
        else
            number += c;
    }
    close(ready[0]);
    if (!complete || number.empty())
    {
        *failure = "Xvfb did not report a display: " + read_file(log_path);
        unlink(log_path);
        return false;
    }
    unlink(log_path);
    xvfb_display = ":" + number;
    setenv("DISPLAY", xvfb_display.c_str(), 1);
    return true;
}

void append_output(std::string *sink, const char *data, size_t size, std::mutex &mutex)
{
    std::lock_guard<std::mutex> lock(mutex);
    sink->append(data, size);
}

std::string join(const std::vector<std::string> &argv)
{
    std::string line;
    for (const std::string &word : argv)
    {
        if (!line.empty())
            line += ' ';
        line += word;
    }
    return line;
}

bool run_checked(const std::vector<std::string> &argv, std::string *output = nullptr,
                 Milliseconds timeout = default_timeout)
{
    CommandResult result = run_command(argv, "", timeout);
    if (!result.succeeded())
    {
        ADD_FAILURE() << join(argv) << ": " << result.describe();
        return false;
    }
    if (output)
        *output = result.output;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------

std::string start_xvfb()
{
    std::lock_guard<std::mutex> lock(xvfb_mutex);
    if (!xvfb_display.empty())
        return xvfb_display;
    std::string failure;
    if (!launch_xvfb(&failure))
    {
        if (xvfb_process > 0)
        {
            kill(xvfb_process, SIGKILL);
            waitpid(xvfb_process, nullptr, 0);
            xvfb_process = -1;
        }
        ADD_FAILURE() << "cannot start Xvfb: " << failure;
        return "";
    }
    static bool registered = false;
    if (!registered)
    {
        std::atexit(stop_xvfb);
        registered = true;
    }
    return xvfb_display;
}

pid_t xvfb_pid()
{
    std::lock_guard<std::mutex> lock(xvfb_mutex);
    return xvfb_process;
}

void XvfbTest::SetUpTestSuite()
{
    start_xvfb();
}

void XvfbTest::SetUp()
{
    ASSERT_FALSE(start_xvfb().empty()) << "no X display for this test";
}

// ---------------------------------------------------------------------------
// Waiting
// ---------------------------------------------------------------------------

bool wait_until(const std::function<bool()> &condition, Milliseconds timeout, Milliseconds interval)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(interval);
    }
    return condition();
}

std::future<void> in_background(std::function<void()> task)
{
    return std::async(std::launch::async, std::move(task));
}

// ---------------------------------------------------------------------------
// Child processes
// ---------------------------------------------------------------------------

std::string CommandResult::describe() const
{
    std::ostringstream text;
    if (!started)
        text << "could not be started";
    else if (timed_out)
        text << "timed out";
    else if (signal)
        text << "killed by signal " << signal;
    else
        text << "exit status " << exit_code;
    if (!errors.empty())
        text << "; stderr: " << errors;
    return text.str();
}

bool make_photo(const std::string &path, const std::string &size)
{
    const char *make =
        "import sys\n"
        "from PIL import Image\n"
        "w, h = map(int, sys.argv[2].split('x'))\n"
        "bands = (Image.linear_gradient('L').resize((w, h)), Image.effect_noise((w, h), 40),\n"
        "         Image.radial_gradient('L').resize((w, h)))\n"
        "im = Image.merge('RGB', bands)\n"
        "im.save(sys.argv[1], quality=90) if sys.argv[1].endswith('jpg') else im.save(sys.argv[1], compress_level=1)\n";
    return run_command({"/usr/bin/python3", "-c", make, path, size}, "", Milliseconds(120000)).succeeded();
}

CommandResult run_command(const std::vector<std::string> &argv, const std::string &input,
                          Milliseconds timeout)
{
    CommandResult result;
    ChildProcess child;
    if (!child.start(argv))
        return result;
    result.started = true;
    if (!input.empty())
        child.write_input(input);
    child.close_input();
    if (!child.wait_exit(timeout))
    {
        result.timed_out = true;
        child.kill_now(SIGKILL);
        child.wait_exit(Milliseconds(2000));
    }
    result.exit_code = child.exit_code();
    result.signal = child.signal();
    result.output = child.output();
    result.errors = child.errors();
    return result;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && !reaped_)
    {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    close_input();
    if (output_reader_.joinable())
        output_reader_.join();
    if (errors_reader_.joinable())
        errors_reader_.join();
}

bool ChildProcess::start(const std::vector<std::string> &argv, const std::string &directory)
{
    if (argv.empty() || pid_ > 0)
        return false;
    int input[2], output[2], errors[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return false;
    if (pipe2(output, O_CLOEXEC) != 0)
    {
        close(input[0]);
        close(input[1]);
        return false;
    }
    if (pipe2(errors, O_CLOEXEC) != 0)
    {
        close(input[0]);
        close(input[1]);
        close(output[0]);
        close(output[1]);
        return false;
    }
    // Everything the child needs is built before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<char *> arguments;
    for (const std::string &word : argv)
        arguments.push_back(const_cast<char *>(word.c_str()));
    arguments.push_back(nullptr);
    const char *where = directory.empty() ? nullptr : directory.c_str();

    pid_t child = fork();
    if (child == 0)
    {
        dup2(input[0], 0);
        dup2(output[1], 1);
        dup2(errors[1], 2);
        if (where && chdir(where) != 0)
            _exit(127);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    close(errors[1]);
    if (child < 0)
    {
        close(input[1]);
        close(output[0]);
        close(errors[0]);
        return false;
    }
    pid_ = child;
    reaped_ = false;
    input_fd_ = input[1];
    output_reader_ = std::thread(&ChildProcess::collect, this, output[0], &output_);
    errors_reader_ = std::thread(&ChildProcess::collect, this, errors[0], &errors_);
    return true;
}

void ChildProcess::collect(int fd, std::string *sink)
{
    char chunk[4096];
    for (;;)
    {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        append_output(sink, chunk, static_cast<size_t>(got), mutex_);
        changed_.notify_all();
    }
    close(fd);
}

bool ChildProcess::write_input(const std::string &text)
{
    if (input_fd_ < 0)
        return false;
    // A child that already closed its stdin must not kill the test with SIGPIPE:
    // block the signal on this thread while writing and swallow it if it came.
    sigset_t pipe_signal, previous;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &previous);
    size_t done = 0;
    bool ok = true;
    while (done < text.size())
    {
        ssize_t wrote = write(input_fd_, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
        {
            ok = false;
            break;
        }
        done += static_cast<size_t>(wrote);
    }
    if (!ok)
    {
        timespec none = {0, 0};
        sigtimedwait(&pipe_signal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return ok;
}

void ChildProcess::close_input()
{
    if (input_fd_ >= 0)
    {
        close(input_fd_);
        input_fd_ = -1;
    }
}

bool ChildProcess::wait_for(const std::string *sink, const std::string &text, Milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return sink->find(text) != std::string::npos; });
}

bool ChildProcess::wait_for_output(const std::string &text, Milliseconds timeout)
{
    return wait_for(&output_, text, timeout);
}

bool ChildProcess::wait_for_errors(const std::string &text, Milliseconds timeout)
{
    return wait_for(&errors_, text, timeout);
}

std::string ChildProcess::output() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return output_;
}

std::string ChildProcess::errors() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return errors_;
}

bool ChildProcess::reap(bool block)
{
    if (pid_ <= 0 || reaped_)
        return reaped_;
    int status = 0;
    pid_t got;
    do
        got = waitpid(pid_, &status, block ? 0 : WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got != pid_)
        return false;
    reaped_ = true;
    if (WIFEXITED(status))
        exit_code_ = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        signal_ = WTERMSIG(status);
    return true;
}

bool ChildProcess::wait_exit(Milliseconds timeout)
{
    if (pid_ <= 0)
        return false;
    if (!wait_until([this] { return reap(false); }, timeout, Milliseconds(2)))
        return false;
    // Let the readers take in what the child wrote last.
    if (output_reader_.joinable())
        output_reader_.join();
    if (errors_reader_.joinable())
        errors_reader_.join();
    return true;
}

bool ChildProcess::running() const
{
    if (pid_ <= 0 || reaped_)
        return false;
    return ::kill(pid_, 0) == 0;
}

void ChildProcess::kill_now(int signal_number)
{
    if (pid_ > 0 && !reaped_)
        ::kill(pid_, signal_number);
}

// ---------------------------------------------------------------------------
// Windows and events
// ---------------------------------------------------------------------------

namespace
{

WindowId find_window(const std::vector<std::string> &search, const std::string &what,
                     Milliseconds timeout)
{
    WindowId found = 0;
    wait_until(
        [&] {
            CommandResult result = run_command(search, "", Milliseconds(5000));
            if (!result.succeeded())
                return false;
            // Listed bottom to top: the last one is the newest window.
            std::istringstream lines(result.output);
            std::string line;
            while (std::getline(lines, line))
                if (!line.empty())
                    found = std::strtoul(line.c_str(), nullptr, 10);
            return found != 0;
        },
        timeout, Milliseconds(20));
    if (!found)
        ADD_FAILURE() << "no window found for " << what;
    return found;
}

}  // namespace

WindowId find_window_by_pid(pid_t pid, Milliseconds timeout)
{
    return find_window({python, xhelper, "windows", std::to_string(pid)}, "pid " + std::to_string(pid),
                       timeout);
}

WindowId find_window_by_name(const std::string &name, Milliseconds timeout)
{
    return find_window({"xdotool", "search", "--name", "^" + name + "$"}, "name " + name, timeout);
}

std::optional<WindowGeometry> window_geometry(WindowId window)
{
    CommandResult result =
        run_command({python, xhelper, "geometry", std::to_string(window)}, "", Milliseconds(5000));
    if (!result.succeeded())
        return std::nullopt;
    WindowGeometry geometry;
    int viewable = 0, override_redirect = 0;
    std::istringstream fields(result.output);
    if (!(fields >> geometry.x >> geometry.y >> geometry.width >> geometry.height >> viewable >>
          override_redirect))
        return std::nullopt;
    geometry.viewable = viewable != 0;
    geometry.override_redirect = override_redirect != 0;
    return geometry;
}

std::optional<int> visible_cursor_pixels()
{
    CommandResult result = run_command({python, xhelper, "cursor"}, "", Milliseconds(5000));
    int count = 0;
    std::istringstream fields(result.output);
    if (!result.succeeded() || !(fields >> count))
    {
        ADD_FAILURE() << "cannot read the pointer's image: " << result.describe();
        return std::nullopt;
    }
    return count;
}

bool wait_window_viewable(WindowId window, Milliseconds timeout)
{
    bool ok = wait_until(
        [&] {
            auto geometry = window_geometry(window);
            return geometry && geometry->viewable;
        },
        timeout, Milliseconds(20));
    if (!ok)
        ADD_FAILURE() << "window " << window << " never became viewable";
    return ok;
}

bool move_window_to_origin(WindowId window, Milliseconds timeout)
{
    if (!xdotool({"windowmove", std::to_string(window), "0", "0"}))
        return false;
    bool ok = wait_until(
        [&] {
            auto geometry = window_geometry(window);
            return geometry && geometry->viewable && geometry->x == 0 && geometry->y == 0;
        },
        timeout, Milliseconds(20));
    if (!ok)
        ADD_FAILURE() << "window " << window << " is not viewable at (0, 0)";
    return ok;
}

bool OtherWindow::open(int x, int y, int width, int height)
{
    if (!helper_.start({python, xhelper, "window", std::to_string(x), std::to_string(y), std::to_string(width),
                        std::to_string(height)}) ||
        !helper_.wait_for_output("\n"))
    {
        ADD_FAILURE() << "the other window did not open: " << helper_.errors();
        return false;
    }
    id_ = std::strtoul(helper_.output().c_str(), nullptr, 10);
    return id_ != 0 && wait_window_viewable(id_);
}

bool focus_window(WindowId window)
{
    if (!xdotool({"windowfocus", std::to_string(window)}))
        return false;
    bool ok = wait_until([&] {
        CommandResult result = run_command({"xdotool", "getwindowfocus"}, "", Milliseconds(5000));
        return result.succeeded() && std::strtoul(result.output.c_str(), nullptr, 10) == window;
    });
    if (!ok)
        ADD_FAILURE() << "window " << window << " did not get the focus";
    return ok;
}

bool xdotool(const std::vector<std::string> &arguments)
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return run_checked(argv);
}

bool mouse_move(int x, int y)
{
    // No --sync: it waits forever when the pointer is already there. Each xdotool
    // run ends with a round trip, so the move is done when it returns.
    return xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

bool mouse_down(int button)
{
    return xdotool({"mousedown", std::to_string(button)});
}

bool mouse_up(int button)
{
    return xdotool({"mouseup", std::to_string(button)});
}

bool click(int button)
{
    return xdotool({"click", std::to_string(button)});
}

bool wheel_up()
{
    return click(4);
}

bool wheel_down()
{
    return click(5);
}

bool key(const std::string &name)
{
    return xdotool({"key", name});
}

bool key_down(const std::string &name)
{
    return xdotool({"keydown", name});
}

bool key_up(const std::string &name)
{
    return xdotool({"keyup", name});
}

bool type_text(const std::string &text)
{
    return xdotool({"type", text});
}

bool send_close_request(WindowId window)
{
    return run_checked({python, xhelper, "close", std::to_string(window)});
}

std::vector<uint32_t> read_region(int x, int y, int width, int height)
{
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    std::string bytes;
    if (!run_checked({python, xhelper, "pixels", std::to_string(x), std::to_string(y),
                      std::to_string(width), std::to_string(height)},
                     &bytes))
        return pixels;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (bytes.size() != count * 4)
    {
        ADD_FAILURE() << "screen read gave " << bytes.size() << " bytes, expected " << count * 4;
        return pixels;
    }
    pixels.resize(count);
    for (size_t i = 0; i < count; ++i)
    {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes.data()) + i * 4;
        pixels[i] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    return pixels;
}

std::optional<uint32_t> read_pixel(int x, int y)
{
    std::vector<uint32_t> pixels = read_region(x, y, 1, 1);
    if (pixels.size() != 1)
        return std::nullopt;
    return pixels[0];
}

std::optional<uint32_t> wait_for_pixel(int x, int y, const std::function<bool(uint32_t)> &condition,
                                       Milliseconds timeout)
{
    std::optional<uint32_t> last;
    bool ok = wait_until(
        [&] {
            last = read_pixel(x, y);
            return last && condition(*last);
        },
        timeout, Milliseconds(20));
    if (!ok)
        return std::nullopt;
    return last;
}

bool wait_for_color(int x, int y, uint32_t color, Milliseconds timeout)
{
    return wait_for_pixel(x, y, [color](uint32_t seen) { return (seen & 0xFFFFFF) == (color & 0xFFFFFF); },
                          timeout)
        .has_value();
}

}  // namespace vollo_test
