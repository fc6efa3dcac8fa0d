// Private parts of the text drawing: the built-in font's glyphs, UTF-8 decoding
// and the record behind vollo_font.
#ifndef VOLLO_TEXT_HPP
#define VOLLO_TEXT_HPP

#include <cstdint>
#include <vector>

#include <SFML/Graphics.hpp>

#include "vollo.h"

// A font read from a file; the bytes stay alive as long as the font reads them.
struct vollo_font
{
    std::vector<char> data;
    sf::Font font;
};

namespace vollo_text
{

// Built-in glyphs: 11 rows of 5 font pixels, bit 4 the leftmost column.
const int glyph_columns = 5;
const int glyph_rows = 11;
const int glyph_advance = 6;  // pixels from one character to the next, at scale 1
const int line_advance = 12;  // pixels from one line to the next, at scale 1

struct glyph
{
    uint8_t rows[glyph_rows];
};

// The glyph of a code point: its own for printable ASCII and Latin-1 (32..126,
// 160..255), the replacement glyph for any other.
const glyph &builtin_glyph(uint32_t code_point);
// The framed question mark drawn for characters the font lacks.
const glyph &replacement_glyph();

// Marks a byte that does not start a well-formed UTF-8 sequence.
const uint32_t invalid_code_point = 0xFFFFFFFF;

// Reads one character at `text` and moves past it: its code point, or
// invalid_code_point for a malformed sequence, of which one byte is consumed.
// Overlong forms, surrogates and values above 0x10FFFF are malformed.
uint32_t next_code_point(const char *&text);

// The largest font size vollo_draw_text_font accepts.
const int32_t largest_pixel_size = 1024;

// Sets up `result` to draw `text` with the font at `pixel_size`, placed at the
// origin; false for arguments that draw nothing.
bool make_text(sf::Text &result, vollo_font *font, const char *text, int32_t pixel_size);

}  // namespace vollo_text

#endif
