// Text to standard output on the raw file descriptor.
#include <cerrno>

#include <unistd.h>

#include "terminal.h"

void my_putstr(const char *s)
{
    const char *rest = s;
    int32_t left = my_strlen(s);
    // One write as a rule; a terminal or pipe that takes less gets the rest. A closed
    // or broken output has nowhere to be reported, so the text is then dropped.
    while (left > 0)
    {
        ssize_t written = write(1, rest, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        rest += written;
        left -= static_cast<int32_t>(written);
    }
}
