// A 6000 x 4000 JPEG opened as a document: the real program's time from its start to the
// first frame that shows the photo and its peak resident memory, beside mtPaint's on the
// same file and Pillow's decode, in the same run; the blank start's memory; then, in this process, the cost of drawing a new view of it at
// fit and at 3200 %, against the 10 ms tick.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "bmp.h"
#include "document.h"
#include "interface.h"
#include "state.h"
#include "xvfb.hpp"

// Last: its macros (None, Status, ...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// True when a row of the screen across the middle of `window` shows the photo: its noise
// gives many colours, where a window's interface, a blank canvas or a grey backdrop
// gives few.
bool shows_photo(Display *display, const vt::WindowGeometry &window)
{
    const int x = window.x + window.width / 2 - 32, y = window.y + window.height / 2;
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, 64, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    std::vector<unsigned long> colours;
    for (int i = 0; i < 64; i++)
        colours.push_back(XGetPixel(image, i, 0) & 0xFFFFFF);
    XDestroyImage(image);
    std::sort(colours.begin(), colours.end());
    return std::unique(colours.begin(), colours.end()) - colours.begin() >= 16;
}

// True when the middle of `window` shows a white canvas: the blank start's first frame.
bool shows_white(Display *display, const vt::WindowGeometry &window)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), window.x + window.width / 2,
                              window.y + window.height / 2, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    const bool white = (XGetPixel(image, 0, 0) & 0xFFFFFF) == 0xFFFFFF;
    XDestroyImage(image);
    return white;
}

