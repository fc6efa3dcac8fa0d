// Helpers shared by the fuzz targets.
#ifndef FUZZ_COMMON_HPP
#define FUZZ_COMMON_HPP

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// A file of this process's own in the temporary folder, rewritten with each input.
inline const std::string &fuzz_file_path()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/vollo-fuzz-XXXXXX";
        int fd = mkstemp(pattern);
        if (fd < 0)
            abort();
        close(fd);
        std::string made = pattern;
        static std::string to_remove = made;
        atexit([] { unlink(to_remove.c_str()); });
        return made;
    }();
    return path;
}

inline void fuzz_write_file(const uint8_t *data, size_t size)
{
    FILE *file = fopen(fuzz_file_path().c_str(), "wb");
    if (!file)
        abort();
    if (size && fwrite(data, 1, size, file) != size)
        abort();
    if (fclose(file) != 0)
        abort();
}

#endif
