#include "ini/IniApi.hpp"

bool vollo_save_ini(vollo_ini *ini, const char *path)
{
    if (!ini || !path)
        return false;
    try
    {
        return ini->Save(std::string(path));
    }
    catch (...)
    {
        return false;
    }
}
