// The fill, F: the paint pot in the band; fills the region around the click,
// the size being its tolerance.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

extern const paint_tool_entry FILL_TOOL = {
    TOOL_FILL,
    'F',
    "fill",
    "fills the region around the click (the size is its tolerance)",
    PAINT_LAYOUT.fill.click,
    nullptr,
    nullptr,
    nullptr,
    stroke_tool_press,
    nullptr,
    stroke_tool_release,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
