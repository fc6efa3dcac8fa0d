// Huffman tables of DC differences: built from a DHT segment's code lengths, looked up
// 9 bits at a time, longer codes by their length.
#include <cstring>

#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

const int fast_bits = 9;

// Canonical codes from the counts of each length; false when a length has too many.
bool build(const uint8_t counts[16], const uint8_t *symbols, int total, jpeg_huffman *table)
{
    std::memset(table->fast, 0, sizeof table->fast);
    std::memcpy(table->symbols, symbols, size_t(total));
    int32_t code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length)
    {
        if (code + counts[length - 1] > 1 << length)
            return false;
        table->offset[length] = index - code;
        for (int i = 0; i < counts[length - 1]; ++i, ++code, ++index)
            if (length <= fast_bits)
                for (int32_t tail = 0; tail < 1 << (fast_bits - length); ++tail)
                    table->fast[code << (fast_bits - length) | tail] = uint16_t(length << 8 | symbols[index]);
        table->max_code[length] = counts[length - 1] ? code - 1 : -1;
        code <<= 1;
    }
    table->defined = true;
    return true;
}

}  // namespace

bool read_huffman_tables(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame)
{
    size_t at = 0;
    while (at < segment.size())
    {
        if (segment.size() - at < 17)
            return false;
        const int kind = segment[at] >> 4, id = segment[at] & 15;
        int total = 0;
        for (int i = 0; i < 16; ++i)
            total += segment[at + 1 + i];
        if (kind > 1 || id > 3 || total > 256 || segment.size() - at - 17 < size_t(total))
            return false;
        // AC tables are never needed: only their place in the segment counts.
        if (kind == 0 && !build(&segment[at + 1], &segment[at + 17], total, &frame->tables[id]))
            return false;
        at += 17 + size_t(total);
    }
    return true;
}

int huffman_symbol(jpeg_stream &stream, const jpeg_huffman &table)
{
    const uint32_t bits = stream_peek(stream);
    const uint16_t fast = table.fast[bits >> (32 - fast_bits)];
    if (fast)
    {
        stream_drop(stream, fast >> 8);
        return fast & 0xFF;
    }
    for (int length = fast_bits + 1; length <= 16; ++length)
    {
        const int32_t code = int32_t(bits >> (32 - length));
        if (code <= table.max_code[length])
        {
            stream_drop(stream, length);
            return table.symbols[table.offset[length] + code];
        }
    }
    return -1;
}

}  // namespace vollo_image
