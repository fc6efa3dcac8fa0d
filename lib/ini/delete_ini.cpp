#include "ini/IniApi.hpp"

void vollo_delete_ini(vollo_ini *ini)
{
    delete ini;  // the virtual deleting destructor; null does nothing
}
