// The DC reader of progressive JPEG files on arbitrary bytes, read through a FILE or from
// memory as the thumbnails read them: pixels of the picture's 1/8 size, all opaque, or a refusal with
// nothing left allocated; never a read or write out of bounds.
#include <cstdio>
#include <cstdlib>

#include "jpeg_dc.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (!file)
        abort();
    // The bounds vary with the first byte, so that 1/8 holds or does not.
    const uint32_t bound = 1 + data[0] % 64;
    vollo_image::jpeg_reduced out;
    // Read as a file half the time, as bytes in memory the other half.
    const vollo_image::jpeg_source source{data, size, data[0] & 64 ? file : nullptr};
    if (vollo_image::decode_jpeg_dc(source, bound, bound, &out))
    {
        if (!out.pixels || out.width != (out.full_width + 7) / 8 || out.height != (out.full_height + 7) / 8 ||
            out.fit_width > out.width || out.fit_height > out.height)
            abort();
        for (size_t i = 0; i < size_t(out.width) * out.height; ++i)
            if (out.pixels[i] >> 24 != 0xFF)
                abort();
        std::free(out.pixels);
    }
    else if (out.pixels)
        abort();
    std::fclose(file);
    return 0;
}
