#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error/error.hpp"
#include "error/records.hpp"
#include "ini/IniApi.hpp"

namespace
{

// Says which of the two ways a file the reader could not take failed: there is no
// such file ("cannot open"), or there is one that cannot be read whole ("cannot read").
void fail_unreadable(const char *path)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
    {
        vollo_fail_open(path);
        return;
    }
    if (fd < 0)
    {
        vollo_fail("cannot read '%s': %s", path, std::strerror(errno));
        return;
    }
    struct stat status;
    const bool folder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    ::close(fd);
    vollo_fail("cannot read '%s': %s", path, folder ? "it is a folder" : "a read error, or 4 GiB or more");
}

}  // namespace

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
            fail_unreadable(path);
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
