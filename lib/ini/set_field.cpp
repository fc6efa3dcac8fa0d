#include "ini/IniApi.hpp"

namespace
{

// A null value: erase the scope (null field), the field (index erase_field) or
// one value; what was named but missing is created empty, except a scope to erase.
// Running out of memory half-way removes the scope this call created.
void Erase(kzr::Ini &ini, const std::string &scope, const char *field, int index)
{
    kzr::Ini::ScopeMap &data = ini.GetData();
    if (field == erase_scope)
    {
        data.erase(scope);
        return;
    }
    std::string fieldName(field ? field : "");
    kzr::Ini::ScopeMap::iterator scopeAt = data.find(scope);
    bool newScope = scopeAt == data.end();
    if (newScope)
        scopeAt = data.emplace(scope, kzr::Ini::FieldMap()).first;
    kzr::Ini::FieldMap &fields = scopeAt->second;
    if (index == erase_field)
    {
        fields.erase(fieldName);
        return;
    }
    try
    {
        kzr::Ini::ValueArray &values = fields[fieldName];
        if (static_cast<unsigned int>(index) < values.size())
            values.erase(values.begin() + static_cast<unsigned int>(index));
    }
    catch (...)
    {
        if (newScope)
            data.erase(scopeAt);
        throw;
    }
}

}  // namespace

void vollo_ini_set_field(vollo_ini *ini, const char *scope, const char *field, int index,
                         const char *value)
{
    if (!ini)
        return;
    try
    {
        std::string scopeName(scope ? scope : "");
        if (value == erase_index)
        {
            Erase(*ini, scopeName, field, index);
            return;
        }
        // Copy first: `value` may point into this very field, whose values move
        // when the creating Access grows it.
        std::string copy(value);
        ini->Access(scopeName, field ? field : "", static_cast<unsigned int>(index)).swap(copy);
    }
    catch (...)
    {
        // Out of memory or an index that cannot be created: the creating Access
        // has left the document as it was.
    }
}
