#include "ini/IniApi.hpp"

vollo_ini *vollo_load_ini(const char *path)
{
    if (!path)
    {
        kzr::iniapi::KeepError("ini: cannot open file");
        return nullptr;
    }
    vollo_ini *ini = vollo_new_ini();
    if (!ini)
    {
        kzr::iniapi::KeepError("ini: out of memory");
        return nullptr;
    }
    bool loaded = false;
    try
    {
        loaded = ini->Load(path);
        if (!loaded)
            kzr::iniapi::KeepError(ini->LastError.c_str(), ini->ErrorLine);
    }
    catch (...)
    {
        loaded = false;
        kzr::iniapi::KeepError("ini: out of memory");
    }
    if (!loaded)
    {
        delete ini;
        return nullptr;
    }
    return ini;
}
