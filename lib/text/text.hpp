// Private parts of the text drawing: the built-in font's glyphs, UTF-8 decoding
// and the record behind vollo_font.
#ifndef VOLLO_TEXT_HPP
#define VOLLO_TEXT_HPP

#include <cstdint>
#include <vector>

#include <SFML/Graphics.hpp>

#include "vollo.h"

namespace vollo_graphics
{
struct region;
}

// FreeType's records, known here by name only (face.hpp includes FreeType).
struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace vollo_text
{

// A FreeType face of its own over a font's bytes, for drawing into pixel arrays and
// measuring without a display; closed with its library when the record goes.
struct face_handle
{
    FT_LibraryRec_ *library = nullptr;
    FT_FaceRec_ *face = nullptr;

    face_handle() = default;
    face_handle(const face_handle &) = delete;
    face_handle &operator=(const face_handle &) = delete;
    ~face_handle();
};

}  // namespace vollo_text

// A font read from a file; the bytes stay alive as long as the font reads them. SFML's
// font draws on windows and pictures, the FreeType face on pixel arrays.
struct vollo_font
{
    std::vector<char> data;
    sf::Font font;
    vollo_text::face_handle own;
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

// The characters of a text as drawn: its UTF-8 decoded, a malformed byte as U+FFFD.
std::vector<uint32_t> code_points(const char *text);

// Opens the font's FreeType face over its bytes, with the Unicode character map
// selected; false when FreeType cannot read them.
bool open_face(vollo_font *font);

// Where each glyph of a text goes and the box of its ink, laid out as SFML's text
// lays it out (the same pen moves, kerning and line spacing, in the same float
// arithmetic), so the two kinds of target agree to the pixel.
struct placed_glyph
{
    uint32_t code_point;
    float x, y;                       // pen position on the baseline, from the drawing position
    float left, top, width, height;  // the ink's box from the pen; empty for a blank glyph
};
struct text_layout
{
    std::vector<placed_glyph> glyphs;
    float left, top, right, bottom;  // the ink's box, as SFML's local bounds
};

// Lays the text out at `pixel_size`; false for arguments that draw nothing.
bool lay_out(text_layout &layout, vollo_font *font, const char *text, int32_t pixel_size);

// Draws the text on the part `area` of a pixel array with FreeType, from the glyph
// bitmaps SFML would upload: each pixel blends the colour, its alpha scaled by the
// coverage there, glyphs that overlap adding up as they do on the GPU.
void draw_on_pixelarray(vollo_pixelarray *array, vollo_font *font, const char *text, vollo_position position,
                        int32_t pixel_size, uint32_t color, const vollo_graphics::region &area);

}  // namespace vollo_text

#endif
