#ifndef KZR_PARSING_TOOLS_HPP
#define KZR_PARSING_TOOLS_HPP

// kzr::ParsingTools: the base class of the INI document. It holds the vocabulary
// of a small configuration language as static strings, position-based lexical
// readers, and the codec between byte values and string-literal bodies.
//
// Positions are unsigned 32-bit byte offsets into a text held by the caller; the
// text's length is its end. Every reader stays within [0, length]: a position
// beyond the end is a mismatch, never an out-of-bounds read. A reader that
// matches moves the position past what it matched and returns true; one that does
// not match returns false and leaves the position as it was.

#include <string>

namespace kzr
{

class ParsingTools
{
  public:
    // Character classes and number bases.
    static const std::string FieldNameFirstChar;  // letters and underscore (53)
    static const std::string FieldName;           // letters, digits, underscore (63)
    static const std::string HexaPrefix;          // "0x"
    static const std::string Hexadecimal;         // "0123456789abcdef", lower case only
    static const std::string DecimalPrefix;       // empty
    static const std::string Decimal;             // "0123456789"
    static const std::string OctalPrefix;         // "0"
    static const std::string Octal;               // "01234567": digits of an octal escape
    static const std::string BinPrefix;           // "0b"
    static const std::string Binary;              // "01"

    // Delimiters, operator tokens and markers.
    static const std::string StringDelimiter;     // the double quote
    static const std::string CharacterDelimiter;  // the apostrophe
    static const std::string OpenSection;         // "["
    static const std::string CloseSection;        // "]"
    static const std::string CloseScope;          // "]", an object of its own
    static const std::string OpenPriority;        // "("
    static const std::string ClosePriority;       // ")"
    static const std::string Separator;           // ","
    static const std::string RealComma;           // "."
    static const std::string DirectAccess;        // ".", an object of its own
    static const std::string AddressAccess;       // "->"
    static const std::string PreviousNode;        // "_"
    static const std::string CurrentNode;         // "{}"
    static const std::string VelmorRoot;          // "[]"
    static const std::string GetAddress;          // "&"
    static const std::string Address;             // ":"
    static const std::string Pointer;             // "*"
    static const std::string PointerPrefix;       // "#"
    static const std::string DescriptorPrefix;    // "$"
    static const std::string TypePrefix;          // "?"
    static const std::string NullPtr;             // "NULL"
    static const std::string OpenScript;          // "[Script"
    static const std::string OpenSequence;        // "[Sequence"
    static const std::string OpenData;            // "[Collection"
    static const std::string OpenXML;             // "[XML"

    // Keyword lists: the English form first, then French and other forms.
    static const std::string NullAddr[2];
    static const std::string Nothing[3];
    static const std::string Assignation[4];
    static const std::string Include[2];
    static const std::string IncludeCipher[2];
    static const std::string Message[1];
    static const std::string Warning[2];
    static const std::string ErrorD[2];
    static const std::string Extern[1];
    static const std::string Local[1];
    static const std::string Private[2];
    static const std::string Protected[2];
    static const std::string Locked[2];
    static const std::string Public[2];
    static const std::string Limited[2];
    static const std::string Strict[1];
    static const std::string Restricted[2];
    static const std::string Const[2];
    static const std::string Variant[3];
    static const std::string Boolean[3];
    static const std::string Integer[3];
    static const std::string Real[3];
    static const std::string Character[3];
    static const std::string String[2];
    static const std::string Descriptor[2];
    static const std::string Type[1];
    static const std::string Record[4];
    static const std::string True[4];
    static const std::string False[4];
    static const std::string Field[2];
    static const std::string Collection[1];
    static const std::string Script[1];
    static const std::string Sequence[1];
    static const std::string XMLType[1];
    static const std::string DataLength[4];

    // ANSI terminal colour sequences; White resets all attributes.
    static const std::string Teal;
    static const std::string Blue;
    static const std::string Red;
    static const std::string Green;
    static const std::string Purple;
    static const std::string Pink;
    static const std::string Yellow;
    static const std::string Grey;
    static const std::string BlackOnWhite;
    static const std::string White;

    // Lexical readers.

    // True when the text at `position` begins with `word`; the empty word matches
    // everywhere up to the end included; false beyond the end.
    bool CheckText(const std::string &text, unsigned int position, const std::string &word) const;
    // Moves past `word` when CheckText holds.
    bool ReadText(const std::string &text, unsigned int &position, const std::string &word) const;
    // Moves past the first of words[0 .. count-1] that matches, in array order;
    // false for count 0 or a null array.
    bool ReadText(const std::string &text, unsigned int &position, const std::string *words,
                  unsigned int count) const;
    // True when the byte at `position` is one of the bytes of `set`; false for an
    // empty set and at or beyond the end.
    bool CheckChar(const std::string &text, unsigned int position, const std::string &set) const;
    // Moves past the longest run of bytes of `set`; true when the run is not empty.
    bool ReadChar(const std::string &text, unsigned int &position, const std::string &set) const;
    // Moves past a run of blanks, tabs, line feeds, carriage returns and semicolons.
    bool ReadSeparator(const std::string &text, unsigned int &position) const;
    // Moves past blanks, tabs and backslash line continuations (CR LF, LF or CR);
    // true when the position moved.
    bool ReadWhitespace(const std::string &text, unsigned int &position) const;

    // Literal codec.

    // Reads a double-quoted literal at `position` and decodes its body into `output`.
    // 0: success, position just past the closing quote. -1: no opening quote
    // (output untouched). -2: a character of the body cannot be decoded (output
    // holds what came before it). -3: the text ends before the closing quote
    // (output holds the whole body). On failure the position is unchanged.
    int ReadString(const std::string &text, unsigned int &position, std::string &output) const;
    // Decodes a literal body from `position` up to the closing quote or the end of
    // the text, leaving the position on that quote or end. False when a character
    // cannot be decoded: output holds what came before it, position unchanged.
    bool ReadInsideString(const std::string &text, unsigned int &position, std::string &output) const;
    // Decodes one character: a plain byte, an escape, an octal escape (\0 and octal
    // digits) or a multi-byte sequence packed with its first byte in bits 31-24.
    // False at the end of the text, on an invalid first byte, on a sequence cut by
    // the end of the text and on an unknown escape; position and value are then
    // meaningless to the caller.
    bool ReadInsideChar(const std::string &text, unsigned int &position, wchar_t &value) const;
    // The body of a double-quoted literal that decodes back to `text` exactly when
    // `text` holds no NUL byte (NUL bytes are dropped). Never holds a raw '#'.
    std::string BuildString(const std::string &text) const;
    // The literal text of one character value; `inString` selects which quote is
    // escaped. `width`, when not null, receives 1, or the number of bytes written
    // for a packed multi-byte character (a negative value).
    std::string BuildCharacter(wchar_t value, bool inString, int *width) const;
    // The value with its four bytes in reverse order (its own inverse).
    wchar_t Endian(wchar_t value) const;
};

}  // namespace kzr

#endif
