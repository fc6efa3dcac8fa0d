#include "ini/Ini.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzr
{

namespace
{

// Texts are addressed with 32-bit offsets, the end of the text included.
const uint64_t LargestText = UINT32_MAX - 1;

// Closes the descriptor on every way out; a failure to close a file that was only
// read changes nothing.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads up to `size` bytes into `text`, which already holds `size` NUL bytes. A
// file that turns out shorter keeps NUL bytes in place of what is missing, which
// ends the text there. False on a read error.
bool ReadKnownSize(int fd, std::string &text)
{
    size_t done = 0;
    while (done < text.size())
    {
        ssize_t got = ::read(fd, &text[done], text.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return true;
}

// Reads a source whose size seeking cannot tell (a pipe, a FIFO, a terminal, a
// file of /proc) to its end. False on a read error or when it outgrows the
// largest text.
bool ReadToEnd(int fd, std::string &text)
{
    const size_t chunk = 1 << 16;
    size_t done = 0;
    for (;;)
    {
        if (text.size() - done < chunk)
            text.resize(done + chunk);
        ssize_t got = ::read(fd, &text[done], chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
        if (done > LargestText)
            return false;
    }
    text.resize(done);
    return true;
}

bool ReadFile(const std::string &path, std::string &text)
{
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status;
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0 || S_ISDIR(status.st_mode))
        return false;
    if (S_ISREG(status.st_mode) && status.st_size > 0)
    {
        if (static_cast<uint64_t>(status.st_size) > LargestText)
            return false;
        text.assign(static_cast<size_t>(status.st_size), '\0');
        return ReadKnownSize(file.fd, text);
    }
    return ReadToEnd(file.fd, text);
}

// Turns every comment, from "#" to the end of its line, into newlines, and the
// blanks right before the "#" too, so that an unquoted value does not keep the
// blanks that separated it from its comment. The length never changes, so
// offsets into the text are offsets into the file. Returns the blanked runs as
// (offset, length) pairs, in order, so that lines can still be counted.
std::vector<std::pair<size_t, size_t>> BlankComments(std::string &text)
{
    std::vector<std::pair<size_t, size_t>> runs;
    char *begin = &text[0];
    char *end = begin + text.size();
    char *at = begin;
    while ((at = static_cast<char *>(std::memchr(at, '#', end - at))) != nullptr)
    {
        char *blank = at;
        while (blank > begin && (blank[-1] == ' ' || blank[-1] == '\t'))
            *--blank = '\n';
        char *lineEnd = static_cast<char *>(std::memchr(at, '\n', end - at));
        if (!lineEnd)
            lineEnd = end;
        std::memset(at, '\n', lineEnd - at);
        runs.emplace_back(blank - begin, lineEnd - blank);
        at = lineEnd;
    }
    return runs;
}

// Line (from 1) of the file at `offset` of the blanked text: its newlines before the
// offset, less those that blanking made.
unsigned int LineAt(const std::string &text, size_t offset,
                    const std::vector<std::pair<size_t, size_t>> &runs)
{
    if (offset > text.size())
        offset = text.size();
    size_t newlines = static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
    for (const std::pair<size_t, size_t> &run : runs)
    {
        if (run.first >= offset)
            break;
        newlines -= std::min(run.second, offset - run.first);
    }
    return static_cast<unsigned int>(newlines + 1);
}

}  // namespace

bool Ini::Load(const std::string &path)
{
    std::string text;
    if (!ReadFile(path, text))
    {
        LastError = "ini: cannot open file";
        return false;
    }
    ErrorLine = 0;
    const std::vector<std::pair<size_t, size_t>> runs = BlankComments(text);
    if (Read(text))
        return true;
    if (text.size() < UINT32_MAX)
        ErrorLine = LineAt(text, ErrorPosition, runs);
    return false;
}

}  // namespace kzr
