// Speed of the software shapes and built-in text on a 1050 x 800 pixel array (CPU
// time, median of many runs): 10,000 glyphs, a filled rectangle over the whole
// array against a std::fill of the same pixels, and a thousand 20-pixel circles.
// Targets: glyphs under 2 ms, the rectangle within 2 times the fill, circles under 2 ms.
#include <SFML/Graphics.hpp>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.hpp"
#include "vollo.h"
#include "xvfb.hpp"

namespace
{

const unsigned width = 1050, height = 800;

const char *verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace

int main()
{
    if (vollo_test::start_xvfb().empty())
    {
        std::fprintf(stderr, "bench_shapes_text: no X display could be started\n");
        return 1;
    }
    sf::Context context;
    vollo_pixelarray *canvas = vollo_new_pixelarray(width, height);
    if (!canvas)
        return 1;
    std::printf("on a %ux%u pixel array (CPU, median):\n", width, height);

    // 10,000 printable characters, 160 to a line: 63 lines, all inside the array.
    std::string text;
    for (int i = 0; i < 10000; ++i)
    {
        if (i && i % 160 == 0)
            text += '\n';
        text += char(33 + i % 94);
    }
    double glyphs = median_ms(51, [&] { vollo_draw_text(canvas, text.c_str(), {0, 0}, 1, VOLLO_BLACK); });
    double translucent_glyphs =
        median_ms(51, [&] { vollo_draw_text(canvas, text.c_str(), {0, 0}, 1, VOLLO_RGBA(0, 0, 0, 128)); });
    std::printf("  10,000 built-in glyphs        %8.3f ms  (target < 2 ms: %s)\n", glyphs, verdict(glyphs < 2));
    std::printf("    the same, half transparent  %8.3f ms\n", translucent_glyphs);

    double fill = median_ms(101, [&] { std::fill(canvas->pixels, canvas->pixels + width * height, VOLLO_BLUE); });
    double rectangle =
        median_ms(101, [&] { vollo_set_rectangle(canvas, {0, 0}, width, height, VOLLO_BLUE, true); });
    double translucent_rectangle =
        median_ms(21, [&] { vollo_set_rectangle(canvas, {0, 0}, width, height, VOLLO_RGBA(0, 0, 255, 128), true); });
    std::printf("  std::fill of every pixel      %8.3f ms\n", fill);
    std::printf("  filled rectangle, all pixels  %8.3f ms  (%.2f times the fill; target < 2: %s)\n", rectangle,
                rectangle / fill, verdict(rectangle < 2 * fill));
    std::printf("    the same, half transparent  %8.3f ms\n", translucent_rectangle);

    std::mt19937 random(1);
    std::vector<vollo_position> centres(1000);
    for (vollo_position &centre : centres)
        centre = {int32_t(random() % width), int32_t(random() % height)};
    double circles = median_ms(51, [&] {
        for (const vollo_position &centre : centres)
            vollo_set_circle(canvas, centre, 10, VOLLO_RED, true);
    });
    double outlines = median_ms(51, [&] {
        for (const vollo_position &centre : centres)
            vollo_set_circle(canvas, centre, 10, VOLLO_RED, false);
    });
    std::printf("  1,000 filled circles, r = 10  %8.3f ms  (target < 2 ms: %s)\n", circles, verdict(circles < 2));
    std::printf("  1,000 circle outlines, r = 10 %8.3f ms\n", outlines);

    const vollo_position ends[2] = {{10, 20}, {1000, 700}};
    double thick = median_ms(51, [&] { vollo_set_line_width(canvas, ends, 8, VOLLO_GREEN); });
    std::printf("  one 8-pixel line, 1210 long   %8.3f ms\n", thick);
    vollo_delete_clipable(canvas);
    return 0;
}
