#include "face.hpp"

namespace vollo_text
{

face_handle::~face_handle()
{
    if (face)
        FT_Done_Face(face);
    if (library)
        FT_Done_FreeType(library);
}

}  // namespace vollo_text
