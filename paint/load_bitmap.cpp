// BMP reader: uncompressed 24- and 32-bit pictures, bottom-up or top-down.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "paint.h"

namespace
{

// Rows are read in blocks of about this many bytes.
const size_t read_block_size = 256 * 1024;

const char *const no_signature = "not a BMP file (no \"BM\" signature)";
const char *const short_header = "file shorter than a BMP header";
const char *const old_header = "BMP info header of an unsupported kind";
const char *const bad_depth = "not a 24- or 32-bit BMP picture";
const char *const bad_compression = "compressed or colour-mapped BMP pictures are not supported";
const char *const bad_masks = "BMP bit fields that are not one byte per channel";
const char *const bad_size = "BMP picture with a zero, negative or absurd size";
const char *const bad_offset = "BMP pixel data offset inside the header";
const char *const cut_short = "BMP pixel data cut short";
const char *const too_large = "BMP picture too large for the memory available";

uint16_t get16(const uint8_t *bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t get32(const uint8_t *bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// read() until `size` bytes came or the input ended; the count read, or -1 on an error.
ssize_t read_full(int fd, uint8_t *data, size_t size)
{
    size_t got = 0;
    while (got < size)
    {
        ssize_t n = read(fd, data + got, size - got);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// Moves fd forward by `count` bytes: a seek where the file allows it, reads otherwise
// (pipes). False when the input ends first or fails.
bool skip_bytes(int fd, uint64_t count)
{
    if (count == 0)
        return true;
    if (lseek(fd, static_cast<off_t>(count), SEEK_CUR) >= 0)
        return true;
    uint8_t scratch[4096];
    while (count > 0)
    {
        size_t want = count < sizeof scratch ? static_cast<size_t>(count) : sizeof scratch;
        ssize_t n = read_full(fd, scratch, want);
        if (n != static_cast<ssize_t>(want))
            return false;
        count -= want;
    }
    return true;
}

// Byte of a stored pixel that holds the channel of a one-byte mask, or -1.
int mask_byte(uint32_t mask)
{
    for (int i = 0; i < 4; i++)
        if (mask == 0xFFu << (8 * i))
            return i;
    return -1;
}

// Where red, green and blue sit inside a stored pixel.
struct channel_bytes
{
    int red;
    int green;
    int blue;
};

channel_bytes channels_of(const bmp_header *header)
{
    if (header->compression == 3)
        return {mask_byte(header->red_mask), mask_byte(header->green_mask),
                mask_byte(header->blue_mask)};
    return {2, 1, 0};
}

uint32_t row_bytes(const bmp_header *header)
{
    return bmp_row_size(static_cast<uint32_t>(header->width), header->bits_per_pixel);
}

uint32_t row_count(const bmp_header *header)
{
    // The header check keeps height away from INT32_MIN.
    return static_cast<uint32_t>(header->height < 0 ? -header->height : header->height);
}

}  // namespace

const char *read_bmp_header(int fd, bmp_header *header)
{
    uint8_t bytes[BMP_HEADER_SIZE];
    ssize_t got = read_full(fd, bytes, sizeof bytes);
    if (got < 0)
        return strerror(errno);
    if (got < BMP_HEADER_SIZE)
        return short_header;

    memset(header, 0, sizeof *header);
    header->signature[0] = bytes[0];
    header->signature[1] = bytes[1];
    header->file_size = get32(bytes + 2);
    header->reserved1 = get16(bytes + 6);
    header->reserved2 = get16(bytes + 8);
    header->data_offset = get32(bytes + 10);
    header->info_size = get32(bytes + 14);
    header->width = static_cast<int32_t>(get32(bytes + 18));
    header->height = static_cast<int32_t>(get32(bytes + 22));
    header->planes = get16(bytes + 26);
    header->bits_per_pixel = get16(bytes + 28);
    header->compression = get32(bytes + 30);
    header->image_size = get32(bytes + 34);
    header->x_resolution = static_cast<int32_t>(get32(bytes + 38));
    header->y_resolution = static_cast<int32_t>(get32(bytes + 42));
    header->colors_used = get32(bytes + 46);
    header->important_colors = get32(bytes + 50);

    if (bytes[0] != 'B' || bytes[1] != 'M')
        return no_signature;
    if (header->info_size < 40)
        return old_header;
    if (header->bits_per_pixel != 24 && header->bits_per_pixel != 32)
        return bad_depth;
    bool bit_fields = header->compression == 3 && header->bits_per_pixel == 32;
    if (header->compression != 0 && !bit_fields)
        return bad_compression;
    if (header->width <= 0 || header->height == 0 || header->height == INT32_MIN)
        return bad_size;
    uint64_t pixel_count = static_cast<uint64_t>(header->width) * row_count(header);
    if (pixel_count > BMP_MAX_PIXELS)
        return bad_size;

    // The masks follow the 40-byte header, or are the first fields of a longer one:
    // at offset 54 either way.
    uint64_t consumed = BMP_HEADER_SIZE;
    if (bit_fields)
    {
        uint8_t masks[12];
        got = read_full(fd, masks, sizeof masks);
        if (got < 0)
            return strerror(errno);
        if (got < static_cast<ssize_t>(sizeof masks))
            return short_header;
        consumed += sizeof masks;
        header->red_mask = get32(masks);
        header->green_mask = get32(masks + 4);
        header->blue_mask = get32(masks + 8);
        channel_bytes channels = channels_of(header);
        if (channels.red < 0 || channels.green < 0 || channels.blue < 0 ||
            channels.red == channels.green || channels.red == channels.blue ||
            channels.green == channels.blue)
            return bad_masks;
    }

    uint64_t header_end = 14 + static_cast<uint64_t>(header->info_size);
    if (header_end < consumed)
        header_end = consumed;
    if (header->data_offset < header_end)
        return bad_offset;
    if (!skip_bytes(fd, header->data_offset - consumed))
        return cut_short;
    return nullptr;
}

const char *fill_pixelarray(uint32_t *pixels, int fd, const bmp_header *header)
{
    uint32_t width = static_cast<uint32_t>(header->width);
    uint32_t height = row_count(header);
    uint32_t row_size = row_bytes(header);
    uint32_t pixel_size = header->bits_per_pixel / 8;
    channel_bytes channels = channels_of(header);

    size_t rows_per_block = read_block_size / row_size;
    if (rows_per_block == 0)
        rows_per_block = 1;
    if (rows_per_block > height)
        rows_per_block = height;
    uint8_t *block = static_cast<uint8_t *>(malloc(rows_per_block * row_size));
    if (block == nullptr)
        return too_large;

    const char *failure = nullptr;
    uint32_t stored = 0;  // rows read so far, in file order
    while (failure == nullptr && stored < height)
    {
        size_t rows = height - stored < rows_per_block ? height - stored : rows_per_block;
        ssize_t got = read_full(fd, block, rows * row_size);
        if (got < 0)
        {
            failure = strerror(errno);
            break;
        }
        if (static_cast<size_t>(got) < rows * row_size)
        {
            failure = cut_short;
            break;
        }
        for (size_t r = 0; r < rows; r++, stored++)
        {
            // Positive heights store the bottom row first.
            uint32_t y = header->height > 0 ? height - 1 - stored : stored;
            uint32_t *out = pixels + static_cast<size_t>(y) * width;
            const uint8_t *in = block + r * row_size;
            for (uint32_t x = 0; x < width; x++, in += pixel_size)
                out[x] = 0xFF000000u | in[channels.red] |
                         (static_cast<uint32_t>(in[channels.green]) << 8) |
                         (static_cast<uint32_t>(in[channels.blue]) << 16);
        }
    }
    free(block);
    return failure;
}

vollo_pixelarray *load_bmp_reason(const char *path, const char **reason)
{
    const char *failure = nullptr;
    vollo_pixelarray *pixels = nullptr;
    // Non-blocking open, so that a FIFO without a writer reads as empty instead of hanging;
    // the reads themselves block as usual.
    int fd = path == nullptr ? -1 : open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        failure = path == nullptr ? strerror(EINVAL) : strerror(errno);
    else
    {
        int flags = fcntl(fd, F_GETFL);
        if (flags >= 0)
            fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        bmp_header header;
        failure = read_bmp_header(fd, &header);
        struct stat info;
        // A regular file too short for its rows is refused before any memory is taken.
        if (failure == nullptr && fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<uint64_t>(info.st_size) <
                header.data_offset + static_cast<uint64_t>(row_bytes(&header)) * row_count(&header))
            failure = cut_short;
        if (failure == nullptr)
        {
            pixels = vollo_new_pixelarray(static_cast<uint32_t>(header.width), row_count(&header));
            if (pixels == nullptr)
                failure = too_large;
        }
        if (failure == nullptr)
        {
            failure = fill_pixelarray(pixels->pixels, fd, &header);
            if (failure != nullptr)
            {
                vollo_delete_clipable(pixels);
                pixels = nullptr;
            }
        }
        close(fd);
    }
    if (reason != nullptr)
        *reason = failure;
    return pixels;
}

vollo_pixelarray *load_bmp(const char *path)
{
    return load_bmp_reason(path, nullptr);
}
