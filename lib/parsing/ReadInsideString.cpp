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
    // Plain runs stop at any byte that may begin the delimiter, so the loop head
    // sees every possible closing delimiter.
    const char delimiterStart = StringDelimiter.empty() ? '\0' : StringDelimiter[0];
    std::string decoded;
    unsigned int p = position;
    while (p < end && !CheckText(text, p, StringDelimiter))
    {
        // Fast path: a run of plain ASCII bytes stands for itself.
        unsigned int q = p;
        while (q < end && static_cast<unsigned char>(text[q]) < 0x80 && text[q] != '\\' &&
               text[q] != delimiterStart)
            ++q;
        if (q > p)
        {
            decoded.append(text, p, q - p);
            p = q;
            continue;
        }
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
