// BMP headers: the 14-byte file header, then an info header of 12 bytes (OS/2 1.x,
// 3-byte palette entries), 16 or 64 bytes (OS/2 2.x) or 40, 52, 56, 108 or 124 bytes
// (Windows), then bit fields or a palette.
#include <cstring>

#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const no_signature = "not a BMP file (no \"BM\" signature)";
const char *const short_header = "file shorter than a BMP header";
const char *const old_header = "BMP info header of an unsupported kind";
const char *const bad_depth = "BMP bits per pixel other than 1, 2, 4, 8, 16, 24 or 32";
const char *const bad_compression = "BMP compression of an unknown kind";
const char *const jpeg_inside = "BMP file holding a JPEG picture, which is not supported";
const char *const png_inside = "BMP file holding a PNG picture, which is not supported";
const char *const huffman = "BMP compressed with Huffman 1D, which is not supported";
const char *const rle24 = "BMP compressed with RLE24, which is not supported";
const char *const cmyk = "CMYK BMP pictures are not supported";
const char *const compression_depth = "BMP compression that does not fit its bits per pixel";
const char *const bad_masks = "BMP bit fields that are empty, overlap, have gaps or exceed the pixel";
const char *const bad_size = "BMP picture with a zero, negative or absurd size";
const char *const bad_offset = "BMP pixel data offset inside the header";
const char *const no_palette = "BMP palette missing: the file has no colour for its pixels";

enum compression_value
{
    bi_rgb = 0, bi_rle8 = 1, bi_rle4 = 2, bi_bitfields = 3, bi_jpeg = 4, bi_png = 5,
    bi_alphabitfields = 6, bi_cmyk = 11, bi_cmykrle8 = 12, bi_cmykrle4 = 13
};

uint32_t get16(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
}

uint32_t get32(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

bool known_info_size(uint32_t size)
{
    return size == 12 || size == 16 || size == 40 || size == 52 || size == 56 || size == 64 ||
           size == 108 || size == 124;
}

// A contiguous mask of at most `bits` bits, described as shift and largest value.
bool describe_mask(uint32_t mask, uint32_t bits, bmp_channel *channel)
{
    *channel = {mask, 0, 0};
    if (mask == 0)
        return true;
    if (bits < 32 && (mask >> bits) != 0)
        return false;
    channel->shift = static_cast<uint32_t>(__builtin_ctz(mask));
    channel->max = mask >> channel->shift;
    return (channel->max & (channel->max + 1)) == 0;  // no gap between its bits
}

// The masks in force, from the file or the defaults of the depth. False when they
// cannot describe a colour.
bool set_channels(uint32_t masks[4], uint32_t bits, bmp_layout *layout)
{
    for (int c = 0; c < 4; c++)
        if (!describe_mask(masks[c], bits, &layout->channels[c]))
            return false;
    for (int c = 0; c < 3; c++)
        if (masks[c] == 0)
            return false;
    for (int a = 0; a < 4; a++)
        for (int b = a + 1; b < 4; b++)
            if ((masks[a] & masks[b]) != 0)
                return false;
    layout->alpha = masks[3] != 0;
    return true;
}

// The compression value as a coding; null or why it cannot be read.
const char *coding_of(uint32_t compression, uint32_t info_size, uint32_t bits, bmp_layout *layout,
                      bool *fields)
{
    bool os2 = info_size == 16 || info_size == 64;
    *fields = false;
    layout->coding = coding_plain;
    switch (compression)
    {
    case bi_rgb:
        return nullptr;
    case bi_rle8:
        layout->coding = coding_rle8;
        return bits == 8 ? nullptr : compression_depth;
    case bi_rle4:
        layout->coding = coding_rle4;
        return bits == 4 ? nullptr : compression_depth;
    case bi_bitfields:
        if (os2)
            return huffman;
        *fields = true;
        return bits == 16 || bits == 32 ? nullptr : compression_depth;
    case bi_jpeg:
        return os2 ? rle24 : jpeg_inside;
    case bi_png:
        return png_inside;
    case bi_alphabitfields:
        *fields = true;
        return bits == 16 || bits == 32 ? nullptr : compression_depth;
    case bi_cmyk:
    case bi_cmykrle8:
    case bi_cmykrle4:
        return cmyk;
    default:
        return bad_compression;
    }
}

// Reads the bit fields (from the header, or just after a 40-byte one) and moves
// header_end past those that follow it. Null or why they cannot be used.
const char *read_masks(const uint8_t *file, size_t size, uint32_t info_size, uint32_t compression,
                       bmp_layout *layout, uint64_t *header_end)
{
    uint32_t masks[4] = {0, 0, 0, 0};
    uint32_t count = compression == bi_alphabitfields ? 4 : 3;
    if (info_size == 40)
        *header_end += 4 * count;
    else if (info_size >= 56)
        count = 4;  // the V3 header and the later ones carry an alpha mask
    if (*header_end > size)
        return short_header;
    for (uint32_t c = 0; c < count; c++)
        masks[c] = get32(file + 54 + 4 * c);
    return set_channels(masks, layout->bits, layout) ? nullptr : bad_masks;
}

// Channels of uncompressed 16- and 32-bit pixels without bit fields. A V4 or V5 file
// may keep alpha in the fourth byte of 32-bit pixels; older headers leave it unused.
void default_channels(uint32_t info_size, bmp_layout *layout)
{
    uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};
    if (layout->bits == 32)
    {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
        masks[3] = info_size >= 108 ? 0xFF000000u : 0;
    }
    set_channels(masks, layout->bits, layout);
}

