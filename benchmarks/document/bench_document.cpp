// A 6000 x 4000 JPEG opened as a document: the real program's time from its start to the
// first frame on screen and its peak resident memory, beside Pillow's decode of the same
// file in the same run; then, in this process, the cost of drawing a new view of it at
// fit and at 3200 %, against the 10 ms tick.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "document.h"
#include "interface.h"
#include "state.h"
#include "xvfb.hpp"

namespace
{

namespace vt = vollo_test;
using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A photo-like picture: gradients under noise, so that it does not compress to nothing.
bool make_photo(const std::string &path)
{
    const char *script =
        "import sys\n"
        "from PIL import Image\n"
        "size = (6000, 4000)\n"
        "r = Image.linear_gradient('L').resize(size)\n"
        "g = Image.effect_noise(size, 40)\n"
        "b = Image.radial_gradient('L').resize(size)\n"
        "Image.merge('RGB', (r, g, b)).save(sys.argv[1], quality=90)\n";
    return vt::run_command({"/usr/bin/python3", "-c", script, path}, "", std::chrono::milliseconds(120000))
        .succeeded();
}

// Peak resident memory of a process, in MiB (VmHWM), or -1.
double peak_mib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return -1;
}

struct Opening
{
    double first_frame_ms = -1, peak = -1;
};

// Starts the program on the photo and waits until its window shows the interface (drawn
// in the same frame as the first view of the picture).
Opening open_once(const std::string &photo)
{
    Opening result;
    vt::ChildProcess program;
    const Clock::time_point start = Clock::now();
    if (!program.start({PIXODRAW_BINARY, photo}))
        return result;
    const vt::WindowId window = vt::find_window_by_pid(program.pid());
    if (window == 0)
        return result;
    const auto place = vt::window_geometry(window);
    if (!place)
        return result;
    const int x = place->x + 50, y = place->y + 60;  // the square brush's icon, black
    if (!vt::wait_until([&] { return (vt::read_pixel(x, y).value_or(0) & 0xFFFFFF) == 0 &&
                                     (vt::read_pixel(place->x + 951, place->y + 700).value_or(0) &
                                      0xFFFFFF) == (PAINT_GREY & 0xFFFFFF); },
                        std::chrono::milliseconds(20000), std::chrono::milliseconds(2)))
        return result;
    result.first_frame_ms = milliseconds_since(start);
    // A few view changes, so that the peak covers them too.
    vt::xdotool({"key", "ctrl+1", "ctrl+plus", "ctrl+0"});
    usleep(300000);
    result.peak = peak_mib(program.pid());
    program.kill_now(9);
    program.wait_exit();
    return result;
}

double pillow_ms(const std::string &photo)
{
    const vt::CommandResult run =
        vt::run_command({"/usr/bin/python3", PILLOW_TIMER, photo}, "", std::chrono::milliseconds(300000));
    return run.succeeded() ? std::atof(run.output.c_str()) : -1;
}

// Median cost of drawing the view after `change` was applied to it.
template <typename Change>
double view_change_ms(paint_state *state, Change change, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; i++)
    {
        change(&state->document->view, i);
        const Clock::time_point start = Clock::now();
        state->document->stale = 1;
        document_refresh(state);
        times.push_back(milliseconds_since(start));
    }
    return median(times);
}

}  // namespace

int main()
{
    if (getenv("DISPLAY") == nullptr && vt::start_xvfb().empty())
    {
        fprintf(stderr, "bench_document: no X display\n");
        return 1;
    }
    char folder[] = "/tmp/bench-document-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    const std::string photo = std::string(folder) + "/photo.jpg";
    if (!make_photo(photo))
    {
        fprintf(stderr, "bench_document: Pillow could not make the photo\n");
        return 1;
    }
    std::vector<double> frames, peaks;
    for (int run = 0; run < 3; run++)
    {
        const Opening opening = open_once(photo);
        frames.push_back(opening.first_frame_ms);
        peaks.push_back(opening.peak);
    }
    const double pillow = pillow_ms(photo);
    const double frame = median(frames);
    printf("6000 x 4000 JPEG opened as a document, median of 3 runs:\n");
    printf("  time to the first frame  %8.0f ms   (target under 1500 ms; %.1f x Pillow's decode)\n",
           frame, frame / pillow);
    printf("  peak resident memory     %8.0f MiB  (target under 250 MB)\n", median(peaks));
    printf("  Pillow's decode to RGBA  %8.0f ms   (median of 15, same file)\n", pillow);

    paint_state state = {};
    state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    uint32_t width = 0, height = 0;
    const Clock::time_point decode_start = Clock::now();
    uint32_t *pixels = vollo_decode_picture(photo.c_str(), &width, &height);
    const double decode = milliseconds_since(decode_start);
    const Clock::time_point open_start = Clock::now();
    if (state.canvas == nullptr || pixels == nullptr ||
        !document_open(&state, pixels, width, height, photo.c_str()))
        return 1;
    const double open = milliseconds_since(open_start);
    const int runs = 50;
    const double at_fit = view_change_ms(&state, [](paint_view *view, int i) {
        view_reset(view, view->width, view->height);
        view_scroll(view, i % 2 ? 64 : -64, 0);
    }, runs);
    const double at_most = view_change_ms(&state, [](paint_view *view, int i) {
        view->zoom = VIEW_MOST_ZOOM;
        view_scroll(view, i % 2 ? 64 : -64, 32);
    }, runs);
    const double at_half = view_change_ms(&state, [](paint_view *view, int i) {
        view_zoom(view, 0.5, vollo_position{400, 400});
        view_scroll(view, i % 2 ? 64 : -64, 0);
    }, runs);
    printf("In this process:\n");
    printf("  decode (vollo_decode_picture)  %6.0f ms\n", decode);
    printf("  pyramid of halved copies       %6.0f ms\n", open);
    printf("View change of the 24-megapixel picture, median of %d:\n", runs);
    printf("  at fit                   %8.2f ms   (%.0f %% of the 10 ms tick)\n", at_fit, at_fit * 10);
    printf("  at 50 %%                  %8.2f ms   (%.0f %% of the tick)\n", at_half, at_half * 10);
    printf("  at 3200 %%                %8.2f ms   (%.0f %% of the tick)\n", at_most, at_most * 10);
    document_close(&state);
    vollo_delete_clipable(state.canvas);
    unlink(photo.c_str());
    rmdir(folder);
    return 0;
}
