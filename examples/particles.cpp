// Fireworks: a fountain of sparks at the bottom, and a burst wherever you click.
//
// Shows: many small objects updated each frame with vollo_get_frame_time,
// vollo_random for spread, colour and life (and vollo_random_seed for runs that
// repeat), colours fading out through their alpha, and sparks kept in a vector
// that keeps its memory as they come and go.
// Mouse: a click bursts. Escape quits. Options: --seed N (same sparks every run),
// --frames N.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kWidth = 480, kHeight = 360, kMaxSparks = 4000;
const double kGravity = 220;  // pixels a second, each second

struct Spark
{
    double x, y, speed_x, speed_y;
    double life, age;  // seconds it lasts, seconds it has lived
    uint32_t color;    // opaque; faded by age when drawn
};

struct Show
{
    vollo_window *window;
    std::vector<Spark> sparks;
    long frames_left;
};

// A random number from `low` to `high`, in steps of a thousandth.
double random_between(double low, double high)
{
    return low + (high - low) * vollo_random(0, 1000) / 1000.0;
}

void add_spark(Show &show, double x, double y, double angle, double speed, uint32_t color)
{
    if (show.sparks.size() >= kMaxSparks)
        return;
    show.sparks.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, random_between(0.8, 2.0), 0, color});
}

// A burst: sparks in every direction, in one of a few colours.
void burst(Show &show, double x, double y)
{
    const uint32_t colors[] = {VOLLO_YELLOW, VOLLO_CYAN, VOLLO_MAGENTA, VOLLO_ORANGE, VOLLO_GREEN};
    const uint32_t color = colors[vollo_random(0, 4)];
    for (int i = 0; i < 150; ++i)
        add_spark(show, x, y, random_between(0, 2 * M_PI), random_between(20, 180), color);
}

vollo_response on_click(vollo_event_state state, int32_t, void *data)
{
    if (state == VOLLO_PRESSED)
    {
        const vollo_position at = *vollo_get_mouse_position();
        burst(*static_cast<Show *>(data), at.x, at.y);
    }
    return VOLLO_CONTINUE;
}

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

void update(Show &show, double seconds)
{
    // The fountain: a few sparks every frame, upwards in a narrow cone.
    for (int i = 0; i < 6; ++i)
        add_spark(show, kWidth / 2.0, kHeight - 10, random_between(-1.85, -1.29), random_between(220, 330),
                  VOLLO_RGB(255, vollo_random(120, 230), 40));
    // An occasional burst of its own.
    if (vollo_random(1, 60) == 1)
        burst(show, random_between(60, kWidth - 60), random_between(50, 180));
    for (Spark &spark : show.sparks)
    {
        spark.speed_y += kGravity * seconds;
        spark.x += spark.speed_x * seconds;
        spark.y += spark.speed_y * seconds;
        spark.age += seconds;
    }
    // Spent sparks leave the pool; the vector keeps its memory for the next ones.
    show.sparks.erase(std::remove_if(show.sparks.begin(), show.sparks.end(),
                                     [](const Spark &s) { return s.age >= s.life || s.y > kHeight; }),
                      show.sparks.end());
}

vollo_response each_frame(void *data)
{
    Show &show = *static_cast<Show *>(data);
    update(show, std::min(vollo_get_frame_time(), 0.05));
    vollo_fill(show.window, VOLLO_RGB(5, 5, 20));
    for (const Spark &spark : show.sparks)
    {
        const uint32_t alpha = uint32_t(255 * (1 - spark.age / spark.life));
        vollo_set_rectangle(show.window, {int(spark.x), int(spark.y)}, 2, 2, (spark.color & 0xFFFFFFu) | alpha << 24, true);
    }
    const bool last = example_last_frame(show.frames_left, show.window);
    vollo_display(show.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *seed = nullptr;
    Show show = {};
    show.frames_left = example_frames(argc, argv, "--seed", &seed);
    if (seed != nullptr)
        vollo_random_seed(std::strtoull(seed, nullptr, 10));  // else a seed from the clock
    show.sparks.reserve(kMaxSparks);
    show.window = vollo_start(kWidth, kHeight, false, "vollo: particles (click!)");
    if (show.window == nullptr)
    {
        std::fprintf(stderr, "particles: %s\n", vollo_error());
        return 1;
    }
    vollo_set_click_response(on_click);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(show.window, 60, &show);
    vollo_stop(show.window);
    return result == 0 || result == 1 ? 0 : 1;
}
