// The entropy-coded data of a DC scan: a Huffman-coded difference per block in a first
// scan, one more low bit per block in a refining one; restart markers between intervals.
#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

// Where a scan is: the predictions of its components, reset at each restart.
struct scan_state
{
    const jpeg_dc_scan *scan;
    int32_t predictions[4];
};

// Decodes one block of scan component `index`; false for a code or value out of range.
bool decode_block(jpeg_stream &stream, scan_state &state, int index, int16_t *dc, const jpeg_dc_frame &frame)
{
    const jpeg_dc_scan &scan = *state.scan;
    if (scan.ah)
    {
        if (stream_bits(stream, 1))
            *dc = int16_t(*dc | 1 << scan.al);
        return true;
    }
    const int size = huffman_symbol(stream, frame.tables[scan.tables[index]]);
    if (size < 0 || size > 15)
        return false;
    int32_t difference = int32_t(stream_bits(stream, size));
    if (size && difference < 1 << (size - 1))
        difference -= (1 << size) - 1;
    int32_t &prediction = state.predictions[index];
    prediction += difference;
    const int32_t value = prediction * (1 << scan.al);
    if (value < -32768 || value > 32767)
        return false;
    *dc = int16_t(value);
    return true;
}

// The blocks of one MCU: a single block when the scan has one component.
bool decode_mcu(jpeg_stream &stream, scan_state &state, uint32_t x, uint32_t y, const jpeg_dc_frame &frame)
{
    const jpeg_dc_scan &scan = *state.scan;
    for (int i = 0; i < scan.count; ++i)
    {
        const jpeg_dc_component &c = *scan.components[i];
        const int wide = scan.count == 1 ? 1 : c.h, high = scan.count == 1 ? 1 : c.v;
        int16_t *const first = c.dc.get() + size_t(y * high) * c.stride + x * wide;
        for (int v = 0; v < high; ++v)
            for (int h = 0; h < wide; ++h)
                if (!decode_block(stream, state, i, first + size_t(v) * c.stride + h, frame))
                    return false;
    }
    return true;
}

}  // namespace

bool decode_dc_scan(jpeg_stream &stream, const jpeg_dc_frame &frame, const jpeg_dc_scan &scan)
{
    scan_state state{&scan, {0, 0, 0, 0}};
    const bool single = scan.count == 1;
    const uint32_t wide = single ? scan.components[0]->blocks_wide : frame.mcus_wide;
    const uint32_t high = single ? scan.components[0]->blocks_high : frame.mcus_high;
    uint32_t left = frame.restart_interval;
    int restart = 0;
    for (uint32_t y = 0; y < high; ++y)
        for (uint32_t x = 0; x < wide; ++x)
        {
            if (frame.restart_interval && left-- == 0)
            {
                if (!stream_restart(stream, restart))
                    return false;
                restart = (restart + 1) & 7;
                left = frame.restart_interval - 1;
                state = scan_state{&scan, {0, 0, 0, 0}};
            }
            // Past the end of the data, a damaged file stops at the first block.
            if (!decode_mcu(stream, state, x, y, frame) || stream.bit_count < stream.padded)
                return false;
        }
    return stream_align(stream);
}

}  // namespace vollo_image
