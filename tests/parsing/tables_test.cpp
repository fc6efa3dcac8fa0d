// The vocabulary: exact bytes of every member and the entry count of every list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsing/ParsingTools.hpp"

namespace
{

using P = kzr::ParsingTools;

struct SingleCase
{
    const char *name;
    const std::string *member;
    std::string expected;
};

TEST(ParsingTables, SingleStringsHaveTheirExactBytes)
{
    const std::string esc = "\x1b";
    const SingleCase cases[] = {
        {"FieldNameFirstChar", &P::FieldNameFirstChar, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_"},
        {"FieldName", &P::FieldName, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"},
        {"HexaPrefix", &P::HexaPrefix, "0x"},
        {"Hexadecimal", &P::Hexadecimal, "0123456789abcdef"},
        {"DecimalPrefix", &P::DecimalPrefix, ""},
        {"Decimal", &P::Decimal, "0123456789"},
        {"OctalPrefix", &P::OctalPrefix, "0"},
        {"Octal", &P::Octal, "01234567"},
        {"BinPrefix", &P::BinPrefix, "0b"},
        {"Binary", &P::Binary, "01"},
        {"StringDelimiter", &P::StringDelimiter, "\x22"},
        {"CharacterDelimiter", &P::CharacterDelimiter, "\x27"},
        {"OpenSection", &P::OpenSection, "["},
        {"CloseSection", &P::CloseSection, "]"},
        {"CloseScope", &P::CloseScope, "]"},
        {"OpenPriority", &P::OpenPriority, "("},
        {"ClosePriority", &P::ClosePriority, ")"},
        {"Separator", &P::Separator, ","},
        {"RealComma", &P::RealComma, "."},
        {"DirectAccess", &P::DirectAccess, "."},
        {"AddressAccess", &P::AddressAccess, "->"},
        {"PreviousNode", &P::PreviousNode, "_"},
        {"CurrentNode", &P::CurrentNode, "{}"},
        {"VelmorRoot", &P::VelmorRoot, "[]"},
        {"GetAddress", &P::GetAddress, "&"},
        {"Address", &P::Address, ":"},
        {"Pointer", &P::Pointer, "*"},
        {"PointerPrefix", &P::PointerPrefix, "#"},
        {"DescriptorPrefix", &P::DescriptorPrefix, "$"},
        {"TypePrefix", &P::TypePrefix, "?"},
        {"NullPtr", &P::NullPtr, "NULL"},
        {"OpenScript", &P::OpenScript, "[Script"},
        {"OpenSequence", &P::OpenSequence, "[Sequence"},
        {"OpenData", &P::OpenData, "[Collection"},
        {"OpenXML", &P::OpenXML, "[XML"},
        {"Teal", &P::Teal, esc + "[1;36m"},
        {"Blue", &P::Blue, esc + "[1;34m"},
        {"Red", &P::Red, esc + "[1;31m"},
        {"Green", &P::Green, esc + "[1;32m"},
        {"Purple", &P::Purple, esc + "[0;35m"},
        {"Pink", &P::Pink, esc + "[1;35m"},
        {"Yellow", &P::Yellow, esc + "[1;33m"},
        {"Grey", &P::Grey, esc + "[1;30m"},
        {"BlackOnWhite", &P::BlackOnWhite, esc + "[0;30;47m"},
        {"White", &P::White, esc + "[00m"},
    };
    for (const SingleCase &c : cases)
        EXPECT_EQ(*c.member, c.expected) << c.name;
}

struct ListCase
{
    const char *name;
    const std::string *first;
    size_t count;  // taken from the declared array type
    std::vector<std::string> expected;
};

#define LIST(member, ...) {#member, P::member, sizeof(P::member) / sizeof(P::member[0]), {__VA_ARGS__}}

TEST(ParsingTables, KeywordListsHaveTheirCountsAndEntriesInOrder)
{
    // Accented letters are spelled as UTF-8 bytes so the test does not depend on
    // the source encoding.
    const ListCase cases[] = {
        LIST(NullAddr, "Nowhere", "Nullepart"),
        LIST(Nothing, "Nothing", "Rien", "Vide"),
        LIST(Assignation, "=", ":=", "<=", "<-"),
        LIST(Include, "Include", "Inclure"),
        LIST(IncludeCipher, "Includec", "Inclurec"),
        LIST(Message, "Message"),
        LIST(Warning, "Warning", "Attention"),
        LIST(ErrorD, "Error", "Erreur"),
        LIST(Extern, "extern"),
        LIST(Local, "local"),
        LIST(Private, "private", "priv\xC3\xA9"),
        LIST(Protected, "protected", "prot\xC3\xA9g\xC3\xA9"),
        LIST(Locked, "locked", "verrouill\xC3\xA9"),
        LIST(Public, "public", "publique"),
        LIST(Limited, "limited", "limit\xC3\xA9"),
        LIST(Strict, "strict"),
        LIST(Restricted, "restricted", "restreint"),
        LIST(Const, "const", "solid"),
        LIST(Variant, "variant", "void", "variable"),
        LIST(Boolean, "boolean", "bool\xC3\xA9""en", "bool"),
        LIST(Integer, "integer", "int", "entier"),
        LIST(Real, "double", "real", "r\xC3\xA9""el"),
        LIST(Character, "character", "char", "charact\xC3\xA8re"),
        LIST(String, "string", "chaine"),
        LIST(Descriptor, "descriptor", "index"),
        LIST(Type, "type"),
        LIST(Record, "record", "structure", "struct", "enregistrement"),
        LIST(True, "True", "Yes", "Vrai", "Oui"),
        LIST(False, "False", "Non", "Faux", "No"),
        LIST(Field, "Field", "Champ"),
        LIST(Collection, "Collection"),
        LIST(Script, "Script"),
        LIST(Sequence, "Sequence"),
        LIST(XMLType, "XML"),
        LIST(DataLength, "Byte", "Short", "Word", "Long"),
    };
    for (const ListCase &c : cases)
    {
        ASSERT_EQ(c.count, c.expected.size()) << c.name;
        for (size_t i = 0; i < c.count; ++i)
            EXPECT_EQ(c.first[i], c.expected[i]) << c.name << "[" << i << "]";
    }
}

TEST(ParsingTables, EqualTextsAreDistinctObjects)
{
    EXPECT_NE(&P::CloseSection, &P::CloseScope);
    EXPECT_NE(&P::RealComma, &P::DirectAccess);
}

TEST(ParsingTables, FieldNameHoldsOnlyAsciiNameCharacters)
{
    EXPECT_EQ(P::FieldName.size(), 63u);
    EXPECT_EQ(P::FieldNameFirstChar.size(), 53u);
    for (char c : P::FieldName)
        EXPECT_TRUE(isalnum(static_cast<unsigned char>(c)) || c == '_') << int(c);
    EXPECT_EQ(P::Hexadecimal.find_first_of("ABCDEF"), std::string::npos);
}

TEST(ParsingTables, ListMatchUsesTheDeclaredOrder)
{
    const kzr::ParsingTools tools;
    const std::string text = ":=<=";
    unsigned int position = 0;
    ASSERT_TRUE(tools.ReadText(text, position, P::Assignation, 4));
    EXPECT_EQ(position, 2u);
    ASSERT_TRUE(tools.ReadText(text, position, P::Assignation, 4));
    EXPECT_EQ(position, 4u);
    // One-entry lists are matched with the count 1.
    position = 0;
    EXPECT_TRUE(tools.ReadText(std::string("Message x"), position, P::Message, 1));
    EXPECT_EQ(position, 7u);
}

}  // namespace