// Starts `argv` and waits until its window shows what `shown` looks for; then its peak
// memory after a moment (and, for PIXODRAW on the photo, a few view changes).
Opening open_once(Display *display, const std::vector<std::string> &argv, bool view_changes,
                  bool (*shown)(Display *, const vt::WindowGeometry &) = shows_photo)
{
    Opening result;
    vt::ChildProcess program;
    const Clock::time_point start = Clock::now();
    if (!program.start(argv))
        return result;
    const vt::WindowId window = vt::find_window_by_pid(program.pid(), std::chrono::milliseconds(20000));
    if (window == 0)
        return result;
    std::optional<vt::WindowGeometry> place;
    if (!vt::wait_until([&] {
            place = vt::window_geometry(window);
            return place && place->viewable && shown(display, *place);
        }, std::chrono::milliseconds(20000), std::chrono::milliseconds(1)))
        return result;
    result.first_frame_ms = milliseconds_since(start);
    if (view_changes)
        vt::xdotool({"key", "ctrl+1", "ctrl+plus", "ctrl+0"});
    usleep(1500000);
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

// Pillow writing the photo as PNG at compress level 1, median of 3, in ms.
double pillow_png_ms(const std::string &photo, const std::string &out)
{
    const char *script =
        "import sys, time\n"
        "from PIL import Image\n"
        "im = Image.open(sys.argv[1]); im.load()\n"
        "times = []\n"
        "for i in range(3):\n"
        "    start = time.perf_counter(); im.save(sys.argv[2], compress_level=1)\n"
        "    times.append((time.perf_counter() - start) * 1000)\n"
        "print(sorted(times)[1])\n";
    const vt::CommandResult run =
        vt::run_command({"/usr/bin/python3", "-c", script, photo, out}, "", std::chrono::milliseconds(300000));
    return run.succeeded() ? std::atof(run.output.c_str()) : -1;
}

// Ctrl+E's export of the whole picture into `folder`, median of 3, in ms.
double export_ms(const vollo_pixelarray *picture, const std::string &folder)
{
    std::vector<double> times;
    for (int i = 0; i < 3; i++)
    {
        const Clock::time_point start = Clock::now();
        char *path = export_png_numbered(picture, paint_rect{0, 0, int32_t(picture->width) - 1,
                                                             int32_t(picture->height) - 1},
                                         folder.c_str(), time(nullptr));
        times.push_back(milliseconds_since(start));
        if (path != nullptr)
            unlink(path);
        free(path);
    }
    return median(times);
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
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    // Each start in a folder of its own, so that none finds the journal of the one before.
    std::vector<double> frames, peaks, other_frames, other_peaks;
    for (int run = 0; run < 3; run++)
    {
        const std::string directory = std::string(folder) + "/run-" + std::to_string(run);
        mkdir(directory.c_str(), 0700);
        const Opening opening = open_once(display, {"/usr/bin/env", "-C", directory, PIXODRAW_BINARY, photo}, true);
        frames.push_back(opening.first_frame_ms);
        peaks.push_back(opening.peak);
        const Opening other = open_once(display, {"/usr/bin/mtpaint", photo}, false);
        other_frames.push_back(other.first_frame_ms);
        other_peaks.push_back(other.peak);
    }
    // The blank start opens no picture: its first frame is what the window and the
    // graphics driver cost before any decoding.
    std::vector<double> blank_frames, blank_peaks;
    for (int run = 0; run < 3; run++)
    {
        const std::string directory = std::string(folder) + "/blank-" + std::to_string(run);
        mkdir(directory.c_str(), 0700);
        const Opening blank = open_once(display, {"/usr/bin/env", "-C", directory, PIXODRAW_BINARY}, false, shows_white);
        blank_frames.push_back(blank.first_frame_ms);
        blank_peaks.push_back(blank.peak);
    }
    const double blank_frame = median(blank_frames), blank_peak = median(blank_peaks);
    XCloseDisplay(display);
    const double pillow = pillow_ms(photo);
    const double frame = median(frames), other_frame = median(other_frames);
    const double peak = median(peaks), other_peak = median(other_peaks);
    printf("6000 x 4000 JPEG opened, until the photo shows at the window's middle, median of 3 runs:\n");
    printf("  PIXODRAW first frame     %8.0f ms   (%.2f x mtPaint's, target at most 0.5)\n", frame,
           frame / other_frame);
    printf("  mtPaint first frame      %8.0f ms\n", other_frame);
    printf("  PIXODRAW peak memory     %8.0f MiB  (%.2f x mtPaint's, target at most 1.5)\n", peak,
           peak / other_peak);
    printf("  mtPaint peak memory      %8.0f MiB\n", other_peak);
    printf("  Pillow's decode to RGBA  %8.0f ms   (median of 15, same file)\n", pillow);
    printf("Blank start, median of 3:\n");
    printf("  first frame              %8.0f ms   (%.2f x mtPaint's first frame of the photo)\n", blank_frame,
           blank_frame / other_frame);
    printf("  peak memory              %8.0f MiB  (target at most 80 MiB)\n", blank_peak);

    paint_state state = {};
    state.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    uint32_t width = 0, height = 0;
    const Clock::time_point decode_start = Clock::now();
    uint32_t *pixels = vollo_decode_picture(photo.c_str(), &width, &height);
    const double decode = milliseconds_since(decode_start);
    // The smallest decode there is: 1/8 of each side, as small as libjpeg goes.
    uint32_t eighth_width = 0, eighth_height = 0;
    const Clock::time_point eighth_start = Clock::now();
    free(vollo_decode_picture_scaled(photo.c_str(), 750, 500, &eighth_width, &eighth_height));
    const double eighth = milliseconds_since(eighth_start);
    const Clock::time_point open_start = Clock::now();
    if (state.canvas == nullptr || pixels == nullptr ||
        !document_open(&state, pixels, width, height, photo.c_str(), KIND_JPEG))
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
    printf("  decode at 1/8 (scaled, 750 x 500) %3.0f ms   (%.2f x mtPaint's first frame)\n", eighth,
           eighth / other_frame);
    printf("  pyramid of halved copies       %6.0f ms\n", open);
    printf("View change of the 24-megapixel picture, median of %d:\n", runs);
    printf("  at fit                   %8.2f ms   (%.0f %% of the 10 ms tick)\n", at_fit, at_fit * 10);
    printf("  at 50 %%                  %8.2f ms   (%.0f %% of the tick)\n", at_half, at_half * 10);
    printf("  at 3200 %%                %8.2f ms   (%.0f %% of the tick)\n", at_most, at_most * 10);
    const double exported = export_ms(state.document->picture, folder);
    const std::string pillow_out = std::string(folder) + "/pillow.png";
    const double pillow_png = pillow_png_ms(photo, pillow_out);
    unlink(pillow_out.c_str());
    printf("Ctrl+E of the 24-megapixel picture, median of 3:\n");
    printf("  PIXODRAW (libpng, zlib level 1)  %6.0f ms   (target under 1000 ms; %.2f x Pillow's, target at most 0.45)\n",
           exported, exported / pillow_png);
    printf("  Pillow, compress level 1         %6.0f ms\n", pillow_png);
    document_close(&state);
    vollo_delete_clipable(state.canvas);
    unlink(photo.c_str());
    rmdir(folder);
    return 0;
}
