// Reading picture files: the first bytes, then the whole file, never more memory than
// the file holds.
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const too_long = "picture file larger than 1 GiB and 1 MiB";
// Largest file read whole: the largest picture as 32-bit BMP pixels, and room for headers.
const uint64_t max_file_size = max_pixels * 4 + (uint64_t(1) << 20);
// Data of unknown length (a pipe) is read in pieces of this size.
const size_t piece_size = size_t(1) << 20;

// read() until `size` bytes came or the input ended; the count read, or -1 on an error.
ssize_t read_full(int fd, uint8_t *data, size_t size)
{
    size_t got = 0;
    while (got < size)
    {
        ssize_t n = read(fd, data + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += size_t(n);
    }
    return ssize_t(got);
}

// Appends at most `limit` bytes more from fd, in pieces, so that memory grows only
// with what really comes. Null, or the read error.
const char *append_from(int fd, uint64_t limit, std::vector<uint8_t> *out)
{
    while (limit > 0)
    {
        size_t want = limit < piece_size ? size_t(limit) : piece_size;
        size_t before = out->size();
        out->resize(before + want);
        ssize_t got = read_full(fd, out->data() + before, want);
        if (got < 0)
            return strerror(errno);
        out->resize(before + size_t(got));
        if (size_t(got) < want)
            break;
        limit -= want;
    }
    return nullptr;
}

}  // namespace

picture_file::~picture_file()
{
    if (fd >= 0)
        close(fd);
}

const char *open_picture(const char *path, picture_file *file)
{
    if (path == nullptr)
        return strerror(EINVAL);
    // Non-blocking open, so that a FIFO without a writer reads as empty instead of
    // hanging; the reads themselves block as usual.
    file->fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file->fd < 0)
    {
        file->reach = errno == ENOENT || errno == ENOTDIR ? file_missing : file_unreadable;
        return strerror(errno);
    }
    file->reach = file_unreadable;
    int flags = fcntl(file->fd, F_GETFL);
    if (flags >= 0)
        fcntl(file->fd, F_SETFL, flags & ~O_NONBLOCK);
    struct stat info;
    const bool known = fstat(file->fd, &info) == 0;
    if (known && S_ISDIR(info.st_mode))
        return "it is a folder";
    if (known && S_ISREG(info.st_mode))
    {
        file->regular = true;
        file->size = uint64_t(info.st_size);
    }
    file->head.resize(head_size);
    ssize_t got = read_full(file->fd, file->head.data(), head_size);
    if (got < 0)
        return strerror(errno);
    file->head.resize(size_t(got));
    file->reach = file_read;
    return nullptr;
}

const char *read_rest(picture_file *file, std::vector<uint8_t> *bytes)
{
    if (file->regular && file->size > max_file_size)
        return too_long;
    *bytes = file->head;
    const char *failure = append_from(file->fd, max_file_size + 1 - bytes->size(), bytes);
    if (failure != nullptr)
        file->reach = file_unreadable;
    if (failure == nullptr && bytes->size() > max_file_size)
        return too_long;
    return failure;
}

const char *read_whole(const char *path, std::vector<uint8_t> *bytes, file_reach *reach)
{
    picture_file file;
    const char *reason = open_picture(path, &file);
    if (reason == nullptr)
        reason = read_rest(&file, bytes);
    *reach = file.reach;
    return reason;
}

}  // namespace vollo_image
