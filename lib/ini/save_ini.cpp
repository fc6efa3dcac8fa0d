#include "ini/IniApi.hpp"

bool vollo_save_ini(vollo_ini *ini, const char *path)
{
    if (!ini || !path)
    {
        kzr::iniapi::KeepError(ini ? "ini: cannot write file" : "ini: no document");
        return false;
    }
    try
    {
        if (ini->Save(std::string(path)))
            return true;
        kzr::iniapi::KeepError(ini->LastError.c_str());
    }
    catch (...)
    {
        kzr::iniapi::KeepError("ini: out of memory");
    }
    return false;
}
