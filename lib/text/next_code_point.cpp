#include "text.hpp"

namespace vollo_text
{

uint32_t next_code_point(const char *&text)
{
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text);
    const unsigned char lead = bytes[0];
    int length = 1;
    uint32_t code = lead;
    uint32_t smallest = 0;
    if (lead < 0x80)
    {
        ++text;
        return code;
    }
    if ((lead & 0xE0) == 0xC0)
        length = 2, code = lead & 0x1F, smallest = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, code = lead & 0x0F, smallest = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, code = lead & 0x07, smallest = 0x10000;
    else
    {
        ++text;
        return invalid_code_point;
    }
    // A terminating zero is not a continuation byte, so the walk never passes it.
    for (int i = 1; i < length; ++i)
    {
        if ((bytes[i] & 0xC0) != 0x80)
        {
            ++text;
            return invalid_code_point;
        }
        code = code << 6 | (bytes[i] & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    {
        ++text;
        return invalid_code_point;
    }
    text += length;
    return code;
}

}  // namespace vollo_text
