// The one table of picture-file signatures: the first bytes of each kind, its name, and
// why a file of that kind that does not decode is refused.
#include <cstring>

#include "image.hpp"

namespace vollo_image
{
namespace
{

struct signature
{
    const char *magic;
    size_t length;
    vollo_picture_kind kind;
};

const signature signatures[] = {
    {"BM", 2, VOLLO_KIND_BMP},          {"\x89PNG", 4, VOLLO_KIND_PNG},
    {"\xFF\xD8\xFF", 3, VOLLO_KIND_JPEG}, {"GIF8", 4, VOLLO_KIND_GIF},
    {"8BPS", 4, VOLLO_KIND_PSD},          {"#?RADIANCE", 10, VOLLO_KIND_HDR},
    {"#?RGBE", 6, VOLLO_KIND_HDR},        {"\x53\x80\xF6\x34", 4, VOLLO_KIND_PIC}};

// Indexed by kind; TGA files have no signature, so a refused one is of no known kind.
const char *const refusals[] = {
    "BMP file that cannot be decoded (damaged or of an unsupported kind)",
    "PNG file that cannot be decoded (damaged or of an unsupported kind)",
    "JPEG file that cannot be decoded (damaged or of an unsupported kind)",
    "not a picture of a known kind (no BMP signature; not PNG, JPEG, GIF, TGA, PSD or HDR either)",
    "GIF file that cannot be decoded (damaged or of an unsupported kind)",
    "PSD file that cannot be decoded (damaged or of an unsupported kind)",
    "HDR file that cannot be decoded (damaged or of an unsupported kind)",
    "PIC file that cannot be decoded (damaged or of an unsupported kind)"};

}  // namespace

vollo_picture_kind kind_of(const uint8_t *bytes, size_t size)
{
    for (const signature &each : signatures)
        if (size >= each.length && memcmp(bytes, each.magic, each.length) == 0)
            return each.kind;
    return VOLLO_KIND_TGA;
}

const char *refusal(const uint8_t *bytes, size_t size)
{
    return refusals[kind_of(bytes, size)];
}

}  // namespace vollo_image
