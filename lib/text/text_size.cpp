#include <algorithm>
#include <climits>

#include "text.hpp"

vollo_size vollo_text_size(const char *text, int32_t scale)
{
    if (!text || !*text || scale <= 0)
        return vollo_size{0, 0};
    int64_t longest = 0, current = 0, lines = 1;
    while (*text)
    {
        if (vollo_text::next_code_point(text) == '\n')
            ++lines, current = 0;
        else
            longest = std::max(longest, ++current);
    }
    // Character and line counts are below 2^63 / 12; the products stay in 128 bits.
    auto saturate = [](__int128 value) { return int32_t(std::min<__int128>(std::max<__int128>(value, 0), INT32_MAX)); };
    const __int128 width = longest ? (__int128(vollo_text::glyph_advance) * longest - 1) * scale : 0;
    const __int128 height = (__int128(vollo_text::line_advance) * lines - 1) * scale;
    return vollo_size{saturate(width), saturate(height)};
}
