// A JPEG stream decoded at 1/2, 1/4 or 1/8 of its size while decoding: a thumbnail of a
// photo never holds the photo's full pixels (nor its bytes, when read from a file).
#include <cstdlib>

#include "jpeg_dc.hpp"
#include "jpeg_scaled.hpp"

namespace vollo_image
{
namespace
{

struct request
{
    uint32_t max_width, max_height;
    jpeg_reduced *out;
};

// The largest reduction that still leaves at least want_width x want_height pixels.
unsigned reduction(const jpeg_decompress_struct &info, uint32_t want_width, uint32_t want_height)
{
    if (eighth_holds(info.image_width, info.image_height, want_width, want_height))
        return 8;
    unsigned denominator = 4;
    while (denominator > 1 && ((info.image_width + denominator - 1) / denominator < want_width ||
                               (info.image_height + denominator - 1) / denominator < want_height))
        denominator /= 2;
    return denominator;
}

void reduce(jpeg_decompress_struct &info, void *context)
{
    const request &asked = *static_cast<request *>(context);
    jpeg_reduced *out = asked.out;
    out->full_width = info.image_width;
    out->full_height = info.image_height;
    fit_size(info.image_width, info.image_height, asked.max_width, asked.max_height, &out->fit_width,
             &out->fit_height);
    info.scale_num = 1;
    info.scale_denom = reduction(info, out->fit_width, out->fit_height);
    // A thumbnail is box-filtered afterwards: the fast transform and plain upsampling
    // lose nothing that shows at its size.
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    info.buffered_image = info.scale_denom == 8 && jpeg_has_multiple_scans(&info);
}

}  // namespace

const char *decode_jpeg_reduced(const jpeg_source &source, uint32_t max_width, uint32_t max_height,
                                jpeg_reduced *out)
{
    if (decode_jpeg_dc(source, max_width, max_height, out))
        return nullptr;
    // Any other kind, or damage: libjpeg reads the stream from its start.
    if (source.file)
        std::rewind(source.file);
    request asked{max_width, max_height, out};
    return decode_jpeg_rows(source, reduce, &asked, &out->pixels, &out->width, &out->height);
}

bool fit_reduced(jpeg_reduced *picture)
{
    if (picture->width == picture->fit_width && picture->height == picture->fit_height)
        return true;
    uint32_t *fitted = static_cast<uint32_t *>(std::malloc(size_t(picture->fit_width) * picture->fit_height * 4));
    const bool made = fitted && scale_pixels(picture->pixels, picture->width, picture->height, picture->width,
                                             fitted, picture->fit_width, picture->fit_height, VOLLO_FILTER_BOX);
    std::free(picture->pixels);
    picture->pixels = made ? fitted : nullptr;
    if (!made)
        std::free(fitted);
    return made;
}

}  // namespace vollo_image
