// The literal decoder on arbitrary text: it stays inside the text and keeps its position rules.
#include "fuzz_common.hpp"
#include "parsing/ParsingTools.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kzr::ParsingTools tools;
    std::string text(reinterpret_cast<const char *>(data), size);
    unsigned int pos = 0;
    std::string out;
    int code = tools.ReadString(text, pos, out);
    if (code != 0 && pos != 0)
        abort();  // a failed read leaves the position alone
    if (pos > text.size())
        abort();
    unsigned int inside = 0;
    std::string body;
    tools.ReadInsideString(text, inside, body);
    if (inside > text.size())
        abort();
    return 0;
}
