// A JPEG file decoded at 1/2, 1/4 or 1/8 of its size while decoding, read from the file
// as it goes: a thumbnail of a photo never holds the photo's full pixels nor its bytes.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "jpeg_scaled.hpp"

namespace vollo_image
{
namespace
{

struct jpeg_failure
{
    jpeg_error_mgr manager;
    jmp_buf back;
};

void leave(j_common_ptr info)
{
    longjmp(reinterpret_cast<jpeg_failure *>(info->err)->back, 1);
}

void stay_quiet(j_common_ptr, int) {}

const char *const damaged = "JPEG file that cannot be decoded (damaged or of an unsupported kind)";
const char *const too_large = "JPEG picture with a zero size, or too large for the memory available";

// The largest reduction that still leaves at least want_width x want_height pixels.
unsigned reduction(const jpeg_decompress_struct &info, uint32_t want_width, uint32_t want_height)
{
    unsigned denominator = 8;
    while (denominator > 1 && ((info.image_width + denominator - 1) / denominator < want_width ||
                               (info.image_height + denominator - 1) / denominator < want_height))
        denominator /= 2;
    return denominator;
}

}  // namespace

const char *decode_jpeg_reduced(FILE *file, uint32_t max_width, uint32_t max_height, jpeg_reduced *out)
{
    jpeg_decompress_struct info;
    jpeg_failure failure;
    uint32_t *volatile rows = nullptr;
    const char *volatile reason = damaged;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = leave;
    failure.manager.emit_message = stay_quiet;
    if (setjmp(failure.back))
    {
        jpeg_destroy_decompress(&info);
        free(rows);
        return reason;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    out->full_width = info.image_width;
    out->full_height = info.image_height;
    fit_size(info.image_width, info.image_height, max_width, max_height, &out->fit_width, &out->fit_height);
    info.scale_num = 1;
    info.scale_denom = reduction(info, out->fit_width, out->fit_height);
    info.out_color_space = JCS_EXT_RGBA;
    // A thumbnail is box-filtered afterwards: the fast transform and plain upsampling
    // lose nothing that shows at its size.
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const uint64_t count = uint64_t(info.output_width) * info.output_height;
    if (count == 0 || count > max_pixels || (rows = static_cast<uint32_t *>(malloc(size_t(count) * 4))) == nullptr)
    {
        reason = too_large;
        longjmp(failure.back, 1);
    }
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(rows + size_t(info.output_scanline) * info.output_width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    out->width = info.output_width;
    out->height = info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out->pixels = rows;
    return nullptr;
}

}  // namespace vollo_image
