// When the canvas is presented. Uploading and showing the canvas costs several
// milliseconds of CPU with a software renderer, so it is done only when the picture
// changed or the window may have lost its contents, and otherwise at a slow heartbeat
// for damage that no event reports.
#include <algorithm>

#include "document.h"
#include "interface.h"
#include "state.h"
#include "terminal.h"

void request_present(paint_state *state, int32_t ticks)
{
    state->present_ticks = std::max(state->present_ticks, ticks);
}

vollo_position pointer_position(void)
{
    // Far enough outside the window that every tool still sees the pointer as out of
    // it, close enough that no arithmetic on it can overflow or reserve memory.
    const int32_t margin = 2 * PAINT_WIDTH;
    vollo_position at = *vollo_get_mouse_position();
    at.x = at.x < -margin ? -margin : at.x > margin ? margin : at.x;
    at.y = at.y < -margin ? -margin : at.y > margin ? margin : at.y;
    return at;
}

vollo_response set_move_response(const vollo_position *move, void *data)
{
    (void)move;
    paint_state *state = static_cast<paint_state *>(data);
    // Moves before any press wait for nothing while the whole picture loads (a press
    // waits for it, and the moves after it see it).
    if (state->loading != nullptr)
        return VOLLO_CONTINUE;
    // A stroke under way waits for an export reading the drawing.
    if (state->stroke.active || state->button_down)
        export_finish(state, true);
    if (view_drag(static_cast<paint_state *>(data), pointer_position()))
        return VOLLO_CONTINUE;
    tool_move(static_cast<paint_state *>(data), pointer_position());
    return VOLLO_CONTINUE;
}

vollo_response set_focus_response(vollo_event_state event, void *data)
{
    if (event == VOLLO_GAINED)
        request_present(static_cast<paint_state *>(data), PAINT_RESIZE_TICKS);
    return VOLLO_CONTINUE;
}

vollo_response set_mouse_enter_response(vollo_event_state event, void *data)
{
    if (event == VOLLO_ENTERED)
        request_present(static_cast<paint_state *>(data), PAINT_RESIZE_TICKS);
    return VOLLO_CONTINUE;
}

vollo_response set_resize_response(uint32_t width, uint32_t height, void *data)
{
    (void)width;
    (void)height;
    request_present(static_cast<paint_state *>(data), PAINT_RESIZE_TICKS);
    return VOLLO_CONTINUE;
}
