// A progressive JPEG file at 1/8 of its size, from its DC scans alone: each 8 x 8 block
// is one pixel, its DC, so the scans of AC coefficients after them are never decoded,
// and nothing but one value per block is held.
#include <cstdlib>

#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

enum class step
{
    more,     // read the next segment
    done,     // every DC is complete, or the file ended
    not_mine  // another kind of file, or damage: left to libjpeg
};

bool complete(const jpeg_dc_frame &frame)
{
    bool every = frame.count > 0;
    for (int i = 0; i < frame.count; ++i)
        every = every && frame.components[i].dc_bits == 0;
    return every;
}

// Whether the scan's head fits what its components have had so far; latches the
// quantisers at a component's first scan.
bool dc_scan_fits(jpeg_dc_frame &frame, const jpeg_dc_scan &scan)
{
    if (scan.se != 0)
        return false;
    for (int i = 0; i < scan.count; ++i)
    {
        jpeg_dc_component &c = *scan.components[i];
        if (scan.ah == 0 ? c.dc_bits != -1 || !frame.tables[scan.tables[i]].defined
                         : c.dc_bits != scan.ah || scan.al != scan.ah - 1)
            return false;
        if (c.dc_bits == -1 && (c.quant = frame.quant[c.quant_table]) == 0)
            return false;
    }
    return true;
}

step scan(jpeg_stream &stream, jpeg_dc_frame &frame, const std::vector<uint8_t> &segment)
{
    jpeg_dc_scan head;
    if (!frame.count || !read_scan(segment, &frame, &head))
        return step::not_mine;
    // An AC scan: the stream marker that follows skips its data.
    if (head.ss > 0)
        return complete(frame) ? step::done : step::more;
    if (!dc_scan_fits(frame, head) || !decode_dc_scan(stream, frame, head))
        return step::not_mine;
    for (int i = 0; i < head.count; ++i)
        head.components[i]->dc_bits = head.al;
    return step::more;
}

// Gray, or YCbCr as libjpeg takes three components to be.
bool colours_known(const jpeg_dc_frame &frame)
{
    if (frame.count == 1 || frame.jfif)
        return true;
    return frame.adobe_transform == -1 ? !frame.rgb_ids : frame.adobe_transform == 1;
}

step frame_start(jpeg_dc_frame &frame, const std::vector<uint8_t> &segment, uint32_t max_width,
                 uint32_t max_height, jpeg_reduced *out)
{
    if (!read_frame(segment, &frame) || !colours_known(frame))
        return step::not_mine;
    fit_size(frame.width, frame.height, max_width, max_height, &out->fit_width, &out->fit_height);
    if (!eighth_holds(frame.width, frame.height, out->fit_width, out->fit_height) || !allot_blocks(&frame))
        return step::not_mine;
    out->full_width = frame.width;
    out->full_height = frame.height;
    return step::more;
}

step segment(jpeg_stream &stream, jpeg_dc_frame &frame, int marker, uint32_t max_width, uint32_t max_height,
             jpeg_reduced *out)
{
    if (marker == 0xD9 || marker < 0)
        return step::done;
    std::vector<uint8_t> bytes;
    if (!stream_segment(stream, &bytes))
        return step::not_mine;
    switch (marker)
    {
    case 0xC2: return frame_start(frame, bytes, max_width, max_height, out);
    case 0xC4: return read_huffman_tables(bytes, &frame) ? step::more : step::not_mine;
    case 0xDB: return read_quant_tables(bytes, &frame) ? step::more : step::not_mine;
    case 0xDA: return scan(stream, frame, bytes);
    case 0xDD:
        frame.restart_interval = bytes.size() == 2 ? uint32_t(bytes[0] << 8 | bytes[1]) : 0;
        return bytes.size() == 2 ? step::more : step::not_mine;
    case 0xFE: return step::more;
    default:
        // The colour space is settled at the frame: segments that tell it come before.
        if (marker < 0xE0 || marker > 0xEF || (frame.count && (marker == 0xE0 || marker == 0xEE)))
            return step::not_mine;
        read_app(marker, bytes, &frame);
        return step::more;
    }
}

}  // namespace

bool decode_jpeg_dc(const jpeg_source &source, uint32_t max_width, uint32_t max_height, jpeg_reduced *out)
{
    jpeg_stream stream;
    stream.source = source;
    jpeg_dc_frame frame;
    uint8_t soi[2] = {0, 0};
    if (!stream_byte(stream, &soi[0]) || !stream_byte(stream, &soi[1]) || soi[0] != 0xFF || soi[1] != 0xD8)
        return false;
    step next = step::more;
    while (next == step::more)
        next = segment(stream, frame, stream_marker(stream), max_width, max_height, out);
    if (next == step::not_mine || !complete(frame))
        return false;
    out->pixels = dc_pixels(frame, &out->width, &out->height);
    return out->pixels != nullptr;
}

}  // namespace vollo_image
