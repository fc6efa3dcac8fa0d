// BMP pixel data: plain rows of palette indices or of 16, 24 or 32-bit colours, and
// RLE8 / RLE4 codes. The data was checked to hold every plain row; RLE codes are
// checked one by one.
#include <cstring>
#include <vector>

#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const cut_short = "BMP pixel data cut short";
const char *const no_entry = "BMP pixel with a palette index past the end of the palette";

// The picture row that the n-th stored row holds.
uint32_t picture_row(const bmp_layout *layout, uint64_t stored)
{
    return layout->top_down ? uint32_t(stored) : layout->height - 1 - uint32_t(stored);
}

// Palette colours are opaque; "no entry" is 0, found by its alpha of 0.
bool has_missing_entry(const uint32_t *row, uint32_t width)
{
    uint32_t all = 0xFF000000u;
    for (uint32_t x = 0; x < width; x++)
        all &= row[x];
    return (all >> 24) != 0xFF;
}

// 1, 2, 4 or 8-bit indices, most significant first inside each byte.
const char *decode_indexed(const uint8_t *data, const bmp_layout *layout, uint32_t *pixels)
{
    const uint32_t bits = layout->bits, index_mask = (1u << bits) - 1;
    const uint32_t per_byte_log = bits == 1 ? 3 : bits == 2 ? 2 : 1;  // log2 of indices per byte
    for (uint64_t stored = 0; stored < layout->height; stored++)
    {
        const uint8_t *in = data + stored * layout->row_size;
        uint32_t *out = pixels + size_t(picture_row(layout, stored)) * layout->width;
        if (bits == 8)
            for (uint32_t x = 0; x < layout->width; x++)
                out[x] = layout->palette[in[x]];
        else
            for (uint32_t x = 0; x < layout->width; x++)
            {
                uint32_t slot = x & ((1u << per_byte_log) - 1);
                uint32_t shift = 8 - bits * (slot + 1);
                out[x] = layout->palette[(in[x >> per_byte_log] >> shift) & index_mask];
            }
        if (has_missing_entry(out, layout->width))
            return no_entry;
    }
    return nullptr;
}

const char *decode_24(const uint8_t *data, const bmp_layout *layout, uint32_t *pixels)
{
    for (uint64_t stored = 0; stored < layout->height; stored++)
    {
        const uint8_t *in = data + stored * layout->row_size;
        uint32_t *out = pixels + size_t(picture_row(layout, stored)) * layout->width;
        for (uint32_t x = 0; x < layout->width; x++, in += 3)
            out[x] = 0xFF000000u | in[2] | uint32_t(in[1]) << 8 | uint32_t(in[0]) << 16;
    }
    return nullptr;
}

// Channel value v of largest value max, scaled to 0..255 and rounded.
uint32_t scale(uint64_t value, uint64_t max)
{
    return static_cast<uint32_t>((value * 510 + max) / (2 * max));
}

// Byte-aligned 8-bit channels: shifts of the stored word, no scaling.
bool byte_channels(const bmp_layout *layout)
{
    for (int c = 0; c < 4; c++)
        if (layout->channels[c].mask != 0 &&
            (layout->channels[c].max != 0xFF || layout->channels[c].shift % 8 != 0))
            return false;
    return true;
}

// Scaled values of every channel value, for channels of up to 16 bits; wider ones
// are scaled pixel by pixel.
struct channel_tables
{
    std::vector<uint8_t> table[4];
    explicit channel_tables(const bmp_layout *layout)
    {
        for (int c = 0; layout != nullptr && c < 4; c++)
        {
            const bmp_channel &channel = layout->channels[c];
            if (channel.mask == 0 || channel.max > 0xFFFF)
                continue;
            table[c].resize(size_t(channel.max) + 1);
            for (uint32_t v = 0; v <= channel.max; v++)
                table[c][v] = static_cast<uint8_t>(scale(v, channel.max));
        }
    }
    uint32_t value(const bmp_layout *layout, int c, uint32_t word) const
    {
        const bmp_channel &channel = layout->channels[c];
        if (channel.mask == 0)
            return c == 3 ? 255 : 0;
        uint32_t v = (word & channel.mask) >> channel.shift;
        return table[c].empty() ? scale(v, channel.max) : table[c][v];
    }
};

uint32_t stored_word(const uint8_t *in, uint32_t bytes)
{
    uint32_t word = uint32_t(in[0]) | uint32_t(in[1]) << 8;
    if (bytes == 4)
        word |= uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
    return word;
}

// 16 and 32-bit pixels through their bit fields.
const char *decode_fields(const uint8_t *data, const bmp_layout *layout, uint32_t *pixels)
{
    const uint32_t bytes = layout->bits / 8;
    const bool fast = bytes == 4 && byte_channels(layout);
    const bmp_channel *ch = layout->channels;
    channel_tables tables(fast ? nullptr : layout);
    for (uint64_t stored = 0; stored < layout->height; stored++)
    {
        const uint8_t *in = data + stored * layout->row_size;
        uint32_t *out = pixels + size_t(picture_row(layout, stored)) * layout->width;
        for (uint32_t x = 0; x < layout->width; x++, in += bytes)
        {
            uint32_t word = stored_word(in, bytes);
            if (fast)
                out[x] = ((word >> ch[0].shift) & 0xFF) | ((word >> ch[1].shift) & 0xFF) << 8 |
                         ((word >> ch[2].shift) & 0xFF) << 16 |
                         (ch[3].mask != 0 ? (word >> ch[3].shift) & 0xFF : 0xFF) << 24;
            else
                out[x] = tables.value(layout, 0, word) | tables.value(layout, 1, word) << 8 |
                         tables.value(layout, 2, word) << 16 | tables.value(layout, 3, word) << 24;
        }
    }
    return nullptr;
}

