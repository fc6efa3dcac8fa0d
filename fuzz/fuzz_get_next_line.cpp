// The line reader over a file of arbitrary bytes: every line, then null, never a crash.
#include <cstring>
#include <fcntl.h>

#include "fuzz_common.hpp"
#include "terminal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_write_file(data, size);
    int fd = open(fuzz_file_path().c_str(), O_RDONLY);
    if (fd < 0)
        abort();
    size_t returned = 0;
    while (char *line = get_next_line(fd))
    {
        returned += strlen(line) + 1;
        free(line);
        if (returned > size + 1)
            abort();  // more text than the file holds
    }
    close(fd);
    return 0;
}
