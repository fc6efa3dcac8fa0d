#include "ini/IniApi.hpp"

const char *vollo_ini_scope_name(vollo_ini *ini, vollo_ini_scope *scope)
{
    if (!ini || !scope)
        return nullptr;
    kzr::Ini::ScopeMap::iterator at = kzr::iniapi::FindHandle(*ini, scope);
    return at == ini->GetData().end() ? nullptr : at->first.c_str();
}
