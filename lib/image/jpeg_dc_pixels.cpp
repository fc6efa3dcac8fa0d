// Blocks to pixels: a block's DC, dequantised and level-shifted, is the mean of its 64
// samples (rounded as libjpeg's 1 x 1 transform does); YCbCr to RGB as libjpeg does it.
#include <algorithm>
#include <cstdlib>

#include "jpeg_dc.hpp"

namespace vollo_image
{
namespace
{

const int32_t one_half = 1 << 15;

int32_t clamp_level(int32_t value)
{
    return std::clamp(value, 0, 255);
}

// The level of component c's block under output pixel (x, y).
int32_t level(const jpeg_dc_frame &frame, const jpeg_dc_component &c, uint32_t x, uint32_t y)
{
    const uint32_t bx = x * uint32_t(c.h) / uint32_t(frame.h_max), by = y * uint32_t(c.v) / uint32_t(frame.v_max);
    const int32_t dc = c.dc.get()[size_t(by) * c.stride + bx];
    return clamp_level(((dc * c.quant + 4) >> 3) + 128);
}

// Fixed-point factors of 16 bits, rounded.
uint32_t rgb(int32_t y, int32_t cb, int32_t cr)
{
    cb -= 128;
    cr -= 128;
    const int32_t red = y + ((91881 * cr + one_half) >> 16);
    const int32_t green = y + ((-22554 * cb - 46802 * cr + one_half) >> 16);
    const int32_t blue = y + ((116130 * cb + one_half) >> 16);
    return 0xFF000000u | uint32_t(clamp_level(red)) | uint32_t(clamp_level(green)) << 8 |
           uint32_t(clamp_level(blue)) << 16;
}

}  // namespace

uint32_t *dc_pixels(const jpeg_dc_frame &frame, uint32_t *width, uint32_t *height)
{
    const uint32_t wide = (frame.width + 7) / 8, high = (frame.height + 7) / 8;
    uint32_t *pixels = static_cast<uint32_t *>(std::malloc(size_t(wide) * high * 4));
    if (!pixels)
        return nullptr;
    const jpeg_dc_component *c = frame.components;
    for (uint32_t y = 0; y < high; ++y)
        for (uint32_t x = 0; x < wide; ++x)
        {
            const int32_t luma = level(frame, c[0], x, y);
            pixels[size_t(y) * wide + x] = frame.count == 1
                                               ? 0xFF000000u | uint32_t(luma) * 0x010101u
                                               : rgb(luma, level(frame, c[1], x, y), level(frame, c[2], x, y));
        }
    *width = wide;
    *height = high;
    return pixels;
}

}  // namespace vollo_image
