// Speed of the path by which the 1050 x 800 canvas reaches the screen 100 times a
// second: the CPU time of staging the pixels (row copies, against a per-pixel
// sf::Image::setPixel loop and a plain memcpy of the same bytes), then whole blits
// and blit-plus-display frames on a window of a private Xvfb (Mesa software GL).
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "graphics.hpp"
#include "bench_timing.hpp"
#include "vollo.h"
#include "xvfb.hpp"

namespace
{

const unsigned width = 1050, height = 800;

}  // namespace

int main()
{
    if (vollo_test::start_xvfb().empty())
    {
        std::fprintf(stderr, "bench_blit: no X display could be started\n");
        return 1;
    }
    sf::Context context;
    vollo_pixelarray *canvas = vollo_new_pixelarray(width, height);
    if (!canvas)
        return 1;
    for (unsigned i = 0; i < width * height; ++i)
        canvas->pixels[i] = 0xFF000000 | (i * 2654435761u >> 8);
    const vollo_graphics::region whole{0, 0, width, height};

    // Staging only: what each blit does on the CPU before the upload.
    double rows = median_ms(101, [&] { vollo_graphics::copy_to_staging_image(canvas, whole); });
    double per_pixel = median_ms(21, [&] {
        for (unsigned y = 0; y < height; ++y)
            for (unsigned x = 0; x < width; ++x)
            {
                uint32_t p = canvas->pixels[y * width + x];
                canvas->image.setPixel(x, y, sf::Color(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24));
            }
    });
    std::vector<uint32_t> copy(width * height);
    double plain = median_ms(101, [&] { std::memcpy(copy.data(), canvas->pixels, copy.size() * 4); });
    std::printf("staging one %ux%u blit (CPU, median):\n", width, height);
    std::printf("  row copies           %8.3f ms\n", rows);
    std::printf("  setPixel per pixel   %8.3f ms  (%.1f times the row copies)\n", per_pixel, per_pixel / rows);
    std::printf("  memcpy of the bytes  %8.3f ms  (row copies take %.2f times as long)\n", plain, rows / plain);

    // Whole blits onto a real window: staging, upload and draw (Mesa's software
    // rasteriser works on threads of this process, so CPU time covers it).
    sf::RenderWindow render(sf::VideoMode(width, height, 32), "bench_blit", sf::Style::Titlebar | sf::Style::Close);
    vollo_window window{};
    window.type = VOLLO_WINDOW;
    window.render_target = &render;
    window.width = width;
    window.height = height;
    window.name = "bench_blit";
    double blit = median_ms(51, [&] { vollo_blit(&window, canvas, nullptr); });
    std::printf("one vollo_blit onto the window (CPU of all threads, median): %.3f ms\n", blit);

    // Frames as the paint program runs them: display, then blit.
    // On a shared machine the wall-clock rate also shows how much CPU others left us;
    // the CPU time per frame tells what a frame costs.
    int frames = 0;
    double start = wall_seconds(), start_cpu = cpu_seconds();
    while (wall_seconds() - start < 2.0)
    {
        vollo_display(&window);
        vollo_blit(&window, canvas, nullptr);
        ++frames;
    }
    double elapsed = wall_seconds() - start, used = cpu_seconds() - start_cpu;
    std::printf("display + blit frames: %.0f per second (%d in %.2f s); the program asks for 100\n",
                frames / elapsed, frames, elapsed);
    std::printf("  CPU per frame %.3f ms, that is %.0f frames per CPU second\n", used / frames * 1e3,
                frames / used);
    vollo_delete_clipable(canvas);
    return 0;
}
