// PIXODRAW's drawing costs, each printed beside its target and a baseline from the same run:
// - idle CPU of the real program (all its threads, from /proc/PID/stat) over 10 s on a
//   private Xvfb, against a window that uploads and shows the canvas at every tick;
// - (thread CPU time, the median of 9 runs) a 1,000-pixel stroke at size 150 with each tool, in two moves and in 1,000 one-pixel
//   moves, against stamping the whole shape at every pixel of the path;
// - the fill of the whole empty drawing area, against a fill that pushes every neighbour;
// - the memory of 100 undo steps of size-150 stamps, against keeping each stamp's
//   rectangle before and after.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "interface.h"
#include "state.h"
#include "xvfb.hpp"

namespace
{
namespace vt = vollo_test;
using Clock = std::chrono::steady_clock;

// Drawing runs on one thread; its CPU time is what a tick has to fit, and unlike wall time
// it does not grow when other programs share the machine.
double thread_milliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

double milliseconds_since(double start)
{
    return thread_milliseconds() - start;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// User plus system CPU seconds of a process, all threads, from /proc/PID/stat.
double process_cpu_seconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t end_of_name = text.rfind(')');
    if (end_of_name == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(end_of_name + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    // Fields 3 to 13, then utime (14) and stime (15).
    for (int i = 3; i <= 13; i++)
        fields >> field;
    fields >> user >> system;
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

double self_cpu_seconds()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// What a canvas shown at every tick costs: a window of PIXODRAW's size that blits and
// shows a 1050 x 800 pixel array 100 times a second, as PIXODRAW did before it rested.
struct PresentEveryTick
{
    vollo_window *window;
    vollo_pixelarray *canvas;
    Clock::time_point stop_at;
};

vollo_response present_every_tick(void *data)
{
    PresentEveryTick *run = static_cast<PresentEveryTick *>(data);
    vollo_blit(run->window, run->canvas, nullptr);
    vollo_display(run->window);
    return Clock::now() >= run->stop_at ? 0 : VOLLO_CONTINUE;
}

double present_every_tick_percent(double seconds)
{
    PresentEveryTick run;
    run.window = vollo_start(PAINT_WIDTH, PAINT_HEIGHT, false, "baseline");
    if (run.window == nullptr)
        return -1;
    run.canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    vollo_set_loop_main_function(present_every_tick);
    const double cpu = self_cpu_seconds();
    run.stop_at = Clock::now() + std::chrono::milliseconds(int(seconds * 1000));
    vollo_loop(run.window, 100, &run);
    const double used = self_cpu_seconds() - cpu;
    vollo_set_loop_main_function(nullptr);
    vollo_delete_clipable(run.canvas);
    vollo_stop(run.window);
    return used / seconds * 100.0;
}

void idle_cpu()
{
    const double seconds = 10.0;
    std::unique_ptr<vt::ChildProcess> program = std::make_unique<vt::ChildProcess>();
    if (!program->start({PIXODRAW_BINARY}))
    {
        std::printf("idle CPU: pixodraw did not start\n");
        return;
    }
    const vt::WindowId window = vt::find_window_by_pid(program->pid());
    if (window == 0 || !vt::move_window_to_origin(window))
    {
        std::printf("idle CPU: no pixodraw window\n");
        return;
    }
    // Past the start-up presents, with the pointer away from the window.
    vt::mouse_move(1200, 1000);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double start = process_cpu_seconds(program->pid());
    std::this_thread::sleep_for(std::chrono::milliseconds(int(seconds * 1000)));
    const double idle = (process_cpu_seconds(program->pid()) - start) / seconds * 100.0;
    program->kill_now(9);
    const double baseline = present_every_tick_percent(3.0);
    std::printf("idle pixodraw, %.0f s, all threads   %7.2f%% of a core   (target < 2%%)\n", seconds,
                idle);
    std::printf("baseline: present every tick        %7.2f%% of a core   (%.0fx the idle cost)\n",
                baseline, idle > 0 ? baseline / idle : 0.0);
}

// A canvas with the drawing area white on grey, as PIXODRAW starts.
void blank(vollo_pixelarray *canvas)
{
    pux_rectangle(canvas, 0, 0, PAINT_WIDTH - 1, PAINT_HEIGHT - 1, PAINT_GREY);
    pux_rectangle(canvas, 211, 200, 839, 727, PAINT_WHITE);
}

// The path: 620 pixels right along the top of the drawing area, then 380 down.
const vollo_position PATH[] = {{215, 205}, {835, 205}, {835, 585}};

void stroke_with_moves(paint_state *state, tool_state *tools, bool one_pixel_moves)
{
    stroke_press(state, PATH[0]);
    for (int piece = 0; piece < 2; piece++)
    {
        if (!one_pixel_moves)
            stroke_move(state, PATH[piece + 1]);
        else
            for (vollo_position p : line_points(PATH[piece], PATH[piece + 1]))
                stroke_move(state, p);
    }
    stroke_release(state, tools, PATH[2]);
}

void stroke_naively(paint_state *state, tool_state *tools)
{
    for (int piece = 0; piece < 2; piece++)
        for (vollo_position p : line_points(PATH[piece], PATH[piece + 1]))
        {
            if (tools->tool == 2)
                algo_circle(state, p, tools->radius);
            else
                puxsquare(state->canvas, tools->tool == 3 ? PAINT_WHITE : state->color, p, tools);
        }
}

void strokes(vollo_pixelarray *canvas)
{
    const char *names[] = {"", "square brush", "circle", "eraser"};
    std::printf("1,000-pixel stroke at size 150 (undo recorded), thread CPU, median of 9 (target < 10 ms):\n");
    for (int32_t tool = 1; tool <= 3; tool++)
    {
        tool_state tools = {150, 150, 150, paint_tool(tool), 30};
        double times[3];
        for (int way = 0; way < 3; way++)
        {
            std::vector<double> runs;
            for (int run = 0; run < 9; run++)
            {
                paint_state state{canvas, nullptr, 0, 0xFF2040C0u};
                state.tools = tools;
                blank(canvas);
                const double start = thread_milliseconds();
                if (way < 2)
                    stroke_with_moves(&state, &tools, way == 1);
                else
                    stroke_naively(&state, &tools);
                runs.push_back(milliseconds_since(start));
            }
            times[way] = median(runs);
        }
        std::printf("  %-13s two moves %6.2f ms   1,000 moves %6.2f ms   baseline (every stamp "
                    "whole) %8.2f ms = %.0fx\n",
                    names[tool], times[0], times[1], times[2], times[2] / std::max(times[1], 1e-3));
    }
}

// Pushes all four neighbours of every pixel it fills.
void fill_naively(vollo_pixelarray *canvas, vollo_position seed, uint32_t color)
{
    const uint32_t target = puxcolor(canvas, seed);
    std::vector<vollo_position> stack(1, seed);
    while (!stack.empty())
    {
        const vollo_position p = stack.back();
        stack.pop_back();
        if (p.x < 210 || p.x > 840 || p.y < 200 || p.y > 727 || puxcolor(canvas, p) != target)
            continue;
        puxpixel(canvas, p, color);
        stack.push_back({p.x + 1, p.y});
        stack.push_back({p.x - 1, p.y});
        stack.push_back({p.x, p.y + 1});
        stack.push_back({p.x, p.y - 1});
    }
}

void fills(vollo_pixelarray *canvas)
{
    std::vector<double> bare, recorded, naive;
    tool_state tools = {0, 0, 0, TOOL_FILL, 0};
    for (int run = 0; run < 9; run++)
    {
        blank(canvas);
        double start = thread_milliseconds();
        flood_fill(canvas, vollo_position{500, 500}, 0xFF00FF00u, paint_rect{210, 200, 840, 727});
        bare.push_back(milliseconds_since(start));
        blank(canvas);
        paint_state state{canvas, nullptr, 0, 0xFF00FF00u};
        start = thread_milliseconds();
        stroke_release(&state, &tools, vollo_position{500, 500});
        recorded.push_back(milliseconds_since(start));
        blank(canvas);
        start = thread_milliseconds();
        fill_naively(canvas, vollo_position{500, 500}, 0xFF00FF00u);
        naive.push_back(milliseconds_since(start));
    }
    std::printf("fill of the whole empty drawing area (629 x 528), thread CPU, median of 9 (target < 5 ms):\n");
    std::printf("  scanline %6.2f ms   with undo recorded %6.2f ms   baseline (every neighbour "
                "pushed) %6.2f ms = %.0fx\n",
                median(bare), median(recorded), median(naive), median(naive) / median(bare));
}

// 100 size-150 stamps, squares, discs and eraser by turns, at random places and in random
// colours, on the empty canvas or on a picture of noise (where nothing compresses).
void history_memory(vollo_pixelarray *canvas, bool noise)
{
    blank(canvas);
    std::mt19937 random(7);
    if (noise)
        for (uint32_t i = 0; i < canvas->width * canvas->height; i++)
            canvas->pixels[i] = 0xFF000000u | (random() & 0xFFFFFFu);
    paint_state state{canvas, nullptr, 0, 0};
    std::uniform_int_distribution<int32_t> x(210, 840), y(200, 727);
    size_t rectangles = 0;
    for (int n = 0; n < 100; n++)
    {
        tool_state tools = {150, 150, 150, paint_tool(1 + n % 3), 30};
        state.color = 0xFF000000u | (random() & 0xFFFFFFu);
        const vollo_position p = {x(random), y(random)};
        stroke_release(&state, &tools, p);
        const paint_rect &area = state.history.steps.back().area;
        rectangles += 2 * sizeof(uint32_t) * size_t(area.x1 - area.x0 + 1) * size_t(area.y1 - area.y0 + 1);
    }
    std::printf("  %-14s %zu steps kept, %6.2f MiB (bound 64 MiB)   baseline (rectangles before "
                "and after) %6.2f MiB = %.1fx\n",
                noise ? "over noise:" : "on the blank:", state.history.steps.size(),
                state.history.bytes / 1048576.0, rectangles / 1048576.0,
                double(rectangles) / double(state.history.bytes));
}
}  // namespace

int main()
{
    if (vt::start_xvfb().empty())
    {
        std::printf("bench_paint: no Xvfb\n");
        return 1;
    }
    vollo_pixelarray *canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    if (canvas == nullptr)
    {
        std::printf("bench_paint: no canvas\n");
        return 1;
    }
    strokes(canvas);
    fills(canvas);
    std::printf("memory of 100 undo steps of size-150 stamps (squares, discs, eraser; random "
                "places and colours):\n");
    history_memory(canvas, false);
    history_memory(canvas, true);
    vollo_delete_clipable(canvas);
    idle_cpu();
    return 0;
}
