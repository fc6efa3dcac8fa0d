#include "error/error.hpp"
#include "ini/IniApi.hpp"

bool vollo_save_ini(vollo_ini *ini, const char *path)
{
    if (!ini || !path)
    {
        kzr::iniapi::KeepError(ini ? "ini: cannot write file" : "ini: no document");
        vollo_fail("vollo_save_ini: %s", ini ? "no path given" : "no document given");
        return false;
    }
    try
    {
        if (ini->Save(std::string(path)))
            return true;
        // A file that could not be written: vollo_write_file said why already.
        const bool written = ini->LastError == "ini: cannot write file";
        kzr::iniapi::KeepError(ini->LastError.c_str(), 0, written ? nullptr : path);
    }
    catch (...)
    {
        kzr::iniapi::KeepError("ini: out of memory", 0, path);
    }
    return false;
}
