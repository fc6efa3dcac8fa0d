// The size that the header of a PNG, GIF, PSD, JPEG, HDR, PIC, PNM or TGA file claims,
// read before the decoder allocates for it: a few bytes can claim a picture of a
// gigabyte, whose allocation and decoding alone would take seconds.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "image.hpp"

namespace vollo_image
{
namespace
{

uint32_t big16(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) << 8 | bytes[1];
}

uint32_t big32(const uint8_t *bytes)
{
    return big16(bytes) << 16 | big16(bytes + 2);
}

uint32_t little16(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
}

// The bytes of a file, as the size readers below see them.
struct byte_span
{
    const uint8_t *data;
    size_t length;
    size_t size() const { return length; }
    const uint8_t &operator[](size_t i) const { return data[i]; }
};

bool starts_with(const byte_span &bytes, const char *magic, size_t length)
{
    return bytes.size() >= length && memcmp(bytes.data, magic, length) == 0;
}

// The first start-of-frame segment of a JPEG stream: height and width. False when the
// markers end first.
bool jpeg_size(const byte_span &bytes, uint64_t *width, uint64_t *height)
{
    size_t at = 2;
    while (at + 9 <= bytes.size())
    {
        if (bytes[at] != 0xFF)
            return false;
        uint8_t marker = bytes[at + 1];
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
        {
            at += marker == 0xFF ? 1 : 2;  // fill byte, or a marker without a length
            continue;
        }
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
        {
            *height = big16(&bytes[at + 5]);
            *width = big16(&bytes[at + 7]);
            return true;
        }
        at += 2 + big16(&bytes[at + 2]);
    }
    return false;
}

// "-Y height +X width" after the header lines of a Radiance HDR file.
bool hdr_size(const byte_span &bytes, uint64_t *width, uint64_t *height)
{
    const char *text = reinterpret_cast<const char *>(bytes.data);
    const char *end = text + bytes.size();
    for (const char *at = text; at + 1 < end; at++)
        if (at[0] == '\n' && at[1] == '\n')
        {
            char line[64] = {};
            size_t length = std::min<size_t>(sizeof line - 1, size_t(end - (at + 2)));
            memcpy(line, at + 2, length);
            unsigned long long h = 0, w = 0;
            if (sscanf(line, "%*2s %llu %*2s %llu", &h, &w) != 2)
                return false;
            *width = w;
            *height = h;
            return true;
        }
    return false;
}

// Width and height of a binary PNM file ("P5" or "P6"), comments skipped.
bool pnm_size(const byte_span &bytes, uint64_t *width, uint64_t *height)
{
    uint64_t values[2] = {0, 0};
    size_t at = 2;
    for (uint64_t &value : values)
    {
        while (at < bytes.size() && (bytes[at] == '#' || strchr(" \t\r\n\v\f", bytes[at]) != nullptr))
            if (bytes[at++] == '#')
                while (at < bytes.size() && bytes[at] != '\n')
                    at++;
        if (at >= bytes.size() || bytes[at] < '0' || bytes[at] > '9')
            return false;
        while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9' && value < (uint64_t(1) << 40))
            value = value * 10 + (bytes[at++] - '0');
    }
    *width = values[0];
    *height = values[1];
    return true;
}

// A TGA header has no signature: a colour-map flag of 0 or 1 and a known image type.
bool tga_size(const byte_span &bytes, uint64_t *width, uint64_t *height)
{
    if (bytes.size() < 18 || bytes[1] > 1)
        return false;
    uint8_t type = bytes[2];
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
        return false;
    *width = little16(&bytes[12]);
    *height = little16(&bytes[14]);
    return true;
}

}  // namespace

bool claimed_size(const uint8_t *data, size_t size, uint64_t *width, uint64_t *height)
{
    const byte_span bytes{data, size};
    *width = 0;
    *height = 0;
    switch (kind_of(data, size))
    {
    case VOLLO_KIND_PNG:
        if (size < 24)
            return false;
        *width = big32(&bytes[16]);
        *height = big32(&bytes[20]);
        return true;
    case VOLLO_KIND_GIF:
        if (size < 10)
            return false;
        *width = little16(&bytes[6]);
        *height = little16(&bytes[8]);
        return true;
    case VOLLO_KIND_PSD:
        if (size < 22)
            return false;
        *height = big32(&bytes[14]);
        *width = big32(&bytes[18]);
        return true;
    case VOLLO_KIND_PIC:
        if (size < 92)
            return false;
        *width = big16(&bytes[88]);
        *height = big16(&bytes[90]);
        return true;
    case VOLLO_KIND_JPEG:
        return jpeg_size(bytes, width, height);
    case VOLLO_KIND_HDR:
        return hdr_size(bytes, width, height);
    case VOLLO_KIND_BMP:
        return false;
    default:
        // PNM, which the decoder also takes, shares the signature-less kind with TGA.
        if (starts_with(bytes, "P5", 2) || starts_with(bytes, "P6", 2))
            return pnm_size(bytes, width, height);
        return tga_size(bytes, width, height);
    }
}

}  // namespace vollo_image
