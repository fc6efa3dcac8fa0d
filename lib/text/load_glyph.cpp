#include "face.hpp"

namespace vollo_text
{

bool load_glyph(FT_Face face, uint32_t code_point)
{
    return FT_Load_Char(face, code_point, FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT) == 0;
}

}  // namespace vollo_text
