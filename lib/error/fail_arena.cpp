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
        vollo_fail("%sa %u x %u picture needs %llu MiB, more than is free in the arena of %d MiB: delete what is "
                   "no longer needed, or call set_max_heap_size(%llu) before the first allocation",
                   prefix, width, height, needed, arena, arena_for(needed + uint64_t(arena)));
}
