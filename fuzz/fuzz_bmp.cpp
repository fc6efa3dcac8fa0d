// The BMP reader on arbitrary bytes given as a file: a picture or null, never a crash.
#include "fuzz_common.hpp"
#include "bmp.h"

#include <SFML/Window/Context.hpp>

// Pixel arrays hold SFML textures: make the GL context once, before the runs,
// so that the driver's one-time allocations are not taken for leaks of a run.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static sf::Context context;
    vollo_delete_clipable(vollo_new_pixelarray(1, 1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_write_file(data, size);
    vollo_pixelarray *picture = load_bmp(fuzz_file_path().c_str());
    if (picture)
    {
        // Every pixel must be readable and opaque.
        uint64_t count = uint64_t(picture->width) * picture->height;
        for (uint64_t i = 0; i < count; ++i)
            if ((picture->pixels[i] >> 24) != 0xFF)
                abort();
        vollo_delete_clipable(picture);
    }
    return 0;
}
