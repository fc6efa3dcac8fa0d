#include "ini/IniApi.hpp"

const char *vollo_ini_scope_get_field(vollo_ini_scope *scope, const char *field, int index)
{
    if (!scope || !field)
        return nullptr;
    try
    {
        const kzr::Ini::FieldMap &fields = *kzr::iniapi::FieldsOf(scope);
        kzr::Ini::FieldMap::const_iterator at = fields.find(field);
        if (at == fields.end() || static_cast<unsigned int>(index) >= at->second.size())
            return nullptr;
        return at->second[static_cast<unsigned int>(index)].c_str();
    }
    catch (...)
    {
        return nullptr;
    }
}
