// Named temporary files: .NAME.vollo-PID-N.tmp beside the target. The PID lets a later
// write tell the leftovers of a process that was killed from the files of one still
// writing.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "file.hpp"

namespace
{

const char marker[] = ".vollo-";
const char suffix[] = ".tmp";

// The PID in a name of the form .NAME.vollo-PID-N.tmp; 0 when the name is not one.
pid_t owner_of(const char *name)
{
    const size_t length = std::strlen(name);
    const size_t suffix_length = sizeof suffix - 1;
    if (name[0] != '.' || length <= suffix_length ||
        std::strcmp(name + length - suffix_length, suffix) != 0)
        return 0;
    const char *found = nullptr;
    for (const char *at = std::strstr(name, marker); at; at = std::strstr(at + 1, marker))
        found = at;
    if (!found)
        return 0;
    char *end = nullptr;
    const long pid = std::strtol(found + sizeof marker - 1, &end, 10);
    if (pid <= 0 || *end != '-')
        return 0;
    char *count_end = nullptr;
    std::strtoul(end + 1, &count_end, 10);
    return count_end == name + length - suffix_length ? pid_t(pid) : 0;
}

}  // namespace

namespace vollo_file
{

std::string folder_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporary_name(const std::string &target)
{
    static std::atomic<unsigned long> counter{0};
    const size_t slash = target.rfind('/');
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // Short enough for any file system's name limit once the decoration is added.
    if (base.size() > 180)
        base.resize(180);
    return folder_of(target) + "/." + base + marker + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + suffix;
}

int create_named_temporary(const std::string &target, std::string &temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        temporary = temporary_name(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void remove_stale_temporaries(const std::string &folder)
{
    const int saved_errno = errno;
    DIR *directory = ::opendir(folder.c_str());
    if (!directory)
    {
        errno = saved_errno;
        return;
    }
    while (const dirent *entry = ::readdir(directory))
    {
        const pid_t owner = owner_of(entry->d_name);
        // A PID now held by another process keeps the file until that one ends too.
        if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
    errno = saved_errno;
}

}  // namespace vollo_file
