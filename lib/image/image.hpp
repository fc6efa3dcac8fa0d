// Private helpers of the picture readers: the BMP header parser and pixel decoder,
// working on bytes in memory, the file reading around them, the hand-over to SFML's
// image loader for every other format, and alpha compositing.
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

// A picture file opened for reading: its first bytes, and the descriptor standing
// just after them.
struct picture_file
{
    int fd = -1;
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
// Checks a BMP file's header and that its pixel data is all there (plain rows).
const char *check_bmp(picture_file *file, bmp_layout *layout);
// Reads the pixel data of a checked BMP file into `data`.
const char *read_bmp_data(picture_file *file, const bmp_layout *layout, std::vector<uint8_t> *data);
// Reads the whole of a file whose first bytes are in `file`, up to a size limit.
const char *read_rest(picture_file *file, std::vector<uint8_t> *bytes);
// The size that the header of a file in another format claims; false when it cannot be
// told from the header.
bool claimed_size(const std::vector<uint8_t> &bytes, uint64_t *width, uint64_t *height);
// False when the header of a file in another format claims a picture larger than the
// limits; true when it does not, or when its size cannot be told from the header.
bool claimed_size_acceptable(const std::vector<uint8_t> &bytes);
// Decodes a file in another format with SFML's image loader into RGBA pixels,
// composited over white unless keep_alpha; the picture's size in width and height.
const char *decode_other(const std::vector<uint8_t> &bytes, std::vector<uint32_t> *pixels,
                         uint32_t *width, uint32_t *height, bool keep_alpha = false);
// Why a file that no decoder took cannot be shown: broken, or of no kind read here.
const char *refusal(const std::vector<uint8_t> &bytes);
// A new opaque pixel array of a picture held in memory (BMP, PNG, JPEG...); null with
// the reason when the bytes do not decode or the arena cannot hold the picture.
vollo_pixelarray *decode_bytes(const std::vector<uint8_t> &bytes, const char **reason);
// True when the bytes start as a JPEG file does.
bool is_jpeg(const std::vector<uint8_t> &bytes);
// Decodes a JPEG file into new RGBA pixels (malloc, released with free), top row first;
// null on success, otherwise why not, with nothing left allocated.
const char *decode_jpeg(const std::vector<uint8_t> &bytes, uint32_t **pixels, uint32_t *width,
                        uint32_t *height);
// True when the file starts with the BMP signature "BM".
bool is_bmp(const picture_file &file);
// A new pixel array of a BMP or any other picture file, opaque unless keep_alpha; sets
// gl_vollo_load_error.
vollo_pixelarray *load_file(const char *path, bool bmp_only, bool keep_alpha = false);

}  // namespace vollo_image

// Why the last picture load failed: a static text, or null after a success.
extern const char *gl_vollo_load_error;

#endif
