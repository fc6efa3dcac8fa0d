// One character at a time: ReadInsideChar's values and positions, BuildCharacter's
// table and width, and Endian.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "parsing/ParsingTools.hpp"

namespace
{

wchar_t Packed(uint32_t bytes)
{
    return static_cast<wchar_t>(bytes);
}

struct DecodeCase
{
    const char *name;
    std::string text;
    unsigned int start;
    bool expected;
    uint32_t value;    // checked only on success
    unsigned int end;  // checked only on success
};

TEST(ParsingLiterals, ReadInsideCharDecodesOneCharacter)
{
    const DecodeCase cases[] = {
        {"plain letter", "ab", 0, true, 'a', 1},
        {"raw NUL byte inside", std::string("\0x", 2), 0, true, 0, 1},
        {"raw line feed", "\n", 0, true, 10, 1},
        {"quote", "\\\"", 0, true, 34, 2},
        {"apostrophe", "\\'", 0, true, 39, 2},
        {"backslash", "\\\\", 0, true, 92, 2},
        {"bell", "\\a", 0, true, 7, 2},
        {"backspace", "\\b", 0, true, 8, 2},
        {"form feed", "\\f", 0, true, 12, 2},
        {"line feed", "\\n", 0, true, 10, 2},
        {"carriage return", "\\r", 0, true, 13, 2},
        {"tab", "\\t", 0, true, 9, 2},
        {"vertical tab", "\\v", 0, true, 11, 2},
        {"octal without digits", "\\0x", 0, true, 0, 2},
        {"octal stops at 8", "\\08", 0, true, 0, 2},
        {"octal 0101", "\\0101", 0, true, 65, 5},
        {"octal above 255 kept whole", "\\0777", 0, true, 511, 5},
        {"octal cut to 32 bits", "\\0777777777777", 0, true, 0xFFFFFFFFu, 14},
        {"octal at the end of the text", "x\\017", 1, true, 15, 5},
        {"two-byte sequence", "\xC3\xA9z", 0, true, 0xC3A90000u, 2},
        {"three-byte sequence", "\xE2\x82\xAC", 0, true, 0xE282AC00u, 3},
        {"four-byte sequence", "\xF0\x9F\x98\x80", 0, true, 0xF09F9880u, 4},
        {"following bytes not examined", "\xC3z", 0, true, 0xC37A0000u, 2},
        {"lead C0", "\xC0\x80", 0, true, 0xC0800000u, 2},
        {"lead F7", "\xF7\x01\x02\x03", 0, true, 0xF7010203u, 4},
        {"continuation byte", "\x80", 0, false, 0, 0},
        {"byte BF", "\xBF", 0, false, 0, 0},
        {"byte F8", "\xF8\x80\x80\x80\x80", 0, false, 0, 0},
        {"byte FF", "\xFF", 0, false, 0, 0},
        {"two-byte lead at end", "a\xC3", 1, false, 0, 0},
        {"three-byte lead one short", "\xE2\x82", 0, false, 0, 0},
        {"four-byte lead one short", "\xF0\x9F\x98", 0, false, 0, 0},
        {"escape x", "\\x41", 0, false, 0, 0},
        {"escape e", "\\e", 0, false, 0, 0},
        {"escape u", "\\u0041", 0, false, 0, 0},
        {"escape digit 1", "\\1", 0, false, 0, 0},
        {"escape then NUL byte", std::string("\\\0", 2), 0, false, 0, 0},
        {"backslash at end", "ab\\", 2, false, 0, 0},
        {"at the end", "ab", 2, false, 0, 0},
        {"beyond the end", "ab", 6, false, 0, 0},
    };
    const kzr::ParsingTools tools;
    for (const DecodeCase &c : cases)
    {
        unsigned int position = c.start;
        wchar_t value = -1;
        const bool result = tools.ReadInsideChar(c.text, position, value);
        EXPECT_EQ(result, c.expected) << c.name;
        if (result && c.expected)
        {
            EXPECT_EQ(static_cast<uint32_t>(value), c.value) << c.name;
            EXPECT_EQ(position, c.end) << c.name;
        }
    }
}

TEST(ParsingLiterals, PackedCharactersAreNegative)
{
    const kzr::ParsingTools tools;
    for (const char *text : {"\xC0\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xF0\x90\x80\x80"})
    {
        unsigned int position = 0;
        wchar_t value = 0;
        ASSERT_TRUE(tools.ReadInsideChar(text, position, value));
        EXPECT_LT(value, 0);
    }
}

struct EncodeCase
{
    wchar_t value;
    bool inString;
    std::string expected;
    int width;
};

TEST(ParsingLiterals, BuildCharacterTable)
{
    const EncodeCase cases[] = {
        {0, true, std::string("\\0"), 1},
        {7, true, "\\a", 1},
        {8, true, "\\b", 1},
        {9, true, "\\t", 1},
        {10, true, "\\n", 1},
        {11, false, "\\v", 1},
        {12, true, "\\f", 1},
        {13, true, "\\r", 1},
        {34, true, "\\\"", 1},
        {34, false, "\"", 1},
        {39, true, "'", 1},
        {39, false, "\\'", 1},
        {92, true, "\\\\", 1},
        {92, false, "\\\\", 1},
        {1, true, "\\01", 1},
        {6, true, "\\06", 1},
        {14, true, "\\016", 1},
        {0x1B, true, "\\033", 1},
        {31, true, "\\037", 1},
        {127, true, "\\0177", 1},
        {200, true, "\\0310", 1},
        {255, false, "\\0377", 1},
        {32, true, " ", 1},
        {'#', true, "#", 1},
        {'5', true, "5", 1},
        {126, true, "~", 1},
        {0x141, true, "A", 1},
        {0x100, true, std::string("\0", 1), 1},
        {Packed(0xC3A90000u), true, "\xC3\xA9", 2},
        {Packed(0xE282AC00u), true, "\xE2\x82\xAC", 3},
        {Packed(0xF09F9880u), false, "\xF0\x9F\x98\x80", 4},
        {Packed(0x80000000u), true, "\x80", 1},
        {Packed(0xC300A900u), true, "\xC3", 1},
    };
    const kzr::ParsingTools tools;
    for (const EncodeCase &c : cases)
    {
        int width = -7;
        EXPECT_EQ(tools.BuildCharacter(c.value, c.inString, &width), c.expected) << c.value;
        EXPECT_EQ(width, c.width) << c.value;
        EXPECT_EQ(tools.BuildCharacter(c.value, c.inString, nullptr), c.expected) << c.value;
    }
}

TEST(ParsingLiterals, EveryByteCharacterReadsBack)
{
    // Each byte value written by BuildCharacter decodes to the same byte.
    const kzr::ParsingTools tools;
    for (int byte = 0; byte < 128; ++byte)
    {
        const std::string written = tools.BuildCharacter(byte, true, nullptr);
        unsigned int position = 0;
        wchar_t value = -1;
        ASSERT_TRUE(tools.ReadInsideChar(written, position, value)) << byte;
        EXPECT_EQ(value, byte);
        EXPECT_EQ(position, written.size()) << byte;
    }
}

TEST(ParsingLiterals, EndianReversesTheFourBytes)
{
    const kzr::ParsingTools tools;
    EXPECT_EQ(static_cast<uint32_t>(tools.Endian(Packed(0x11223344u))), 0x44332211u);
    EXPECT_EQ(static_cast<uint32_t>(tools.Endian(Packed(0xC3A90000u))), 0x0000A9C3u);
    EXPECT_EQ(tools.Endian(0), 0);
    for (uint32_t v : {0u, 1u, 0x80u, 0x11223344u, 0xC3A90000u, 0xFFFFFFFFu, 0x7F00FF01u})
        EXPECT_EQ(static_cast<uint32_t>(tools.Endian(tools.Endian(Packed(v)))), v);
}

TEST(ParsingLiterals, ReadStringMovesOnlyOnSuccess)
{
    const kzr::ParsingTools tools;
    const std::string text = "x = \"a\\\"b\" y";
    unsigned int position = 4;
    std::string output;
    ASSERT_EQ(tools.ReadString(text, position, output), 0);
    EXPECT_EQ(output, "a\"b");
    EXPECT_EQ(position, 10u);
    // A failure from a later position leaves that position alone.
    position = 11;
    output = "kept";
    EXPECT_EQ(tools.ReadString(text, position, output), -1);
    EXPECT_EQ(position, 11u);
    EXPECT_EQ(output, "kept");
    position = 99;
    EXPECT_EQ(tools.ReadString(text, position, output), -1);
    EXPECT_EQ(position, 99u);
}

TEST(ParsingLiterals, ReadInsideStringStopsOnTheClosingQuote)
{
    const kzr::ParsingTools tools;
    unsigned int position = 1;
    std::string output;
    ASSERT_TRUE(tools.ReadInsideString("\"ab\"cd", position, output));
    EXPECT_EQ(position, 3u);
    EXPECT_EQ(output, "ab");
    position = 1;
    ASSERT_TRUE(tools.ReadInsideString("\"ab", position, output));
    EXPECT_EQ(position, 3u);
    position = 1;
    EXPECT_FALSE(tools.ReadInsideString("\"a\\zb\"", position, output));
    EXPECT_EQ(position, 1u);
    EXPECT_EQ(output, "a");
}

}  // namespace
