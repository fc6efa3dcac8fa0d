// The document model: lookups, failures recognised by address, the creating
// Access and its limits, number conversions, byte-wise order.

#include <climits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"

namespace
{

const kzr::Ini &Const(kzr::Ini &ini)
{
    return ini;
}

TEST(Document, NewDocumentHoldsOnlyTheEmptyDefaultScope)
{
    kzr::Ini ini;
    EXPECT_EQ("scope \"\"\n", initest::Dump(ini));
    EXPECT_TRUE(ini.LastError.empty());
    EXPECT_EQ(&ini.Error, &ini.LastError);
}

TEST(Document, ConstAccessFailuresInOrder)
{
    kzr::Ini ini;
    ini.GetData()["s"]["two"] = {"a", "b"};
    struct Case
    {
        const char *scope, *field;
        unsigned int index;
        const char *message;
    } cases[] = {
        {"", "x", 0, "ini: cannot find field."},
        {"t", "x", 0, "ini: cannot find scope."},
        {"t", "two", 5, "ini: cannot find scope."},  // the scope is tested first
        {"s", "x", 0, "ini: cannot find field."},
        {"s", "two", 2, "ini: array index is out of range."},
        {"s", "two", 4294967295u, "ini: array index is out of range."},
    };
    for (const Case &c : cases)
    {
        const std::string &got = Const(ini).Access(c.scope, c.field, c.index);
        EXPECT_EQ(&ini.Error, &got) << c.scope << "." << c.field;
        EXPECT_EQ(c.message, ini.LastError) << c.scope << "." << c.field;
    }
    EXPECT_EQ("scope \"\"\nscope \"s\"\n  \"two\" = \"a\", \"b\"\n", initest::Dump(ini));
}

TEST(Document, FailureIsTheAddressNotTheText)
{
    kzr::Ini ini;
    ini.GetData()["s"]["f"] = {"ini: cannot find field."};
    const std::string &value = Const(ini).Access("s", "f", 0);
    EXPECT_NE(&ini.Error, &value);
    EXPECT_EQ("ini: cannot find field.", value);
}

TEST(Document, SuccessDoesNotClearLastError)
{
    kzr::Ini ini;
    ini.GetData()["s"]["f"] = {"a", "b"};
    Const(ini).Access("s", "f", 2);
    EXPECT_EQ("b", Const(ini).Access("s", "f", 1));
    EXPECT_EQ("ini: array index is out of range.", ini.LastError);
}

TEST(Document, CreatingAccessGrowsWithEmptyValues)
{
    kzr::Ini ini;
    ini.Access("s", "f", 3) = "fourth";
    EXPECT_EQ("scope \"\"\nscope \"s\"\n  \"f\" = \"\", \"\", \"\", \"fourth\"\n", initest::Dump(ini));
    EXPECT_EQ("", ini.Access("s", "f", 1));
    EXPECT_EQ(4u, ini.GetData()["s"]["f"].size());
    EXPECT_TRUE(ini.LastError.empty());
}

TEST(Document, CreatingAccessRefusesAHugeIndexAndCreatesNothing)
{
    kzr::Ini ini;
    const unsigned int huge[] = {4294967295u, 2147483648u, kzr::Ini::MaxCreatingIndex};
    for (unsigned int index : huge)
    {
        EXPECT_THROW(ini.Access("s", "f", index), std::length_error) << index;
        EXPECT_EQ("scope \"\"\n", initest::Dump(ini)) << index;
    }
    ini.Access("s", "f", 0) = "x";
    EXPECT_THROW(ini.Access("s", "f", 4294967295u), std::length_error);
    EXPECT_EQ(1u, ini.GetData()["s"]["f"].size());
    // The last index below the bound is still honoured.
    ini.Access("s", "g", kzr::Ini::MaxCreatingIndex - 1) = "last";
    EXPECT_EQ(kzr::Ini::MaxCreatingIndex, ini.GetData()["s"]["g"].size());
}

TEST(Document, ConstConversions)
{
    kzr::Ini ini;
    ini.GetData()[""] = {{"mixed", {"12abc"}}, {"spaced", {"  -7"}},   {"hex", {"0x10"}},
                         {"exp", {"1e3"}},     {"word", {"abc"}},      {"nul", {std::string("5\0" "9", 3)}},
                         {"big", {"99999999999999999999999"}}};
    const kzr::Ini &view = ini;
    EXPECT_EQ(0, view.AccessInt("", "missing", 0));
    EXPECT_EQ(12, view.AccessInt("", "mixed", 0));
    EXPECT_EQ(-7, view.AccessInt("", "spaced", 0));
    EXPECT_EQ(0, view.AccessInt("", "hex", 0));
    EXPECT_EQ(5, view.AccessInt("", "nul", 0));  // a NUL byte ends the text
    EXPECT_EQ(LONG_MAX, view.AccessInt("", "big", 0));
    EXPECT_DOUBLE_EQ(1000.0, view.AccessDbl("", "exp", 0));
    EXPECT_DOUBLE_EQ(0.0, view.AccessDbl("", "word", 0));
    EXPECT_DOUBLE_EQ(0.0, view.AccessDbl("", "exp", 1));
    EXPECT_EQ("ini: array index is out of range.", ini.LastError);
}

TEST(Document, CreatingConversionsCreateTheEntry)
{
    kzr::Ini ini;
    EXPECT_EQ(0, ini.AccessInt("", "n", 0));
    EXPECT_DOUBLE_EQ(0.0, ini.AccessDbl("", "d", 2));
    EXPECT_EQ("scope \"\"\n  \"d\" = \"\", \"\", \"\"\n  \"n\" = \"\"\n", initest::Dump(ini));
}

TEST(Document, NamesAreOrderedByteWise)
{
    kzr::Ini ini;
    for (const char *name : {"b", "A", "a", "_", "9", "ab", "\xc3\xa9", "\x7f"})
        ini.GetData()[name];
    std::string order;
    for (const auto &scope : ini.GetData())
        order += "[" + scope.first + "]";
    EXPECT_EQ("[][9][A][_][a][ab][b][\x7f][\xc3\xa9]", order);
}

TEST(Document, ReadingMergesIntoWhatIsThere)
{
    kzr::Ini ini;
    ini.Access("s", "x", 0) = "by hand";
    ASSERT_TRUE(ini.Read("[s]\nx = 1\n[t]\ny = 2\n"));
    ASSERT_TRUE(ini.Read("y = 3\n[t]\ny = 4\n"));
    EXPECT_EQ("scope \"\"\n  \"y\" = \"3\"\nscope \"s\"\n  \"x\" = \"by hand\"\n"
              "scope \"s0\"\n  \"x\" = \"1\"\nscope \"t\"\n  \"y\" = \"2\"\nscope \"t0\"\n  \"y\" = \"4\"\n",
              initest::Dump(ini));
}

TEST(Document, ReadRecreatesARemovedDefaultScope)
{
    kzr::Ini ini;
    ini.GetData().clear();
    ASSERT_TRUE(ini.Read("a = 1"));
    EXPECT_EQ("scope \"\"\n  \"a\" = \"1\"\n", initest::Dump(ini));
}

TEST(Document, ReadArrayAppendsAndReportsWhereItStopped)
{
    kzr::Ini ini;
    kzr::Ini::ValueArray values{"old"};
    unsigned int position = 2;
    std::string text = "= 1 , \"two\" ;\n next";
    EXPECT_TRUE(ini.ReadArray(text, position, values));
    EXPECT_EQ((kzr::Ini::ValueArray{"old", "1 ", "two"}), values);
    EXPECT_EQ(text.find("next"), position);

    position = 1000;  // past the end: read as the end, one empty value
    EXPECT_TRUE(ini.ReadArray("a", position, values));
    EXPECT_EQ(1u, position);
    EXPECT_EQ("", values.back());

    position = 0;
    EXPECT_FALSE(ini.ReadArray("a, \"b\", \"c", position, values));
    EXPECT_EQ("ini: error while reading a complex string.", ini.LastError);
    EXPECT_EQ("b", values.back());
}

}  // namespace
