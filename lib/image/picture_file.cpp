// Reading picture files: the first bytes, then only the pixel data a BMP file needs,
// or the whole of a file in another format, never more memory than the file holds.
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

const char *const cut_short = "BMP pixel data cut short";
const char *const too_large = "BMP picture too large for the memory available";
const char *const too_long = "picture file larger than 256 MiB";
// Largest file in another format that is read whole.
const uint64_t max_file_size = uint64_t(256) << 20;
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

// Moves fd forward by `count` bytes: a seek where the file allows it, reads otherwise.
bool skip_bytes(int fd, uint64_t count)
{
    if (count == 0 || lseek(fd, off_t(count), SEEK_CUR) >= 0)
        return true;
    uint8_t scratch[4096];
    while (count > 0)
    {
        size_t want = count < sizeof scratch ? size_t(count) : sizeof scratch;
        if (read_full(fd, scratch, want) != ssize_t(want))
            return false;
        count -= want;
    }
    return true;
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
        return strerror(errno);
    int flags = fcntl(file->fd, F_GETFL);
    if (flags >= 0)
        fcntl(file->fd, F_SETFL, flags & ~O_NONBLOCK);
    struct stat info;
    if (fstat(file->fd, &info) == 0 && S_ISREG(info.st_mode))
    {
        file->regular = true;
        file->size = uint64_t(info.st_size);
    }
    file->head.resize(head_size);
    ssize_t got = read_full(file->fd, file->head.data(), head_size);
    if (got < 0)
        return strerror(errno);
    file->head.resize(size_t(got));
    return nullptr;
}

const char *check_bmp(picture_file *file, bmp_layout *layout)
{
    const char *failure = parse_bmp(file->head.data(), file->head.size(), layout);
    if (failure != nullptr)
        return failure;
    if (!fits_in_arena(uint64_t(layout->width) * layout->height))
        return too_large;
    if (!file->regular)
        return nullptr;
    // A regular file too short for its rows is refused before any memory is taken.
    uint64_t needed = layout->coding == coding_plain ? layout->data_size : 2;
    if (file->size < layout->data_offset + needed)
        return cut_short;
    return nullptr;
}

const char *read_bmp_data(picture_file *file, const bmp_layout *layout, std::vector<uint8_t> *data)
{
    uint64_t wanted = layout->data_size;
    if (file->regular && file->size - layout->data_offset < wanted)
        wanted = file->size - layout->data_offset;
    data->clear();
    if (file->regular)
        data->reserve(size_t(wanted));
    uint64_t in_head = 0;
    if (layout->data_offset < file->head.size())
    {
        in_head = file->head.size() - layout->data_offset;
        if (in_head > wanted)
            in_head = wanted;
        const uint8_t *start = file->head.data() + layout->data_offset;
        data->assign(start, start + in_head);
    }
    else if (!skip_bytes(file->fd, layout->data_offset - file->head.size()))
        return cut_short;
    const char *failure = append_from(file->fd, wanted - in_head, data);
    if (failure == nullptr && layout->coding == coding_plain && data->size() < layout->data_size)
        return cut_short;
    return failure;
}

const char *read_rest(picture_file *file, std::vector<uint8_t> *bytes)
{
    if (file->regular && file->size > max_file_size)
        return too_long;
    *bytes = file->head;
    const char *failure = append_from(file->fd, max_file_size + 1 - bytes->size(), bytes);
    if (failure == nullptr && bytes->size() > max_file_size)
        return too_long;
    return failure;
}

}  // namespace vollo_image
