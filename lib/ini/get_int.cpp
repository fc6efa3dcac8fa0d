#include <cerrno>
#include <cstdlib>

#include "ini/IniApi.hpp"

int64_t vollo_ini_get_int(vollo_ini *ini, const char *scope, const char *field, int index, int64_t fallback)
{
    const std::string *value = kzr::iniapi::FindValue(ini, scope, field, index);
    if (!value)
        return fallback;
    const std::string text = kzr::iniapi::TrimBlanks(*value);
    if (text.empty() || text.size() != std::strlen(text.c_str()))
        return fallback;  // empty, or a NUL byte inside
    char *end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || end != text.c_str() + text.size())
        return fallback;
    return number;
}
