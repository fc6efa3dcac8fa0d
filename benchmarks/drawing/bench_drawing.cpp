// Drawing where people notice it. In a real window under X: the time from a pointer move
// during a stroke to the stamp's pixels on the screen, on a 24-megapixel document at fit
// and at 100 %, beside a blank start's, in the same run. In this process: a fill of the
// whole 24-megapixel picture, from the release to the view drawn again, and its undo
// record.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"
#include "bench_timing.hpp"
#include "xvfb.hpp"

// Last: its macros (None, Status, ...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

namespace vt = vollo_test;
using Clock = std::chrono::steady_clock;

// One row of the screen, columns x .. x + width - 1, read straight from the X server.
std::vector<uint32_t> screen_row(Display *display, int x, int y, int width)
{
    std::vector<uint32_t> row;
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width), 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return row;
    for (int i = 0; i < width; i++)
        row.push_back(uint32_t(XGetPixel(image, i, 0)) & 0xFFFFFFu);
    XDestroyImage(image);
    return row;
}

// Moves the pointer by one step of a stroke under way and waits until the strip where
// the disc of `radius` screen pixels newly reaches changes; the time in ms, or -1.
double one_stamp(Display *display, int x, int y, int radius)
{
    const int row = y - radius / 2, from = x + 1, width = radius + 2;
    const std::vector<uint32_t> before = screen_row(display, from, row, width);
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XFlush(display);
    const Clock::time_point start = Clock::now();
    while (milliseconds_since(start) < 2000)
    {
        const std::vector<uint32_t> now = screen_row(display, from, row, width);
        if (!now.empty() && now != before)
            return milliseconds_since(start);
        usleep(200);
    }
    return -1;
}

// Starts the program (with `argument` when not empty) in `folder`, takes the circle of
// the largest size, sets the view with `view_key` (none when empty), and draws one stroke
// of `count` steps of 8 screen pixels across the drawing area. The median latency, ms.
double stroke_latency(Display *display, const std::string &folder, const std::string &argument,
                      const std::string &view_key, double zoom, int count)
{
    // A folder of its own, so that no start finds the journal of the run killed before.
    static int runs = 0;
    const std::string directory = folder + "/run-" + std::to_string(++runs);
    if (mkdir(directory.c_str(), 0700) != 0)
        return -1;
    vt::ChildProcess program;
    std::vector<std::string> argv{PIXODRAW_BINARY};
    if (!argument.empty())
        argv.push_back(argument);
    if (!program.start(argv, directory))
        return -1;
    const vt::WindowId window = vt::find_window_by_pid(program.pid());
    if (window == 0 || !vt::move_window_to_origin(window) || !vt::wait_window_viewable(window))
        return -1;
    const auto place = vt::window_geometry(window);
    if (!place || !vt::wait_until([&] { return (vt::read_pixel(place->x + 50, place->y + 60).value_or(1) &
                                                0xFFFFFF) == 0; },
                                  std::chrono::milliseconds(20000), std::chrono::milliseconds(10)))
        return -1;
    vt::mouse_move(place->x + 150, place->y + 60);
    vt::click(1);
    vt::xdotool({"key", "--repeat", "30", "--delay", "5", "bracketright"});
    if (!view_key.empty())
        vt::key(view_key);
    usleep(300000);
    const int radius = int(150 * zoom);
    const int x0 = place->x + 260, y = place->y + 460;
    vt::mouse_move(x0, y);
    vt::mouse_down(1);
    usleep(100000);
    std::vector<double> times;
    for (int i = 1; i <= count; i++)
    {
        const double ms = one_stamp(display, x0 + 8 * i, y, radius);
        if (ms >= 0)
            times.push_back(ms);
        usleep(40000);
    }
    vt::mouse_up(1);
    program.kill_now(9);
    program.wait_exit();
    return times.size() * 2 > size_t(count) ? median(times) : -1;
}

// A whole-picture fill of a white 6000 x 4000 document with black, in this process: from
// the release to the view drawn again, including the undo record; and that record's bytes.
void fill_bench()
{
    paint_state state = {};
    state.color = PAINT_BLACK;
    state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    const uint32_t width = 6000, height = 4000;
    uint32_t *pixels = static_cast<uint32_t *>(malloc(size_t(width) * height * 4));
    if (state.canvas == nullptr || pixels == nullptr)
        return;
    std::fill(pixels, pixels + size_t(width) * height, PAINT_WHITE);
    if (!document_open(&state, pixels, width, height, "/nonexistent/fill.png", KIND_PNG))
        return;
    state.tools.tool = TOOL_FILL;
    const vollo_position centre = {VIEW_LEFT + VIEW_WIDTH / 2, VIEW_TOP + VIEW_HEIGHT / 2};
    std::vector<double> fills, undos;
    for (int i = 0; i < 5; i++)
    {
        state.color = i % 2 ? PAINT_WHITE : PAINT_BLACK;
        const Clock::time_point start = Clock::now();
        stroke_release(&state, &state.tools, centre);
        document_refresh(&state);
        fills.push_back(milliseconds_since(start));
    }
    const Clock::time_point start = Clock::now();
    history_undo(&state.history, state.document->picture);
    document_touch(&state, paint_rect{0, 0, int32_t(width) - 1, int32_t(height) - 1});
    document_refresh(&state);
    undos.push_back(milliseconds_since(start));
    printf("Fill of the whole 6000 x 4000 picture, in this process, median of 5:\n");
    printf("  fill, release to view drawn  %7.1f ms   (target under 100 ms)\n", median(fills));
    printf("  its undo                     %7.1f ms\n", median(undos));
    printf("  undo history after 5 fills   %7.1f KiB  (the picture is %.1f MiB)\n",
           state.history.bytes / 1024.0, width * double(height) * 4 / 1048576.0);
    document_close(&state);
    vollo_delete_clipable(state.canvas);
}

