// PIXODRAW's undo history at its cap and the session journal, each printed beside its
// target and a baseline from the same run (thread CPU time):
// - 20,000 stamps over a noisy drawing (the history reaches its 64 MiB cap), 6,000 of them
//   over the size bar; then one more stamp, undo and plus click, against the same on an
//   empty history;
// - the journal's CPU share during 60 s of steady drawing (a circle of size 50 moved every
//   tick, a new stroke every half second, 100 ticks a second, the clock simulated but
//   every write and sync real), against the drawing's own CPU.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"
#include "xvfb.hpp"

namespace
{
namespace vt = vollo_test;

double thread_milliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The drawing area full of noise: every stamp's difference is literal words.
void noisy(vollo_pixelarray *canvas)
{
    std::mt19937 random(7);
    for (uint32_t i = 0; i < canvas->width * canvas->height; i++)
        canvas->pixels[i] = 0xFF000000u | (random() & 0xFFFFFF);
}

// One action over a 40 x 40 square that leaves noise there (as a photo's pixels would
// be), so that every step holds 1,600 literal words and the cap comes within 20,000.
void stamp(paint_state *state, std::mt19937 &random, bool on_the_bar)
{
    const int32_t x = on_the_bar ? 901 + int32_t(random() % 120) : 211 + int32_t(random() % 590);
    const int32_t y = on_the_bar ? 145 + int32_t(random() % 30) : 200 + int32_t(random() % 490);
    const paint_rect area = {x, y, x + 39, y + 39};
    history_cover(&state->history, state->canvas, area);
    for (int32_t row = area.y0; row <= area.y1; row++)
        for (int32_t column = area.x0; column <= area.x1; column++)
            state->canvas->pixels[row * PAINT_WIDTH + column] = 0xFF000000u | (random() & 0xFFFFFF);
    finish_action(state);
}

struct Costs
{
    double stamp, undo, plus;
};

// The median of 21 single stamps, undos (each redone after) and plus clicks.
Costs one_more(paint_state *state, std::mt19937 &random)
{
    std::vector<double> stamps, undos, pluses;
    for (int run = 0; run < 21; run++)
    {
        double start = thread_milliseconds();
        stamp(state, random, run % 3 == 0);
        stamps.push_back(thread_milliseconds() - start);
        start = thread_milliseconds();
        history_undo(&state->history, state->canvas);
        undos.push_back(thread_milliseconds() - start);
        history_redo(&state->history, state->canvas);
        int32_t count = 8 + run % 20;
        start = thread_milliseconds();
        print_curser_plus(state, &count);
        pluses.push_back(thread_milliseconds() - start);
    }
    return {median(stamps), median(undos), median(pluses)};
}

void history_at_cap(vollo_pixelarray *canvas)
{
    std::mt19937 random(11);
    noisy(canvas);
    paint_state empty{canvas, nullptr, 0, PAINT_BLACK};
    const Costs baseline = one_more(&empty, random);
    noisy(canvas);
    paint_state state{canvas, nullptr, 0, PAINT_BLACK};
    const double start = thread_milliseconds();
    for (int n = 0; n < 20000; n++)
        stamp(&state, random, n % 10 < 3);
    const double filling = thread_milliseconds() - start;
    const Costs full = one_more(&state, random);
    std::printf("undo history after 20,000 stamps of 40 x 40 (6,000 over the size bar): %zu steps, "
                "%.1f MiB of %u MiB; the 20,000 took %.0f ms (%.3f ms each)\n",
                state.history.steps.size(), double(state.history.bytes) / (1 << 20),
                PAINT_HISTORY_LIMIT >> 20, filling, filling / 20000);
    std::printf("one more, thread CPU, median of 21 (target: within one tick, 10 ms):\n");
    const char *names[] = {"stamp", "undo", "plus click"};
    const double at_cap[] = {full.stamp, full.undo, full.plus};
    const double empty_history[] = {baseline.stamp, baseline.undo, baseline.plus};
    for (int i = 0; i < 3; i++)
        std::printf("  %-10s at the cap %7.3f ms   with an empty history %7.3f ms   ratio %.2f\n",
                    names[i], at_cap[i], empty_history[i], at_cap[i] / std::max(empty_history[i], 1e-6));
}

// 60 simulated seconds of drawing; the thread CPU of the drawing and of the journal.
void steady_drawing(vollo_pixelarray *canvas, bool journal, double *drawing_ms, double *journal_ms)
{
    paint_state state{canvas, nullptr, 0, PAINT_BLACK};
    state.tools = tool_state{50, 50, 50, TOOL_CIRCLE, 10};
    tool_state &tools = state.tools;
    pux_rectangle(canvas, 0, 0, PAINT_WIDTH - 1, PAINT_HEIGHT - 1, PAINT_GREY);
    pux_rectangle(canvas, 211, 200, 839, 727, PAINT_WHITE);
    if (journal)
        state.journal = journal_start(canvas, nullptr);
    std::mt19937 random(3);
    double now = journal_now();
    *drawing_ms = *journal_ms = 0;
    vollo_position at = {500, 450};
    for (int tick = 0; tick < 6000; tick++, now += 0.01)
    {
        double start = thread_milliseconds();
        if (tick % 50 == 0)
        {
            stroke_release(&state, &tools, at);
            tools.tool = paint_tool(1 + random() % 3);
            state.color = 0xFF000000u | (random() & 0xFFFFFF);
            stroke_press(&state, at);
        }
        at.x = std::min(830, std::max(220, at.x + int32_t(random() % 13) - 6));
        at.y = std::min(720, std::max(210, at.y + int32_t(random() % 13) - 6));
        stroke_move(&state, at);
        *drawing_ms += thread_milliseconds() - start;
        start = thread_milliseconds();
        std::string reason;
        journal_tick(&state, now, &reason);
        *journal_ms += thread_milliseconds() - start;
    }
    journal_end(state.journal, true);
}

void journal_share(vollo_pixelarray *canvas)
{
    // Each stroke's record is written as the action ends, inside the drawing's time: that
    // part is the drawing's time with a journal less its time without one (median of 5).
    std::vector<double> with, without, ticks;
    for (int run = 0; run < 5; run++)
    {
        double drawing = 0, journal = 0, none = 0;
        steady_drawing(canvas, false, &drawing, &none);
        without.push_back(drawing);
        steady_drawing(canvas, true, &drawing, &journal);
        with.push_back(drawing);
        ticks.push_back(journal);
    }
    const double records = std::max(0.0, median(with) - median(without)), total = records + median(ticks);
    std::printf("journal while drawing steadily for 60 s (120 strokes, 6,000 moves), thread CPU, median of 5:\n"
                "  journal %.1f ms = %.3f %% of a core (target < 1 %%): %.1f ms writing finished actions,\n"
                "  %.1f ms in the ticks (the stroke under way, syncs); the drawing without a journal %.1f ms (%.2f %%)\n",
                total, total / 600.0, records, median(ticks), median(without), median(without) / 600.0);
}

}  // namespace

int main()
{
    if (vt::start_xvfb().empty())
    {
        std::printf("bench_history: no Xvfb\n");
        return 1;
    }
    char folder[] = "/tmp/bench_history_XXXXXX";
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0)
        return 1;
    vollo_pixelarray *canvas = vollo_new_pixelarray(PAINT_WIDTH, PAINT_HEIGHT);
    if (canvas == nullptr)
    {
        std::printf("bench_history: no canvas\n");
        return 1;
    }
    history_at_cap(canvas);
    journal_share(canvas);
    vollo_delete_clipable(canvas);
    rmdir(folder);
    return 0;
}
