#include "error/error.hpp"
#include "error/records.hpp"
#include "ini/IniApi.hpp"

vollo_ini *vollo_load_ini(const char *path)
{
    if (!path)
    {
        kzr::iniapi::KeepError("ini: cannot open file");
        vollo_fail_open(path);
        return nullptr;
    }
    vollo_ini *ini = vollo_new_ini();
    if (!ini)
    {
        kzr::iniapi::KeepError("ini: out of memory");
        return nullptr;  // vollo_new_ini said why
    }
    bool loaded = false;
    try
    {
        loaded = ini->Load(path);
        if (!loaded && ini->LastError == "ini: cannot open file")
        {
            kzr::iniapi::KeepError(ini->LastError.c_str());
            vollo_fail_load(path, "not readable text of less than 4 GiB");
        }
        else if (!loaded)
            kzr::iniapi::KeepError(ini->LastError.c_str(), ini->ErrorLine, path);
    }
    catch (...)
    {
        loaded = false;
        kzr::iniapi::KeepError("ini: out of memory", 0, path);
    }
    if (!loaded)
    {
        vollo_delete_ini(ini);
        return nullptr;
    }
    vollo_track(ini, "INI document", "vollo_load_ini", 0, 0);
    return ini;
}
