// The start-up drawing as a table of steps, and the whole interface image computed
// from it, with the test pictures of canvas_util.h in place of the palette and pot.
#ifndef PAINT_INTERFACE_STEPS_H
#define PAINT_INTERFACE_STEPS_H

#include <vector>

#include "canvas_util.h"
#include "interface.h"
#include "state.h"

namespace interface_steps
{
const uint32_t GREY = PAINT_GREY;
const uint32_t WHITE = PAINT_WHITE;
const uint32_t BLACK = PAINT_BLACK;


// One drawing step: for k = 0..slant_count - 1 the rectangle x0..x1, y0..y1 shifted by
// (k * dx, k * dy). A plain rectangle has slant_count 1.
struct Step
{
    int number;
    uint32_t color;
    int x0, x1, y0, y1;
    int slant_count, dx, dy;
};

const Step STEPS_BEFORE_PALETTE[] = {
    {1, GREY, 0, 1049, 0, 799, 1, 0, 0},
    {2, WHITE, 1, 1049, 0, 133, 1, 0, 0},
    {3, WHITE, 211, 839, 200, 727, 1, 0, 0},
    {4, BLACK, 3, 3, 0, 133, 1, 0, 0},
    {4, BLACK, 216, 216, 0, 133, 1, 0, 0},
    {4, BLACK, 429, 429, 0, 133, 1, 0, 0},
    {4, BLACK, 642, 642, 0, 133, 1, 0, 0},
    {4, BLACK, 855, 855, 0, 133, 1, 0, 0},
    {5, BLACK, 105, 105, 0, 133, 1, 0, 0},
    {5, BLACK, 315, 315, 0, 133, 1, 0, 0},
    {6, BLACK, 3, 3, 123, 133, 349, 3, 0},  // the hatch: x = 3, 6, ..., 1047
};

const Step STEPS_AFTER_POT[] = {
    {11, BLACK, 926, 994, 13, 34, 1, 0, 0},
    {12, BLACK, 926, 994, 77, 94, 1, 0, 0},
    {13, BLACK, 951, 969, 55, 114, 1, 0, 0},
    {14, BLACK, 750, 799, 26, 26, 23, -1, 1},
    {15, GREY, 726, 774, 51, 51, 12, -1, 1},
    {16, GREY, 714, 762, 65, 94, 1, 0, 0},
    {17, BLACK, 781, 781, 49, 77, 22, 1, -1},
    {18, GREY, 767, 767, 63, 91, 12, 1, -1},
    {19, WHITE, 881, 1019, 650, 779, 1, 0, 0},
    {20, BLACK, 911, 989, 740, 749, 1, 0, 0},
    {21, BLACK, 921, 979, 670, 749, 1, 0, 0},
    {22, GREY, 951, 951, 700, 769, 30, 1, -1},
};

struct Image
{
    std::vector<uint32_t> pixels = std::vector<uint32_t>(PAINT_WIDTH * PAINT_HEIGHT, 0);
    uint32_t &at(int x, int y) { return pixels[static_cast<size_t>(y) * PAINT_WIDTH + x]; }
    void apply(const Step &step)
    {
        for (int k = 0; k < step.slant_count; k++)
            for (int y = step.y0 + k * step.dy; y <= step.y1 + k * step.dy; y++)
                for (int x = step.x0 + k * step.dx; x <= step.x1 + k * step.dx; x++)
                    at(x, y) = step.color;
    }
    template <typename ColorOf>
    void picture(int left, int width, int height, ColorOf color)
    {
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                at(left + x, y) = color(x, y);
    }
};

// The indicator cell as draw_indicator (tested on its own) leaves it for these settings.
inline void place_indicator(Image &image, uint32_t color, const tool_state &tools)
{
    GuardedCanvas cell(PAINT_WIDTH, PAINT_HEIGHT, 0);
    paint_state cell_state{cell.pixelarray, nullptr, 0, color};
    cell_state.tools = tools;
    draw_indicator(&cell_state);
    const paint_rect r = PAINT_LAYOUT.indicator.drawn;
    for (int y = r.y0; y <= r.y1; y++)
        for (int x = r.x0; x <= r.x1; x++)
            image.at(x, y) = cell.at(x, y);
}

inline Image expected_interface(uint32_t icon_color, const tool_state &tools = tool_state{})
{
    Image image;
    for (const Step &step : STEPS_BEFORE_PALETTE)
        image.apply(step);
    image.picture(430, 212, 123, palette_color);
    image.apply({8, BLACK, 31, 74, 40, 79, 1, 0, 0});
    // Step 9, the circle icon: the disc routine, tested on its own, placed here.
    GuardedCanvas disc(PAINT_WIDTH, PAINT_HEIGHT, 0);
    paint_state disc_state{disc.pixelarray, nullptr, 0, icon_color};
    algo_circle(&disc_state, vollo_position{160, 60}, 30);
    for (int y = 0; y < PAINT_HEIGHT; y++)
        for (int x = 0; x < PAINT_WIDTH; x++)
            if (disc.at(x, y) == icon_color)
                image.at(x, y) = icon_color;
    image.picture(220, 62, 105, pot_color);
    for (const Step &step : STEPS_AFTER_POT)
        image.apply(step);
    place_indicator(image, icon_color, tools);
    return image;
}
}  // namespace interface_steps

#endif
