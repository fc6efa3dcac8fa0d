#include "ini/IniApi.hpp"

void vollo_ini_scope_set_field(vollo_ini_scope *scope, const char *field, int index, const char *value)
{
    if (!scope || !field || !value)
        return;
    try
    {
        kzr::Ini::ValueArray &values = (*kzr::iniapi::FieldsOf(scope))[field];
        if (static_cast<unsigned int>(index) < values.size())
            values[static_cast<unsigned int>(index)].assign(value);
    }
    catch (...)
    {
        // Out of memory: the value keeps its old text.
    }
}
