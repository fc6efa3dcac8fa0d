#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

namespace
{

bool IsOctalDigit(unsigned char byte)
{
    return byte >= '0' && byte <= '7';
}

// Whether `piece` is an octal escape, whose digit run a following octal digit
// would extend when read back.
bool IsOctalEscape(const std::string &piece)
{
    return piece.size() >= 2 && piece[0] == '\\' && piece[1] == '0';
}

}  // namespace

// The body is built so that decoding it gives the text back byte for byte (NUL
// bytes excepted, which are dropped), and so that it holds no raw '#', which the
// INI loader would take for the start of a comment:
// - a byte that cannot start a UTF-8 sequence is written as an octal escape;
// - a multi-byte sequence is copied as it stands only when all of its bytes are
//   present and its following bytes are continuation bytes (0x80-0xBF); otherwise
//   its first byte is written as an octal escape and the bytes after it are
//   encoded on their own, so a sequence cut by the end of the text cannot swallow
//   the closing quote and a '#', quote or backslash inside it stays escaped;
// - an octal digit right after an octal escape is written as an octal escape too,
//   since the decoder reads the longest run of octal digits;
// - '#' is written as the octal escape \043.
std::string ParsingTools::BuildString(const std::string &text) const
{
    std::string body;
    body.reserve(text.size() + text.size() / 8);
    bool afterOctalEscape = false;
    const size_t size = text.size();
    size_t i = 0;
    while (i < size)
    {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == 0)
        {
            ++i;
            continue;
        }
        const unsigned int length = detail::SequenceLength(byte);
        if (length > 1 && length <= size - i)
        {
            bool whole = true;
            for (unsigned int k = 1; k < length && whole; ++k)
                whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (whole)
            {
                body.append(text, i, length);
                i += length;
                afterOctalEscape = false;
                continue;
            }
        }
        std::string piece;
        if (byte == '#' || (afterOctalEscape && IsOctalDigit(byte)))
            piece = detail::OctalEscape(byte);
        else
            piece = BuildCharacter(static_cast<wchar_t>(byte), true, nullptr);
        afterOctalEscape = IsOctalEscape(piece);
        body += piece;
        ++i;
    }
    return body;
}

}  // namespace kzr
