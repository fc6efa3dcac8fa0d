#include "parsing/ParsingDetail.hpp"
#include "parsing/ParsingTools.hpp"

namespace kzr
{

bool ParsingTools::CheckChar(const std::string &text, unsigned int position, const std::string &set) const
{
    // Sets never hold NUL, so testing the terminator at the end would always fail;
    // checking the bound first keeps the reader within the text in every case.
    if (position >= detail::TextEnd(text))
        return false;
    return detail::InSet(text[position], set);
}

}  // namespace kzr
