#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "ini/IniApi.hpp"

double vollo_ini_get_double(vollo_ini *ini, const char *scope, const char *field, int index, double fallback)
{
    std::string text;
    if (!kzr::iniapi::FindNumberText(ini, scope, field, index, &text))
        return fallback;
    char *end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    // Out of range, infinities and not-a-number are no usable setting.
    if (errno == ERANGE || end != text.c_str() + text.size() || !std::isfinite(number))
        return fallback;
    return number;
}
