// The writer's canonical layout, to a stream.

#include <sstream>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"

namespace
{

std::string Saved(const kzr::Ini &ini)
{
    std::ostringstream out;
    ini.Save(out);
    return out.str();
}

kzr::Ini::ValueArray Numbers(int count)
{
    kzr::Ini::ValueArray values;
    for (int n = 1; n <= count; ++n)
        values.push_back(std::to_string(n));
    return values;
}

TEST(Writer, Layouts)
{
    struct Case
    {
        const char *what;
        kzr::Ini::ScopeMap data;
        const char *expected;
    } cases[] = {
        {"new document", {{"", {}}}, ""},
        {"no scope at all", {}, ""},
        {"scope without fields", {{"", {}}, {"s", {}}}, "[s]\n"},
        {"worked layout",
         {{"", {{"colour", {"red"}}}}, {"size", {{"list", Numbers(12)}, {"w", {"640"}}}}},
         "colour=\"red\"\n[size]\n"
         "list=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\n\"11\",\"12\"\n"
         "w=\"640\"\n"},
        {"ten values", {{"", {{"t", Numbers(10)}}}},
         "t=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\"\n"},
        {"eleven values", {{"", {{"t", Numbers(11)}}}},
         "t=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\n\"11\"\n"},
        {"twenty-one values", {{"", {{"t", Numbers(21)}}}},
         "t=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\n"
         "\"11\",\"12\",\"13\",\"14\",\"15\",\"16\",\"17\",\"18\",\"19\",\"20\",\n\"21\"\n"},
        // Written as "e=" alone it would take the next line as its value.
        {"field without values", {{"", {{"e", {}}}}, {"s", {{"f", {"1"}}}}}, "e=\"\"\n[s]\nf=\"1\"\n"},
        {"escaped values", {{"", {{"v", {"a\"b\\c\td\ne", "#", std::string("x\0y", 3)}}}}},
         "v=\"a\\\"b\\\\c\\td\\ne\",\"\\043\",\"xy\"\n"},
        {"names as stored", {{"", {{"", {"1"}}}}, {"a b", {{"c-d", {"2"}}}}}, "=\"1\"\n[a b]\nc-d=\"2\"\n"},
    };
    for (Case &c : cases)
    {
        kzr::Ini ini;
        ini.GetData() = c.data;
        EXPECT_EQ(c.expected, Saved(ini)) << c.what;
    }
}

// Counts the flushes that reach the stream's buffer.
class CountingBuffer : public std::stringbuf
{
  public:
    int syncs = 0;
    std::string atSync;  // what had been written at each flush, separated by '|'

  protected:
    int sync() override
    {
        ++syncs;
        atSync += str() + "|";
        return 0;
    }
};

TEST(Writer, FlushesAtEachEndOfLine)
{
    kzr::Ini ini;
    ini.GetData()["s"]["list"] = Numbers(11);
    CountingBuffer buffer;
    std::ostream out(&buffer);
    ini.Save(out);
    EXPECT_EQ(3, buffer.syncs);
    EXPECT_EQ("[s]\n|[s]\nlist=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\n|"
              "[s]\nlist=\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\n\"11\"\n|",
              buffer.atSync);
}

TEST(Writer, SuffixedScopesReadBackUnderTheSameNames)
{
    kzr::Ini first;
    ASSERT_TRUE(first.Read("[a]\nx = 1\n[a]\nx = 2\nx = 3\n"));
    std::string written = Saved(first);
    EXPECT_EQ("[a]\nx=\"1\"\n[a0]\nx=\"2\"\nx0=\"3\"\n", written);
    kzr::Ini second;
    ASSERT_TRUE(second.Read(written));
    EXPECT_EQ(initest::Dump(first), initest::Dump(second));
}

TEST(Writer, DoesNotTouchTheDocumentOrLastError)
{
    kzr::Ini ini;
    ini.LastError = "ini: cannot find field.";
    ini.GetData()["s"]["f"] = {"v"};
    std::string before = initest::Dump(ini);
    Saved(ini);
    EXPECT_EQ(before, initest::Dump(ini));
    EXPECT_EQ("ini: cannot find field.", ini.LastError);
}

TEST(Writer, FailedStreamWritesNothingAndDoesNotThrow)
{
    kzr::Ini ini;
    ini.GetData()["s"]["f"] = {"v"};
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_NO_THROW(ini.Save(out));
    EXPECT_EQ("", out.str());
}

}  // namespace
