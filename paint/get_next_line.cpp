// Line input on a raw file descriptor, read 14 bytes at a time.
#include <cerrno>
#include <cstdlib>

#include <unistd.h>

#include "terminal.h"

namespace
{

// Input read but not handed out yet, as a string: up to 14 bytes and their zero byte.
// Shared by every call, whatever the file descriptor.
char buff[GNL_READ_SIZE + 1];

// Removes the zero bytes among the first n of buffer, which is kept a plain string (a
// line cannot hold them); the count left.
int32_t drop_zero_bytes(char *buffer, int32_t n)
{
    int32_t kept = 0;
    for (int32_t i = 0; i < n; i++)
        if (buffer[i] != '\0')
            buffer[kept++] = buffer[i];
    for (int32_t i = kept; i < n; i++)
        buffer[i] = '\0';
    return kept;
}

}  // namespace

int32_t my_strlen(const char *s)
{
    int32_t length = 0;
    while (s[length] != '\0')
        length++;
    return length;
}

int32_t read_fd(int fd, char *buffer)
{
    if (fd < 0)
        return -1;
    ssize_t n = -1;
    errno = EINTR;
    // A stop signal (SIGINT, SIGTERM) ends the wait as a failed read.
    while (wait_for_input(fd) && (n = read(fd, buffer, GNL_READ_SIZE)) < 0 && errno == EINTR)
        continue;
    if (n < 0)
        return -1;
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
}

int32_t find_end_line(char *buffer, int32_t n)
{
    buffer[n] = '\0';
    for (int32_t i = 0; i < n; i++)
        if (buffer[i] == '\n')
            return i;
    return -1;
}

char *my_gnl_strdup(char *dst, const char *src)
{
    int32_t old_length = my_strlen(dst);
    int32_t i = 0;
    // Forward copy: src may lie inside dst's string, after its start.
    for (; src[i] != '\0'; i++)
        dst[i] = src[i];
    for (int32_t j = i; j <= old_length; j++)
        dst[j] = '\0';
    return dst;
}

char *my_gnl_strncat(char *line, char *buffer, int32_t n)
{
    if (line == nullptr)
        return nullptr;
    int32_t line_length = my_strlen(line);
    int32_t buffer_length = my_strlen(buffer);
    int32_t used = n < buffer_length ? n : buffer_length;
    char *joined = static_cast<char *>(malloc(static_cast<size_t>(line_length) + used + 1));
    if (joined != nullptr)
    {
        for (int32_t i = 0; i < line_length; i++)
            joined[i] = line[i];
        for (int32_t i = 0; i < used; i++)
            joined[line_length + i] = buffer[i];
        joined[line_length + used] = '\0';
    }
    free(line);
    // Drop the n bytes and their newline.
    if (n + 1 >= buffer_length)
        for (int32_t i = 0; i <= buffer_length; i++)
            buffer[i] = '\0';
    else
        my_gnl_strdup(buffer, buffer + n + 1);
    return joined;
}

char *get_next_line(int fd)
{
    char *line = static_cast<char *>(malloc(1));
    if (line == nullptr)
        return nullptr;
    line[0] = '\0';
    while (true)
    {
        int32_t n = my_strlen(buff);
        if (n == 0)
        {
            n = read_fd(fd, buff);
            // The end of input closes a last line that had no newline; an error drops it.
            if (n == 0 && line[0] != '\0')
                return line;
            if (n <= 0)
            {
                free(line);
                return nullptr;
            }
            n = drop_zero_bytes(buff, n);
            if (n == 0)
                continue;
        }
        int32_t end = find_end_line(buff, n);
        if (end >= 0)
            return my_gnl_strncat(line, buff, end);
        line = my_gnl_strncat(line, buff, n);
        if (line == nullptr)
            return nullptr;
    }
}
