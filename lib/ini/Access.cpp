#include "ini/Ini.hpp"

#include <cstdlib>
#include <stdexcept>

namespace kzr
{

const std::string &Ini::Access(const std::string &scope, const std::string &field,
                               unsigned int index) const
{
    ScopeMap::const_iterator scopeAt = Data.find(scope);
    if (scopeAt == Data.end())
    {
        LastError = "ini: cannot find scope.";
        return LastError;
    }
    FieldMap::const_iterator fieldAt = scopeAt->second.find(field);
    if (fieldAt == scopeAt->second.end())
    {
        LastError = "ini: cannot find field.";
        return LastError;
    }
    if (index >= fieldAt->second.size())
    {
        LastError = "ini: array index is out of range.";
        return LastError;
    }
    return fieldAt->second[index];
}

long Ini::AccessInt(const std::string &scope, const std::string &field, unsigned int index) const
{
    const std::string &value = Access(scope, field, index);
    if (&value == &Error)
        return 0;
    return std::strtol(value.c_str(), nullptr, 10);
}

double Ini::AccessDbl(const std::string &scope, const std::string &field, unsigned int index) const
{
    const std::string &value = Access(scope, field, index);
    if (&value == &Error)
        return 0.0;
    return std::strtod(value.c_str(), nullptr);
}

std::string &Ini::Access(const std::string &scope, const std::string &field, unsigned int index)
{
    // Refuse an impossible index before inserting anything, so that a refused call
    // leaves no empty scope or field behind.
    ScopeMap::iterator scopeAt = Data.find(scope);
    if (index >= MaxCreatingIndex)
    {
        FieldMap::iterator fieldAt;
        if (scopeAt == Data.end() || (fieldAt = scopeAt->second.find(field)) == scopeAt->second.end() ||
            index >= fieldAt->second.size())
            throw std::length_error("ini: index too large to create");
        return fieldAt->second[index];
    }

    bool newScope = scopeAt == Data.end();
    if (newScope)
        scopeAt = Data.emplace(scope, FieldMap()).first;
    FieldMap &fields = scopeAt->second;
    FieldMap::iterator fieldAt = fields.find(field);
    bool newField = fieldAt == fields.end();
    try
    {
        if (newField)
            fieldAt = fields.emplace(field, ValueArray()).first;
        if (index >= fieldAt->second.size())
            fieldAt->second.resize(index + 1);  // strong guarantee: unchanged on failure
    }
    catch (...)
    {
        if (newField && fieldAt != fields.end())
            fields.erase(fieldAt);
        if (newScope)
            Data.erase(scopeAt);
        throw;
    }
    return fieldAt->second[index];
}

long Ini::AccessInt(const std::string &scope, const std::string &field, unsigned int index)
{
    return std::strtol(Access(scope, field, index).c_str(), nullptr, 10);
}

double Ini::AccessDbl(const std::string &scope, const std::string &field, unsigned int index)
{
    return std::strtod(Access(scope, field, index).c_str(), nullptr);
}

}  // namespace kzr
