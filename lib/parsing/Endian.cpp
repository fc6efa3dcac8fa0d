#include <cstdint>

#include "parsing/ParsingTools.hpp"

namespace kzr
{

wchar_t ParsingTools::Endian(wchar_t value) const
{
    const uint32_t v = static_cast<uint32_t>(value);
    const uint32_t swapped = (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
    return static_cast<wchar_t>(swapped);
}

}  // namespace kzr
