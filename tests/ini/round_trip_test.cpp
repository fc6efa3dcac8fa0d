// Whatever the writer writes, the reader reads back: Save then Load gives the same
// document, for awkward values and for random documents of random bytes.

#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

// Saves to a file, loads it into a new document and returns its dump.
std::string ThroughAFile(const kzr::Ini &ini, const initest::TempDir &dir)
{
    std::string path = dir.Path("round.ini");
    EXPECT_TRUE(ini.Save(path));
    kzr::Ini back;
    EXPECT_TRUE(back.Load(path)) << back.LastError;
    return initest::Dump(back);
}

TEST(RoundTrip, AwkwardValues)
{
    const std::string values[] = {
        "#", "a # b", "x#", "\"", "\\", "\\\"", "a,b", "a;b", "line\nbreak", "cr\rlf\r\n", " padded ",
        "\x01" "5",          // an octal escape followed by an octal digit
        "\x1b" "7" "\x7f" "0",
        "\xc3\xa9", "\xc3",  // a sequence cut by the end of the value
        "\xc3#", "\xe2\x82", "\xf0\x9f\x98", "\x80", "\xff", "\xfe\xff\xc0\xc1",
        "\xc3\"", "\xc3\\", "\xc3\n", "\xe2#\xac", "", "=", "[s]", "'", "\t\v\f\a\b",
    };
    kzr::Ini ini;
    int n = 0;
    for (const std::string &value : values)
        ini.GetData()["s"]["v" + std::to_string(n++)] = {value, value + value, "tail"};
    initest::TempDir dir;
    EXPECT_EQ(initest::Dump(ini), ThroughAFile(ini, dir));
}

TEST(RoundTrip, LongListsAndManyScopes)
{
    kzr::Ini ini;
    for (int s = 0; s < 30; ++s)
        for (int count : {1, 9, 10, 11, 20, 21, 105})
            ini.Access("scope" + std::to_string(s), "list" + std::to_string(count),
                       static_cast<unsigned int>(count - 1)) = "last";
    initest::TempDir dir;
    EXPECT_EQ(initest::Dump(ini), ThroughAFile(ini, dir));
}

TEST(RoundTrip, HandleApiSaveAndLoad)
{
    initest::TempDir dir;
    vollo_ini *ini = vollo_new_ini();
    vollo_ini_set_field(ini, default_scope, "title", 0, "a # b");
    vollo_ini_set_field(ini, "size", "w", 1, "640");
    ASSERT_TRUE(vollo_save_ini(ini, dir.Path("api.ini").c_str()));
    vollo_ini *back = vollo_load_ini(dir.Path("api.ini").c_str());
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(initest::Dump(*ini), initest::Dump(*back));
    vollo_delete_ini(ini);
    vollo_delete_ini(back);
}

// Random bytes 1-255, weighted towards the bytes that the format and the codec
// treat specially.
std::string RandomValue(std::mt19937 &random)
{
    static const std::string special = "#\"\\,;\n\r\t 01234567=[]";
    std::string value;
    size_t length = random() % 12;
    for (size_t i = 0; i < length; ++i)
    {
        unsigned int pick = random() % 10;
        if (pick < 4)
            value += special[random() % special.size()];
        else if (pick < 6)
            value += static_cast<char>(0xC0 + random() % 0x40);  // lead bytes, often cut short
        else
            value += static_cast<char>(1 + random() % 255);
    }
    return value;
}

std::string RandomName(std::mt19937 &random)
{
    const std::string &chars = kzr::ParsingTools::FieldName;
    std::string name(1 + random() % 6, ' ');
    for (char &byte : name)
        byte = chars[random() % chars.size()];
    return name;
}

TEST(RoundTrip, RandomDocuments)
{
    initest::TempDir dir;
    for (unsigned int seed = 1; seed <= 1000; ++seed)
    {
        std::mt19937 random(seed);
        kzr::Ini ini;
        for (int s = random() % 4; s >= 0; --s)
        {
            kzr::Ini::FieldMap &fields = ini.GetData()[s == 0 ? std::string() : RandomName(random)];
            for (int f = 1 + random() % 5; f > 0; --f)
            {
                kzr::Ini::ValueArray &values = fields[RandomName(random)];
                values.resize(1 + random() % 13);
                for (std::string &value : values)
                    value = RandomValue(random);
            }
        }
        std::string expected = initest::Dump(ini);
        if (seed % 10 == 0)  // each file save syncs to disk, so only some go through one
        {
            ASSERT_EQ(expected, ThroughAFile(ini, dir)) << "seed " << seed;
        }
        std::ostringstream written;
        ini.Save(written);
        EXPECT_EQ(std::string::npos, written.str().find('#')) << "seed " << seed;
        kzr::Ini read;
        ASSERT_TRUE(read.Read(written.str())) << "seed " << seed;
        ASSERT_EQ(expected, initest::Dump(read)) << "seed " << seed;
    }
}

}  // namespace
