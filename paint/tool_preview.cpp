// Live previews and their commit. A tool's preview is drawn over a copy of the
// canvas made for the present, so the drawing never holds it; at release the
// same pixels land in the drawing as one action.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "rect.h"
#include "state.h"

paint_rect tool_limit(const paint_state *state)
{
    if (state->document == nullptr)
        return PAINT_LAYOUT.drawing_area.drawn;
    const vollo_pixelarray *picture = state->document->picture;
    return paint_rect{0, 0, int32_t(picture->width) - 1, int32_t(picture->height) - 1};
}

void overlay_reset(paint_overlay *overlay, paint_rect area)
{
    overlay->area = area;
    const size_t count =
        area.x0 > area.x1 || area.y0 > area.y1
            ? 0
            : size_t(int64_t(area.x1) - area.x0 + 1) * size_t(int64_t(area.y1) - area.y0 + 1);
    overlay->pixels.assign(count, 0);
    overlay->painted.assign(count, 0);
}

void overlay_span(paint_overlay *overlay, int32_t x0, int32_t x1, int32_t y, uint32_t color)
{
    const paint_rect a = overlay->area;
    if (y < a.y0 || y > a.y1)
        return;
    x0 = std::max(x0, a.x0);
    x1 = std::min(x1, a.x1);
    const size_t row = size_t(y - a.y0) * size_t(a.x1 - a.x0 + 1);
    for (int32_t x = x0; x <= x1; x++)
    {
        overlay->pixels[row + size_t(x - a.x0)] = color;
        overlay->painted[row + size_t(x - a.x0)] = 1;
    }
}

vollo_pixelarray *tool_frame(paint_state *state)
{
    const paint_tool_entry *entry = tool_entry(state->tools.tool);
    const bool previewing = entry != nullptr && entry->preview != nullptr && state->run.previewing;
    // The selection tool draws the outline in its own preview; with any other tool
    // a selection still shows, since the keys that act on it work with every tool.
    const bool outlined = state->tools.tool != TOOL_SELECT && !rect_empty(state->selection);
    if (!previewing && !outlined)
        return state->canvas;
    tool_run &run = state->run;
    if (run.frame == nullptr)
        run.frame = vollo_new_pixelarray(state->canvas->width, state->canvas->height);
    if (run.frame == nullptr)
        return state->canvas;
    std::memcpy(run.frame->pixels, state->canvas->pixels,
                size_t(state->canvas->width) * state->canvas->height * 4);
    if (previewing)
        entry->preview(state, run.frame);
    if (outlined)
        selection_outline(state, run.frame);
    return run.frame;
}

void tool_preview_changed(paint_state *state)
{
    request_present(state, 1);
}

// The overlay pixel shown at a screen position, or null.
static const uint32_t *shown_pixel(const paint_state *state, const paint_overlay *overlay,
                                   int32_t sx, int32_t sy)
{
    int64_t px = sx, py = sy;
    if (state->document != nullptr)
    {
        const paint_view &view = state->document->view;
        px = int64_t(std::floor((sx - VIEW_LEFT - view.left + 1e-9) / view.zoom));
        py = int64_t(std::floor((sy - VIEW_TOP - view.top + 1e-9) / view.zoom));
    }
    const paint_rect a = overlay->area;
    if (px < a.x0 || px > a.x1 || py < a.y0 || py > a.y1)
        return nullptr;
    const size_t index = size_t(py - a.y0) * size_t(a.x1 - a.x0 + 1) + size_t(px - a.x0);
    return overlay->painted[index] ? &overlay->pixels[index] : nullptr;
}

void tool_show(const paint_state *state, const paint_overlay *overlay, vollo_pixelarray *frame)
{
    paint_rect screen = PAINT_LAYOUT.drawing_area.drawn;
    const paint_rect a = overlay->area;
    if (a.x0 > a.x1 || a.y0 > a.y1)
        return;
    if (state->document == nullptr)
        screen = paint_rect{std::max(screen.x0, a.x0), std::max(screen.y0, a.y0),
                            std::min(screen.x1, a.x1), std::min(screen.y1, a.y1)};
    else
    {
        const paint_view &view = state->document->view;
        const double z = view.zoom;
        const int64_t x0 = VIEW_LEFT + view.left + int64_t(std::floor(a.x0 * z));
        const int64_t y0 = VIEW_TOP + view.top + int64_t(std::floor(a.y0 * z));
        const int64_t x1 = VIEW_LEFT + view.left + int64_t(std::ceil((a.x1 + 1.0) * z));
        const int64_t y1 = VIEW_TOP + view.top + int64_t(std::ceil((a.y1 + 1.0) * z));
        screen = paint_rect{
            int32_t(std::max<int64_t>(screen.x0, x0)), int32_t(std::max<int64_t>(screen.y0, y0)),
            int32_t(std::min<int64_t>(screen.x1, x1)), int32_t(std::min<int64_t>(screen.y1, y1))};
    }
    for (int32_t y = screen.y0; y <= screen.y1; y++)
        for (int32_t x = screen.x0; x <= screen.x1; x++)
            if (const uint32_t *pixel = shown_pixel(state, overlay, x, y))
                frame->pixels[size_t(y) * frame->width + size_t(x)] = *pixel;
}

void tool_commit_overlay(paint_state *state, const paint_overlay *overlay)
{
    vollo_pixelarray *drawing = drawing_of(state);
    const paint_rect limit = tool_limit(state), a = overlay->area;
    const paint_rect area = {std::max(limit.x0, a.x0), std::max(limit.y0, a.y0),
                             std::min(limit.x1, a.x1), std::min(limit.y1, a.y1)};
    if (drawing == nullptr || area.x0 > area.x1 || area.y0 > area.y1)
        return;
    history_cover(&state->history, drawing, area);
    const size_t width = size_t(a.x1 - a.x0 + 1);
    for (int32_t y = area.y0; y <= area.y1; y++)
        for (int32_t x = area.x0; x <= area.x1; x++)
        {
            const size_t index = size_t(y - a.y0) * width + size_t(x - a.x0);
            if (overlay->painted[index])
                drawing->pixels[size_t(y) * drawing->width + size_t(x)] = overlay->pixels[index];
        }
    document_touch(state, area);
    finish_action(state);
}
