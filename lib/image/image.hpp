// Private helpers of the picture readers: the BMP header parser and pixel decoder,
// working on bytes in memory, the file reading around them, the one table of
// signatures, the one decoder over every format, and alpha compositing.
#ifndef VOLLO_IMAGE_HPP
#define VOLLO_IMAGE_HPP

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vollo.h"

namespace vollo_image
{

// Largest picture accepted from any file: 2^28 pixels (1 GiB as 32-bit pixels).
const uint64_t max_pixels = uint64_t(1) << 28;
// The colour of the empty drawing area, behind every transparent pixel.
const uint32_t background = 0xFFFFFFFFu;
// Bytes read from the start of a file before its kind is known: every BMP header,
// its bit fields and its longest palette fit in them.
const size_t head_size = 4096;

// How the pixel data of a BMP file is stored.
enum bmp_coding
{
    coding_plain,   // rows of 1, 2, 4, 8, 16, 24 or 32 bits per pixel
    coding_rle8,    // run-length codes over 8-bit palette indices
    coding_rle4     // run-length codes over 4-bit palette indices
};

// One colour channel inside a 16- or 32-bit stored pixel.
struct bmp_channel
{
    uint32_t mask;   // 0: the file has no such channel
    uint32_t shift;  // position of the mask's lowest bit
    uint32_t max;    // mask >> shift: the channel's largest value
};

// Everything the decoder needs, checked against the file's bytes by parse_bmp.
struct bmp_layout
{
    uint32_t width;
    uint32_t height;
    bool top_down;              // rows stored from the top (negative height)
    uint32_t bits;              // bits per stored pixel
    bmp_coding coding;
    uint32_t data_offset;       // where the pixel data starts in the file
    uint64_t row_size;          // bytes per stored row, padding included (plain rows)
    uint64_t data_size;         // bytes of pixel data the decoder needs (plain) or may read (RLE)
    uint32_t palette[256];      // opaque colours; 0 past palette_count marks "no entry"
    uint32_t palette_count;
    bmp_channel channels[4];    // red, green, blue, alpha (16 and 32 bits)
    bool alpha;                 // the alpha channel counts, unless it is zero everywhere
};

// Whether a pixel array of that many pixels can come from the tracked allocator's arena
// at all: larger pictures are refused before anything is read or decoded for them.
inline bool fits_in_arena(uint64_t pixels)
{
    return pixels * 4 <= uint64_t(get_max_heap_size()) << 20;
}

// Reads and checks the file header, the info header, the bit fields and the palette
// from the first `size` bytes of a file. Null when the picture can be decoded, otherwise
// why not. Allocates nothing.
const char *parse_bmp(const uint8_t *file, size_t size, bmp_layout *layout);
// Decodes the pixel data (the `size` bytes found at data_offset) into layout width x
// height pixels, top row first, every pixel opaque (keep_alpha: with the file's alpha).
// Null on success, otherwise why not. Never writes outside the pixels and never reads
// outside the data.
const char *decode_bmp(const uint8_t *data, size_t size, const bmp_layout *layout,
                       uint32_t *pixels, bool keep_alpha = false);
// Gives every pixel alpha 255, each colour composited over white first:
// (c * a + 255 * (255 - a)) / 255, rounded. With zero_everywhere_is_opaque, an alpha
// that is zero in every pixel (a channel that some writers leave unset) means opaque.
// With keep_alpha only that rule applies: otherwise the pixels stay as they are.
void flatten_alpha(uint32_t *pixels, size_t count, bool zero_everywhere_is_opaque, bool keep_alpha = false);

// How far reading a file went, for the words of its failure text.
enum file_reach
{
    file_missing,     // there is no such file (or no path): "cannot open"
    file_unreadable,  // there is one that cannot be opened or read (a folder): "cannot read"
    file_read         // opened and read, though it may still be refused (too long)
};

// A picture file opened for reading: its first bytes, and the descriptor standing
// just after them.
struct picture_file
{
    int fd = -1;
    file_reach reach = file_missing;
    std::vector<uint8_t> head;  // at most head_size bytes
    bool regular = false;       // a regular file, whose size is known
    uint64_t size = 0;          // of a regular file
    picture_file() = default;
    picture_file(const picture_file &) = delete;
    picture_file &operator=(const picture_file &) = delete;
    ~picture_file();
};

// Opens path (a FIFO without a writer reads as empty) and reads its first bytes. Null
// on success, otherwise why not.
const char *open_picture(const char *path, picture_file *file);
// Reads the whole of a file whose first bytes are in `file`, up to a size limit.
const char *read_rest(picture_file *file, std::vector<uint8_t> *bytes);
// The whole file at path, read once; *reach tells how far it went. Null on success,
// otherwise why not.
const char *read_whole(const char *path, std::vector<uint8_t> *bytes, file_reach *reach);
// Records why a file that reading did not reach whole failed, with `reason` from the
// reader: "cannot open 'PATH': " when there is no such file, else "cannot read 'PATH': ".
void fail_reading(const char *path, file_reach reach, const char *reason);
// The size that the header of a file in another format than BMP claims; false when it
// cannot be told from the header.
bool claimed_size(const uint8_t *bytes, size_t size, uint64_t *width, uint64_t *height);
// The kind that a file's first bytes announce, from the one table of signatures (TGA
// when none matches).
vollo_picture_kind kind_of(const uint8_t *bytes, size_t size);
// Why a file that its decoder refused cannot be shown: broken, or of no kind read here.
const char *refusal(const uint8_t *bytes, size_t size);
// Decodes a JPEG file into new RGBA pixels (malloc, released with free), top row first;
// null on success, otherwise why not, with nothing left allocated.
const char *decode_jpeg(const uint8_t *bytes, size_t size, uint32_t **pixels, uint32_t *width,
                        uint32_t *height);
// Checks a BMP file's headers, and that its pixel data is all there (plain rows).
const char *check_bmp_bytes(const uint8_t *bytes, size_t size, bmp_layout *layout);
// A picture decoded into memory of its own (malloc), and the kind of file it came from.
struct decoded_picture
{
    uint32_t *pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    vollo_picture_kind kind = VOLLO_KIND_TGA;
};
// The one decoder: any picture file's bytes (bmp_only: refused unless BMP) into opaque
// pixels, composited over white unless keep_alpha. Null on success, otherwise why not,
// with nothing left allocated.
const char *decode_bytes(const uint8_t *bytes, size_t size, bool bmp_only, bool keep_alpha,
                         decoded_picture *out);
// A new pixel array of a BMP or any other picture file, opaque unless keep_alpha; sets
// gl_vollo_load_error.
vollo_pixelarray *load_file(const char *path, bool bmp_only, bool keep_alpha = false);

}  // namespace vollo_image

// Why the calling thread's last picture load failed: a static text, or null after a success.
extern thread_local const char *gl_vollo_load_error;

#endif
