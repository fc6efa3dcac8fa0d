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

// Printable ASCII that the table writes as itself.
bool IsPlain(unsigned char byte)
{
    return byte >= 32 && byte < 127 && byte != '"' && byte != '\\' && byte != '#';
}

// Whether the `length` bytes from `start` are all present and every byte after the
// first is a continuation byte (0x80-0xBF).
bool WholeSequence(const std::string &text, size_t start, size_t length)
{
    if (length > text.size() - start)
        return false;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[start + k]) & 0xC0) != 0x80)
            return false;
    return true;
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
        // Fast path: a run of printable bytes is copied as it stands, unless it
        // would start with an octal digit that extends a preceding octal escape.
        const bool extendsEscape = afterOctalEscape && IsOctalDigit(static_cast<unsigned char>(text[i]));
        size_t run = i;
        while (!extendsEscape && run < size && IsPlain(static_cast<unsigned char>(text[run])))
            ++run;
        if (run > i)
        {
            body.append(text, i, run - i);
            i = run;
            afterOctalEscape = false;
            continue;
        }
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == 0)
        {
            ++i;
            continue;
        }
        const unsigned int length = detail::SequenceLength(byte);
        if (length > 1 && WholeSequence(text, i, length))
        {
            body.append(text, i, length);
            i += length;
            afterOctalEscape = false;
            continue;
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
