#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "error.hpp"
#include "error_text.hpp"
#include "records.hpp"

void vollo_fail(const char *format, ...)
{
    const int saved_errno = errno;
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string &text = vollo_error_text();
    if (length < 0)
        length = 0;
    try
    {
        // Sized first, so that no reason is ever cut short.
        text.assign(size_t(length) + 1, '\0');
        std::vsnprintf(&text[0], text.size(), format, arguments);
        text.resize(size_t(length));
    }
    catch (const std::bad_alloc &)
    {
        // No memory for the whole reason (the failure may be just that): as much of it
        // as the room the text already has, which needs no allocation.
        const size_t room = text.capacity();
        text.resize(room);
        va_list again;
        va_copy(again, arguments);
        std::vsnprintf(&text[0], room + 1, format, again);
        va_end(again);
        text.resize(size_t(length) < room ? size_t(length) : room);
    }
    va_end(arguments);
    if (vollo_debug_on())
        std::fprintf(stderr, "vollo: %s\n", text.c_str());
    errno = saved_errno;
}
