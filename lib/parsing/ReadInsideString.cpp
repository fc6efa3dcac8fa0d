#include <utility>

#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

// Every character decodes to the bytes it stands for: an escape to exactly one
// byte (the low 8 bits of its value), a multi-byte sequence to itself, any other
// byte (line ends, control bytes and NUL included) to itself.
bool ParsingTools::ReadInsideString(const std::string &text, unsigned int &position, std::string &output) const
{
    const unsigned int end = detail::TextEnd(text);
    std::string decoded;
    unsigned int p = position;
    while (p < end && !CheckText(text, p, StringDelimiter))
    {
        unsigned int q = p;
        wchar_t value = 0;
        if (!ReadInsideChar(text, q, value))
        {
            output = std::move(decoded);
            return false;
        }
        if (text[p] == '\\' || q == p + 1)
            decoded += static_cast<char>(static_cast<unsigned int>(value) & 0xFF);
        else
            decoded.append(text, p, q - p);
        p = q;
    }
    // Stop on the closing delimiter itself, or at the end of the text, where the
    // caller finds no closing delimiter.
    output = std::move(decoded);
    position = p;
    return true;
}

}  // namespace kzr
