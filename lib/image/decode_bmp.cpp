// BMP pixel data: plain rows of palette indices or of 16, 24 or 32-bit colours, and
// RLE8 / RLE4 codes. The data was checked to hold every plain row; RLE codes are
// checked one by one.
#include <algorithm>
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

// Scaled values of every value of each channel, when no channel is wider than 16 bits.
// A channel the file lacks reads as a one-entry table: 0 for a colour, 255 for alpha.
struct channel_tables
{
    std::vector<uint8_t> table[4];
    uint32_t mask[4];
    uint32_t shift[4];
    // Builds nothing for a null layout (the other paths need no tables).
    explicit channel_tables(const bmp_layout *layout)
    {
        for (int c = 0; layout != nullptr && c < 4; c++)
        {
            const bmp_channel &channel = layout->channels[c];
            mask[c] = channel.mask;
            shift[c] = channel.shift;
            if (channel.mask == 0)
            {
                table[c].assign(1, c == 3 ? 255 : 0);
                continue;
            }
            table[c].resize(size_t(channel.max) + 1);
            for (uint32_t v = 0; v <= channel.max; v++)
                table[c][v] = static_cast<uint8_t>(scale(v, channel.max));
        }
    }
    uint32_t pixel(uint32_t word) const
    {
        return uint32_t(table[0][(word & mask[0]) >> shift[0]]) |
               uint32_t(table[1][(word & mask[1]) >> shift[1]]) << 8 |
               uint32_t(table[2][(word & mask[2]) >> shift[2]]) << 16 |
               uint32_t(table[3][(word & mask[3]) >> shift[3]]) << 24;
    }
};

// Channels wider than 16 bits, scaled pixel by pixel.
uint32_t wide_pixel(const bmp_layout *layout, uint32_t word)
{
    uint32_t pixel = 0;
    for (int c = 0; c < 4; c++)
    {
        const bmp_channel &channel = layout->channels[c];
        uint32_t value = channel.mask == 0 ? (c == 3 ? 255 : 0)
                                           : scale((word & channel.mask) >> channel.shift, channel.max);
        pixel |= value << (8 * c);
    }
    return pixel;
}

enum fields_path
{
    path_bytes,   // every channel one whole byte: shifts only
    path_tables,  // every channel up to 16 bits: table look-ups
    path_wide     // some channel wider: arithmetic
};

fields_path path_of(const bmp_layout *layout)
{
    bool bytes = layout->bits == 32, narrow = true;
    for (int c = 0; c < 4; c++)
    {
        const bmp_channel &channel = layout->channels[c];
        if (channel.mask != 0 && (channel.max != 0xFF || channel.shift % 8 != 0))
            bytes = false;
        if (channel.max > 0xFFFF)
            narrow = false;
    }
    return bytes ? path_bytes : narrow ? path_tables : path_wide;
}

// One row of 16-bit (Bytes 2) or 32-bit (Bytes 4) pixels, through the given path.
template <uint32_t Bytes, fields_path Path>
void fields_row(const uint8_t *in, uint32_t *out, const bmp_layout *layout, const channel_tables &tables)
{
    const bmp_channel *ch = layout->channels;
    const uint32_t alpha_mask = ch[3].mask != 0 ? 0xFF : 0;
    for (uint32_t x = 0; x < layout->width; x++, in += Bytes)
    {
        uint32_t word = uint32_t(in[0]) | uint32_t(in[1]) << 8;
        if (Bytes == 4)
            word |= uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
        if (Path == path_bytes)
            out[x] = ((word >> ch[0].shift) & 0xFF) | ((word >> ch[1].shift) & 0xFF) << 8 |
                     ((word >> ch[2].shift) & 0xFF) << 16 |
                     (((word >> ch[3].shift) & alpha_mask) | (0xFF & ~alpha_mask)) << 24;
        else if (Path == path_tables)
            out[x] = tables.pixel(word);
        else
            out[x] = wide_pixel(layout, word);
    }
}

// 16 and 32-bit pixels through their bit fields.
const char *decode_fields(const uint8_t *data, const bmp_layout *layout, uint32_t *pixels)
{
    const fields_path path = path_of(layout);
    const channel_tables tables(path == path_tables ? layout : nullptr);
    auto row = layout->bits == 16 ? fields_row<2, path_tables>
             : path == path_bytes ? fields_row<4, path_bytes>
             : path == path_tables ? fields_row<4, path_tables>
                                   : fields_row<4, path_wide>;
    for (uint64_t stored = 0; stored < layout->height; stored++)
        row(data + stored * layout->row_size, pixels + size_t(picture_row(layout, stored)) * layout->width,
            layout, tables);
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

// Stores a run of `count` palette colours at the cursor, index i being index_of(i), and
// moves past it; pixels right of the picture are dropped. False for an index with no entry.
template <typename IndexOf>
bool put_run(const bmp_layout *layout, uint32_t *pixels, rle_cursor *at, uint32_t count,
             IndexOf index_of)
{
    uint64_t shown = 0;
    if (at->x < layout->width && at->y < layout->height)
        shown = std::min<uint64_t>(count, layout->width - at->x);
    uint32_t *out = pixels + size_t(picture_row(layout, at->y < layout->height ? at->y : 0)) * layout->width;
    uint32_t all = 0xFF000000u;
    for (uint64_t i = 0; i < shown; i++)
    {
        uint32_t colour = layout->palette[index_of(uint32_t(i))];
        out[at->x + i] = colour;
        all &= colour;
    }
    at->x += count;
    return (all >> 24) == 0xFF;
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
        const uint8_t *indices = data + *at;
        bool rle8 = layout->coding == coding_rle8;
        if (!put_run(layout, pixels, cursor, code, [indices, rle8](uint32_t i) -> uint32_t {
                return rle8 ? indices[i] : (i % 2 == 0 ? indices[i / 2] >> 4 : indices[i / 2] & 0x0F);
            }))
            return no_entry;
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
            uint32_t even = layout->coding == coding_rle8 ? both : both >> 4u;
            uint32_t odd = layout->coding == coding_rle8 ? both : both & 0x0Fu;
            if (!put_run(layout, pixels, &cursor, run, [even, odd](uint32_t i) { return i % 2 == 0 ? even : odd; }))
                return no_entry;
            at += 2;
        }
        if (cursor.y >= layout->height ||
            (cursor.y + 1 == layout->height && cursor.x >= layout->width))
            cursor.done = true;
    }
    return cursor.done ? nullptr : cut_short;
}

}  // namespace

const char *decode_bmp(const uint8_t *data, size_t size, const bmp_layout *layout, uint32_t *pixels, bool keep_alpha)
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
        flatten_alpha(pixels, size_t(layout->width) * layout->height, true, keep_alpha);
    return failure;
}

}  // namespace vollo_image
