#include "ini/IniApi.hpp"

vollo_ini_scope *vollo_ini_next(vollo_ini *ini, vollo_ini_scope *scope)
{
    if (!ini || !scope)
        return last_scope;
    kzr::Ini::ScopeMap::iterator at = kzr::iniapi::FindHandle(*ini, scope);
    if (at == ini->GetData().end() || ++at == ini->GetData().end())
        return last_scope;
    return kzr::iniapi::HandleOf(at->second);
}
