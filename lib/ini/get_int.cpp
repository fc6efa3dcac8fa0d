#include <cerrno>
#include <cstdlib>

#include "ini/IniApi.hpp"

int64_t vollo_ini_get_int(vollo_ini *ini, const char *scope, const char *field, int index, int64_t fallback)
{
    std::string text;
    if (!kzr::iniapi::FindNumberText(ini, scope, field, index, &text))
        return fallback;
    char *end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || end != text.c_str() + text.size())
        return fallback;
    return number;
}
