// Private to the library: resampling blocks of pixels, for pictures made smaller to fit
// and for pixel arrays scaled to any size.
#ifndef VOLLO_SCALE_HPP
#define VOLLO_SCALE_HPP

#include <cstdint>

#include "vollo.h"

namespace vollo_image
{
// Resamples the source (rows `source_stride` pixels apart) into width x height pixels of
// `target`, which must hold them. Box: every target pixel is the area-weighted mean of the
// source pixels it covers, colours weighted by their alpha. False when memory runs out.
bool scale_pixels(const uint32_t *source, uint32_t source_width, uint32_t source_height,
                  uint32_t source_stride, uint32_t *target, uint32_t width, uint32_t height,
                  vollo_filter filter);
// The size that fits width x height within max_width x max_height with its aspect kept,
// never larger than it is, at least 1 x 1.
void fit_size(uint32_t width, uint32_t height, uint32_t max_width, uint32_t max_height,
              uint32_t *fit_width, uint32_t *fit_height);
}  // namespace vollo_image

#endif
