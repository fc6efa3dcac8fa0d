#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

bool ParsingTools::ReadChar(const std::string &text, unsigned int &position, const std::string &set) const
{
    const unsigned int end = detail::TextEnd(text);
    unsigned int p = position;
    while (p < end && detail::InSet(text[p], set))
        ++p;
    if (p == position)
        return false;
    position = p;
    return true;
}

}  // namespace kzr
