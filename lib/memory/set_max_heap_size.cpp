#include "memory/memory.hpp"
#include "vollo.h"

void set_max_heap_size(int32_t mib)
{
    static int32_t edited = 0;

    // Outside 0..2047 the arena's byte count would not fit; such a call is
    // refused and does not use up the one call that counts.
    if (mib < 0 || mib > vollo_memory::max_heap_mib)
        return;
    if (edited == 0)
        vollo_memory::heap_size = mib;
    edited = 1;
}