// Reads the palette between the headers and the pixel data. Entries past the count
// the file declares, past the depth or past the bytes there are stay "no entry".
const char *read_palette(const uint8_t *file, size_t size, uint32_t colors_used, uint32_t entry_size,
                         uint64_t start, bmp_layout *layout)
{
    uint64_t count = uint64_t(1) << layout->bits;
    if (colors_used != 0 && colors_used < count)
        count = colors_used;
    uint64_t end = layout->data_offset < size ? layout->data_offset : size;
    uint64_t room = end > start ? (end - start) / entry_size : 0;
    if (room < count)
        count = room;
    if (count == 0)
        return no_palette;
    for (uint64_t i = 0; i < count; i++)
    {
        const uint8_t *entry = file + start + i * entry_size;
        layout->palette[i] = 0xFF000000u | entry[2] | uint32_t(entry[1]) << 8 | uint32_t(entry[0]) << 16;
    }
    layout->palette_count = static_cast<uint32_t>(count);
    return nullptr;
}

// Width, height and direction; the picture size limit.
const char *read_size(const uint8_t *file, uint32_t info_size, bmp_layout *layout)
{
    int64_t width, height;
    if (info_size == 12)
    {
        width = get16(file + 18);
        height = get16(file + 20);
    }
    else
    {
        width = static_cast<int32_t>(get32(file + 18));
        height = static_cast<int32_t>(get32(file + 22));
    }
    layout->top_down = height < 0;
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0 || uint64_t(width) * uint64_t(height) > max_pixels)
        return bad_size;
    layout->width = static_cast<uint32_t>(width);
    layout->height = static_cast<uint32_t>(height);
    return nullptr;
}

// Bytes of pixel data the decoder needs (plain rows) or may read (RLE codes: at most
// two bytes per pixel and per row for what an encoder writes, with room to spare).
void set_data_size(bmp_layout *layout)
{
    uint64_t pixels = uint64_t(layout->width) * layout->height;
    layout->row_size = (uint64_t(layout->width) * layout->bits + 31) / 32 * 4;
    if (layout->coding == coding_plain)
        layout->data_size = layout->row_size * layout->height;
    else
        layout->data_size = 4 * pixels + 4 * uint64_t(layout->height) + head_size;
}

}  // namespace

const char *parse_bmp(const uint8_t *file, size_t size, bmp_layout *layout)
{
    memset(layout, 0, sizeof *layout);
    if (size >= 2 && (file[0] != 'B' || file[1] != 'M'))
        return no_signature;
    if (size < 18)
        return short_header;
    uint32_t info_size = get32(file + 14);
    if (!known_info_size(info_size))
        return old_header;
    uint64_t header_end = 14 + uint64_t(info_size);
    if (size < header_end || size < 26)
        return short_header;
    layout->data_offset = get32(file + 10);
    layout->bits = get16(file + (info_size == 12 ? 24 : 28));
    uint32_t compression = info_size >= 20 ? get32(file + 30) : 0;
    uint32_t colors_used = info_size >= 40 ? get32(file + 46) : 0;

    const char *failure = read_size(file, info_size, layout);
    if (failure != nullptr)
        return failure;
    uint32_t bits = layout->bits;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return bad_depth;
    bool fields = false;
    if ((failure = coding_of(compression, info_size, bits, layout, &fields)) != nullptr)
        return failure;
    if (fields)
        failure = read_masks(file, size, info_size, compression, layout, &header_end);
    else if (bits == 16 || bits == 32)
        default_channels(info_size, layout);
    if (failure != nullptr)
        return failure;
    if (layout->data_offset < header_end)
        return bad_offset;
    if (bits <= 8)
        failure = read_palette(file, size, colors_used, info_size == 12 ? 3 : 4, header_end, layout);
    set_data_size(layout);
    return failure;
}

}  // namespace vollo_image
