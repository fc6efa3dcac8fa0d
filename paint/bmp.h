// PIXODRAW: BMP files, uncompressed bottom-up (or top-down) pictures, 24 bits written.
#ifndef PAINT_BMP_H
#define PAINT_BMP_H

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <sys/types.h>

#include "layout.h"
#include "vollo.h"

#define BMP_HEADER_SIZE 54       // 14-byte file header + 40-byte info header
#define BMP_MAX_PIXELS (1u << 28) // largest picture the reader accepts (1 GiB of pixels)

// The file header and the info header, field by field (stored little-endian in the file).
typedef struct bmp_header
{
    uint8_t signature[2];        // "BM"
    uint32_t file_size;          // bytes, header included
    uint16_t reserved1;
    uint16_t reserved2;
    uint32_t data_offset;        // where the pixel rows start
    uint32_t info_size;          // 40, or more for the later info headers
    int32_t width;
    int32_t height;              // positive: rows stored bottom-up; negative: top-down
    uint16_t planes;             // 1
    uint16_t bits_per_pixel;     // 24 (written)
    uint32_t compression;        // 0 none
    uint32_t image_size;         // bytes of pixel rows, padding included
    int32_t x_resolution;        // pixels per metre; 0 when unknown
    int32_t y_resolution;
    uint32_t colors_used;
    uint32_t important_colors;
    uint32_t red_mask;           // not used: 24-bit files carry no bit fields
    uint32_t green_mask;
    uint32_t blue_mask;
} bmp_header;

// Bytes of one stored row of `width` pixels at `bits_per_pixel`, padded to a multiple of 4.
uint32_t bmp_row_size(uint32_t width, uint32_t bits_per_pixel);
// Describes a 24-bit bottom-up picture of width x height: sizes, offset 54, 255 colours.
void set_header(bmp_header *header, uint32_t width, uint32_t height);
// The 54 bytes of the header as they are stored in the file.
void bmp_header_to_bytes(const bmp_header *header, uint8_t bytes[BMP_HEADER_SIZE]);
// Writes the header and then the rows of the header's width x height pixels (bottom row
// first, blue-green-red, alpha dropped) to fd, in large blocks. False on a write error
// (errno tells why), also when the disk fills up part-way.
bool write_image(const uint32_t *pixels, int fd, const bmp_header *header);
// Writes the whole canvas, at its own size, to `path` (created with mode 0666 before the
// umask, or truncated). True when every byte reached the file; otherwise false with errno
// telling why, and a file that this call created is removed again.
bool save_bmp(const vollo_pixelarray *canvas, const char *path);
// Every write of the BMP writer goes through this pointer (write(2) unless a test
// points it at a writer that fails part-way).
extern ssize_t (*bmp_write)(int fd, const void *bytes, size_t count);
// The whole BMP file save_bmp writes for the canvas, in a new block of *size bytes
// (release with free); null with errno telling why (EINVAL, EFBIG, ENOMEM).
uint8_t *encode_bmp(const vollo_pixelarray *canvas, uint64_t *size);
// Saves the canvas with vollo_write_file (its rules for links, permissions, devices and
// pipes, and for leaving an existing file whole or untouched), or, with `replace` false,
// with vollo_write_new_file, which never replaces an existing path (false, EEXIST).
// False with errno telling why.
bool save_bmp_safely(const vollo_pixelarray *canvas, const char *path, bool replace);
// Saves the canvas safely, without replacing anything, as
// `folder`/pixodraw-YYYYMMDD-HHMMSS.bmp for the local time `when`, or with the first
// free suffix -2, -3, ... The path saved to, newly allocated (release with free);
// null with errno telling why.
char *save_bmp_numbered(const vollo_pixelarray *canvas, const char *folder, time_t when);
// Writes the bytes to a new file `folder`/pixodraw-YYYYMMDD-HHMMSS`extension` for the
// local time `when`, or with the first free suffix -2, -3, ..., never replacing anything.
// The path written, newly allocated (release with free); null with errno telling why.
char *write_numbered(const void *bytes, uint64_t size, const char *folder, time_t when,
                     const char *extension);
// The pixels of `area` (cut to the array), made opaque, as a PNG file saved like
// write_numbered with ".png". The path (release with free); null with errno telling why.
char *export_png_numbered(const vollo_pixelarray *pixels, paint_rect area, const char *folder,
                          time_t when);

// Reads a BMP file of any kind the library reads (vollo_load_bmp) into a new pixel array
// owned by the caller (vollo_delete_clipable); every pixel is opaque, transparent ones
// composited over white. Null when the file cannot be opened or is not a BMP picture it
// reads whole: no "BM", headers cut short or of an unknown kind, unsupported depth or
// compression, bad bit fields, no palette or an index past its end, zero or absurd sizes,
// pixel data cut short, or no memory for the pixel array.
vollo_pixelarray *load_bmp(const char *path);
// As load_bmp; on failure, when `reason` is not null, *reason points to a static text
// saying why (never null).
vollo_pixelarray *load_bmp_reason(const char *path, const char **reason);

#endif