// Where the RLE decoder stands: column x of stored row y; done after the end of the
// picture, a move past its last row, or the last pixel of its last row.
struct rle_cursor
{
    uint64_t x = 0;
    uint64_t y = 0;
    bool done = false;
};

// Stores palette colour `index` at the cursor and moves on; pixels right of the
// picture are dropped. False for an index with no entry.
bool put_index(const bmp_layout *layout, uint32_t *pixels, rle_cursor *at, uint32_t index)
{
    if (at->x < layout->width && at->y < layout->height)
    {
        uint32_t colour = layout->palette[index];
        if (colour == 0)
            return false;
        pixels[size_t(picture_row(layout, at->y)) * layout->width + at->x] = colour;
    }
    at->x++;
    return true;
}

// Index i of a run: RLE8 takes whole bytes; RLE4 alternates the high and low nibbles.
uint32_t run_index(const bmp_layout *layout, const uint8_t *bytes, uint32_t i)
{
    if (layout->coding == coding_rle8)
        return bytes[i];
    uint8_t both = bytes[i / 2];
    return i % 2 == 0 ? both >> 4 : both & 0x0F;
}

// An escape (first byte 0): end of line, end of picture, delta or absolute run.
// Null, or why the codes cannot be read.
const char *rle_escape(const uint8_t *data, size_t size, size_t *at, const bmp_layout *layout,
                       uint32_t *pixels, rle_cursor *cursor)
{
    uint32_t code = data[*at + 1];
    *at += 2;
    if (code == 0)
    {
        cursor->x = 0;
        cursor->y++;
    }
    else if (code == 1)
        cursor->done = true;
    else if (code == 2)
    {
        if (*at + 2 > size)
            return cut_short;
        cursor->x += data[*at];
        cursor->y += data[*at + 1];
        *at += 2;
    }
    else
    {
        size_t bytes = layout->coding == coding_rle8 ? code : (code + 1) / 2;
        if (*at + bytes > size)
            return cut_short;
        uint32_t shown = cursor->x < layout->width ? uint32_t(layout->width - cursor->x) : 0;
        for (uint32_t i = 0; i < code && i < shown; i++)
            if (!put_index(layout, pixels, cursor, run_index(layout, data + *at, i)))
                return no_entry;
        cursor->x += code > shown ? code - shown : 0;
        *at += (bytes + 1) / 2 * 2;  // absolute runs end on a 16-bit boundary
    }
    return nullptr;
}

// RLE8 and RLE4 codes; pixels that no code reaches (skipped by a delta, or left at the
// end of a line or of the picture) stay the white background.
const char *decode_rle(const uint8_t *data, size_t size, const bmp_layout *layout, uint32_t *pixels)
{
    size_t count = size_t(layout->width) * layout->height;
    for (size_t i = 0; i < count; i++)
        pixels[i] = background;
    rle_cursor cursor;
    size_t at = 0;
    while (!cursor.done && at + 2 <= size)
    {
        uint32_t run = data[at];
        if (run == 0)
        {
            const char *failure = rle_escape(data, size, &at, layout, pixels, &cursor);
            if (failure != nullptr)
                return failure;
        }
        else
        {
            // RLE8 repeats one index; RLE4 alternates the byte's two nibbles.
            uint8_t both = data[at + 1];
            uint8_t indices[2] = {layout->coding == coding_rle8 ? both : uint8_t(both >> 4),
                                  layout->coding == coding_rle8 ? both : uint8_t(both & 0x0F)};
            uint32_t shown = cursor.x < layout->width ? uint32_t(layout->width - cursor.x) : 0;
            for (uint32_t i = 0; i < run && i < shown; i++)
                if (!put_index(layout, pixels, &cursor, indices[i % 2]))
                    return no_entry;
            cursor.x += run > shown ? run - shown : 0;
            at += 2;
        }
        if (cursor.y >= layout->height ||
            (cursor.y + 1 == layout->height && cursor.x >= layout->width))
            cursor.done = true;
    }
    return cursor.done ? nullptr : cut_short;
}

}  // namespace

const char *decode_bmp(const uint8_t *data, size_t size, const bmp_layout *layout, uint32_t *pixels)
{
    if (layout->coding != coding_plain)
        return decode_rle(data, size, layout, pixels);
    if (size < layout->data_size)
        return cut_short;
    if (layout->bits <= 8)
        return decode_indexed(data, layout, pixels);
    if (layout->bits == 24)
        return decode_24(data, layout, pixels);
    const char *failure = decode_fields(data, layout, pixels);
    if (failure == nullptr && layout->alpha)
        flatten_alpha(pixels, size_t(layout->width) * layout->height, true);
    return failure;
}

}  // namespace vollo_image
