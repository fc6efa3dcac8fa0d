#include "ini/IniApi.hpp"

vollo_ini_scope *vollo_ini_first(vollo_ini *ini)
{
    if (!ini || ini->GetData().empty())
        return last_scope;
    return kzr::iniapi::HandleOf(ini->GetData().begin()->second);
}
