// The header segments a DC decode needs: quantisers, the progressive frame, scan
// heads, and the application segments that tell the colour space.
#include <algorithm>
#include <cstring>

#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

uint32_t up(uint32_t value, uint32_t unit)
{
    return (value + unit - 1) / unit;
}

jpeg_dc_component *component_by_id(jpeg_dc_frame *frame, int id)
{
    for (int i = 0; i < frame->count; ++i)
        if (frame->components[i].id == id)
            return &frame->components[i];
    return nullptr;
}

// Fills the component's sampling and block counts from its three bytes.
bool read_component(const uint8_t *bytes, jpeg_dc_frame *frame, jpeg_dc_component *component)
{
    component->id = bytes[0];
    component->h = bytes[1] >> 4;
    component->v = bytes[1] & 15;
    component->quant_table = bytes[2];
    return component->h >= 1 && component->h <= 4 && component->v >= 1 && component->v <= 4 &&
           component->quant_table <= 3 && !component_by_id(frame, component->id);
}

}  // namespace

bool read_quant_tables(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame)
{
    size_t at = 0;
    while (at < segment.size())
    {
        const int wide = segment[at] >> 4, id = segment[at] & 15;
        const size_t size = 1 + 64 * size_t(wide + 1);
        if (wide > 1 || id > 3 || segment.size() - at < size)
            return false;
        frame->quant[id] = wide ? segment[at + 1] << 8 | segment[at + 2] : segment[at + 1];
        at += size;
    }
    return true;
}

bool read_frame(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame)
{
    if (frame->count || segment.size() < 6 || segment[0] != 8)
        return false;
    frame->height = uint32_t(segment[1] << 8 | segment[2]);
    frame->width = uint32_t(segment[3] << 8 | segment[4]);
    const int count = segment[5];
    if (frame->width == 0 || frame->height == 0 || (count != 1 && count != 3) ||
        segment.size() != 6 + 3 * size_t(count))
        return false;
    for (int i = 0; i < count; ++i, ++frame->count)
        if (!read_component(&segment[6 + 3 * i], frame, &frame->components[i]))
            return false;
    for (int i = 0; i < count; ++i)
    {
        frame->h_max = std::max(frame->h_max, frame->components[i].h);
        frame->v_max = std::max(frame->v_max, frame->components[i].v);
    }
    frame->mcus_wide = up(frame->width, 8 * frame->h_max);
    frame->mcus_high = up(frame->height, 8 * frame->v_max);
    for (int i = 0; i < count; ++i)
    {
        jpeg_dc_component &c = frame->components[i];
        // Chroma is replicated over whole luma blocks: fractional ratios are left to libjpeg.
        if (frame->h_max % c.h || frame->v_max % c.v)
            return false;
        c.blocks_wide = up(up(frame->width * c.h, frame->h_max), 8);
        c.blocks_high = up(up(frame->height * c.v, frame->v_max), 8);
        c.stride = frame->mcus_wide * c.h;
        c.rows = frame->mcus_high * c.v;
    }
    frame->rgb_ids = count == 3 && frame->components[0].id == 'R' && frame->components[1].id == 'G' &&
                     frame->components[2].id == 'B';
    return true;
}

bool allot_blocks(jpeg_dc_frame *frame)
{
    for (int i = 0; i < frame->count; ++i)
    {
        jpeg_dc_component &c = frame->components[i];
        c.dc.reset(static_cast<int16_t *>(std::calloc(size_t(c.stride) * c.rows, sizeof(int16_t))));
        if (!c.dc)
            return false;
    }
    return true;
}

bool read_scan(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame, jpeg_dc_scan *scan)
{
    if (segment.empty() || segment[0] < 1 || segment[0] > 4 || segment.size() != 4 + 2 * size_t(segment[0]))
        return false;
    scan->count = segment[0];
    for (int i = 0; i < scan->count; ++i)
    {
        scan->components[i] = component_by_id(frame, segment[1 + 2 * i]);
        scan->tables[i] = segment[2 + 2 * i] >> 4;
        for (int j = 0; j < i; ++j)
            if (scan->components[j] == scan->components[i])
                return false;
        if (!scan->components[i] || scan->tables[i] > 3)
            return false;
    }
    const uint8_t *tail = &segment[1 + 2 * scan->count];
    scan->ss = tail[0];
    scan->se = tail[1];
    scan->ah = tail[2] >> 4;
    scan->al = tail[2] & 15;
    return scan->ss <= scan->se && scan->se <= 63 && scan->al <= 13;
}

void read_app(int marker, const std::vector<uint8_t> &segment, jpeg_dc_frame *frame)
{
    if (marker == 0xE0 && segment.size() >= 5 && std::memcmp(segment.data(), "JFIF", 5) == 0)
        frame->jfif = true;
    if (marker == 0xEE && segment.size() >= 12 && std::memcmp(segment.data(), "Adobe", 5) == 0)
        frame->adobe_transform = segment[11];
}

}  // namespace vollo_image
