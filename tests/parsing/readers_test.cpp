// Position rules of the lexical readers: where each one stops on a match, that it
// stays put on a mismatch, and that it never reads past the end of the text.

#include <gtest/gtest.h>

#include <string>

#include "parsing/ParsingTools.hpp"

namespace
{

using P = kzr::ParsingTools;

enum class Reader
{
    CheckText,
    ReadText,
    CheckChar,
    ReadChar,
    ReadSeparator,
    ReadWhitespace
};

struct ReaderCase
{
    const char *name;
    Reader reader;
    std::string text;
    unsigned int start;
    std::string argument;  // the word or the set; unused by the separator readers
    bool expected;
    unsigned int end;  // expected position afterwards
};

bool RunReader(const kzr::ParsingTools &tools, const ReaderCase &c, unsigned int &position)
{
    switch (c.reader)
    {
    case Reader::CheckText: return tools.CheckText(c.text, position, c.argument);
    case Reader::ReadText: return tools.ReadText(c.text, position, c.argument);
    case Reader::CheckChar: return tools.CheckChar(c.text, position, c.argument);
    case Reader::ReadChar: return tools.ReadChar(c.text, position, c.argument);
    case Reader::ReadSeparator: return tools.ReadSeparator(c.text, position);
    case Reader::ReadWhitespace: return tools.ReadWhitespace(c.text, position);
    }
    return false;
}

TEST(ParsingReaders, PositionsAndResults)
{
    using R = Reader;
    const ReaderCase cases[] = {
        // Words.
        {"word at start", R::ReadText, "abc", 0, "ab", true, 2},
        {"word in the middle", R::ReadText, "xabc", 1, "abc", true, 4},
        {"word mismatch stays", R::ReadText, "abc", 0, "ac", false, 0},
        {"word is case-sensitive", R::ReadText, "Abc", 0, "abc", false, 0},
        {"text ends before the word", R::CheckText, "xyz", 1, "yzw", false, 1},
        {"word fits exactly", R::CheckText, "xyz", 1, "yz", true, 1},
        {"empty word at end", R::CheckText, "xyz", 3, "", true, 3},
        {"word at end", R::CheckText, "xyz", 3, "z", false, 3},
        {"empty word read does not move", R::ReadText, "xyz", 1, "", true, 1},
        {"DecimalPrefix matches at end", R::ReadText, "12", 2, P::DecimalPrefix, true, 2},
        {"position beyond end, empty word", R::ReadText, "xyz", 4, "", false, 4},
        {"position beyond end", R::CheckText, "xyz", 9, "z", false, 9},
        {"word holding NUL", R::ReadText, std::string("a\0b", 3), 0, std::string("a\0", 2), true, 2},
        // Character sets.
        {"FieldName run stops at hyphen", R::ReadChar, "ab_9-x", 0, P::FieldName, true, 4},
        {"FieldName run stops at dot", R::ReadChar, "a.b", 0, P::FieldName, true, 1},
        {"FieldName run stops at blank", R::ReadChar, "ab c", 0, P::FieldName, true, 2},
        {"FieldName run stops at a UTF-8 byte", R::ReadChar, "a\xC3\xA9", 0, P::FieldName, true, 1},
        {"run to the end of the text", R::ReadChar, "abc", 1, P::FieldName, true, 3},
        {"run does not pass a NUL byte", R::ReadChar, std::string("a\0b", 3), 0, "ab", true, 1},
        {"first byte outside the set", R::ReadChar, "-ab", 0, P::FieldName, false, 0},
        {"empty set reads nothing", R::ReadChar, "abc", 0, "", false, 0},
        {"run at end", R::ReadChar, "abc", 3, "abc", false, 3},
        {"run beyond end", R::ReadChar, "abc", 7, "abc", false, 7},
        {"set order and repetition do not matter", R::ReadChar, "baab", 0, "bba", true, 4},
        {"char in set", R::CheckChar, "abc", 1, "xb", true, 1},
        {"char not in set", R::CheckChar, "abc", 1, "xy", false, 1},
        {"empty set checks nothing", R::CheckChar, "abc", 0, "", false, 0},
        {"char check at end", R::CheckChar, "abc", 3, "abc", false, 3},
        {"char check beyond end", R::CheckChar, "abc", 5, "abc", false, 5},
        // Separators.
        {"separator run", R::ReadSeparator, "  ;\r\n x", 0, "", true, 6},
        {"semicolon alone separates", R::ReadSeparator, ";a", 0, "", true, 1},
        {"letter is no separator", R::ReadSeparator, "x  ", 0, "", false, 0},
        {"separator at end", R::ReadSeparator, "x ", 2, "", false, 2},
        {"hash is no separator", R::ReadSeparator, "#", 0, "", false, 0},
        // Blanks and line continuations.
        {"blanks and continuation", R::ReadWhitespace, " \\\n\t=", 0, "", true, 4},
        {"bare line feed is no blank", R::ReadWhitespace, "\n", 0, "", false, 0},
        {"bare carriage return is no blank", R::ReadWhitespace, "\r x", 0, "", false, 0},
        {"backslash then letter", R::ReadWhitespace, "\\x", 0, "", false, 0},
        {"continuation CR LF", R::ReadWhitespace, "\\\r\nx", 0, "", true, 3},
        {"continuation CR alone", R::ReadWhitespace, "\\\rx", 0, "", true, 2},
        {"continuation LF alone", R::ReadWhitespace, "\\\nx", 0, "", true, 2},
        {"continuations in a row", R::ReadWhitespace, "\\\n\\\r\n \\\rx", 0, "", true, 8},
        {"stops before a line feed", R::ReadWhitespace, " \t\n", 0, "", true, 2},
        {"backslash at end", R::ReadWhitespace, " \\", 0, "", true, 1},
        {"whitespace at end", R::ReadWhitespace, "ab", 2, "", false, 2},
        {"whitespace beyond end", R::ReadWhitespace, "ab", 3, "", false, 3},
    };
    const kzr::ParsingTools tools;
    for (const ReaderCase &c : cases)
    {
        unsigned int position = c.start;
        EXPECT_EQ(RunReader(tools, c, position), c.expected) << c.name;
        EXPECT_EQ(position, c.end) << c.name;
    }
}

TEST(ParsingReaders, ListReadTakesTheFirstMatchInArrayOrder)
{
    const kzr::ParsingTools tools;
    const std::string shortFirst[] = {"a", "ab"};
    const std::string longFirst[] = {"ab", "a"};
    unsigned int position = 0;
    EXPECT_TRUE(tools.ReadText("abc", position, shortFirst, 2));
    EXPECT_EQ(position, 1u);
    position = 0;
    EXPECT_TRUE(tools.ReadText("abc", position, longFirst, 2));
    EXPECT_EQ(position, 2u);

    position = 0;
    EXPECT_FALSE(tools.ReadText("abc", position, longFirst, 0));
    EXPECT_FALSE(tools.ReadText("abc", position, nullptr, 2));
    EXPECT_FALSE(tools.ReadText("xyz", position, longFirst, 2));
    EXPECT_EQ(position, 0u);

    // Assignation: ":=" is entry 1 and "<=" entry 2, each found whole.
    for (const char *text : {"=", ":=", "<=", "<-"})
    {
        position = 0;
        EXPECT_TRUE(tools.ReadText(text, position, P::Assignation, 4)) << text;
        EXPECT_EQ(position, std::string(text).size()) << text;
    }
}

TEST(ParsingReaders, ReadersStopAtTheEndOfATextWithoutTerminatorSlack)
{
    // A text whose bytes all belong to the set: the run must end exactly at the end.
    const kzr::ParsingTools tools;
    const std::string text(1000, ' ');
    unsigned int position = 0;
    EXPECT_TRUE(tools.ReadSeparator(text, position));
    EXPECT_EQ(position, 1000u);
    position = 0;
    EXPECT_TRUE(tools.ReadWhitespace(text, position));
    EXPECT_EQ(position, 1000u);
}

}  // namespace
