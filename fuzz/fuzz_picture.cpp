// The library's picture loader on arbitrary bytes given as a file: BMP kinds through its
// own reader, other kinds through SFML's loader. A picture or null with a reason, never
// a crash; a picture is opaque everywhere, and the check without display agrees.
#include "fuzz_common.hpp"
#include "vollo.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vollo_delete_clipable(vollo_new_pixelarray(1, 1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_write_file(data, size);
    const char *checked = vollo_check_picture(fuzz_file_path().c_str());
    vollo_pixelarray *picture = vollo_load_pixelarray(fuzz_file_path().c_str());
    if (picture == nullptr)
    {
        if (vollo_load_pixelarray_error() == nullptr)
            abort();
        return 0;
    }
    // What loads must have passed the check (the check judges BMP files by their headers
    // only, so the reverse need not hold).
    if (checked != nullptr)
        abort();
    uint64_t count = uint64_t(picture->width) * picture->height;
    for (uint64_t i = 0; i < count; ++i)
        if ((picture->pixels[i] >> 24) != 0xFF)
            abort();
    vollo_delete_clipable(picture);
    return 0;
}
