// Private to the picture readers: the one libjpeg decode that whole and reduced
// decodes share.
#ifndef VOLLO_JPEG_ROWS_HPP
#define VOLLO_JPEG_ROWS_HPP

#include <cstdio>

#include <jpeglib.h>

#include "image.hpp"

namespace vollo_image
{
// Where the compressed bytes come from: a block in memory, or else an open file.
struct jpeg_source
{
    const uint8_t *bytes;
    size_t size;
    FILE *file;
};
// Called once the header is read and before decoding starts, to choose the output
// (scale, transform, upsampling); null for libjpeg's defaults. Setting buffered_image
// shows a progressive file from the scans that carry the DC coefficients only.
typedef void (*jpeg_setup)(jpeg_decompress_struct &info, void *context);
// Decodes the stream straight into RGBA rows (malloc), libjpeg's fatal errors and
// warnings caught. Null on success, otherwise why not, with nothing left allocated.
const char *decode_jpeg_rows(const jpeg_source &source, jpeg_setup setup, void *context, uint32_t **pixels,
                             uint32_t *width, uint32_t *height);
}  // namespace vollo_image

#endif
