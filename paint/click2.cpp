// Size buttons and the size bar. The bar is driven by `count`, which is always 8 plus
// the size level; it does not track the level exactly after a minus click, and the
// next plus click repaints it from x = 901.
#include "paint.h"

#define BAR_TOP 145
#define BAR_BOTTOM 199
#define BAR_LEFT 901

// The bar is no drawing action: the undo history lets go of what it paints.
static void paint_bar(paint_state *state, int32_t x0, int32_t x1, uint32_t color)
{
    pux_rectangle(state->canvas, x0, BAR_TOP, x1, BAR_BOTTOM, color);
    history_forget(&state->history, paint_rect{x0, BAR_TOP, x1, BAR_BOTTOM});
    journal_pixels(state, paint_rect{x0, BAR_TOP, x1, BAR_BOTTOM});
}

int print_curser_plus(paint_state *state, int32_t *count)
{
    if (*count <= 29)
        paint_bar(state, BAR_LEFT, 5 * *count + 874, PAINT_WHITE);
    *count = *count + 1;
    return 0;
}

int print_curser_minus(paint_state *state, int32_t *count)
{
    if (*count > 7)
        paint_bar(state, 5 * *count + 851, 5 * *count + 899, PAINT_GREY);
    *count = *count - 1;
    return 0;
}

static bool within(vollo_position p, int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
}

// Plus and minus react when the left button comes up on them.
void click_min(vollo_position position, vollo_event_state event, int32_t button,
               paint_state *state, tool_state *size)
{
    static int32_t count = 8;
    const bool release = button == PAINT_LEFT_BUTTON && event == VOLLO_RELEASED;

    if (release && within(position, 925, 993, 55, 113) && size->level < PAINT_MAX_LEVEL)
    {
        size->width += PAINT_STEP;
        size->height += PAINT_STEP;
        size->radius += PAINT_STEP;
        print_curser_plus(state, &count);
        size->level++;
    }
    else if (release && within(position, 927, 995, 15, 32) && size->level > 0)
    {
        size->width -= PAINT_STEP;
        size->height -= PAINT_STEP;
        size->radius -= PAINT_STEP;
        print_curser_minus(state, &count);
        size->level--;
    }
    click_win_col(position, event, button, state);
}
