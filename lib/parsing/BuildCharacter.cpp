#include <cstdint>

#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

std::string ParsingTools::BuildCharacter(wchar_t value, bool inString, int *width) const
{
    if (width != nullptr)
        *width = 1;
    if (value < 0)
    {
        // A packed multi-byte character: its bytes from the top down, up to the
        // first zero byte.
        const uint32_t packed = static_cast<uint32_t>(value);
        std::string bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
        {
            const char byte = static_cast<char>((packed >> shift) & 0xFF);
            if (byte == 0)
                break;
            bytes += byte;
        }
        if (width != nullptr)
            *width = static_cast<int>(bytes.size());
        return bytes;
    }
    switch (value)
    {
    case 0: return "\\0";
    case 7: return "\\a";
    case 8: return "\\b";
    case 9: return "\\t";
    case 10: return "\\n";
    case 11: return "\\v";
    case 12: return "\\f";
    case 13: return "\\r";
    case 34: return inString ? "\\\"" : "\"";
    case 39: return inString ? "'" : "\\'";
    case 92: return "\\\\";
    default: break;
    }
    if (value < 32 || (value >= 127 && value <= 255))
        return detail::OctalEscape(static_cast<uint32_t>(value));
    // Printable ASCII stands for itself; larger values keep their low 8 bits.
    return std::string(1, static_cast<char>(value & 0xFF));
}

}  // namespace kzr
