#include <new>

#include "ini/IniApi.hpp"

vollo_ini *vollo_new_ini(void)
{
    // Building the default scope allocates too; a document that cannot hold it is
    // never handed out.
    try
    {
        return new (std::nothrow) kzr::Ini();
    }
    catch (...)
    {
        return nullptr;
    }
}
