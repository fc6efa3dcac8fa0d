// Safe saving: the picture goes to a temporary file beside its target, is synced to the
// disk and then renamed over the target, so that the target is at every moment either
// the old file whole or the new one whole, even when the disk fills up or the power
// fails part-way.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "paint.h"

namespace
{

std::string folder_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new, empty file beside `target` (mode 0666 less the umask), opened for writing;
// -1 with errno when the folder takes none.
int create_temporary(const std::string &target, std::string *temporary)
{
    const std::string stem = folder_of(target) + "/.pixodraw-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; attempt++)
    {
        *temporary = stem + std::to_string(attempt) + ".tmp";
        const int fd = open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Moves the finished file to its place. Without `replace` the kernel refuses an existing
// target itself, so that no file that appeared meanwhile is ever replaced.
bool publish(const std::string &temporary, const std::string &target, bool replace)
{
    if (replace)
        return rename(temporary.c_str(), target.c_str()) == 0;
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that rename: a hard link fails on an existing target too.
    if (link(temporary.c_str(), target.c_str()) != 0)
        return false;
    unlink(temporary.c_str());
    return true;
}

// Writes the picture into fd and syncs it. `old` (when not null) is the file being
// replaced, whose permissions and owner the new file takes.
bool write_synced(const vollo_pixelarray *canvas, int fd, const struct stat *old)
{
    if (old != nullptr)
    {
        if (fchmod(fd, old->st_mode & 07777) != 0)
            return false;
        // Only root may give a file away; anyone else keeps their own file as it is.
        if (fchown(fd, old->st_uid, old->st_gid) != 0 && errno != EPERM)
            return false;
    }
    bmp_header header;
    set_header(&header, canvas->width, canvas->height);
    return write_image(canvas->pixels, fd, &header) && fsync(fd) == 0;
}

// The rename itself reaches the disk with the folder; a folder that cannot be synced
// (some file systems refuse) still holds the renamed file.
void sync_folder(const std::string &target)
{
    const int fd = open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool save_bmp_safely(const vollo_pixelarray *canvas, const char *path, bool replace)
{
    if (canvas == nullptr || path == nullptr || canvas->pixels == nullptr || canvas->width == 0 ||
        canvas->height == 0 || canvas->width > INT32_MAX || canvas->height > INT32_MAX ||
        path[0] == '\0')
    {
        errno = path != nullptr && path[0] == '\0' ? ENOENT : EINVAL;
        return false;
    }
    if (static_cast<uint64_t>(bmp_row_size(canvas->width, 24)) * canvas->height + BMP_HEADER_SIZE >
        UINT32_MAX)
    {
        errno = EFBIG;
        return false;
    }
    struct stat entry, old;
    const bool present = lstat(path, &entry) == 0;
    if (!present && errno != ENOENT)
        return false;
    if (present && !replace)
    {
        errno = EEXIST;
        return false;
    }
    std::string target = path;
    if (present)
    {
        // A link that leads nowhere fails here (ENOENT) rather than being replaced.
        if (stat(path, &old) != 0)
            return false;
        // A device or a pipe cannot be replaced by a file: it is written as it is.
        if (!S_ISREG(old.st_mode))
            return save_bmp(canvas, path);
        if (S_ISLNK(entry.st_mode))
        {
            char *resolved = realpath(path, nullptr);
            if (resolved == nullptr)
                return false;
            target = resolved;
            free(resolved);
        }
    }

    std::string temporary;
    const int fd = create_temporary(target, &temporary);
    if (fd < 0)
        return false;
    bool ok = write_synced(canvas, fd, present ? &old : nullptr);
    int saved_errno = errno;
    if (close(fd) != 0 && ok)
    {
        ok = false;
        saved_errno = errno;
    }
    if (ok && !publish(temporary, target, replace))
    {
        ok = false;
        saved_errno = errno;
    }
    if (!ok)
    {
        unlink(temporary.c_str());
        errno = saved_errno;
        return false;
    }
    sync_folder(target);
    return true;
}
