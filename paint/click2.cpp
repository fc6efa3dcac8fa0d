// Size buttons and the size bar. The bar is driven by `count`, which is always 8 plus
// the size level; it does not track the level exactly after a minus click, and the
// next plus click repaints it from x = 901.
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

// The bar is no drawing action: the undo history lets go of what it paints.
static void paint_bar(paint_state *state, int32_t x0, int32_t x1, uint32_t color)
{
    const paint_rect bar = PAINT_LAYOUT.size_bar.drawn;
    pux_rectangle(state->canvas, x0, bar.y0, x1, bar.y1, color);
    // A document's history and journal hold picture pixels, which the bar never touches.
    if (state->document == nullptr)
    {
        history_forget(&state->history, paint_rect{x0, bar.y0, x1, bar.y1});
        journal_pixels(state, paint_rect{x0, bar.y0, x1, bar.y1});
    }
}

int print_curser_plus(paint_state *state, int32_t *count)
{
    if (*count <= 29)
        paint_bar(state, PAINT_LAYOUT.size_bar.drawn.x0, 5 * *count + 874, PAINT_WHITE);
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

// Plus and minus react when the left button comes up on them.
void click_min(vollo_position position, vollo_event_state event, int32_t button,
               paint_state *state, tool_state *size)
{
    const bool release = button == VOLLO_MOUSE_LEFT && event == VOLLO_RELEASED;

    if (release && rect_contains(PAINT_LAYOUT.plus.click, position) && size->level < PAINT_MAX_LEVEL)
    {
        size->width += PAINT_STEP;
        size->height += PAINT_STEP;
        size->radius += PAINT_STEP;
        print_curser_plus(state, &state->bar_count);
        size->level++;
    }
    else if (release && rect_contains(PAINT_LAYOUT.minus.click, position) && size->level > 0)
    {
        size->width -= PAINT_STEP;
        size->height -= PAINT_STEP;
        size->radius -= PAINT_STEP;
        print_curser_minus(state, &state->bar_count);
        size->level--;
    }
    click_win_col(position, event, button, state);
}
