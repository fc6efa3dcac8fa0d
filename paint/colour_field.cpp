// The colour field: a click on the indicator's swatch opens it in the swatch's
// place;
// "#RRGGBB" and Enter set the colour, Escape closes it. While it is open it
// takes every key.
#include <cctype>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

bool colour_field_click(paint_state *state, vollo_event_state event, int32_t button,
                        vollo_position position)
{
    if (button != VOLLO_MOUSE_LEFT || event != VOLLO_PRESSED ||
        !rect_contains(indicator_swatch(), position))
        return false;
    state->run.field_open = 1;
    state->run.field = "#";
    draw_indicator(state);
    request_present(state, 1);
    return true;
}

// The colour of "#RRGGBB" (opaque); false for any other text.
static bool parse_colour(const std::string &text, uint32_t *color)
{
    if (text.size() != 7 || text[0] != '#')
        return false;
    uint32_t rgb = 0;
    for (size_t i = 1; i < 7; i++)
    {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
        rgb =
            rgb * 16 + uint32_t(std::isdigit(static_cast<unsigned char>(text[i]))
                                    ? text[i] - '0'
                                    : std::tolower(static_cast<unsigned char>(text[i])) - 'a' + 10);
    }
    // Pixels are 0xAABBGGRR.
    *color = 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    return true;
}

bool colour_field_key(paint_state *state, vollo_event_state event, int32_t key)
{
    tool_run &run = state->run;
    if (!run.field_open)
        return false;
    if (event != VOLLO_PRESSED)
        return true;
    uint32_t color = 0;
    if (key == VOLLO_KEY_ESCAPE || (key == VOLLO_KEY_ENTER && parse_colour(run.field, &color)))
    {
        if (key == VOLLO_KEY_ENTER)
            state->color = color;
        run.field_open = 0;
    }
    else if (key == VOLLO_KEY_BACKSPACE && run.field.size() > 1)
        run.field.pop_back();
    else
        return true;
    draw_indicator(state);
    request_present(state, 1);
    return true;
}

bool colour_field_text(paint_state *state, uint32_t character)
{
    tool_run &run = state->run;
    if (!run.field_open)
        return false;
    if (character < 128 && std::isxdigit(int(character)) && run.field.size() < 7)
    {
        run.field += char(character);
        draw_indicator(state);
        request_present(state, 1);
    }
    return true;
}
