// Reading a journal back: the header checked, then every whole record applied in turn.
// A record cut short (the session was killed while writing it) or damaged ends the
// reading; what came before it stands.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include <sys/stat.h>

#include "journal_format.hpp"
#include "bmp.h"
#include "history.h"
#include "journal.h"

namespace
{

struct File
{
    FILE *file;
    ~File()
    {
        if (file != nullptr)
            fclose(file);
    }
};

bool read_words(FILE *file, uint32_t *words, size_t count)
{
    return fread(words, sizeof(uint32_t), count, file) == count;
}

bool read_header(FILE *file, journal_base *base, std::string *reason)
{
    std::vector<uint32_t> words(11);
    if (!read_words(file, words.data(), words.size()) ||
        std::memcmp(words.data(), journal_magic, sizeof journal_magic) != 0)
        return *reason = "not a journal, or its header is cut short", false;
    const uint32_t length = words[10];
    if (length > journal_longest_path || words[2] == 0 || words[3] == 0 ||
        uint64_t(words[2]) * words[3] > BMP_MAX_PIXELS)
        return *reason = "its header is damaged", false;
    words.resize(11 + (length + 3) / 4 + 1);
    if (!read_words(file, words.data() + 11, words.size() - 11) ||
        journal_checksum(words.data(), words.size() - 1) != words.back())
        return *reason = "its header is damaged or cut short", false;
    base->width = words[2];
    base->height = words[3];
    base->size = words[4] | uint64_t(words[5]) << 32;
    base->mtime_seconds = int64_t(words[6] | uint64_t(words[7]) << 32);
    base->mtime_nanoseconds = int64_t(words[8] | uint64_t(words[9]) << 32);
    base->picture.assign(reinterpret_cast<const char *>(words.data() + 11), length);
    return true;
}

// The pixels of the picture the journal started from, decoded from the journal's own
// copy of it by the function that decoded it for the session.
bool load_base(const char *path, const journal_base &base, std::vector<uint32_t> *pixels, std::string *reason)
{
    pixels->assign(size_t(base.width) * base.height, 0);
    if (base.picture.empty())
        return true;
    const std::string copy = journal_picture_of(path);
    struct stat about;
    if (stat(copy.c_str(), &about) != 0)
        return *reason = "its copy of the picture " + base.picture + " is gone: " + strerror(errno), false;
    // A hard link shares the picture's time; a copy was given it.
    if (uint64_t(about.st_size) != base.size || about.st_mtim.tv_sec != base.mtime_seconds ||
        about.st_mtim.tv_nsec != base.mtime_nanoseconds)
        return *reason = "its copy of the picture " + base.picture + " changed since", false;
    uint32_t width = 0, height = 0;
    uint32_t *picture = vollo_decode_picture(copy.c_str(), &width, &height);
    const bool fits = picture != nullptr && width == base.width && height == base.height;
    if (fits)
        std::memcpy(pixels->data(), picture, pixels->size() * sizeof(uint32_t));
    else
        *reason = "its copy of the picture " + base.picture + " cannot be decoded as it was";
    free(picture);
    return fits;
}

// Puts the coded words into the pixels of `area`: XOR-ed, or as they are.
void apply(std::vector<uint32_t> &pixels, uint32_t width, paint_rect area,
           const std::vector<uint32_t> &code, bool exclusive_or)
{
    const size_t area_width = size_t(area.x1 - area.x0 + 1);
    std::vector<uint32_t> words(area_width * size_t(area.y1 - area.y0 + 1), 0);
    history_decode(code, words);
    for (int32_t y = area.y0; y <= area.y1; y++)
    {
        uint32_t *row = pixels.data() + size_t(y) * width + area.x0;
        const uint32_t *from = words.data() + size_t(y - area.y0) * area_width;
        for (size_t x = 0; x < area_width; x++)
            row[x] = exclusive_or ? row[x] ^ from[x] : from[x];
    }
}

// The action under way as its records tell it so far: its difference (pixels now XOR
// before it) in tiles of OVERLAY_TILE x OVERLAY_TILE, so that only what it reached takes
// memory. Each record puts its rectangle in place of what the tiles held there.
#define OVERLAY_TILE 128
typedef std::unordered_map<uint64_t, std::vector<uint32_t>> open_overlay;

void overlay_put(open_overlay &overlay, paint_rect area, const std::vector<uint32_t> &code)
{
    const size_t area_width = size_t(area.x1 - area.x0 + 1);
    std::vector<uint32_t> words(area_width * size_t(area.y1 - area.y0 + 1), 0);
    history_decode(code, words);
    for (int32_t y = area.y0; y <= area.y1; y++)
        for (int32_t x = area.x0; x <= area.x1;)
        {
            const int32_t next = (x / OVERLAY_TILE + 1) * OVERLAY_TILE, end = std::min(area.x1 + 1, next);
            std::vector<uint32_t> &tile = overlay[uint64_t(y / OVERLAY_TILE) << 32 | uint32_t(x / OVERLAY_TILE)];
            tile.resize(OVERLAY_TILE * OVERLAY_TILE, 0);
            const auto from = words.begin() + long(size_t(y - area.y0) * area_width + size_t(x - area.x0));
            std::copy(from, from + (end - x), tile.begin() + (y % OVERLAY_TILE) * OVERLAY_TILE + x % OVERLAY_TILE);
            x = end;
        }
}

void overlay_apply(const open_overlay &overlay, std::vector<uint32_t> &pixels, uint32_t width, uint32_t height)
{
    for (const auto &entry : overlay)
    {
        const uint32_t top = uint32_t(entry.first >> 32) * OVERLAY_TILE, left = uint32_t(entry.first) * OVERLAY_TILE;
        for (uint32_t y = 0; y < OVERLAY_TILE && top + y < height; y++)
            for (uint32_t x = 0; x < OVERLAY_TILE && left + x < width; x++)
                pixels[size_t(top + y) * width + left + x] ^= entry.second[y * OVERLAY_TILE + x];
    }
}

// The next whole record, checked: false at the end, or at a record cut short or damaged.
bool read_record(FILE *file, const journal_base &base, journal_kind *kind, paint_rect *area,
                 std::vector<uint32_t> *code)
{
    uint32_t head[6];
    if (!read_words(file, head, 6) || head[0] < JOURNAL_DIFFERENCE || head[0] > JOURNAL_OPEN_PART)
        return false;
    *area = paint_rect{int32_t(head[1]), int32_t(head[2]), int32_t(head[3]), int32_t(head[4])};
    // A reshape gives the pixels a new size: its rectangle starts at (0, 0).
    const bool reshape = head[0] == JOURNAL_RESHAPE;
    if (area->x0 < 0 || area->y0 < 0 || area->x0 > area->x1 || area->y0 > area->y1 ||
        (reshape ? area->x0 != 0 || area->y0 != 0 || uint64_t(area->x1 + 1) * uint64_t(area->y1 + 1) > BMP_MAX_PIXELS
                 : uint32_t(area->x1) >= base.width || uint32_t(area->y1) >= base.height))
        return false;
    // No code is longer than twice its words (a literal head before every word or two).
    const uint64_t words = uint64_t(area->x1 - area->x0 + 1) * uint64_t(area->y1 - area->y0 + 1);
    if (head[5] > 2 * words + 2)
        return false;
    std::vector<uint32_t> record(head, head + 6);
    record.resize(6 + size_t(head[5]) + 1);
    if (!read_words(file, record.data() + 6, record.size() - 6) ||
        journal_checksum(record.data(), record.size() - 1) != record.back())
        return false;
    *kind = journal_kind(head[0]);
    code->assign(record.begin() + 6, record.end() - 1);
    return true;
}

}  // namespace

