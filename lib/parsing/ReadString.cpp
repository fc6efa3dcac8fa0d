#include "parsing/ParsingTools.hpp"

namespace kzr
{

// The position moves only on success, so a caller can report the error at the
// literal's opening quote.
int ParsingTools::ReadString(const std::string &text, unsigned int &position, std::string &output) const
{
    unsigned int p = position;
    if (!ReadText(text, p, StringDelimiter))
        return -1;
    if (!ReadInsideString(text, p, output))
        return -2;
    if (!ReadText(text, p, StringDelimiter))
        return -3;
    position = p;
    return 0;
}

}  // namespace kzr
