#include <cstring>

#include "error/error.hpp"
#include "ini/IniApi.hpp"

namespace
{
// The reason of the latest failed load or save; a success leaves it as it is.
std::string &kept_error()
{
    static std::string error;
    return error;
}
}  // namespace

namespace kzr
{
namespace iniapi
{
void KeepError(const char *message, unsigned int line, const char *path) noexcept
{
    if (path)
    {
        const char *reason = std::strncmp(message, "ini: ", 5) == 0 ? message + 5 : message;
        if (line != 0)
            vollo_fail("cannot parse '%s' line %u: %s", path, line, reason);
        else
            vollo_fail("'%s': %s", path, reason);
    }
    static const std::string prefix = "ini: ";
    std::string &error = kept_error();
    try
    {
        error = message;
        if (line != 0 && error.compare(0, prefix.size(), prefix) == 0)
            error.insert(prefix.size(), "line " + std::to_string(line) + ": ");
    }
    catch (...)
    {
        // Out of memory: the reason is lost rather than thrown from a C-style call.
        error.clear();
    }
}
}  // namespace iniapi
}  // namespace kzr

const char *vollo_ini_error(void)
{
    return kept_error().c_str();
}
