// The circle, C: its button in the band; stamps and strokes as they always did.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

extern const paint_tool_entry CIRCLE_TOOL = {
    TOOL_CIRCLE,
    'C',
    "circle",
    "stamps or strokes a disc, the size its radius",
    PAINT_LAYOUT.circle.click,
    nullptr,
    nullptr,
    nullptr,
    stroke_tool_press,
    stroke_tool_drag,
    stroke_tool_release,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
