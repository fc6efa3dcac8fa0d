#include "parsing/ParsingTools.hpp"

namespace kzr
{

// The semicolon separates items like a blank does; it starts no comment.
bool ParsingTools::ReadSeparator(const std::string &text, unsigned int &position) const
{
    static const std::string separators = " \t\n\r;";
    return ReadChar(text, position, separators);
}

}  // namespace kzr
