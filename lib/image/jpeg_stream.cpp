// The bytes of a JPEG stream (a file or a block in memory) read a buffer at a time, and the bits of its entropy-coded
// data: stuffed zero bytes removed, zeros given past a marker or the end of the file.
#include <algorithm>
#include <cstring>

#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

const size_t buffer_size = size_t(1) << 16;

bool refill(jpeg_stream &stream)
{
    if (stream.ended)
        return false;
    if (stream.buffer.empty())
        stream.buffer.resize(buffer_size);
    stream.at = 0;
    const jpeg_source &source = stream.source;
    if (source.file)
        stream.end = std::fread(stream.buffer.data(), 1, buffer_size, source.file);
    else
    {
        stream.end = std::min(buffer_size, source.size - stream.taken);
        std::memcpy(stream.buffer.data(), source.bytes + stream.taken, stream.end);
        stream.taken += stream.end;
    }
    stream.ended = stream.end == 0;
    return !stream.ended;
}

// The next byte of entropy-coded data; at a marker, records it and gives false.
bool data_byte(jpeg_stream &stream, uint8_t *byte)
{
    if (!stream_byte(stream, byte))
        return false;
    if (*byte != 0xFF)
        return true;
    uint8_t next = 0xFF;
    while (next == 0xFF)
        if (!stream_byte(stream, &next))
            return false;
    if (next == 0)
        return true;
    stream.marker = next;
    return false;
}

void fill(jpeg_stream &stream)
{
    while (stream.bit_count <= 24)
    {
        uint8_t byte = 0;
        if (stream.marker || stream.ended || !data_byte(stream, &byte))
        {
            byte = 0;
            stream.padded += 8;
        }
        stream.bits |= uint32_t(byte) << (24 - stream.bit_count);
        stream.bit_count += 8;
    }
}

// Jumps over entropy-coded bytes to the next 0xFF, a buffer at a time: the AC scans
// between DC ones are skipped at the speed of memchr.
void skip_to_ff(jpeg_stream &stream)
{
    while (stream.at < stream.end || refill(stream))
    {
        const void *found = std::memchr(&stream.buffer[stream.at], 0xFF, stream.end - stream.at);
        if (found)
        {
            stream.at = size_t(static_cast<const uint8_t *>(found) - stream.buffer.data());
            return;
        }
        stream.at = stream.end;
    }
}

}  // namespace

bool stream_byte(jpeg_stream &stream, uint8_t *byte)
{
    if (stream.at == stream.end && !refill(stream))
        return false;
    *byte = stream.buffer[stream.at++];
    return true;
}

bool stream_segment(jpeg_stream &stream, std::vector<uint8_t> *segment)
{
    uint8_t high = 0, low = 0;
    if (!stream_byte(stream, &high) || !stream_byte(stream, &low) || (high << 8 | low) < 2)
        return false;
    segment->resize(size_t(high << 8 | low) - 2);
    for (uint8_t &byte : *segment)
        if (!stream_byte(stream, &byte))
            return false;
    return true;
}

int stream_marker(jpeg_stream &stream)
{
    int marker = stream.marker;
    stream.marker = 0;
    stream.bits = 0;
    stream.bit_count = stream.padded = 0;
    uint8_t byte = 0;
    while (marker == 0 || (marker >= 0xD0 && marker <= 0xD7))
    {
        marker = 0;
        skip_to_ff(stream);
        if (!data_byte(stream, &byte) && stream.marker == 0)
            return -1;
        std::swap(marker, stream.marker);
    }
    return marker;
}

uint32_t stream_peek(jpeg_stream &stream)
{
    fill(stream);
    return stream.bits;
}

void stream_drop(jpeg_stream &stream, int count)
{
    stream.bits <<= count;
    stream.bit_count -= count;
}

uint32_t stream_bits(jpeg_stream &stream, int count)
{
    if (count == 0)
        return 0;
    const uint32_t value = stream_peek(stream) >> (32 - count);
    stream_drop(stream, count);
    return value;
}

bool stream_align(jpeg_stream &stream)
{
    const bool whole = stream.bit_count >= stream.padded;
    stream.bits = 0;
    stream.bit_count = stream.padded = 0;
    return whole;
}

bool stream_restart(jpeg_stream &stream, int number)
{
    if (!stream_align(stream))
        return false;
    uint8_t byte = 0;
    while (stream.marker == 0)
        if (data_byte(stream, &byte) || stream.ended)
            return false;
    const bool expected = stream.marker == 0xD0 + number;
    stream.marker = 0;
    return expected;
}

}  // namespace vollo_image