bool journal_rebuild(const char *path, journal_base *base, std::vector<uint32_t> *pixels,
                     size_t *changes, std::string *reason)
{
    File in{fopen(path, "rb")};
    *changes = 0;
    if (in.file == nullptr)
        return *reason = strerror(errno), false;
    if (!read_header(in.file, base, reason) || !load_base(path, *base, pixels, reason))
        return false;
    size_t records = 0, since_saved = 0;
    journal_kind kind;
    paint_rect area;
    std::vector<uint32_t> code;
    open_overlay open;
    while (read_record(in.file, *base, &kind, &area, &code))
    {
        records++;
        since_saved++;
        if (kind == JOURNAL_SAVED)
        {
            since_saved = 0;
            continue;
        }
        if (kind == JOURNAL_OPEN || kind == JOURNAL_OPEN_PART)
        {
            if (kind == JOURNAL_OPEN)
                open.clear();
            overlay_put(open, area, code);
            continue;
        }
        // A later record means that the action under way ended (or was dropped).
        open.clear();
        if (kind == JOURNAL_RESHAPE)
        {
            base->width = uint32_t(area.x1 + 1);
            base->height = uint32_t(area.y1 + 1);
            pixels->assign(size_t(base->width) * base->height, 0);
        }
        apply(*pixels, base->width, area, code, kind == JOURNAL_DIFFERENCE);
    }
    overlay_apply(open, *pixels, base->width, base->height);
    // Without a picture, the first record holds the pixels the session started from.
    if (base->picture.empty() && records == 0)
        return *reason = "it holds no pixels", false;
    *changes = base->picture.empty() && since_saved == records ? records - 1 : since_saved;
    return true;
}
