// A pixel array blitted onto the window and displayed every frame, against a plain
// SFML program doing the same: texture.update(pixels) and a draw, then display.
// Both run on one window of a private Xvfb (Mesa's software GL), in alternating
// rounds, at the paint program's 1050 x 800 and at 1920 x 1080. The figure is the
// CPU time per frame of all the process's threads (Mesa rasterises on threads of
// its own); the target is at most 1.1 times the plain program.
#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench_timing.hpp"
#include "vollo.h"
#include "xvfb.hpp"

namespace
{

const int frames_per_round = 40, rounds = 7;

// Median over the rounds of the CPU and wall milliseconds per frame of each side.
struct timing
{
    double cpu_ms = 0, wall_ms = 0;
};

timing median_of(std::vector<timing> runs)
{
    timing result;
    std::vector<double> cpu, wall;
    for (const timing &run : runs)
        cpu.push_back(run.cpu_ms), wall.push_back(run.wall_ms);
    std::sort(cpu.begin(), cpu.end()), std::sort(wall.begin(), wall.end());
    result.cpu_ms = cpu[cpu.size() / 2], result.wall_ms = wall[wall.size() / 2];
    return result;
}

timing run_frames(const std::function<void(int)> &frame)
{
    double start = wall_seconds(), start_cpu = cpu_seconds();
    for (int i = 0; i < frames_per_round; ++i)
        frame(i);
    return timing{(cpu_seconds() - start_cpu) * 1e3 / frames_per_round, (wall_seconds() - start) * 1e3 / frames_per_round};
}

bool compare(unsigned width, unsigned height)
{
    sf::RenderWindow render(sf::VideoMode(width, height, 32), "bench_blit", sf::Style::Titlebar | sf::Style::Close);
    vollo_window window{};
    window.type = VOLLO_WINDOW;
    window.render_target = &render;
    window.width = width;
    window.height = height;
    window.name = "bench_blit";
    vollo_pixelarray *canvas = vollo_new_pixelarray(width, height);
    if (!canvas)
        return false;
    const size_t count = size_t(width) * height;
    for (size_t i = 0; i < count; ++i)
        canvas->pixels[i] = 0xFF000000 | uint32_t(i * 2654435761u >> 8);
    // The plain program keeps its own pixels, texture and sprite.
    std::vector<uint32_t> pixels(canvas->pixels, canvas->pixels + count);
    sf::Texture texture;
    if (!texture.create(width, height))
        return false;
    sf::Sprite sprite(texture);

    // Each frame changes one pixel, as a program drawing into its pixels would.
    auto with_vollo = [&](int i) {
        canvas->pixels[size_t(i) * 7919 % count] ^= 0xFFFFFF;
        vollo_blit(&window, canvas, nullptr);
        vollo_display(&window);
    };
    auto plain = [&](int i) {
        pixels[size_t(i) * 7919 % count] ^= 0xFFFFFF;
        texture.update(reinterpret_cast<const sf::Uint8 *>(pixels.data()));
        render.draw(sprite);
        render.display();
    };
    with_vollo(0), plain(0);  // first uploads and GL state out of the way
    std::vector<timing> ours, theirs;
    for (int round = 0; round < rounds; ++round)
    {
        ours.push_back(run_frames(with_vollo));
        theirs.push_back(run_frames(plain));
    }
    const timing a = median_of(ours), b = median_of(theirs);
    const double ratio = a.cpu_ms / b.cpu_ms;
    std::printf("%ux%u pixel array, blit + display per frame (median of %d rounds of %d frames):\n", width, height,
                rounds, frames_per_round);
    std::printf("  vollo        %8.3f ms CPU  %8.3f ms wall\n", a.cpu_ms, a.wall_ms);
    std::printf("  plain SFML   %8.3f ms CPU  %8.3f ms wall\n", b.cpu_ms, b.wall_ms);
    std::printf("  ratio        %8.3f (CPU)   %8.3f (wall); target at most 1.1: %s\n", ratio, a.wall_ms / b.wall_ms,
                ratio <= 1.1 ? "met" : "MISSED");
    vollo_delete_clipable(canvas);
    return true;
}

}  // namespace

int main()
{
    if (vollo_test::start_xvfb().empty())
    {
        std::fprintf(stderr, "bench_blit: no X display could be started\n");
        return 1;
    }
    set_max_heap_size(32);  // a 1920 x 1080 array takes 7.9 MiB beside the other
    return compare(1050, 800) && compare(1920, 1080) ? 0 : 1;
}
