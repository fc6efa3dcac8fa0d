// Private to the library: which pixel arrays hold a block from malloc (vollo_adopt_pixels)
// rather than one from the tracked allocator, so that deleting one releases its block
// with the allocator it came from.
#ifndef VOLLO_ADOPTED_HPP
#define VOLLO_ADOPTED_HPP

#include "vollo.h"

namespace vollo_graphics
{
// Notes that `array`'s pixels are to be released with free(); false when memory runs out.
bool note_adopted(const vollo_pixelarray *array);
// True, forgetting it, when `array` was noted by note_adopted.
bool forget_adopted(const vollo_pixelarray *array);
}  // namespace vollo_graphics

#endif
