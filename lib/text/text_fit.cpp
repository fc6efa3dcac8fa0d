// A text shortened to fit a width: its longest start that, followed by an ellipsis, is no
// wider than the width, cut only between whole characters.
#include <cstring>
#include <string>
#include <vector>

#include "text.hpp"

namespace
{

const char *const ellipsis = "\xE2\x80\xA6";  // U+2026
const char *const dots = "...";

int32_t width_of(vollo_font *font, const std::string &text, int32_t size)
{
    return font ? vollo_text_size_font(font, text.c_str(), size).width : vollo_text_size(text.c_str(), size).width;
}

// The ellipsis character where the font has a glyph for it: the built-in font has none,
// and a font file lacks it when it draws it as it draws a code point no font holds.
const char *ellipsis_for(vollo_font *font, int32_t size)
{
    if (!font)
        return dots;
    const vollo_size own = vollo_text_size_font(font, ellipsis, size);
    const vollo_size missing = vollo_text_size_font(font, "\xF4\x8F\xBF\xBF", size);  // U+10FFFF
    return own.width > 0 && (own.width != missing.width || own.height != missing.height) ? ellipsis : dots;
}

// Byte offsets of the ends of the text's characters, first to last.
std::vector<size_t> character_ends(const char *text)
{
    std::vector<size_t> ends;
    for (const char *at = text; *at;)
    {
        vollo_text::next_code_point(at);
        ends.push_back(size_t(at - text));
    }
    return ends;
}

int32_t write_out(const std::string &text, int32_t width, char *out)
{
    std::memcpy(out, text.c_str(), text.size() + 1);
    return width;
}

}  // namespace

int32_t vollo_text_fit(vollo_font *font, const char *text, int32_t size, int32_t max_width, char *out,
                       size_t out_size)
{
    if (!out || out_size == 0)
        return 0;
    out[0] = '\0';
    if (!text)
        return 0;
    const std::string whole = text;
    const int32_t whole_width = width_of(font, whole, size);
    if (whole.size() < out_size && whole_width <= max_width)
        return write_out(whole, whole_width, out);
    const std::string tail = ellipsis_for(font, size);
    const std::vector<size_t> ends = character_ends(text);
    // Binary search for the most characters whose start and the ellipsis fit.
    size_t low = 0, high = ends.size();
    int32_t best_width = -1;
    while (low < high)
    {
        const size_t middle = (low + high + 1) / 2;
        const std::string candidate = whole.substr(0, ends[middle - 1]) + tail;
        const int32_t width = width_of(font, candidate, size);
        if (candidate.size() < out_size && width <= max_width)
            low = middle, best_width = width;
        else
            high = middle - 1;
    }
    const std::string shortened = (low ? whole.substr(0, ends[low - 1]) : std::string()) + tail;
    if (low == 0)
        best_width = width_of(font, tail, size);
    if (shortened.size() >= out_size || best_width > max_width)
        return 0;  // not even the ellipsis fits: out stays ""
    return write_out(shortened, best_width, out);
}
