#include <cctype>

#include "ini/IniApi.hpp"

namespace
{
bool same_word(const std::string &text, const char *word)
{
    size_t index = 0;
    for (; index < text.size() && word[index] != '\0'; ++index)
        if (std::tolower(static_cast<unsigned char>(text[index])) != word[index])
            return false;
    return index == text.size() && word[index] == '\0';
}
}  // namespace

bool vollo_ini_get_bool(vollo_ini *ini, const char *scope, const char *field, int index, bool fallback)
{
    const std::string *value = kzr::iniapi::FindValue(ini, scope, field, index);
    if (!value)
        return fallback;
    const std::string text = kzr::iniapi::TrimBlanks(*value);
    for (const char *yes : {"1", "true", "yes", "on"})
        if (same_word(text, yes))
            return true;
    for (const char *no : {"0", "false", "no", "off"})
        if (same_word(text, no))
            return false;
    return fallback;
}
