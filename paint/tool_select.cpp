// The rectangular selection, M: a drag selects a rectangle of the drawing, shown
// with a dashed outline over it; a drag that starts inside moves its pixels and
// leaves white behind, as one action. A paste (Ctrl+V) floats the same way until
// a click outside it, Enter or another tool lands it, as one action too.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "rect.h"
#include "state.h"

#define SELECT_DASH 4 // pixels per dash of the outline

namespace
{

bool floating(const paint_state *state)
{
    return !rect_empty(state->run.floating.area);
}

// Forgets the floating pixels without landing them.
void drop(paint_state *state)
{
    overlay_reset(&state->run.floating, PAINT_NO_RECT);
    state->run.lifted = PAINT_NO_RECT;
    state->run.moving = 0;
}

// The selected pixels of the drawing start floating where they are.
bool lift(paint_state *state)
{
    const paint_rect r = rect_common(state->selection, tool_limit(state));
    const vollo_pixelarray *drawing = drawing_of(state);
    if (rect_empty(r) || drawing == nullptr)
        return false;
    paint_overlay &floating = state->run.floating;
    overlay_reset(&floating, r);
    const size_t width = size_t(r.x1 - r.x0 + 1);
    for (int32_t y = r.y0; y <= r.y1; y++)
        std::memcpy(&floating.pixels[size_t(y - r.y0) * width],
                    &drawing->pixels[size_t(y) * drawing->width + size_t(r.x0)], width * 4);
    std::fill(floating.painted.begin(), floating.painted.end(), uint8_t(1));
    state->run.lifted = r;
    return true;
}

// The screen pixels that show drawing pixels `r`.
paint_rect on_screen(const paint_state *state, paint_rect r)
{
    if (state->document == nullptr)
        return r;
    const paint_view &view = state->document->view;
    const auto at = [&](int32_t origin, double offset, double edge) {
        return int32_t(std::max(-1e9, std::min(1e9, origin + offset + edge)));
    };
    const double z = view.zoom;
    return paint_rect{at(VIEW_LEFT, view.left, std::floor(r.x0 * z)),
                      at(VIEW_TOP, view.top, std::floor(r.y0 * z)),
                      at(VIEW_LEFT, view.left, std::ceil((r.x1 + 1.0) * z)) - 1,
                      at(VIEW_TOP, view.top, std::ceil((r.y1 + 1.0) * z)) - 1};
}

// The border of `r`, black and white dashes, where it lies in the drawing area.
void dashes(vollo_pixelarray *frame, paint_rect r)
{
    const paint_rect area = PAINT_LAYOUT.drawing_area.drawn;
    const auto dot = [&](int32_t x, int32_t y, int32_t along) {
        if (rect_contains(area, vollo_position{x, y}))
            frame->pixels[size_t(y) * frame->width + size_t(x)] =
                (along / SELECT_DASH) % 2 ? PAINT_WHITE : PAINT_BLACK;
    };
    for (int32_t x = std::max(r.x0, area.x0); x <= std::min(r.x1, area.x1); x++)
    {
        dot(x, r.y0, x);
        dot(x, r.y1, x);
    }
    for (int32_t y = std::max(r.y0, area.y0); y <= std::min(r.y1, area.y1); y++)
    {
        dot(r.x0, y, y);
        dot(r.x1, y, y);
    }
}

// The floating pixels that lie on the drawing, as the preview shows them.
void show_floating(const paint_state *state, vollo_pixelarray *frame)
{
    const paint_overlay &all = state->run.floating;
    const paint_rect limit = tool_limit(state), r = rect_common(all.area, limit);
    if (rect_contains(limit, all.area) || rect_empty(r))
    {
        tool_show(state, &all, frame);
        return;
    }
    paint_overlay cut;
    overlay_reset(&cut, r);
    const size_t from = size_t(all.area.x1 - all.area.x0 + 1), to = size_t(r.x1 - r.x0 + 1);
    for (int32_t y = r.y0; y <= r.y1; y++)
    {
        const size_t a = size_t(y - all.area.y0) * from + size_t(r.x0 - all.area.x0);
        std::memcpy(&cut.pixels[size_t(y - r.y0) * to], &all.pixels[a], to * 4);
        std::memcpy(&cut.painted[size_t(y - r.y0) * to], &all.painted[a], to);
    }
    tool_show(state, &cut, frame);
}

}  // namespace

void selection_outline(const paint_state *state, vollo_pixelarray *frame)
{
    if (!rect_empty(state->selection))
        dashes(frame, on_screen(state, state->selection));
}

