#include "parsing/ParsingTools.hpp"

namespace kzr
{

bool ParsingTools::ReadText(const std::string &text, unsigned int &position, const std::string &word) const
{
    if (!CheckText(text, position, word))
        return false;
    // CheckText guarantees that the word fits before the end, so this cannot wrap.
    position += static_cast<unsigned int>(word.size());
    return true;
}

// The first match wins, even when a later word is longer: the array order decides.
bool ParsingTools::ReadText(const std::string &text, unsigned int &position, const std::string *words,
                            unsigned int count) const
{
    if (words == nullptr)
        return false;
    for (unsigned int i = 0; i < count; ++i)
        if (ReadText(text, position, words[i]))
            return true;
    return false;
}

}  // namespace kzr
