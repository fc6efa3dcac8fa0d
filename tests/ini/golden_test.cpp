// Golden files: every golden/<case>.ini is read into a new document and the
// outcome compared with golden/<case>.expected: the result, the message in
// LastError after a failure (with, for files, the line it was found on and the
// reason vollo_ini_error gives), and a dump of the document (what was stored before an
// error stays and is dumped too). Cases are loaded from their file with Load, so
// comments are removed first; a case named read_<...> is given to Read instead,
// where "#" is an ordinary byte: only its leading lines that begin with "#" (the
// description of the case) are blanked first. A new case is a new pair of files.
//
// INI_GOLDEN_UPDATE=1 rewrites the .expected files from the current outcome; review
// the difference before committing it.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

std::vector<std::string> GoldenCases()
{
    std::vector<std::string> cases;
    for (const auto &entry : std::filesystem::directory_iterator(INI_GOLDEN_DIR))
        if (entry.path().extension() == ".ini")
            cases.push_back(entry.path().stem().string());
    std::sort(cases.begin(), cases.end());
    return cases;
}

// Blanks the leading "#" lines of a read_ case (into newlines, keeping offsets).
std::string WithoutDescription(std::string text)
{
    size_t at = 0;
    while (at < text.size() && text[at] == '#')
    {
        size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        text.replace(at, end - at, end - at, '\n');
        at = end + 1;
    }
    return text;
}

std::string Outcome(const std::string &name)
{
    std::string path = std::string(INI_GOLDEN_DIR) + "/" + name + ".ini";
    kzr::Ini ini;
    bool result = name.rfind("read_", 0) == 0 ? ini.Read(WithoutDescription(initest::ReadWholeFile(path)))
                                              : ini.Load(path);
    std::string out = result ? "result: true\n" : "result: false\nerror: " + ini.LastError + "\n";
    if (!result && name.rfind("read_", 0) != 0)
    {
        // The line of the file that Load found the error on, and the reason the
        // handle API gives for the same file.
        out += "line: " + std::to_string(ini.ErrorLine) + "\n";
        EXPECT_EQ(vollo_load_ini(path.c_str()), nullptr);
        out += std::string("vollo_ini_error: ") + vollo_ini_error() + "\n";
    }
    return out + initest::Dump(ini);
}

class Golden : public testing::TestWithParam<std::string>
{
};

TEST_P(Golden, MatchesExpected)
{
    std::string expectedPath = std::string(INI_GOLDEN_DIR) + "/" + GetParam() + ".expected";
    std::string outcome = Outcome(GetParam());
    if (std::getenv("INI_GOLDEN_UPDATE"))
        initest::WriteWholeFile(expectedPath, outcome);
    EXPECT_EQ(initest::ReadWholeFile(expectedPath), outcome);
}

INSTANTIATE_TEST_SUITE_P(Ini, Golden, testing::ValuesIn(GoldenCases()),
                         [](const testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param;
                             for (char &byte : name)
                                 if (!std::isalnum(static_cast<unsigned char>(byte)))
                                     byte = '_';
                             return name;
                         });

TEST(GoldenSet, EveryCaseHasItsExpectedFile)
{
    for (const std::string &name : GoldenCases())
        EXPECT_TRUE(std::filesystem::exists(std::string(INI_GOLDEN_DIR) + "/" + name + ".expected")) << name;
}

}  // namespace
