#include "parsing/ParsingTools.hpp"

namespace kzr
{

// Blanks, tabs and line continuations (a backslash that ends a line, in any of the
// three line-end forms, the two-byte form first). A bare line end is not white
// space here: it separates items.
bool ParsingTools::ReadWhitespace(const std::string &text, unsigned int &position) const
{
    static const std::string blanks = " \t";
    static const std::string continuations[3] = {"\\\r\n", "\\\n", "\\\r"};
    const unsigned int start = position;
    while (ReadChar(text, position, blanks) || ReadText(text, position, continuations, 3))
    {
    }
    return position != start;
}

}  // namespace kzr
