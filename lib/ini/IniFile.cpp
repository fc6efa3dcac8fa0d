#include "ini/IniFile.hpp"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzr
{
namespace inifile
{

namespace
{

bool WriteAll(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size())
    {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// Writes into the existing object itself: devices and FIFOs have no folder entry
// worth replacing, and must never be removed.
bool WriteInPlace(const std::string &path, const std::string &text)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, text);
    return ::close(fd) == 0 && written;
}

// A new, exclusively created file beside `target`; -1 on failure.
int CreateTemporary(const std::string &target, std::string &temporary)
{
    static std::atomic<unsigned long> counter{0};
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // Keep the name short enough for any file system's name limit.
    if (base.size() > 150)
        base.resize(150);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        temporary = folder + "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter++);
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes a temporary file and renames it over `target`; `existing` holds the
// status of the file it replaces, or null for a new file (whose permissions then
// follow the umask, as for any new file).
bool Replace(const std::string &target, const std::string &text, const struct stat *existing)
{
    std::string temporary;
    int fd = CreateTemporary(target, temporary);
    if (fd < 0)
        return false;
    bool done = true;
    if (existing)
    {
        done = ::fchmod(fd, existing->st_mode & 07777) == 0;
        if (::fchown(fd, existing->st_uid, existing->st_gid) != 0)
        {
            // Only a privileged process may give a file away; keeping our own
            // ownership is the best an ordinary one can do.
        }
    }
    done = done && WriteAll(fd, text) && ::fsync(fd) == 0;
    done = ::close(fd) == 0 && done;
    done = done && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!done)
        ::unlink(temporary.c_str());
    return done;
}

}  // namespace

bool WriteWhole(const std::string &path, const std::string &text)
{
    if (path.empty())
        return false;
    std::string target = path;
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
    {
        char *resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved)
            return WriteInPlace(path, text);  // a dangling link: create its target
        target = resolved;
        std::free(resolved);
    }
    if (::stat(target.c_str(), &status) != 0)
        return errno == ENOENT && Replace(target, text, nullptr);
    if (S_ISREG(status.st_mode))
    {
        // A file we may not write stays as it is, even where its folder would
        // let us replace it.
        return ::access(target.c_str(), W_OK) == 0 && Replace(target, text, &status);
    }
    if (S_ISDIR(status.st_mode))
        return false;
    return WriteInPlace(target, text);
}

}  // namespace inifile
}  // namespace kzr
