#include "ini/IniApi.hpp"

const char *vollo_ini_get_field(vollo_ini *ini, const char *scope, const char *field, int index)
{
    if (!ini || !field)
        return nullptr;
    try
    {
        // A const view, so that reading never creates anything.
        const kzr::Ini &document = *ini;
        const std::string &value =
            document.Access(scope ? scope : "", field, static_cast<unsigned int>(index));
        return &value == &document.Error ? nullptr : value.c_str();
    }
    catch (...)
    {
        return nullptr;
    }
}
