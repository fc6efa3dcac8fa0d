#include <algorithm>

#include "window_private.hpp"

namespace vollo_internal
{

uint32_t largest_window_side()
{
    // The software renderers give up (abort, or overrun their own buffers) on a
    // framebuffer larger than the largest texture they report.
    static const uint32_t largest = std::min<uint32_t>(65535, std::max(1u, sf::Texture::getMaximumSize()));
    return largest;
}

}  // namespace vollo_internal
