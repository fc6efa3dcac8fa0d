#include "ini/IniApi.hpp"

vollo_ini *vollo_load_ini(const char *path)
{
    if (!path)
        return nullptr;
    vollo_ini *ini = vollo_new_ini();
    if (!ini)
        return nullptr;
    bool loaded = false;
    try
    {
        loaded = ini->Load(path);
    }
    catch (...)
    {
        loaded = false;
    }
    if (!loaded)
    {
        delete ini;
        return nullptr;
    }
    return ini;
}
