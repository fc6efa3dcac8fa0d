// The gesture every shape shares: press fixes the first point, the drag shows
// the shape live over the picture, the release paints it as one action, a right
// press drops it.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

namespace
{

bool shift_held()
{
    const uint8_t *keys = vollo_get_keyboard();
    return keys[VOLLO_KEY_LEFT_SHIFT] || keys[VOLLO_KEY_RIGHT_SHIFT];
}

void build(paint_state *state)
{
    const paint_tool_entry *entry = tool_entry(state->tools.tool);
    if (entry != nullptr && entry->shape != nullptr)
        entry->shape(state, &state->run.overlay, state->run.from, state->run.to, shift_held());
    tool_preview_changed(state);
}

} // namespace

int32_t shape_thickness(const paint_state *state)
{
    return state->tools.width < 1 ? 1 : state->tools.width;
}

void shape_press(paint_state *state, tool_point point)
{
    if (!point.on_drawing)
        return;
    state->run.dragging = 1;
    state->run.previewing = 1;
    state->run.from = state->run.to = point.picture;
    build(state);
}

void shape_drag(paint_state *state, tool_point point)
{
    if (!state->run.dragging)
        return;
    state->run.to = point.picture;
    build(state);
}

void shape_release(paint_state *state, tool_point point)
{
    if (!state->run.dragging)
        return;
    state->run.to = point.picture;
    build(state);
    state->run.dragging = 0;
    state->run.previewing = 0;
    tool_commit_overlay(state, &state->run.overlay);
}

void shape_cancel(paint_state *state)
{
    state->run.dragging = 0;
    state->run.previewing = 0;
    tool_preview_changed(state);
}

bool shape_key(paint_state *state, vollo_event_state event, int32_t key)
{
    (void)event;
    if (state->run.dragging && (key == VOLLO_KEY_LEFT_SHIFT || key == VOLLO_KEY_RIGHT_SHIFT))
        build(state);
    return false;
}

void shape_preview(const paint_state *state, vollo_pixelarray *frame)
{
    tool_show(state, &state->run.overlay, frame);
}
