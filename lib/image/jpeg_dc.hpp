// Private to the picture readers: progressive JPEG files shown from the scans that hold
// their DC coefficients, one value per 8 x 8 block, read through the file as it goes.
#ifndef VOLLO_JPEG_DC_HPP
#define VOLLO_JPEG_DC_HPP

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "jpeg_scaled.hpp"

namespace vollo_image
{
// The stream's bytes, a buffer at a time, and the bits of the entropy-coded data.
struct jpeg_stream
{
    jpeg_source source;
    size_t taken = 0;  // bytes of a stream in memory already in the buffer
    std::vector<uint8_t> buffer;
    size_t at = 0, end = 0;
    bool ended = false;  // the file has no more bytes
    uint32_t bits = 0;   // bits not used yet, the first one highest
    int bit_count = 0;
    int padded = 0;      // zero bits put at the end of bits, past the data
    int marker = 0;      // a marker met inside entropy-coded data, 0 when none
};

// A Huffman table of DC differences.
struct jpeg_huffman
{
    bool defined = false;
    uint16_t fast[1 << 9];  // by the next 9 bits: length << 8 | symbol, 0 for longer codes
    int32_t max_code[17];   // largest code of each length, -1 when none
    int32_t offset[17];     // index in symbols of each length's first code, less that code
    uint8_t symbols[256];
};

// Blocks are calloc'd: pages of a huge claimed size cost nothing until data fills them.
struct free_block
{
    void operator()(int16_t *block) const { std::free(block); }
};

struct jpeg_dc_component
{
    int id, h, v, quant_table;
    int32_t quant = 0;          // first quantiser, latched at the component's first scan
    int dc_bits = -1;           // low bits its DC still lacks: -1 before its first scan
    uint32_t blocks_wide, blocks_high;  // blocks the component covers
    uint32_t stride, rows;              // blocks stored: whole MCUs
    std::unique_ptr<int16_t, free_block> dc;
};

struct jpeg_dc_frame
{
    uint32_t width = 0, height = 0;
    int count = 0;
    jpeg_dc_component components[3];
    int h_max = 1, v_max = 1;
    uint32_t mcus_wide = 0, mcus_high = 0;
    int32_t quant[4] = {0, 0, 0, 0};  // first value of each table, 0 while undefined
    jpeg_huffman tables[4];
    uint32_t restart_interval = 0;
    bool jfif = false;
    int adobe_transform = -1;  // -1 without an Adobe segment
    bool rgb_ids = false;      // components named R, G, B: no colour transform
};

struct jpeg_dc_scan
{
    int count = 0;
    jpeg_dc_component *components[4];
    int tables[4];
    int ss, se, ah, al;
};

// Byte and bit reading (jpeg_stream.cpp). False or -1 at the end of the file.
bool stream_byte(jpeg_stream &stream, uint8_t *byte);
bool stream_segment(jpeg_stream &stream, std::vector<uint8_t> *segment);
// The next marker other than a restart, past any entropy-coded data; -1 at the end.
int stream_marker(jpeg_stream &stream);
// The next count (0..16) bits of entropy-coded data, zeros past its end.
uint32_t stream_bits(jpeg_stream &stream, int count);
uint32_t stream_peek(jpeg_stream &stream);
void stream_drop(jpeg_stream &stream, int count);
// Ends a run of entropy-coded data: false when it ran out before its last block.
bool stream_align(jpeg_stream &stream);
// Reads restart marker `number` (0..7) after an interval; false when another comes.
bool stream_restart(jpeg_stream &stream, int number);

// Huffman tables (jpeg_dc_huffman.cpp): builds the tables of a DHT segment, false
// when it is malformed; decodes one symbol, -1 for a code the table lacks.
bool read_huffman_tables(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame);
int huffman_symbol(jpeg_stream &stream, const jpeg_huffman &table);

// Header segments (jpeg_dc_segments.cpp), each false when malformed.
bool read_quant_tables(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame);
bool read_frame(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame);
bool read_scan(const std::vector<uint8_t> &segment, jpeg_dc_frame *frame, jpeg_dc_scan *scan);
void read_app(int marker, const std::vector<uint8_t> &segment, jpeg_dc_frame *frame);
// The block arrays of every component; false when memory runs out.
bool allot_blocks(jpeg_dc_frame *frame);

// Decodes the entropy-coded data of a DC scan, first or refining (jpeg_dc_scan.cpp).
bool decode_dc_scan(jpeg_stream &stream, const jpeg_dc_frame &frame, const jpeg_dc_scan &scan);

// One RGBA pixel per luma block (malloc), chroma replicated (jpeg_dc_pixels.cpp).
uint32_t *dc_pixels(const jpeg_dc_frame &frame, uint32_t *width, uint32_t *height);

// A progressive 8-bit Huffman-coded gray or YCbCr stream at 1/8 of its size, from its DC
// scans. False, with nothing allocated, for any other kind, any damage, or when 1/8 is
// smaller than the size that fits the bounds: the caller then decodes it otherwise.
bool decode_jpeg_dc(const jpeg_source &source, uint32_t max_width, uint32_t max_height, jpeg_reduced *out);
}  // namespace vollo_image

#endif
