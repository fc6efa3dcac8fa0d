// The keys of the selection: Ctrl+A selects everything, Ctrl+C puts the selection (or,
// without one, the whole picture) on the system clipboard as a picture, Delete clears
// the selection to white as one action, Ctrl+X does both, Ctrl+V pastes the clipboard's
// picture as floating pixels.
#include <cstdio>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

namespace
{

// What "everything" is: the document's picture, or the blank start's drawing area.
paint_rect everything(const paint_state *state)
{
    const vollo_pixelarray *drawing = drawing_of(state);
    if (state->document != nullptr)
        return paint_rect{0, 0, int32_t(drawing->width) - 1, int32_t(drawing->height) - 1};
    return PAINT_LAYOUT.drawing_area.drawn;
}

bool copy_selection(paint_state *state)
{
    const paint_rect area = state->selection.x0 <= state->selection.x1 ? state->selection : everything(state);
    const vollo_pixelarray *drawing = drawing_of(state);
    vollo_pixelarray *copy = vollo_new_pixelarray(uint32_t(area.x1 - area.x0 + 1), uint32_t(area.y1 - area.y0 + 1));
    if (copy == nullptr)
    {
        fprintf(stderr, "pixodraw: not enough memory to copy the selection\n");
        return false;
    }
    for (uint32_t y = 0; y < copy->height; y++)
        for (uint32_t x = 0; x < copy->width; x++)
            copy->pixels[size_t(y) * copy->width + x] =
                drawing->pixels[size_t(y + uint32_t(area.y0)) * drawing->width + x + uint32_t(area.x0)] | 0xFF000000u;
    const bool copied = vollo_set_clipboard_pixelarray(copy);
    if (!copied)
        fprintf(stderr, "pixodraw: the selection could not be copied: %s\n", vollo_error());
    vollo_delete_clipable(copy);
    return copied;
}

void clear_selection(paint_state *state)
{
    const paint_rect area = state->selection;
    if (area.x0 > area.x1)
        return;
    finish_action(state);
    vollo_pixelarray *drawing = drawing_of(state);
    history_cover(&state->history, drawing, area);
    pux_rectangle(drawing, area.x0, area.y0, area.x1, area.y1, PAINT_WHITE);
    document_touch(state, area);
    finish_action(state);
}

}  // namespace

bool selection_key(paint_state *state, vollo_event_state event, int32_t key)
{
    const uint8_t *keys = vollo_get_keyboard();
    const bool control = keys[VOLLO_KEY_LEFT_CONTROL] || keys[VOLLO_KEY_RIGHT_CONTROL];
    const bool shift = keys[VOLLO_KEY_LEFT_SHIFT] || keys[VOLLO_KEY_RIGHT_SHIFT];
    if (event != VOLLO_PRESSED || shift || (key != VOLLO_KEY_DELETE && !control))
        return false;
    if (key == VOLLO_KEY_A)
    {
        state->selection = everything(state);
        tool_preview_changed(state);
    }
    else if (key == VOLLO_KEY_V && control)
        paste_clipboard(state);
    else if (key == VOLLO_KEY_C)
        copy_selection(state);
    else if (key == VOLLO_KEY_X && copy_selection(state))
        clear_selection(state);
    else if (key == VOLLO_KEY_DELETE && !control)
        clear_selection(state);
    else
        return false;
    return true;
}