// A long stroke across most of the 6000 x 4000 photo at fit, in this process, journalled
// in `folder`: one stamp a tick of 10 ms (the clock given to the journal advances so),
// the journal's cost in each tick, and the bytes of each record of the stroke under way.
void journal_bench(const std::string &photo, const std::string &folder)
{
    paint_state state = {};
    state.color = PAINT_BLACK;
    state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    uint32_t width = 0, height = 0;
    uint32_t *pixels = vollo_decode_picture(photo.c_str(), &width, &height);
    if (state.canvas == nullptr || pixels == nullptr || chdir(folder.c_str()) != 0 ||
        !document_open(&state, pixels, width, height, photo.c_str(), KIND_JPEG))
        return;
    std::string reason;
    state.journal = journal_start(drawing_of(&state), photo.c_str(), &reason);
    if (state.journal == nullptr)
        return;
    state.tools.tool = TOOL_CIRCLE;
    state.tools.radius = 40;
    std::vector<double> ticks, records;
    double now = journal_now(), worst = 0;
    // Rows 40 screen pixels apart across the view, 8 pixels a tick, there and back.
    std::vector<vollo_position> path;
    for (int row = 0; row < 12; row++)
        for (int step = 0; step <= VIEW_WIDTH / 8; step++)
            path.push_back({VIEW_LEFT + (row % 2 ? VIEW_WIDTH - 8 * step : 8 * step), VIEW_TOP + 20 + 40 * row});
    stroke_press(&state, path.front());
    for (const vollo_position &point : path)
    {
        stroke_move(&state, point);
        now += 0.01;
        const uint64_t length = state.journal->length;
        const Clock::time_point start = Clock::now();
        journal_tick(&state, now, &reason);
        const double spent = milliseconds_since(start);
        ticks.push_back(spent);
        worst = std::max(worst, spent);
        if (state.journal->length != length)
            records.push_back(double(state.journal->length - length));
    }
    stroke_release(&state, &state.tools, path.back());
    double largest = 0, total = 0;
    for (double bytes : records)
        largest = std::max(largest, bytes), total += bytes;
    printf("Journal during a stroke of %zu stamps across the 6000 x 4000 picture at fit, in this process:\n",
           path.size());
    printf("  records of the stroke under way  %zu, median %.0f KiB, largest %.0f KiB, all %.1f MiB\n",
           records.size(), median(records) / 1024, largest / 1024, total / 1048576);
    printf("  journal's cost in a tick         median %.2f ms, worst %.1f ms   (the tick is 10 ms)\n",
           median(ticks), worst);
    journal_end(state.journal, true);
    state.journal = nullptr;
    document_close(&state);
    vollo_delete_clipable(state.canvas);
}

}  // namespace

int main()
{
    if (getenv("DISPLAY") == nullptr && vt::start_xvfb().empty())
    {
        fprintf(stderr, "bench_drawing: no X display\n");
        return 1;
    }
    Display *display = XOpenDisplay(nullptr);
    char folder[] = "/tmp/bench-drawing-XXXXXX";
    if (display == nullptr || mkdtemp(folder) == nullptr)
        return 1;
    const std::string photo = std::string(folder) + "/photo.jpg";
    if (!vt::make_photo(photo, "6000x4000"))
    {
        fprintf(stderr, "bench_drawing: Pillow could not make the photo\n");
        return 1;
    }
    const int count = 30;
    const double blank = stroke_latency(display, folder, "", "", 1.0, count);
    const double fit_zoom = std::min(double(VIEW_WIDTH) / 6000, double(VIEW_HEIGHT) / 4000);
    const double fit = stroke_latency(display, folder, photo, "", fit_zoom, count);
    const double full = stroke_latency(display, folder, photo, "ctrl+1", 1.0, count);
    printf("Stroke latency, pointer move to the stamp on screen, median of %d stamps:\n", count);
    printf("  blank start               %6.1f ms\n", blank);
    printf("  6000 x 4000 JPEG at fit   %6.1f ms   (%.2f x the blank start's, target at most 1.25)\n",
           fit, fit / blank);
    printf("  6000 x 4000 JPEG at 100 %% %6.1f ms   (%.2f x the blank start's, target at most 1.25)\n",
           full, full / blank);
    XCloseDisplay(display);
    fill_bench();
    journal_bench(photo, folder);
    vt::run_command({"/bin/rm", "-rf", folder});
    return 0;
}