namespace
{

void preview_select(const paint_state *state, vollo_pixelarray *frame)
{
    const tool_run &run = state->run;
    if (!floating(state))
    {
        selection_outline(state, frame);
        return;
    }
    if (!rect_empty(run.lifted))
    {
        paint_overlay white;
        overlay_reset(&white, run.lifted);
        std::fill(white.pixels.begin(), white.pixels.end(), PAINT_WHITE);
        std::fill(white.painted.begin(), white.painted.end(), uint8_t(1));
        tool_show(state, &white, frame);
    }
    show_floating(state, frame);
    dashes(frame, on_screen(state, rect_common(run.floating.area, tool_limit(state))));
}

void press_select(paint_state *state, tool_point point)
{
    tool_run &run = state->run;
    const vollo_position p = point.picture;
    if (!floating(state) && point.on_drawing && rect_contains(state->selection, p))
        lift(state);
    if (floating(state) && rect_contains(run.floating.area, p))
    {
        run.moving = 1;
        run.moved = 0;
        run.grab = vollo_position{p.x - run.floating.area.x0, p.y - run.floating.area.y0};
        return;
    }
    // A press outside lands a paste; outside the selection it clears it.
    if (floating(state))
    {
        selection_commit(state);
        return;
    }
    state->selection = PAINT_NO_RECT;
    const paint_rect limit = tool_limit(state);
    if (point.on_drawing)
    {
        run.selecting = 1;
        run.from = run.to = vollo_position{std::max(limit.x0, std::min(limit.x1, p.x)),
                                           std::max(limit.y0, std::min(limit.y1, p.y))};
    }
    tool_preview_changed(state);
}

void drag_select(paint_state *state, tool_point point)
{
    tool_run &run = state->run;
    const vollo_position p = point.picture;
    if (run.selecting)
    {
        run.to = p;
        const paint_rect r = {std::min(run.from.x, p.x), std::min(run.from.y, p.y),
                              std::max(run.from.x, p.x), std::max(run.from.y, p.y)};
        state->selection = rect_common(r, tool_limit(state));
        tool_preview_changed(state);
    }
    else if (run.moving)
    {
        paint_rect &a = run.floating.area;
        const int32_t x = p.x - run.grab.x, y = p.y - run.grab.y;
        if (x == a.x0 && y == a.y0)
            return;
        a = paint_rect{x, y, x + (a.x1 - a.x0), y + (a.y1 - a.y0)};
        run.moved = 1;
        tool_preview_changed(state);
    }
}

void release_select(paint_state *state, tool_point point)
{
    drag_select(state, point);
    tool_run &run = state->run;
    if (run.selecting)
    {
        run.selecting = 0;
        // A click without a drag clears the selection.
        if (run.from.x == run.to.x && run.from.y == run.to.y)
            state->selection = PAINT_NO_RECT;
    }
    else if (run.moving)
    {
        run.moving = 0;
        // Lifted pixels land at the release; a paste floats on until committed.
        if (!rect_empty(run.lifted))
        {
            if (run.moved)
                selection_commit(state);
            else
                drop(state);
        }
    }
    tool_preview_changed(state);
}

void cancel_select(paint_state *state)
{
    if (state->run.selecting)
        state->selection = PAINT_NO_RECT;
    state->run.selecting = 0;
    if (!rect_empty(state->run.lifted))
        drop(state);
    state->run.moving = 0;
    tool_preview_changed(state);
}

bool modifier(int32_t key)
{
    return key >= VOLLO_KEY_LEFT_CONTROL && key <= VOLLO_KEY_RIGHT_SYSTEM;
}

// Escape drops a paste or the selection (and only then does not end the run);
// Enter lands a paste; any other key lands it before it acts.
bool key_select(paint_state *state, vollo_event_state event, int32_t key)
{
    if (event != VOLLO_PRESSED || modifier(key))
        return false;
    if (key == VOLLO_KEY_ESCAPE && (floating(state) || !rect_empty(state->selection)))
    {
        drop(state);
        state->selection = PAINT_NO_RECT;
        tool_preview_changed(state);
        return true;
    }
    if (!floating(state))
        return false;
    selection_commit(state);
    return key == VOLLO_KEY_ENTER;
}

void choose_select(paint_state *state, bool again)
{
    (void)again;
    state->run.previewing = 1;
    tool_preview_changed(state);
}

void leave_select(paint_state *state)
{
    selection_commit(state);
    state->run.selecting = 0;
    state->run.previewing = 0;
    tool_preview_changed(state);
}

void icon_select(vollo_pixelarray *canvas, paint_rect cell)
{
    const paint_rect r = {cell.x0 + 4, cell.y0 + 10, cell.x1 - 4, cell.y1 - 10};
    pux_rectangle(canvas, r.x0, r.y0, r.x1, r.y1, PAINT_WHITE);
    for (int32_t x = r.x0; x <= r.x1; x++)
        if ((x - r.x0) / SELECT_DASH % 2 == 0)
        {
            pux_rectangle(canvas, x, r.y0, x, r.y0 + 1, PAINT_BLACK);
            pux_rectangle(canvas, x, r.y1 - 1, x, r.y1, PAINT_BLACK);
        }
    for (int32_t y = r.y0; y <= r.y1; y++)
        if ((y - r.y0) / SELECT_DASH % 2 == 0)
        {
            pux_rectangle(canvas, r.x0, y, r.x0 + 1, y, PAINT_BLACK);
            pux_rectangle(canvas, r.x1 - 1, y, r.x1, y, PAINT_BLACK);
        }
}

} // namespace

