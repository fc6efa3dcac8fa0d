#include <cstdint>
#include <cstdlib>

#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

namespace
{

// Value of the one-character escapes; -1 for a character that has none.
int SimpleEscape(char escaped)
{
    switch (escaped)
    {
    case '"': return 34;
    case '\'': return 39;
    case '\\': return 92;
    case 'a': return 7;
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    default: return -1;
    }
}

}  // namespace

bool ParsingTools::ReadInsideChar(const std::string &text, unsigned int &position, wchar_t &value) const
{
    const unsigned int end = detail::TextEnd(text);
    if (position >= end)
        return false;
    const unsigned char first = static_cast<unsigned char>(text[position]);

    if (first >= 0x80)
    {
        // A multi-byte sequence: its length comes from the first byte alone, and
        // its bytes are packed with the first one in bits 31-24.
        const unsigned int length = detail::SequenceLength(first);
        if (length == 0 || length > end - position)
            return false;
        uint32_t packed = 0;
        for (unsigned int k = 0; k < length; ++k)
            packed |= static_cast<uint32_t>(static_cast<unsigned char>(text[position + k])) << (24 - 8 * k);
        value = static_cast<wchar_t>(packed);
        position += length;
        return true;
    }

    if (first != '\\')
    {
        value = static_cast<wchar_t>(first);
        position += 1;
        return true;
    }

    // An escape: a backslash as the last byte of the text cannot be decoded.
    if (end - position < 2)
        return false;
    const char escaped = text[position + 1];
    const int simple = SimpleEscape(escaped);
    if (simple >= 0)
    {
        value = static_cast<wchar_t>(simple);
        position += 2;
        return true;
    }
    if (escaped != '0')
        return false;

    // Octal escape: \0 followed by the longest run of octal digits, read in base 8
    // and cut to 32 bits (a run too long for strtoll saturates to its maximum).
    unsigned int p = position + 2;
    const unsigned int digitsStart = p;
    ReadChar(text, p, Octal);
    const std::string digits = text.substr(digitsStart, p - digitsStart);
    const long long number = digits.empty() ? 0 : std::strtoll(digits.c_str(), nullptr, 8);
    value = static_cast<wchar_t>(static_cast<uint32_t>(static_cast<unsigned long long>(number)));
    position = p;
    return true;
}

}  // namespace kzr
