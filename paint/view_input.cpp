// The view's controls: zoom and scroll keys, the wheel, and the middle button that
// moves the picture with the pointer. Each change is drawn at the next tick.
#include "document.h"
#include "interface.h"
#include "state.h"

namespace
{

const vollo_position centre = {VIEW_LEFT + VIEW_WIDTH / 2, VIEW_TOP + VIEW_HEIGHT / 2};

bool held(int32_t left_key, int32_t right_key)
{
    const uint8_t *keys = vollo_get_keyboard();
    return keys[left_key] || keys[right_key];
}

bool in_view(vollo_position p)
{
    return p.x >= VIEW_LEFT && p.x < VIEW_LEFT + VIEW_WIDTH && p.y >= VIEW_TOP &&
           p.y < VIEW_TOP + VIEW_HEIGHT;
}

void changed(paint_state *state)
{
    state->document->stale = 1;
    request_present(state, 1);
}

// Control with a key: the zoom keys; false for any other key.
bool zoom_key(paint_view *view, int32_t key)
{
    if (key == VOLLO_KEY_0 || key == VOLLO_KEY_NUMPAD_0)
        view_reset(view, view->width, view->height);
    else if (key == VOLLO_KEY_1 || key == VOLLO_KEY_NUMPAD_1)
        view_zoom(view, 1.0, centre);
    else if (key == VOLLO_KEY_EQUAL || key == VOLLO_KEY_ADD)
        view_zoom(view, view_step(view, 1), centre);
    else if (key == VOLLO_KEY_HYPHEN || key == VOLLO_KEY_SUBTRACT)
        view_zoom(view, view_step(view, -1), centre);
    else
        return false;
    return true;
}

// Arrows and Home; false for any other key.
bool scroll_key(paint_view *view, int32_t key)
{
    // Left, Right, Up, Down: the picture moves the other way, showing what lies there.
    static const int64_t moves[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    if (key >= VOLLO_KEY_LEFT && key < VOLLO_KEY_LEFT + 4)
        view_scroll(view, moves[key - VOLLO_KEY_LEFT][0] * VIEW_SCROLL_STEP,
                    moves[key - VOLLO_KEY_LEFT][1] * VIEW_SCROLL_STEP);
    else if (key == VOLLO_KEY_HOME)
        view_home(view);
    else
        return false;
    return true;
}

}  // namespace

bool view_key(paint_state *state, vollo_event_state event, int32_t key)
{
    if (state->document == nullptr || event != VOLLO_PRESSED)
        return false;
    paint_view *view = &state->document->view;
    const bool control = held(VOLLO_KEY_LEFT_CONTROL, VOLLO_KEY_RIGHT_CONTROL);
    if (!(control ? zoom_key(view, key) : scroll_key(view, key)))
        return false;
    changed(state);
    return true;
}

vollo_response set_wheel_response(int32_t wheel, int32_t delta, void *data)
{
    paint_state *state = static_cast<paint_state *>(data);
    if (!picture_ready(state, true))
        return 1;
    const vollo_position pointer = pointer_position();
    // Over the minus and plus buttons the wheel changes the size, a step per notch.
    const paint_rect sizes = {PAINT_LAYOUT.minus.click.x0 - 2, PAINT_LAYOUT.minus.drawn.y0,
                              PAINT_LAYOUT.minus.click.x1, PAINT_LAYOUT.plus.drawn.y1};
    if (state != nullptr && rect_contains(sizes, pointer))
    {
        for (int32_t notch = 0; notch < (delta > 0 ? delta : -delta) && notch < 31; notch++)
            size_step(state, delta > 0 ? 1 : -1);
        return VOLLO_CONTINUE;
    }
    if (state == nullptr || state->document == nullptr || delta == 0)
        return VOLLO_CONTINUE;
    // More than a screenful of notches at once is no person's wheel.
    delta = delta < -64 ? -64 : delta > 64 ? 64 : delta;
    paint_view *view = &state->document->view;
    if (held(VOLLO_KEY_LEFT_CONTROL, VOLLO_KEY_RIGHT_CONTROL))
    {
        for (int32_t notch = 0; notch < (delta > 0 ? delta : -delta) && notch < 16; notch++)
            view_zoom(view, view_step(view, delta > 0 ? 1 : -1), in_view(pointer) ? pointer : centre);
    }
    else if (wheel == 1 || held(VOLLO_KEY_LEFT_SHIFT, VOLLO_KEY_RIGHT_SHIFT))
        view_scroll(view, int64_t(delta) * VIEW_SCROLL_STEP, 0);
    else
        view_scroll(view, 0, int64_t(delta) * VIEW_SCROLL_STEP);
    changed(state);
    return VOLLO_CONTINUE;
}

bool view_button(paint_state *state, vollo_event_state event, int32_t button, vollo_position position)
{
    if (state->document == nullptr || button != VOLLO_MOUSE_MIDDLE)
        return false;
    state->document->dragging = event == VOLLO_PRESSED && in_view(position);
    state->document->grab = position;
    return true;
}

bool view_drag(paint_state *state, vollo_position position)
{
    paint_document *document = state->document;
    if (document == nullptr || !document->dragging)
        return false;
    view_scroll(&document->view, int64_t(position.x) - document->grab.x,
                int64_t(position.y) - document->grab.y);
    document->grab = position;
    changed(state);
    return true;
}
