#include <cstdio>
#include <string>

#include "error.hpp"
#include "memory/memory.hpp"
#include "vollo.h"

namespace
{
// The smallest power of two above `mib`, as an arena size that exists.
unsigned long long arena_for(unsigned long long mib)
{
    unsigned long long size = 1;
    while (size <= mib)
        size *= 2;
    return size > uint64_t(vollo_memory::max_heap_mib) ? uint64_t(vollo_memory::max_heap_mib) : size;
}
// Bytes as MiB for a reader: whole when they are, else to one decimal.
std::string mib(uint64_t bytes)
{
    char text[32];
    const double value = double(bytes) / (1 << 20);
    if (bytes % (1 << 20) == 0)
        std::snprintf(text, sizeof text, "%llu MiB", (unsigned long long)(bytes >> 20));
    else
        std::snprintf(text, sizeof text, "%.1f MiB", value < 0.1 ? 0.1 : value);
    return text;
}

// The arena has the room in total, but not in one place a request of this size can use:
// released blocks serve only their own size, and the bump pointer never goes back.
void fail_fragmented(const char *prefix, uint64_t bytes, unsigned long long remedy)
{
    const memhead *arena = vollo_memory::head;
    const uint64_t released = arena ? vollo_memory::released_bytes(arena->tree) : 0;
    const uint64_t never = arena ? vollo_memory::room_left(arena) : 0;
    // The arena's size in whole MiB: its head and alignment take a few bytes of it.
    const uint64_t total = arena ? (uint64_t(arena->arena_end - vollo_memory::carve_start(arena)) + (1 << 19)) >> 20 << 20
                                 : uint64_t(get_max_heap_size()) << 20;
    vollo_fail("%sa %s request does not fit: %s of the %s arena are held by released blocks that only a request "
               "of their own size can reuse, and %s were never carved; load pictures of varying sizes with "
               "vollo_decode_picture and vollo_adopt_pixels, or call set_max_heap_size(%llu) before the first "
               "allocation",
               prefix, mib(bytes).c_str(), mib(released).c_str(), mib(total).c_str(), mib(never).c_str(), remedy);
}
}  // namespace

void vollo_fail_arena(const char *prefix, uint32_t width, uint32_t height)
{
    const uint64_t bytes = uint64_t(width) * height * 4;
    const unsigned long long needed = (bytes + (1u << 20) - 1) >> 20;
    const int arena = int(get_max_heap_size());
    if (needed > uint64_t(vollo_memory::max_heap_mib))
        vollo_fail("%sa %u x %u picture needs %llu MiB; the arena can hold at most %d MiB", prefix, width, height,
                   needed, int(vollo_memory::max_heap_mib));
    else if (needed > uint64_t(arena))
        vollo_fail("%sa %u x %u picture needs %llu MiB; the arena holds %d MiB: call set_max_heap_size(%llu) "
                   "before the first allocation",
                   prefix, width, height, needed, arena, arena_for(needed));
    else
        fail_fragmented(prefix, bytes, arena_for(needed + uint64_t(arena)));
}
