// The eraser, X: its button in the band; stamps and strokes as they always did.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

extern const paint_tool_entry ERASER_TOOL = {
    TOOL_ERASER,
    'X',
    "eraser",
    "paints white squares of the size",
    PAINT_LAYOUT.eraser.click,
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
