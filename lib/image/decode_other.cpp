// Pictures in formats other than BMP, through SFML's image loader, which recognises
// them by their content (PNG, JPEG, GIF's first frame, TGA, PSD, HDR and more).
#include <cstring>

#include <SFML/Graphics/Image.hpp>

#include "graphics/graphics.hpp"
#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const unknown_kind =
    "not a picture of a known kind (no BMP signature; not PNG, JPEG, GIF, TGA, PSD or HDR either)";
const char *const too_large = "picture with a zero size, or too large for the memory available";

bool starts_with(const std::vector<uint8_t> &bytes, const char *magic)
{
    size_t length = strlen(magic);
    return bytes.size() >= length && memcmp(bytes.data(), magic, length) == 0;
}

}  // namespace

// Why a file the loader refused cannot be shown: broken, or of no kind it reads.
const char *refusal(const std::vector<uint8_t> &bytes)
{
    static const struct
    {
        const char *magic;
        const char *reason;
    } kinds[] = {
        {"\x89PNG", "PNG file that cannot be decoded (damaged or of an unsupported kind)"},
        {"\xFF\xD8\xFF", "JPEG file that cannot be decoded (damaged or of an unsupported kind)"},
        {"GIF8", "GIF file that cannot be decoded (damaged or of an unsupported kind)"},
        {"8BPS", "PSD file that cannot be decoded (damaged or of an unsupported kind)"},
        {"#?RADIANCE", "HDR file that cannot be decoded (damaged or of an unsupported kind)"},
    };
    for (const auto &kind : kinds)
        if (starts_with(bytes, kind.magic))
            return kind.reason;
    return unknown_kind;
}

const char *decode_other(const std::vector<uint8_t> &bytes, std::vector<uint32_t> *pixels,
                         uint32_t *width, uint32_t *height, bool keep_alpha)
{
    if (bytes.empty())
        return "empty file";
    if (!claimed_size_acceptable(bytes))
        return too_large;
    sf::Image image;
    bool loaded;
    {
        vollo_graphics::quiet_sfml_errors quiet;
        loaded = image.loadFromMemory(bytes.data(), bytes.size());
    }
    if (!loaded)
        return refusal(bytes);
    *width = image.getSize().x;
    *height = image.getSize().y;
    uint64_t count = uint64_t(*width) * *height;
    if (count == 0 || count > max_pixels || !fits_in_arena(count))
        return too_large;
    pixels->resize(size_t(count));
    // SFML's pixels are bytes R, G, B, A: the library's colour layout.
    memcpy(pixels->data(), image.getPixelsPtr(), size_t(count) * 4);
    flatten_alpha(pixels->data(), pixels->size(), false, keep_alpha);
    return nullptr;
}

}  // namespace vollo_image
