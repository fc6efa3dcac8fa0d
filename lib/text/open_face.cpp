#include "face.hpp"

namespace vollo_text
{

bool open_face(vollo_font *font)
{
    face_handle &own = font->own;
    if (FT_Init_FreeType(&own.library) != 0)
    {
        own.library = nullptr;
        return false;
    }
    const FT_Byte *bytes = reinterpret_cast<const FT_Byte *>(font->data.data());
    if (FT_New_Memory_Face(own.library, bytes, FT_Long(font->data.size()), 0, &own.face) != 0)
    {
        own.face = nullptr;
        return false;
    }
    return FT_Select_Charmap(own.face, FT_ENCODING_UNICODE) == 0;
}

}  // namespace vollo_text
