#include "error/records.hpp"
#include "ini/IniApi.hpp"

void vollo_delete_ini(vollo_ini *ini)
{
    vollo_untrack(ini);
    delete ini;  // the virtual deleting destructor; null does nothing
}
