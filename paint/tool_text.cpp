// The text tool, T: a click places a caret; typed text shows live in the
// current colour, in DejaVu Sans at a pixel height of max(12, size) (drawing
// pixels). Enter starts a line, Backspace deletes, Escape drops the text; a
// click outside it, another tool or Ctrl+Enter paints it as one action.
#include <algorithm>
#include <cstring>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

#define TEXT_FONT "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
#define TEXT_LEAST_HEIGHT 12

namespace
{

int32_t text_height(const paint_state *state)
{
    return std::max(TEXT_LEAST_HEIGHT, int32_t(state->tools.width));
}

bool control_held()
{
    const uint8_t *keys = vollo_get_keyboard();
    return keys[VOLLO_KEY_LEFT_CONTROL] || keys[VOLLO_KEY_RIGHT_CONTROL];
}

// The text tool's font, tried once; false with the reason when it cannot be read (the
// built-in font stands in for it).
bool load_text_font(tool_run &run, std::string *why)
{
    if (run.font_tried)
        return true;
    run.font_tried = 1;
    run.font = vollo_load_font(TEXT_FONT);
    if (run.font == nullptr)
        *why = std::string("cannot read the font ") + TEXT_FONT + ": " + vollo_error();
    return run.font != nullptr;
}

// The overlay: the text drawn over a copy of the drawing's pixels under it, the
// pixels it changed painted.
void build_text(paint_state *state)
{
    tool_run &run = state->run;
    load_text_font(run, &run.warning);
    const int32_t height = text_height(state);
    const vollo_size box = vollo_text_size_font(run.font, run.text.c_str(), height);
    overlay_reset(&run.overlay, PAINT_NO_RECT);
    tool_preview_changed(state);
    if (box.width <= 0 || box.height <= 0)
        return;
    const paint_rect limit = tool_limit(state);
    const paint_rect area = {std::max(limit.x0, run.caret.x), std::max(limit.y0, run.caret.y),
                             std::min(limit.x1, run.caret.x + box.width - 1),
                             std::min(limit.y1, run.caret.y + box.height - 1)};
    overlay_reset(&run.overlay, area);
    vollo_pixelarray *drawing = drawing_of(state);
    if (area.x0 > area.x1 || area.y0 > area.y1 || drawing == nullptr)
        return;
    const int32_t w = area.x1 - area.x0 + 1, h = area.y1 - area.y0 + 1;
    vollo_pixelarray *under = vollo_new_pixelarray(uint32_t(w), uint32_t(h));
    if (under == nullptr)
        return;
    for (int32_t y = 0; y < h; y++)
        std::memcpy(under->pixels + size_t(y) * w,
                    drawing->pixels + size_t(area.y0 + y) * drawing->width + area.x0,
                    size_t(w) * 4);
    run.overlay.pixels.assign(under->pixels, under->pixels + size_t(w) * h);
    vollo_draw_text_font(under, run.font, run.text.c_str(),
                         vollo_position{run.caret.x - area.x0, run.caret.y - area.y0}, height,
                         state->color);
    for (size_t i = 0; i < run.overlay.pixels.size(); i++)
    {
        run.overlay.painted[i] = under->pixels[i] != run.overlay.pixels[i];
        run.overlay.pixels[i] = under->pixels[i];
    }
    vollo_delete_clipable(under);
}

void end_text(paint_state *state, bool keep)
{
    tool_run &run = state->run;
    if (!run.typing)
        return;
    run.typing = 0;
    run.previewing = 0;
    if (keep && !run.text.empty())
    {
        build_text(state);
        tool_commit_overlay(state, &run.overlay);
    }
    run.text.clear();
    tool_preview_changed(state);
}

void leave_text(paint_state *state)
{
    end_text(state, true);
}

void press_text(paint_state *state, tool_point point)
{
    tool_run &run = state->run;
    if (run.typing && rect_contains(run.overlay.area, point.picture))
        return;
    end_text(state, true);
    if (!point.on_drawing)
        return;
    run.typing = 1;
    run.previewing = 1;
    run.caret = point.picture;
    run.text.clear();
    build_text(state);
}

// Drops the last character of UTF-8 text (continuation bytes are 10xxxxxx).
void drop_last(std::string *text)
{
    while (!text->empty() && (static_cast<unsigned char>(text->back()) & 0xC0) == 0x80)
        text->pop_back();
    if (!text->empty())
        text->pop_back();
}

bool key_text(paint_state *state, vollo_event_state event, int32_t key)
{
    tool_run &run = state->run;
    if (!run.typing)
        return false;
    // Other shortcuts (undo, save) still work; they first paint the text.
    if (control_held() && key != VOLLO_KEY_ENTER)
    {
        if (key != VOLLO_KEY_LEFT_CONTROL && key != VOLLO_KEY_RIGHT_CONTROL)
            end_text(state, true);
        return false;
    }
    if (event != VOLLO_PRESSED)
        return true;
    if (key == VOLLO_KEY_ESCAPE)
        end_text(state, false);
    else if (key == VOLLO_KEY_ENTER && control_held())
        end_text(state, true);
    else if (key == VOLLO_KEY_ENTER)
        run.text += '\n';
    else if (key == VOLLO_KEY_BACKSPACE)
        drop_last(&run.text);
    else
        return true;
    if (run.typing)
        build_text(state);
    return true;
}

bool type_text(paint_state *state, uint32_t c)
{
    tool_run &run = state->run;
    if (!run.typing || c < 32 || c == 127 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    if (c < 0x80)
        run.text += char(c);
    else if (c < 0x800)
        run.text += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
        run.text += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    else
        run.text += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)),
                     char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    build_text(state);
    return true;
}

// The text and, after it, a caret as tall as a line.
void preview_text(const paint_state *state, vollo_pixelarray *frame)
{
    const tool_run &run = state->run;
    tool_show(state, &run.overlay, frame);
    const size_t newline = run.text.rfind('\n');
    const std::string last = newline == std::string::npos ? run.text : run.text.substr(newline + 1);
    const int32_t height = text_height(state);
    const int32_t lines = int32_t(std::count(run.text.begin(), run.text.end(), '\n'));
    const vollo_size box =
        vollo_text_size_font(run.font, last.empty() ? nullptr : last.c_str(), height);
    const vollo_size line = vollo_text_size_font(run.font, "Hg\nHg", height);
    const vollo_size one = vollo_text_size_font(run.font, "Hg", height);
    const int32_t spacing = line.height > one.height ? line.height - one.height : height;
    paint_overlay caret;
    const int32_t x = run.caret.x + box.width, y = run.caret.y + lines * spacing;
    overlay_reset(&caret, paint_rect{x, y, x + std::max(1, height / 12) - 1, y + height});
    for (int32_t row = caret.area.y0; row <= caret.area.y1; row++)
        overlay_span(&caret, caret.area.x0, caret.area.x1, row, state->color | 0xFF000000u);
    tool_show(state, &caret, frame);
}

void icon_text(vollo_pixelarray *canvas, paint_rect cell)
{
    vollo_draw_text(canvas, "T", vollo_position{cell.x0 + (cell.x1 - cell.x0) / 2 - 17, cell.y0}, 6,
                    PAINT_BLACK);
}

} // namespace

extern const paint_tool_entry TEXT_TOOL = {
    TOOL_TEXT,        'T',
    "text",           "click for a caret and type; Ctrl+Enter or a click outside paints it",
    PANEL_CELL(0, 2), icon_text,
    nullptr,          leave_text,
    press_text,       nullptr,
    nullptr,          nullptr,
    key_text,         type_text,
    preview_text,     nullptr,
    nullptr,
};
