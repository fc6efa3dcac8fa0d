// Private to the text drawing: what reads a font's FreeType face.
#ifndef VOLLO_TEXT_FACE_HPP
#define VOLLO_TEXT_FACE_HPP

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text.hpp"

namespace vollo_text
{

// Loads a glyph as SFML loads it (auto-hinted, for anti-aliased rendering) at the
// size last set on the face; false when the face has no way to give it.
bool load_glyph(FT_Face face, uint32_t code_point);

}  // namespace vollo_text

#endif
