// JPEG streams through libjpeg, decoded straight into RGBA rows: no second copy of the
// pixels is ever held, which matters for photos of tens of megapixels.
#include <csetjmp>
#include <cstdlib>

#include "jpeg_rows.hpp"

namespace vollo_image
{
namespace
{

struct jpeg_failure
{
    jpeg_error_mgr manager;
    jmp_buf back;
};

// libjpeg's fatal errors would end the process: jump back to the decoder instead.
void leave(j_common_ptr info)
{
    longjmp(reinterpret_cast<jpeg_failure *>(info->err)->back, 1);
}

void stay_quiet(j_common_ptr, int) {}

const char *const damaged = "JPEG file that cannot be decoded (damaged or of an unsupported kind)";
const char *const too_large = "JPEG picture with a zero size, or too large for the memory available";

// Reads the scans of a progressive file that hold every component's DC coefficients,
// stopping at the first scan of AC ones, and returns how many scans that is: at 1/8 of
// the size a block is its DC alone, so the rest of the file changes nothing.
int dc_scans(jpeg_decompress_struct &info)
{
    for (;;)
    {
        const int status = jpeg_consume_input(&info);
        if (status == JPEG_REACHED_EOI || status == JPEG_SUSPENDED)
            return info.input_scan_number;
        if (status != JPEG_REACHED_SOS || info.Ss == 0)
            continue;
        bool every_dc = true;
        for (int component = 0; component < info.num_components; ++component)
            every_dc = every_dc && info.coef_bits[component][0] >= 0;
        if (every_dc)
            return info.input_scan_number - 1;
    }
}

}  // namespace

const char *decode_jpeg_rows(const jpeg_source &source, jpeg_setup setup, void *context, uint32_t **pixels,
                             uint32_t *width, uint32_t *height)
{
    jpeg_decompress_struct info;
    jpeg_failure failure;
    // Volatile: read after a longjmp from inside the decoder.
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
    if (source.bytes)
        jpeg_mem_src(&info, source.bytes, static_cast<unsigned long>(source.size));
    else
        jpeg_stdio_src(&info, source.file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    if (setup)
        setup(info, context);
    jpeg_start_decompress(&info);
    if (info.buffered_image)
        jpeg_start_output(&info, dc_scans(info));
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
    *width = info.output_width;
    *height = info.output_height;
    // A progressive file shown from its first scans leaves the rest unread.
    if (!info.buffered_image)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    *pixels = rows;
    return nullptr;
}

}  // namespace vollo_image
