// BMP writer: the canvas as a 24-bit bottom-up picture.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "bmp.h"

ssize_t (*bmp_write)(int fd, const void *bytes, size_t count) = write;

namespace
{

// Rows are converted into a buffer of about this many bytes and written in one call,
// so a 1050 x 800 canvas takes about ten writes.
const size_t write_block_size = 256 * 1024;

void put16(uint8_t *bytes, uint16_t value)
{
    bytes[0] = value & 0xFF;
    bytes[1] = value >> 8;
}

void put32(uint8_t *bytes, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[i] = (value >> (8 * i)) & 0xFF;
}

// write() until every byte is out. A short write is retried, so a disk that fills up
// part-way shows as an error (ENOSPC) on the next call rather than as success.
bool write_all(int fd, const uint8_t *data, size_t size)
{
    while (size > 0)
    {
        ssize_t written = bmp_write(fd, data, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
        {
            errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// One stored row: blue, green, red per pixel, then zero padding up to the row size.
void encode_row(const uint32_t *row, uint32_t width, uint8_t *out, uint32_t row_size)
{
    uint8_t *p = out;
    for (uint32_t x = 0; x < width; x++)
    {
        uint32_t pixel = row[x];
        p[0] = (pixel >> 16) & 0xFF;
        p[1] = (pixel >> 8) & 0xFF;
        p[2] = pixel & 0xFF;
        p += 3;
    }
    memset(p, 0, out + row_size - p);
}

}  // namespace

uint32_t bmp_row_size(uint32_t width, uint32_t bits_per_pixel)
{
    uint64_t bits = static_cast<uint64_t>(width) * bits_per_pixel;
    return static_cast<uint32_t>(((bits + 31) / 32) * 4);
}

void set_header(bmp_header *header, uint32_t width, uint32_t height)
{
    uint32_t image_size = bmp_row_size(width, 24) * height;
    memset(header, 0, sizeof *header);
    header->signature[0] = 'B';
    header->signature[1] = 'M';
    header->file_size = BMP_HEADER_SIZE + image_size;
    header->data_offset = BMP_HEADER_SIZE;
    header->info_size = 40;
    header->width = static_cast<int32_t>(width);
    header->height = static_cast<int32_t>(height);
    header->planes = 1;
    header->bits_per_pixel = 24;
    header->compression = 0;
    header->image_size = image_size;
    header->colors_used = 255;
    header->important_colors = 255;
}

void bmp_header_to_bytes(const bmp_header *header, uint8_t bytes[BMP_HEADER_SIZE])
{
    bytes[0] = header->signature[0];
    bytes[1] = header->signature[1];
    put32(bytes + 2, header->file_size);
    put16(bytes + 6, header->reserved1);
    put16(bytes + 8, header->reserved2);
    put32(bytes + 10, header->data_offset);
    put32(bytes + 14, header->info_size);
    put32(bytes + 18, static_cast<uint32_t>(header->width));
    put32(bytes + 22, static_cast<uint32_t>(header->height));
    put16(bytes + 26, header->planes);
    put16(bytes + 28, header->bits_per_pixel);
    put32(bytes + 30, header->compression);
    put32(bytes + 34, header->image_size);
    put32(bytes + 38, static_cast<uint32_t>(header->x_resolution));
    put32(bytes + 42, static_cast<uint32_t>(header->y_resolution));
    put32(bytes + 46, header->colors_used);
    put32(bytes + 50, header->important_colors);
}

bool write_image(const uint32_t *pixels, int fd, const bmp_header *header)
{
    if (header->width <= 0 || header->height <= 0)
    {
        errno = EINVAL;
        return false;
    }
    uint32_t width = static_cast<uint32_t>(header->width);
    uint32_t height = static_cast<uint32_t>(header->height);
    uint32_t row_size = bmp_row_size(width, 24);
    size_t rows_per_block = write_block_size / row_size;
    if (rows_per_block == 0)
        rows_per_block = 1;
    if (rows_per_block > height)
        rows_per_block = height;

    // The header goes out with the first block of rows.
    size_t block_size = BMP_HEADER_SIZE + rows_per_block * row_size;
    uint8_t *block = static_cast<uint8_t *>(malloc(block_size));
    if (block == nullptr)
    {
        errno = ENOMEM;
        return false;
    }
    bmp_header_to_bytes(header, block);
    size_t used = BMP_HEADER_SIZE;
    bool ok = true;
    // Bottom row first.
    for (uint32_t done = 0; ok && done < height; done++)
    {
        uint32_t y = height - 1 - done;
        encode_row(pixels + static_cast<size_t>(y) * width, width, block + used, row_size);
        used += row_size;
        if (used + row_size > block_size || done + 1 == height)
        {
            ok = write_all(fd, block, used);
            used = 0;
        }
    }
    int saved_errno = errno;
    free(block);
    errno = saved_errno;
    return ok;
}

uint8_t *encode_bmp(const vollo_pixelarray *canvas, uint64_t *size)
{
    if (canvas == nullptr || size == nullptr || canvas->pixels == nullptr || canvas->width == 0 ||
        canvas->height == 0 || canvas->width > INT32_MAX || canvas->height > INT32_MAX)
    {
        errno = EINVAL;
        return nullptr;
    }
    const uint32_t row_size = bmp_row_size(canvas->width, 24);
    const uint64_t total = static_cast<uint64_t>(row_size) * canvas->height + BMP_HEADER_SIZE;
    if (total > UINT32_MAX)
    {
        errno = EFBIG;
        return nullptr;
    }
    uint8_t *bytes = static_cast<uint8_t *>(malloc(total));
    if (bytes == nullptr)
    {
        errno = ENOMEM;
        return nullptr;
    }
    bmp_header header;
    set_header(&header, canvas->width, canvas->height);
    bmp_header_to_bytes(&header, bytes);
    // Bottom row first.
    for (uint32_t done = 0; done < canvas->height; done++)
        encode_row(canvas->pixels + static_cast<size_t>(canvas->height - 1 - done) * canvas->width,
                   canvas->width, bytes + BMP_HEADER_SIZE + static_cast<size_t>(done) * row_size, row_size);
    *size = total;
    return bytes;
}

bool save_bmp(const vollo_pixelarray *canvas, const char *path)
{
    if (canvas == nullptr || path == nullptr || canvas->pixels == nullptr || canvas->width == 0 ||
        canvas->height == 0 || canvas->width > INT32_MAX || canvas->height > INT32_MAX)
    {
        errno = EINVAL;
        return false;
    }
    uint64_t image_size = static_cast<uint64_t>(bmp_row_size(canvas->width, 24)) * canvas->height;
    if (image_size + BMP_HEADER_SIZE > UINT32_MAX)
    {
        errno = EFBIG;
        return false;
    }

    // A file this call creates is removed again if the save fails, so no half picture is
    // left behind; an existing file (or a device) is only truncated and written.
    bool created = true;
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno == EEXIST)
    {
        created = false;
        fd = open(path, O_WRONLY | O_TRUNC);
    }
    if (fd < 0)
        return false;

    bmp_header header;
    set_header(&header, canvas->width, canvas->height);
    bool ok = write_image(canvas->pixels, fd, &header);
    int saved_errno = errno;
    // close() can report a delayed write error (NFS, quotas): it counts as a failure too.
    if (close(fd) != 0 && ok)
    {
        ok = false;
        saved_errno = errno;
    }
    if (!ok && created)
        unlink(path);
    errno = saved_errno;
    return ok;
}
