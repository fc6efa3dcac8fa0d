// The table of tools and the dispatch from the responses to the chosen tool.
#include <algorithm>
#include <cmath>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

extern const paint_tool_entry SQUARE_TOOL, CIRCLE_TOOL, FILL_TOOL, ERASER_TOOL, LINE_TOOL,
    ARROW_TOOL, RECTANGLE_TOOL, ELLIPSE_TOOL, TEXT_TOOL, PICKER_TOOL, SELECT_TOOL;

// The panel and --help list the tools in this order.
const paint_tool_entry *const PAINT_TOOL_TABLE[] = {
    &SQUARE_TOOL, &CIRCLE_TOOL,    &FILL_TOOL,    &ERASER_TOOL, &LINE_TOOL,
    &ARROW_TOOL,  &RECTANGLE_TOOL, &ELLIPSE_TOOL, &TEXT_TOOL,   &PICKER_TOOL,
    &SELECT_TOOL,
};
const size_t PAINT_TOOL_COUNT = sizeof PAINT_TOOL_TABLE / sizeof PAINT_TOOL_TABLE[0];

namespace
{

bool modifier_held()
{
    const uint8_t *keys = vollo_get_keyboard();
    return keys[VOLLO_KEY_LEFT_CONTROL] || keys[VOLLO_KEY_RIGHT_CONTROL] ||
           keys[VOLLO_KEY_LEFT_ALT] || keys[VOLLO_KEY_RIGHT_ALT] || keys[VOLLO_KEY_LEFT_SHIFT] ||
           keys[VOLLO_KEY_RIGHT_SHIFT];
}

const paint_tool_entry *current(const paint_state *state)
{
    return tool_entry(state->tools.tool);
}

} // namespace

const paint_tool_entry *tool_entry(int32_t tool)
{
    for (size_t i = 0; i < PAINT_TOOL_COUNT; i++)
        if (PAINT_TOOL_TABLE[i]->tool == tool)
            return PAINT_TOOL_TABLE[i];
    return nullptr;
}

const paint_tool_entry *tool_by_key(int32_t key)
{
    for (size_t i = 0; i < PAINT_TOOL_COUNT; i++)
        if (PAINT_TOOL_TABLE[i]->letter - 'A' + VOLLO_KEY_A == key)
            return PAINT_TOOL_TABLE[i];
    return nullptr;
}

void tool_choose(paint_state *state, int32_t tool)
{
    const paint_tool_entry *before = current(state), *entry = tool_entry(tool);
    if (entry == nullptr)
        return;
    const bool again = before == entry;
    if (!again && before != nullptr && before->leave != nullptr)
        before->leave(state);
    if (!again)
        state->run.previous = state->tools.tool;
    state->tools.tool = entry->tool;
    if (entry->choose != nullptr)
        entry->choose(state, again);
    draw_tool_panel(state);
    draw_indicator(state);
    request_present(state, 1);
}

tool_point tool_point_at(const paint_state *state, vollo_position screen)
{
    tool_point point = {screen, screen, false};
    if (state->document == nullptr)
    {
        point.on_drawing = in_drawing_area(screen);
        return point;
    }
    const paint_view &view = state->document->view;
    const double x = std::floor((int64_t(screen.x) - VIEW_LEFT - view.left + 1e-9) / view.zoom);
    const double y = std::floor((int64_t(screen.y) - VIEW_TOP - view.top + 1e-9) / view.zoom);
    point.picture = vollo_position{int32_t(std::max(-1e9, std::min(1e9, x))),
                                   int32_t(std::max(-1e9, std::min(1e9, y)))};
    point.on_drawing = in_drawing_area(screen);
    return point;
}

