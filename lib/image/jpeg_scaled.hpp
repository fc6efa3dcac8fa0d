// Private to the picture readers: pictures decoded at a reduced size, JPEG files by
// libjpeg while decoding.
#ifndef VOLLO_JPEG_SCALED_HPP
#define VOLLO_JPEG_SCALED_HPP

#include "image.hpp"
#include "jpeg_rows.hpp"
#include "scale.hpp"

namespace vollo_image
{
// What a reduced decode gave: pixels (malloc) at width x height, the picture's own
// size, and the size that fits the bounds asked for.
struct jpeg_reduced
{
    uint32_t *pixels = nullptr;
    uint32_t width = 0, height = 0;
    uint32_t full_width = 0, full_height = 0;
    uint32_t fit_width = 0, fit_height = 0;
};
// Whether 1/8 of width x height still holds fit_width x fit_height.
inline bool eighth_holds(uint32_t width, uint32_t height, uint32_t fit_width, uint32_t fit_height)
{
    return (width + 7) / 8 >= fit_width && (height + 7) / 8 >= fit_height;
}
// Decodes a JPEG stream (bytes in memory, or an open file read as it goes) at the
// smallest of 1/1, 1/2, 1/4 and 1/8 of its size that still holds the fitting size, a
// progressive one at 1/8 from its DC scans alone when it can be. Null on success,
// otherwise why not, with nothing left allocated.
const char *decode_jpeg_reduced(const jpeg_source &source, uint32_t max_width, uint32_t max_height,
                                jpeg_reduced *out);
// Box-filters the pixels of a reduced decode down to their fitting size, which then
// replace them. False when memory runs out, with the pixels released.
bool fit_reduced(jpeg_reduced *picture);
}  // namespace vollo_image

#endif
