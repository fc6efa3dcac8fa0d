// Throughput of the literal codec on a few megabytes of mixed text: BuildString
// over many values, and ReadString over the literals it produced, in MB/s of
// value bytes and of literal bytes respectively. Best of several rounds.

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "parsing/ParsingTools.hpp"

namespace
{

// Mostly prose, with the bytes the encoder escapes mixed in: UTF-8 letters,
// control bytes, quotes, backslashes, '#' and digits.
std::vector<std::string> MixedValues(size_t totalBytes)
{
    static const char *const pieces[] = {
        "the quick brown fox ", "jumps over ", "width = 1050, ", "caf\xC3\xA9 ", "\xE2\x82\xAC 42 ",
        "tab\there ", "line\nend ", "say \"hi\" ", "C:\\path\\to ", "#3 ", "\x1b[1;36m", "\xF0\x9F\x98\x80",
        "\x7f\x01" "7 ", "priv\xC3\xA9 ", "0123456789 ",
    };
    std::mt19937 random(12345);
    std::vector<std::string> values;
    size_t total = 0;
    while (total < totalBytes)
    {
        std::string value;
        const size_t target = 8 + random() % 200;
        while (value.size() < target)
            value += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        total += value.size();
        values.push_back(value);
    }
    return values;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    const kzr::ParsingTools tools;
    const std::vector<std::string> values = MixedValues(4u << 20);
    size_t valueBytes = 0;
    for (const std::string &value : values)
        valueBytes += value.size();

    std::string text;
    double bestBuild = 1e30;
    for (int round = 0; round < 5; ++round)
    {
        text.clear();
        const auto start = std::chrono::steady_clock::now();
        for (const std::string &value : values)
        {
            text += '"';
            text += tools.BuildString(value);
            text += "\"\n";
        }
        bestBuild = std::min(bestBuild, Seconds(start));
    }

    double bestRead = 1e30;
    size_t decodedBytes = 0;
    for (int round = 0; round < 5; ++round)
    {
        decodedBytes = 0;
        unsigned int position = 0;
        std::string output;
        const auto start = std::chrono::steady_clock::now();
        while (tools.ReadString(text, position, output) == 0)
        {
            decodedBytes += output.size();
            tools.ReadSeparator(text, position);
        }
        bestRead = std::min(bestRead, Seconds(start));
        if (position != text.size() || decodedBytes != valueBytes)
        {
            std::fprintf(stderr, "bench_parsing: the literals did not read back\n");
            return 1;
        }
    }

    const double mega = 1e6;
    std::printf("BuildString: %zu values, %.1f MB in, %.1f MB of literals: %.1f MB/s\n", values.size(),
                valueBytes / mega, text.size() / mega, valueBytes / mega / bestBuild);
    std::printf("ReadString:  %.1f MB of literals: %.1f MB/s (%.1f MB/s of decoded bytes)\n", text.size() / mega,
                text.size() / mega / bestRead, decodedBytes / mega / bestRead);
    return 0;
}
