// The key and click responses and the main function handed to the library's main loop.
#include <cstdio>
#include <string>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "rect.h"
#include "state.h"
#include "terminal.h"

static bool control_held()
{
    const uint8_t *keys = vollo_get_keyboard();
    return keys[VOLLO_KEY_LEFT_CONTROL] || keys[VOLLO_KEY_RIGHT_CONTROL];
}

// Control, Shift and Alt change nothing by themselves.
static bool modifier(int32_t key)
{
    return key == VOLLO_KEY_LEFT_CONTROL || key == VOLLO_KEY_RIGHT_CONTROL || key == VOLLO_KEY_LEFT_SHIFT ||
           key == VOLLO_KEY_RIGHT_SHIFT || key == VOLLO_KEY_LEFT_ALT || key == VOLLO_KEY_RIGHT_ALT;
}

vollo_response set_key_response(vollo_event_state event, int32_t key, void *data)
{
    paint_state *state = static_cast<paint_state *>(data);
    // Keys act on the whole picture, never on its copy shown while it loads.
    if (state != nullptr && !picture_ready(state, true))
        return 1;
    // While an export reads the drawing the view keys go on; any other key, which may
    // change the drawing, waits for it.
    if (state != nullptr && state->exporting != nullptr && event == VOLLO_PRESSED)
    {
        if (view_key(state, event, key) || modifier(key))
            return VOLLO_CONTINUE;
        export_finish(state, true);
    }
    // The colour field and the current tool see keys first (Escape cancels text under way).
    if (data != nullptr && tool_key(static_cast<paint_state *>(data), event, key))
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE && event == VOLLO_PRESSED && data != nullptr &&
        !rect_empty(static_cast<paint_state *>(data)->selection))
    {
        // With a selection shown, Escape clears it; only the next one ends the session.
        static_cast<paint_state *>(data)->selection = PAINT_NO_RECT;
        tool_preview_changed(static_cast<paint_state *>(data));
        return VOLLO_CONTINUE;
    }
    if (key == VOLLO_KEY_ESCAPE && event == VOLLO_PRESSED)
        return 2;
    if (data != nullptr && view_key(static_cast<paint_state *>(data), event, key))
        return VOLLO_CONTINUE;
    if (data != nullptr && selection_key(static_cast<paint_state *>(data), event, key))
        return VOLLO_CONTINUE;
    if (data != nullptr && transform_key(static_cast<paint_state *>(data), event, key))
        return VOLLO_CONTINUE;
    if (data != nullptr)
        history_key(static_cast<paint_state *>(data), event, key);
    if (key == VOLLO_KEY_S && event == VOLLO_PRESSED && data != nullptr && control_held())
        save_now(static_cast<paint_state *>(data));
    if (key == VOLLO_KEY_E && event == VOLLO_PRESSED && data != nullptr && control_held())
        export_now(static_cast<paint_state *>(data));
    return VOLLO_CONTINUE;
}

vollo_response set_mouse_response(vollo_event_state event, int32_t button, void *data)
{
    paint_state *state = static_cast<paint_state *>(data);
    // The library stores the event's coordinates there before calling us.
    const vollo_position position = pointer_position();
    if (!picture_ready(state, true))
        return 1;
    export_finish(state, true);

    if (view_button(state, event, button, position))
        return VOLLO_CONTINUE;
    if (colour_field_click(state, event, button, position) ||
        tool_click(state, event, button, position))
        return VOLLO_CONTINUE;
    const tool_state before = state->tools;
    const uint32_t color = state->color;
    click_pos(position, event, button, state);
    // A choice of tool, size or colour shows in the indicator.
    if (before.tool != state->tools.tool || before.width != state->tools.width ||
        color != state->color)
        draw_indicator(state);
    // Tool buttons, the size bar and stamps may all change the canvas.
    request_present(state, 1);
    if (button == VOLLO_MOUSE_LEFT && event == VOLLO_PRESSED &&
        rect_contains(PAINT_LAYOUT.exit.click, position))
        return 0;
    return VOLLO_CONTINUE;
}

void tool_report(paint_state *state)
{
    if (!state->run.warning.empty())
        fprintf(stderr, "pixodraw: %s\n", state->run.warning.c_str());
    state->run.warning.clear();
}

// The canvas is blitted and shown in the tick of its change.
vollo_response expose(void *data)
{
    paint_state *state = static_cast<paint_state *>(data);
    tool_report(state);

    // SIGINT or SIGTERM: the run ends as by the door, without the dialogue.
    if (stop_signal() != 0)
        return 0;
    export_finish(state, false);
    if (!picture_ready(state, false))
        return 1;
    std::string no_journal;
    if (!journal_tick(state, journal_now(), &no_journal))
        fprintf(stderr, "pixodraw: warning: the journal %s can no longer be written, a crash would lose the drawing: %s\n",
                state->journal->path.c_str(), no_journal.c_str());
    if (document_refresh(state))
        request_present(state, 1);
    if (state->present_ticks > 0)
        state->present_ticks--;
    else if (++state->idle_ticks < PAINT_HEARTBEAT_TICKS)
        return VOLLO_CONTINUE;
    state->idle_ticks = 0;
    vollo_blit(state->window, tool_frame(state), nullptr);
    vollo_display(state->window);
    return VOLLO_CONTINUE;
}
