#include <new>

#include "error/error.hpp"
#include "error/records.hpp"
#include "ini/IniApi.hpp"

vollo_ini *vollo_new_ini(void)
{
    // Building the default scope allocates too; a document that cannot hold it is
    // never handed out.
    vollo_ini *ini = nullptr;
    try
    {
        ini = new (std::nothrow) kzr::Ini();
    }
    catch (...)
    {
    }
    if (!ini)
        vollo_fail("cannot make an INI document: out of memory");
    vollo_track(ini, "INI document", "vollo_new_ini", 0, 0);
    return ini;
}
