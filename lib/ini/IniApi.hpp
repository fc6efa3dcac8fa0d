#ifndef VOLLO_INI_API_HPP
#define VOLLO_INI_API_HPP

// Glue between the flat vollo_ini_* functions and kzr::Ini, private to lib/ini.

#include "ini/Ini.hpp"
#include "vollo.h"

namespace kzr
{
namespace iniapi
{

// A scope handle designates the FieldMap of its scope inside the document; map
// nodes never move, so the handle stays valid while its scope exists.
inline vollo_ini_scope *HandleOf(const Ini::FieldMap &fields)
{
    return reinterpret_cast<vollo_ini_scope *>(const_cast<Ini::FieldMap *>(&fields));
}

inline Ini::FieldMap *FieldsOf(vollo_ini_scope *scope)
{
    return reinterpret_cast<Ini::FieldMap *>(scope);
}

// The scope of the document whose handle is `scope`, found by walking the scopes
// from the first; Data().end() when none has it.
inline Ini::ScopeMap::iterator FindHandle(Ini &ini, vollo_ini_scope *scope)
{
    Ini::ScopeMap &data = ini.GetData();
    Ini::ScopeMap::iterator at = data.begin();
    while (at != data.end() && HandleOf(at->second) != scope)
        ++at;
    return at;
}

// Value `index` of scope.field of the document, without creating anything; null
// when absent (or for a null document or field name).
const std::string *FindValue(vollo_ini *ini, const char *scope, const char *field, int index);

// The value with its leading and trailing blanks (spaces and tabs) left out: an
// unquoted value keeps the blanks before its end of line.
std::string TrimBlanks(const std::string &value);

// The trimmed value `index` of scope.field for a number conversion; false when it is
// absent, empty or holds a NUL byte.
bool FindNumberText(vollo_ini *ini, const char *scope, const char *field, int index, std::string *text);

// Keeps the reason that vollo_ini_error gives: `message`, with "line N: " put after
// its "ini: " when `line` is not 0. With a `path` it also feeds vollo_error, as
// "cannot parse 'PATH' line N: REASON" (or "'PATH': REASON").
void KeepError(const char *message, unsigned int line = 0, const char *path = nullptr) noexcept;

}  // namespace iniapi
}  // namespace kzr

#endif
