// The whole-file writer: an unnamed temporary file in the target's folder (a named one
// where the file system refuses unnamed files), written, synced, and only then given
// the target's name, so that the target holds the old bytes or the new, never a part.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error/error.hpp"
#include "vollo.h"
#include "file.hpp"

namespace
{

bool failed(const char *path)
{
    vollo_fail("cannot write '%s': %s", path, std::strerror(errno));
    return false;
}

// Where the bytes go: `path`, or the file a symbolic link leads to. False (reason
// recorded) for a dangling link, a folder, a read-only file, or an existing path
// when `replace` is false.
bool find_target(const char *path, bool replace, std::string &target, struct stat &status, bool &exists)
{
    target = path;
    exists = ::lstat(path, &status) == 0;
    if (!exists)
        return errno == ENOENT || failed(path);
    if (!replace)
    {
        errno = EEXIST;
        vollo_fail("cannot write '%s': it exists already and is not to be replaced", path);
        return false;
    }
    if (S_ISLNK(status.st_mode))
    {
        char *resolved = ::realpath(path, nullptr);
        if (!resolved || ::stat(resolved, &status) != 0)
        {
            std::free(resolved);
            vollo_fail("cannot write '%s': a symbolic link to nothing (%s)", path, std::strerror(errno));
            return false;
        }
        target = resolved;
        std::free(resolved);
    }
    if (S_ISDIR(status.st_mode))
    {
        errno = EISDIR;
        vollo_fail("cannot write '%s': it is a folder", path);
        return false;
    }
    // A file its owner made read-only stays as it is, although its folder would let
    // it be replaced.
    if (S_ISREG(status.st_mode) && ::access(target.c_str(), W_OK) != 0)
        return failed(path);
    return true;
}

// Devices and pipes have no folder entry worth replacing and must never be removed:
// they are written as they are (a pipe waits for its reader, as any writer does).
bool write_in_place(const char *path, const std::string &target, const void *data, uint64_t size)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return failed(path);
    bool done = vollo_write_all(fd, data, size);
    // Devices that hold nothing to sync say EINVAL.
    done = done && (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS);
    int saved_errno = errno;
    if (::close(fd) != 0 && done)
        done = false, saved_errno = errno;
    errno = saved_errno;
    return done || failed(path);
}

// The replaced file's permissions and owner, on the new one. Only a privileged
// process may give a file away; any other keeps its own ownership.
bool keep_attributes(int fd, const struct stat *existing)
{
    if (!existing)
        return true;
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0 && errno != EPERM)
        return false;
    return ::fchmod(fd, existing->st_mode & 07777) == 0;
}

// Gives the finished unnamed file `fd` the target's name: straight under it when
// nothing may be replaced (the kernel refuses an existing name), else under a
// temporary name renamed over the target.
bool link_unnamed(int fd, const std::string &target, bool replace)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (!replace)
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string temporary = vollo_file::temporary_name(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0)
        {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (::rename(temporary.c_str(), target.c_str()) == 0)
            return true;
        const int saved_errno = errno;
        ::unlink(temporary.c_str());
        errno = saved_errno;
        return false;
    }
    return false;
}

// Moves a finished named temporary file to its place; without `replace` the kernel
// refuses an existing target, so a file that appeared meanwhile is never replaced.
bool move_named(const std::string &temporary, const std::string &target, bool replace)
{
    if (replace)
        return ::rename(temporary.c_str(), target.c_str()) == 0;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that rename: a hard link fails on an existing name too.
    if (::link(temporary.c_str(), target.c_str()) != 0)
        return false;
    ::unlink(temporary.c_str());
    return true;
}

// An unnamed file in `folder` where the file system and /proc allow it, -1 otherwise
// with errno telling whether a named file may be tried instead.
int open_unnamed(const std::string &folder)
{
    static const bool proc_mounted = ::access("/proc/self/fd", X_OK) == 0;
    if (!proc_mounted)
    {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

bool unnamed_refused(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

bool write_replacement(const char *path, const std::string &target, const void *data, uint64_t size,
                       const struct stat *existing, bool replace)
{
    const std::string folder = vollo_file::folder_of(target);
    std::string temporary;
    int fd = open_unnamed(folder);
    if (fd < 0 && unnamed_refused(errno))
        fd = vollo_file::create_named_temporary(target, temporary);
    if (fd < 0)
    {
        if (errno != ENOENT)
            return failed(path);
        vollo_fail("cannot write '%s': the folder '%s' does not exist", path, folder.c_str());
        return false;
    }
    bool done = keep_attributes(fd, existing) && vollo_write_all(fd, data, size) && ::fsync(fd) == 0;
    if (done && temporary.empty())
        done = link_unnamed(fd, target, replace);
    int saved_errno = errno;
    if (::close(fd) != 0 && done)
        done = false, saved_errno = errno;
    if (done && !temporary.empty())
        done = move_named(temporary, target, replace), saved_errno = errno;
    if (!done && !temporary.empty())
        ::unlink(temporary.c_str());
    errno = saved_errno;
    return done || failed(path);
}

// The new name reaches the disk with its folder. A file system that cannot sync a
// folder (EINVAL) still holds the file; an I/O error is reported.
bool sync_folder(const char *path, const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    const int saved_errno = errno;
    ::close(fd);
    errno = saved_errno;
    if (!synced)
        vollo_fail("'%s' was written but its folder could not be synced: %s", path, std::strerror(errno));
    return synced;
}

}  // namespace

namespace vollo_file
{

bool write_whole(const char *path, const void *data, uint64_t size, bool replace)
{
    if (!path || !*path)
    {
        errno = path ? ENOENT : EINVAL;
        vollo_fail("cannot write a file: %s", path ? "the path is empty" : "no path given");
        return false;
    }
    if (!data && size > 0)
    {
        errno = EINVAL;
        vollo_fail("cannot write '%s': no data given", path);
        return false;
    }
    std::string target;
    struct stat existing;
    bool exists = false;
    if (!find_target(path, replace, target, existing, exists))
        return false;
    if (exists && !S_ISREG(existing.st_mode))
        return write_in_place(path, target, data, size);
    const std::string folder = folder_of(target);
    remove_stale_temporaries(folder);
    return write_replacement(path, target, data, size, exists ? &existing : nullptr, replace) &&
           sync_folder(path, folder);
}

}  // namespace vollo_file
