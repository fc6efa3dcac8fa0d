#include <cstring>

#include "ini/IniApi.hpp"

namespace kzr
{
namespace iniapi
{

const std::string *FindValue(vollo_ini *ini, const char *scope, const char *field, int index)
{
    if (!ini || !field || index < 0)
        return nullptr;
    try
    {
        // A const view, so that reading never creates anything.
        const Ini &document = *ini;
        const std::string &value = document.Access(scope ? scope : "", field, static_cast<unsigned int>(index));
        return &value == &document.Error ? nullptr : &value;
    }
    catch (...)
    {
        return nullptr;
    }
}

std::string TrimBlanks(const std::string &value)
{
    const size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

bool FindNumberText(vollo_ini *ini, const char *scope, const char *field, int index, std::string *text)
{
    const std::string *value = FindValue(ini, scope, field, index);
    if (!value)
        return false;
    *text = TrimBlanks(*value);
    // Empty, or a NUL byte inside that the C conversions would stop at.
    return !text->empty() && text->size() == std::strlen(text->c_str());
}

}  // namespace iniapi
}  // namespace kzr