bool tool_click(paint_state *state, vollo_event_state event, int32_t button, vollo_position screen)
{
    const paint_tool_entry *entry = current(state);
    if (button == VOLLO_MOUSE_RIGHT && event == VOLLO_PRESSED && entry != nullptr &&
        entry->cancel != nullptr)
        entry->cancel(state);
    if (button != VOLLO_MOUSE_LEFT || event != VOLLO_PRESSED)
        return false;
    for (size_t i = 0; i < PAINT_TOOL_COUNT; i++)
        if (rect_contains(PAINT_TOOL_TABLE[i]->cell, screen))
        {
            tool_choose(state, PAINT_TOOL_TABLE[i]->tool);
            // The band's buttons go on through the click chain, as they always did.
            return PAINT_TOOL_TABLE[i]->icon != nullptr;
        }
    return false;
}

void stroke_tool_press(paint_state *state, tool_point point)
{
    stroke_press(state, point.screen);
}

void stroke_tool_drag(paint_state *state, tool_point point)
{
    stroke_move(state, point.screen);
}

void stroke_tool_release(paint_state *state, tool_point point)
{
    stroke_release(state, &state->tools, point.screen);
}

void tool_press(paint_state *state, vollo_position screen)
{
    const paint_tool_entry *entry = current(state);
    state->run.pressed = entry != nullptr;
    if (entry == nullptr)
        stroke_press(state, screen);
    else if (entry->press != nullptr)
        entry->press(state, tool_point_at(state, screen));
}

void tool_release(paint_state *state, vollo_position screen)
{
    const paint_tool_entry *entry = current(state);
    // The release of the click that chose a new tool on its cell is not the tool's; the
    // stroke tools stamp on any release in the drawing area, as they always did.
    const bool pressed = state->run.pressed;
    state->run.pressed = false;
    if (entry == nullptr)
        stroke_release(state, &state->tools, screen);
    else if (entry->release != nullptr && (pressed || entry->release == stroke_tool_release))
        entry->release(state, tool_point_at(state, screen));
}

void tool_move(paint_state *state, vollo_position screen)
{
    const paint_tool_entry *entry = current(state);
    if (entry != nullptr && entry->drag != nullptr)
        entry->drag(state, tool_point_at(state, screen));
}

bool tool_key(paint_state *state, vollo_event_state event, int32_t key)
{
    if (colour_field_key(state, event, key))
        return true;
    const paint_tool_entry *entry = current(state);
    if (entry != nullptr && entry->key != nullptr && entry->key(state, event, key))
        return true;
    if (event != VOLLO_PRESSED || modifier_held())
        return false;
    if (key == VOLLO_KEY_LEFT_BRACKET || key == VOLLO_KEY_RIGHT_BRACKET)
    {
        size_step(state, key == VOLLO_KEY_RIGHT_BRACKET ? 1 : -1);
        return true;
    }
    const paint_tool_entry *chosen = tool_by_key(key);
    if (chosen == nullptr)
        return false;
    tool_choose(state, chosen->tool);
    return true;
}

vollo_response tool_text_response(uint32_t character, void *data)
{
    paint_state *state = static_cast<paint_state *>(data);
    if (state != nullptr && !picture_ready(state, true))
        return 1;
    if (state == nullptr || colour_field_text(state, character))
        return VOLLO_CONTINUE;
    const paint_tool_entry *entry = current(state);
    if (entry != nullptr && entry->text != nullptr)
        entry->text(state, character);
    return VOLLO_CONTINUE;
}

const char *tool_label(const paint_state *state)
{
    const paint_tool_entry *entry = current(state);
    if (entry == nullptr)
        return "no tool";
    return entry->label != nullptr ? entry->label(state) : entry->name;
}

std::string tool_help(void)
{
    std::string help;
    for (size_t i = 0; i < PAINT_TOOL_COUNT; i++)
    {
        const paint_tool_entry *entry = PAINT_TOOL_TABLE[i];
        std::string line = std::string("  ") + entry->letter + "                      ";
        line += std::string(entry->name) + ": " + entry->help + "\n";
        help += line;
    }
    return help;
}

void tools_end(paint_state *state)
{
    const paint_tool_entry *entry = current(state);
    if (entry != nullptr && entry->leave != nullptr)
        entry->leave(state);
    vollo_delete_clipable(state->run.frame);
    state->run.frame = nullptr;
    vollo_delete_font(state->run.font);
    state->run.font = nullptr;
}
