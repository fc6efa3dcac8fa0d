// The journal's header and checksum, shared by its writer and its reader.
#ifndef PAINT_JOURNAL_FORMAT_HPP
#define PAINT_JOURNAL_FORMAT_HPP

#include <cstdint>
#include <cstring>
#include <vector>

#include "journal.h"

static const char journal_magic[8] = {'P', 'X', 'D', 'J', 'R', 'N', 'L', '1'};
static const uint32_t journal_longest_path = 1u << 16;

// FNV-1a over words: a record cut short or overwritten by other bytes fails it.
inline uint32_t journal_checksum(const uint32_t *words, size_t count)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < count; i++)
        hash = (hash ^ words[i]) * 16777619u;
    return hash;
}

// The header as words: the magic (2), width, height, size (2), modification seconds (2)
// and nanoseconds (2), the path's length in bytes, the path padded with zero bytes to
// whole words, and the checksum of all that.
inline std::vector<uint8_t> journal_header_bytes(const journal_base &base)
{
    std::vector<uint32_t> words(2);
    std::memcpy(words.data(), journal_magic, sizeof journal_magic);
    const uint64_t wide[3] = {base.size, uint64_t(base.mtime_seconds), uint64_t(base.mtime_nanoseconds)};
    words.push_back(base.width);
    words.push_back(base.height);
    for (uint64_t value : wide)
        words.insert(words.end(), {uint32_t(value), uint32_t(value >> 32)});
    words.push_back(uint32_t(base.picture.size()));
    std::vector<uint32_t> path((base.picture.size() + 3) / 4, 0);
    if (!base.picture.empty())
        std::memcpy(path.data(), base.picture.data(), base.picture.size());
    words.insert(words.end(), path.begin(), path.end());
    words.push_back(journal_checksum(words.data(), words.size()));
    std::vector<uint8_t> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

#endif
