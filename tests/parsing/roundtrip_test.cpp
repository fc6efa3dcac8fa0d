// Property: for every byte string without NUL, the literal built by BuildString
// reads back as the same bytes, ends where the literal ends, and holds no raw '#'.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "parsing/ParsingTools.hpp"

namespace
{

// Bytes that the encoder must treat with care get extra weight: '#', backslash,
// quotes, octal digits, control bytes, lead and continuation bytes.
char RandomByte(std::mt19937_64 &random)
{
    static const unsigned char tricky[] = {'#', '\\', '"', '\'', '0', '1', '5', '7', '8', 0x01, 0x1B,
                                           0x7F, 0x80, 0xBF, 0xC3, 0xE2, 0xF0, 0xF8, 0xFF, '\n', '\r'};
    if (random() % 3 == 0)
        return static_cast<char>(tricky[random() % sizeof(tricky)]);
    return static_cast<char>(1 + random() % 255);  // any byte but NUL
}

std::string RandomValue(std::mt19937_64 &random)
{
    const size_t length = random() % 24;
    std::string value;
    for (size_t i = 0; i < length; ++i)
        value += RandomByte(random);
    // Often end on a lead byte followed by fewer bytes than it announces.
    if (random() % 4 == 0)
    {
        static const unsigned char leads[] = {0xC3, 0xE2, 0xF0};
        const unsigned char lead = leads[random() % 3];
        value += static_cast<char>(lead);
        const size_t continuations = random() % (lead == 0xC3 ? 1 : lead == 0xE2 ? 2 : 3);
        for (size_t i = 0; i < continuations; ++i)
            value += static_cast<char>(0x80 + random() % 64);
    }
    return value;
}

// A printable form of a byte string for failure messages.
std::string Hex(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char byte : bytes)
    {
        out += digits[byte >> 4];
        out += digits[byte & 15];
        out += ' ';
    }
    return out;
}

TEST(ParsingRoundTrip, RandomByteStringsReadBackExactly)
{
    const uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 random(seed);
    const kzr::ParsingTools tools;
    for (int n = 0; n < 100000; ++n)
    {
        const std::string value = RandomValue(random);
        const std::string body = tools.BuildString(value);
        const std::string literal = "\"" + body + "\" tail";
        unsigned int position = 0;
        std::string decoded;
        const int code = tools.ReadString(literal, position, decoded);
        ASSERT_EQ(code, 0) << "seed " << seed << " case " << n << " value " << Hex(value);
        ASSERT_EQ(decoded, value) << "seed " << seed << " case " << n << " value " << Hex(value);
        ASSERT_EQ(position, body.size() + 2) << "seed " << seed << " case " << n << " value " << Hex(value);
        ASSERT_EQ(body.find('#'), std::string::npos) << "seed " << seed << " value " << Hex(value);
    }
}

TEST(ParsingRoundTrip, EveryByteAndEveryPairReadsBack)
{
    // Exhaustive over single bytes and byte pairs (no NUL): covers every escape
    // followed by every possible next byte.
    const kzr::ParsingTools tools;
    std::string value;
    for (int first = 1; first < 256; ++first)
        for (int second = 0; second < 256; ++second)
        {
            value.assign(1, static_cast<char>(first));
            if (second != 0)
                value += static_cast<char>(second);
            const std::string literal = "\"" + tools.BuildString(value) + "\"";
            unsigned int position = 0;
            std::string decoded;
            ASSERT_EQ(tools.ReadString(literal, position, decoded), 0) << Hex(value);
            ASSERT_EQ(decoded, value) << Hex(value);
            ASSERT_EQ(position, literal.size()) << Hex(value);
        }
}

TEST(ParsingRoundTrip, ValidUtf8PassesThroughUnchanged)
{
    const kzr::ParsingTools tools;
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 priv\xC3\xA9";
    EXPECT_EQ(tools.BuildString(text), text);
}

}  // namespace
