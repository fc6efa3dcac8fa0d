#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "ini/IniApi.hpp"

double vollo_ini_get_double(vollo_ini *ini, const char *scope, const char *field, int index, double fallback)
{
    const std::string *value = kzr::iniapi::FindValue(ini, scope, field, index);
    if (!value)
        return fallback;
    const std::string text = kzr::iniapi::TrimBlanks(*value);
    if (text.empty() || text.size() != std::strlen(text.c_str()))
        return fallback;  // empty, or a NUL byte inside
    char *end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    // Out of range, infinities and not-a-number are no usable setting.
    if (errno == ERANGE || end != text.c_str() + text.size() || !std::isfinite(number))
        return fallback;
    return number;
}
