#ifndef KZR_INI_TEXT_HPP
#define KZR_INI_TEXT_HPP

// Byte classes of the INI text format, private to lib/ini. The reader's inner
// loops test every byte of a file, so they look bytes up in 256-entry tables built
// once from the sets of kzr::ParsingTools, instead of searching the set strings;
// the results are those of ReadChar, ReadSeparator and ReadWhitespace.

#include <string>

namespace kzr
{
namespace initext
{

enum ByteClass : unsigned char
{
    NameByte = 1,       // FieldName: letters, digits, underscore
    SeparatorByte = 2,  // " \t\n\r;", what ReadSeparator skips
    BlankByte = 4       // ' ', '\t'
};

// Classes of every byte value; built on first use (after static initialisation
// has given ParsingTools::FieldName its value).
const unsigned char *ByteClasses();

inline bool Is(const unsigned char *classes, char byte, ByteClass wanted)
{
    return (classes[static_cast<unsigned char>(byte)] & wanted) != 0;
}

// Moves `position` past every byte of class `wanted`; the terminating NUL of the
// text is in no skipped class, so the run stops at the end at the latest.
inline void Skip(const unsigned char *classes, const std::string &text, unsigned int &position,
                 ByteClass wanted)
{
    const char *bytes = text.c_str();
    while (Is(classes, bytes[position], wanted))
        ++position;
}

// ReadWhitespace: blanks and backslash line continuations (CR LF, LF, CR).
inline void SkipBlanks(const unsigned char *classes, const std::string &text, unsigned int &position)
{
    const char *bytes = text.c_str();
    for (;;)
    {
        if (Is(classes, bytes[position], BlankByte))
            ++position;
        else if (bytes[position] == '\\' && bytes[position + 1] == '\r' && bytes[position + 2] == '\n')
            position += 3;
        else if (bytes[position] == '\\' && (bytes[position + 1] == '\n' || bytes[position + 1] == '\r'))
            position += 2;
        else
            return;
    }
}

// Whether `name` is a non-empty run of name characters, so that the reader can
// read it back.
bool IsReadableName(const std::string &name);

}  // namespace initext
}  // namespace kzr

#endif