void selection_commit(paint_state *state)
{
    tool_run &run = state->run;
    if (!floating(state))
        return;
    const paint_rect limit = tool_limit(state);
    const paint_rect from = rect_common(run.lifted, limit), to = rect_common(run.floating.area, limit);
    const paint_rect area = rect_union(rect_empty(from) ? PAINT_NO_RECT : from,
                                       rect_empty(to) ? PAINT_NO_RECT : to);
    vollo_pixelarray *drawing = drawing_of(state);
    if (drawing != nullptr && !rect_empty(area))
    {
        finish_action(state);
        history_cover(&state->history, drawing, area);
        if (!rect_empty(from))
            pux_rectangle(drawing, from.x0, from.y0, from.x1, from.y1, PAINT_WHITE);
        const paint_overlay &f = run.floating;
        const size_t width = size_t(f.area.x1 - f.area.x0 + 1);
        for (int32_t y = to.y0; y <= to.y1; y++)
            std::memcpy(&drawing->pixels[size_t(y) * drawing->width + size_t(to.x0)],
                        &f.pixels[size_t(y - f.area.y0) * width + size_t(to.x0 - f.area.x0)],
                        size_t(to.x1 - to.x0 + 1) * 4);
        document_touch(state, area);
        finish_action(state);
    }
    state->selection = rect_empty(to) ? PAINT_NO_RECT : to;
    drop(state);
    tool_preview_changed(state);
}

bool paste_clipboard(paint_state *state)
{
    vollo_pixelarray *picture = vollo_get_clipboard_pixelarray();
    if (picture == nullptr)
    {
        fprintf(stderr, "pixodraw: nothing pasted: %s\n", vollo_error());
        return false;
    }
    if (state->tools.tool != TOOL_SELECT)
        tool_choose(state, TOOL_SELECT);
    selection_commit(state);
    // The view's top-left corner: the first visible picture pixel on a document.
    vollo_position corner = {VIEW_LEFT, VIEW_TOP};
    if (state->document != nullptr)
    {
        const paint_rect limit = tool_limit(state);
        corner = tool_point_at(state, corner).picture;
        corner = vollo_position{std::max(0, std::min(limit.x1, corner.x)),
                                std::max(0, std::min(limit.y1, corner.y))};
    }
    const paint_rect area = {corner.x, corner.y, corner.x + int32_t(picture->width) - 1,
                             corner.y + int32_t(picture->height) - 1};
    bool pasted = true;
    try
    {
        overlay_reset(&state->run.floating, area);
        std::memcpy(state->run.floating.pixels.data(), picture->pixels,
                    state->run.floating.pixels.size() * 4);
        std::fill(state->run.floating.painted.begin(), state->run.floating.painted.end(),
                  uint8_t(1));
    }
    catch (const std::bad_alloc &)
    {
        fprintf(stderr, "pixodraw: not enough memory to paste a %ux%u picture\n",
                picture->width, picture->height);
        drop(state);
        pasted = false;
    }
    vollo_delete_clipable(picture);
    state->selection = PAINT_NO_RECT;
    tool_preview_changed(state);
    return pasted;
}

extern const paint_tool_entry SELECT_TOOL = {
    TOOL_SELECT,      'M',
    "selection",      "drag a rectangle; drag inside it to move it, leaving white; Escape drops it",
    PANEL_CELL(0, 3), icon_select,
    choose_select,    leave_select,
    press_select,     drag_select,
    release_select,   cancel_select,
    key_select,       nullptr,
    preview_select,   nullptr,
    nullptr,
};
