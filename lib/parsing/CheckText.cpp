#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

bool ParsingTools::CheckText(const std::string &text, unsigned int position, const std::string &word) const
{
    const unsigned int end = detail::TextEnd(text);
    if (position > end || word.size() > end - position)
        return false;
    return text.compare(position, word.size(), word) == 0;
}

}  // namespace kzr
