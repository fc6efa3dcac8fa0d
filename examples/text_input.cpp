// A one-line text field: type, erase with Backspace, press Enter to add the line
// to the list above it.
//
// Shows: the text response (Unicode code points, with the keyboard layout and
// dead keys applied) beside the key response (Backspace, Enter: keys with no
// text), UTF-8 kept in a std::string, a blinking caret timed with vollo_get_time,
// built-in text measured with vollo_text_size to scroll a long line, and pasting
// from the clipboard (vollo_get_clipboard).
// Ctrl+V pastes. Escape quits. Options: --text TEXT (what the field starts with),
// --frames N.
#include <cmath>
#include <string>
#include <vector>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kWidth = 400, kHeight = 240, kScale = 2;
const vollo_position kField = {20, 190};
const int kFieldWidth = 360, kFieldHeight = 34;

struct Form
{
    vollo_window *window;
    std::string text;                // UTF-8
    std::vector<std::string> lines;  // what Enter has added, newest last
    double edited_at;                // vollo_get_time() of the latest change
    long frames_left;
};

// Appends one code point to UTF-8 text.
void append_utf8(std::string &text, uint32_t c)
{
    if (c < 0x80)
        text += char(c);
    else if (c < 0x800)
        text += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
        text += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    else
        text += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
                 char(0x80 | (c & 0x3F))};
}

// Text arrives here, one character at a time; keys that type nothing (arrows,
// Backspace as a key) do not. Control characters are left to the key response.
vollo_response on_text(uint32_t character, void *data)
{
    Form &form = *static_cast<Form *>(data);
    if (character >= 32 && character != 127 && form.text.size() < 200)
        append_utf8(form.text, character);
    form.edited_at = vollo_get_time();
    return VOLLO_CONTINUE;
}

// Backspace repeats while held: the key response gets a press for each repeat.
vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Form &form = *static_cast<Form *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_BACKSPACE)
    {
        // Drop the last character: its continuation bytes (10xxxxxx), then its lead byte.
        while (!form.text.empty() && (form.text.back() & 0xC0) == 0x80)
            form.text.pop_back();
        if (!form.text.empty())
            form.text.pop_back();
    }
    const bool control = vollo_key_down(VOLLO_KEY_LEFT_CONTROL) || vollo_key_down(VOLLO_KEY_RIGHT_CONTROL);
    if (key == VOLLO_KEY_V && control)  // paste: the clipboard's text, its control characters left out
        for (const char *c = vollo_get_clipboard(); *c != '\0'; ++c)
            form.text += (unsigned char)*c >= 32 ? *c : ' ';
    if (key == VOLLO_KEY_ENTER && !form.text.empty())
    {
        form.lines.push_back(form.text);
        form.text.clear();
    }
    form.edited_at = vollo_get_time();
    return VOLLO_CONTINUE;
}

// The tail of `text` that fits in `width` pixels at kScale (whole UTF-8 characters).
std::string visible_tail(const std::string &text, int width)
{
    size_t start = 0;
    while (start < text.size() && vollo_text_size(text.c_str() + start, kScale).width > width)
        do
            ++start;
        while (start < text.size() && (text[start] & 0xC0) == 0x80);
    return text.substr(start);
}

vollo_response each_frame(void *data)
{
    Form &form = *static_cast<Form *>(data);
    vollo_window *window = form.window;
    vollo_fill(window, VOLLO_RGB(235, 235, 225));

    // The latest lines, bottom up above the field.
    int y = kField.y - 46;
    for (size_t i = form.lines.size(); i > 0 && y > 10; --i, y -= 28)
        vollo_draw_text(window, visible_tail(form.lines[i - 1], kFieldWidth).c_str(), {kField.x, y}, kScale,
                        VOLLO_DARK_GRAY);
    vollo_draw_text(window, "Type, then Enter:", {kField.x, kField.y - 16}, 1, VOLLO_GRAY);

    vollo_set_rectangle(window, kField, kFieldWidth, kFieldHeight, VOLLO_WHITE, true);
    vollo_set_rectangle(window, kField, kFieldWidth, kFieldHeight, VOLLO_BLUE, false);
    const std::string shown = visible_tail(form.text, kFieldWidth - 20);
    const vollo_position at = {kField.x + 8, kField.y + 6};
    vollo_draw_text(window, shown.c_str(), at, kScale, VOLLO_BLACK);
    // The caret after the text: steady for a second after each edit, then on for
    // half a second, off for the next half.
    const double since_edit = vollo_get_time() - form.edited_at;
    if (since_edit < 1.0 || std::fmod(since_edit, 1.0) < 0.5)
    {
        const int caret_x = at.x + vollo_text_size(shown.c_str(), kScale).width + (shown.empty() ? 0 : 2);
        vollo_set_rectangle(window, {caret_x, at.y}, 2, 22, VOLLO_BLACK, true);
    }
    const bool last = example_last_frame(form.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *start_text = "";
    Form form = {};
    form.frames_left = example_frames(argc, argv, "--text", &start_text);
    form.text = start_text;
    form.lines = {"Hello!", "Accents work: caf\xC3\xA9"};

    form.window = vollo_start(kWidth, kHeight, false, "vollo: text input");
    if (form.window == nullptr)
        return 1;
    vollo_set_text_response(on_text);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(form.window, 60, &form);
    vollo_stop(form.window);
    return result == 0 || result == 1 ? 0 : 1;
}
