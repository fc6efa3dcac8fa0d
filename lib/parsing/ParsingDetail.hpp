#ifndef KZR_PARSING_DETAIL_HPP
#define KZR_PARSING_DETAIL_HPP

// Helpers shared by the readers and the codec of kzr::ParsingTools; not part of
// the public interface.

#include <cstdint>
#include <string>

namespace kzr
{
namespace detail
{

// The end of a text as a 32-bit position. A text longer than 4 GiB - 1 cannot be
// addressed past that point, so readers treat it as ending there instead of
// letting a position wrap around.
inline unsigned int TextEnd(const std::string &text)
{
    return text.size() < UINT32_MAX ? static_cast<unsigned int>(text.size()) : UINT32_MAX;
}

// Length of the UTF-8 sequence that `first` starts: 1 for 0x00-0x7F, 2, 3 or 4
// for a lead byte, 0 for a byte that cannot start a sequence (0x80-0xBF, 0xF8-0xFF).
// Only the first byte is examined.
inline unsigned int SequenceLength(unsigned char first)
{
    if (first < 0x80)
        return 1;
    if (first < 0xC0)
        return 0;
    if (first < 0xE0)
        return 2;
    if (first < 0xF0)
        return 3;
    if (first < 0xF8)
        return 4;
    return 0;
}

// Whether `byte` is in `set` (the empty set holds nothing).
inline bool InSet(char byte, const std::string &set)
{
    return set.find(byte) != std::string::npos;
}

// Backslash, 0, then the value in octal without leading zeros (27 gives \033,
// 0 gives \0 alone).
inline std::string OctalEscape(uint32_t value)
{
    std::string digits;
    for (; value != 0; value >>= 3)
        digits.insert(digits.begin(), static_cast<char>('0' + (value & 7)));
    return "\\0" + digits;
}

}  // namespace detail
}  // namespace kzr

#endif
