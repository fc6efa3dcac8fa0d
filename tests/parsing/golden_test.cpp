// Golden cases of the literal codec, kept as data in golden/*.cases: a new case is
// a new line in a file, not new code.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "parsing/ParsingTools.hpp"

namespace
{

struct CaseLine
{
    int lineNumber;
    std::vector<std::string> fields;
};

// Decodes the case notation: <HH> is one byte given in hex, anything else is itself.
std::string Bytes(const std::string &notation)
{
    std::string bytes;
    for (size_t i = 0; i < notation.size(); ++i)
    {
        if (notation[i] == '<' && i + 3 < notation.size() && notation[i + 3] == '>' &&
            isxdigit(static_cast<unsigned char>(notation[i + 1])) &&
            isxdigit(static_cast<unsigned char>(notation[i + 2])))
        {
            bytes += static_cast<char>(std::strtol(notation.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 3;
        }
        else
            bytes += notation[i];
    }
    return bytes;
}

std::string Trim(const std::string &field)
{
    const size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

// Every line that is neither blank nor a comment, split on '|' and trimmed.
std::vector<CaseLine> LoadCases(const std::string &name, size_t columns)
{
    std::ifstream file(std::string(PARSING_GOLDEN_DIR) + "/" + name);
    EXPECT_TRUE(file.is_open()) << name;
    std::vector<CaseLine> cases;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number)
    {
        if (Trim(line).empty() || line[0] == '#')
            continue;
        CaseLine parsed{number, {}};
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '|'))
            parsed.fields.push_back(Trim(field));
        if (!line.empty() && line.back() == '|')
            parsed.fields.push_back("");
        EXPECT_EQ(parsed.fields.size(), columns) << name << ":" << number << ": " << line;
        if (parsed.fields.size() == columns)
            cases.push_back(parsed);
    }
    EXPECT_FALSE(cases.empty()) << name;
    return cases;
}

TEST(ParsingGolden, ReadStringCases)
{
    const kzr::ParsingTools tools;
    const std::string untouched = "(untouched)";
    for (const CaseLine &c : LoadCases("read_string.cases", 5))
    {
        const std::string where = "read_string.cases:" + std::to_string(c.lineNumber) + " " + c.fields[0];
        const std::string text = Bytes(c.fields[1]);
        unsigned int position = 0;
        std::string output = untouched;
        const int code = tools.ReadString(text, position, output);
        EXPECT_EQ(code, std::atoi(c.fields[2].c_str())) << where;
        EXPECT_EQ(output, c.fields[3] == "-" ? untouched : Bytes(c.fields[3])) << where;
        EXPECT_EQ(position, static_cast<unsigned int>(std::atoi(c.fields[4].c_str()))) << where;
    }
}

TEST(ParsingGolden, BuildStringCases)
{
    const kzr::ParsingTools tools;
    for (const CaseLine &c : LoadCases("build_string.cases", 3))
    {
        const std::string where = "build_string.cases:" + std::to_string(c.lineNumber) + " " + c.fields[0];
        const std::string value = Bytes(c.fields[1]);
        const std::string body = tools.BuildString(value);
        EXPECT_EQ(body, Bytes(c.fields[2])) << where;

        // The body reads back as the value without its NUL bytes.
        std::string expected;
        for (char byte : value)
            if (byte != '\0')
                expected += byte;
        const std::string literal = "\"" + body + "\"";
        unsigned int position = 0;
        std::string decoded;
        EXPECT_EQ(tools.ReadString(literal, position, decoded), 0) << where;
        EXPECT_EQ(decoded, expected) << where;
        EXPECT_EQ(position, literal.size()) << where;
    }
}

}  // namespace
