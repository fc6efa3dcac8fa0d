// Normal use of the tracked allocator: rounding, reuse, counters, ceiling and
// the exit report. Tests that depend on a fresh arena run in a child process.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "child_process.hpp"
#include "memory/memory.hpp"
#include "vollo.h"

namespace
{
memchunk *header_of(void *pointer)
{
    return static_cast<memchunk *>(pointer) - 1;
}

TEST(TrackedAllocator, RoundsEveryRequestUpToAMultipleOf32)
{
    struct
    {
        uint64_t asked;
        uint64_t taken;
    } cases[] = {{0, 0}, {1, 32}, {31, 32}, {32, 32}, {33, 64}, {100, 128}, {120, 128}, {1000, 1024}};
    for (auto c : cases) {
        SCOPED_TRACE(c.asked);
        memhead *arena = memory_head();
        ASSERT_NE(arena, nullptr);
        uint64_t requested = arena->requested_bytes;
        uint64_t allocated = arena->allocated_bytes;
        void *block = vollo_malloc(c.asked);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(arena->requested_bytes - requested, c.taken);
        EXPECT_EQ(arena->allocated_bytes - allocated, c.taken);
        EXPECT_EQ(header_of(block)->node->size, c.taken);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
        std::memset(block, 0xAB, c.asked);
        vollo_free(block);
        EXPECT_EQ(arena->allocated_bytes, allocated);
    }
}

TEST(TrackedAllocator, ZeroBytesIsACallAndALiveChunk)
{
    memhead *arena = memory_head();
    uint64_t calls = arena->malloc_calls;
    uint64_t chunks = get_nb_alloc();
    void *block = vollo_malloc(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(arena->malloc_calls, calls + 1);
    EXPECT_EQ(get_nb_alloc(), chunks + 1);
    vollo_free(block);
    EXPECT_EQ(get_nb_alloc(), chunks);
}

TEST(TrackedAllocator, ReleasedBlockIsReusedAtTheSameAddressForTheSameClass)
{
    void *first = vollo_malloc(100);
    ASSERT_NE(first, nullptr);
    vollo_free(first);
    void *other_class = vollo_malloc(200);
    void *same_class = vollo_malloc(120);
    EXPECT_EQ(same_class, first);
    EXPECT_NE(other_class, first);
    vollo_free(other_class);
    vollo_free(same_class);
}

TEST(TrackedAllocator, LastReleasedBlockIsHandedOutFirst)
{
    void *a = vollo_malloc(300);
    void *b = vollo_malloc(300);
    void *c = vollo_malloc(300);
    vollo_free(a);
    vollo_free(c);
    EXPECT_EQ(vollo_malloc(300), c);
    EXPECT_EQ(vollo_malloc(300), a);
    void *fresh = vollo_malloc(300);
    EXPECT_NE(fresh, a);
    EXPECT_NE(fresh, b);
    EXPECT_NE(fresh, c);
    for (void *block : {a, b, c, fresh})
        vollo_free(block);
}

TEST(TrackedAllocator, ReleasingOneOfTwoLeavesTheOtherInUse)
{
    uint64_t chunks = get_nb_alloc();
    void *kept = vollo_malloc(64);
    void *dropped = vollo_malloc(64);
    memtree *node = header_of(kept)->node;
    EXPECT_EQ(get_nb_alloc(), chunks + 2);
    vollo_free(dropped);
    EXPECT_EQ(get_nb_alloc(), chunks + 1);
    // kept is the only block of its class in use: a circle of one.
    EXPECT_EQ(node->used, header_of(kept));
    EXPECT_EQ(header_of(kept)->next, header_of(kept));
    EXPECT_EQ(header_of(kept)->prev, header_of(kept));
    EXPECT_EQ(node->released, header_of(dropped));
    vollo_free(kept);
    EXPECT_EQ(node->used, nullptr);
    EXPECT_EQ(get_nb_alloc(), chunks);
}

TEST(TrackedAllocator, UsedListStaysACircleWhateverTheReleaseOrder)
{
    void *blocks[5];
    for (void *&block : blocks)
        block = vollo_malloc(96);
    memtree *node = header_of(blocks[0])->node;
    vollo_free(blocks[2]);
    vollo_free(blocks[4]);  // the list head: the head moves on
    int count = 0;
    memchunk *chunk = node->used;
    do {
        EXPECT_EQ(chunk->next->prev, chunk);
        chunk = chunk->next;
        ++count;
    } while (chunk != node->used && count < 10);
    EXPECT_EQ(count, 3);
    for (int i : {0, 1, 3})
        vollo_free(blocks[i]);
}

TEST(TrackedAllocator, FreeOfNullDoesNothing)
{
    uint64_t chunks = get_nb_alloc();
    vollo_free(nullptr);
    EXPECT_EQ(get_nb_alloc(), chunks);
}

TEST(TrackedAllocator, HugeRequestsFailWithoutChangingCounters)
{
    memhead *arena = memory_head();
    memhead before = *arena;
    for (uint64_t size : {UINT64_MAX, UINT64_MAX - 30, UINT64_MAX - 31, UINT64_MAX - 32,
                          uint64_t{1} << 63, uint64_t{1} << 40}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(vollo_malloc(size), nullptr);
    }
    EXPECT_EQ(arena->malloc_calls, before.malloc_calls);
    EXPECT_EQ(arena->requested_bytes, before.requested_bytes);
    EXPECT_EQ(arena->allocated_chunks, before.allocated_chunks);
    void *block = vollo_malloc(10);
    EXPECT_NE(block, nullptr);
    vollo_free(block);
}

TEST(TrackedAllocator, ExhaustedArenaRefusesLargeButServesSmallRequests)
{
    child_result child = run_in_child([] {
        set_max_heap_size(1);
        uint64_t chunks = get_nb_alloc();
        memhead *arena = memory_head();
        uint64_t calls = arena->malloc_calls;
        void *big = vollo_malloc(600 * 1024);
        if (big == nullptr)
            return 10;
        if (vollo_malloc(600 * 1024) != nullptr)  // only about 400 KiB are left
            return 11;
        if (arena->malloc_calls != calls + 1 || get_nb_alloc() != chunks + 1)
            return 12;
        void *small = vollo_malloc(1000);
        if (small == nullptr || static_cast<char *>(small) < static_cast<char *>(big) + 600 * 1024)
            return 13;
        // Releasing the big block makes its class reusable, not the space general.
        vollo_free(big);
        if (vollo_malloc(500 * 1024) != nullptr)
            return 14;
        if (vollo_malloc(600 * 1024) != big)
            return 15;
        return 0;
    });
    EXPECT_TRUE(child.exited) << child.err;
    EXPECT_EQ(child.exit_code, 0) << child.err;
}

TEST(TrackedAllocator, CeilingOfZeroRefusesEveryRequest)
{
    child_result child = run_in_child([] {
        set_max_heap_size(0);
        if (vollo_malloc(0) != nullptr || vollo_malloc(1) != nullptr)
            return 10;
        return get_nb_alloc() == 0 ? 0 : 11;
    });
    EXPECT_EQ(child.exit_code, 0) << child.err;
}

TEST(TrackedAllocator, OnlyTheFirstValidCeilingCounts)
{
    child_result child = run_in_child([] {
        if (get_max_heap_size() != 20)
            return 10;
        // Out of range: refused, and the first call is still to come.
        set_max_heap_size(-1);
        set_max_heap_size(2048);
        set_max_heap_size(INT32_MAX);
        if (get_max_heap_size() != 20)
            return 11;
        set_max_heap_size(64);
        set_max_heap_size(8);
        if (get_max_heap_size() != 64)
            return 12;
        // The arena is made with the ceiling: 64 MiB fit, 65 do not.
        void *block = vollo_malloc(63u << 20);
        if (block == nullptr || vollo_malloc(2u << 20) != nullptr)
            return 13;
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0) << child.err;
}

TEST(TrackedAllocator, CeilingSetAfterTheArenaChangesOnlyTheReportedValue)
{
    child_result child = run_in_child([] {
        get_nb_alloc();
        set_max_heap_size(1);
        if (get_max_heap_size() != 1)
            return 10;
        return vollo_malloc(10u << 20) != nullptr ? 0 : 11;  // still the 20 MiB arena
    });
    EXPECT_EQ(child.exit_code, 0) << child.err;
}

TEST(TrackedAllocator, ExitReportPrintsTheFiveCountersWhenAsked)
{
    child_result child = run_in_child([] {
        memory_check = 1;
        void *a = vollo_malloc(1);
        void *b = vollo_malloc(100);
        void *c = vollo_malloc(64);
        (void)a;
        (void)c;
        vollo_free(b);
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_EQ(child.err,
              "Call to malloc: 3\n"
              "Sum of all byte requests: 224\n"
              "Currently allocated chunks: 2\n"
              "Currently allocated bytes: 96\n"
              "Altered chunks: 0\n");
}

TEST(TrackedAllocator, ExitReportIsSilentUnlessAsked)
{
    child_result child = run_in_child([] {
        vollo_malloc(10);
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_EQ(child.err, "");
}

TEST(TrackedAllocator, ExitReportCountsDamagedBlocksInBothLists)
{
    child_result child = run_in_child([] {
        memory_check = 1;
        char *a = static_cast<char *>(vollo_malloc(32));
        void *b = vollo_malloc(32);
        char *c = static_cast<char *>(vollo_malloc(64));
        void *d = vollo_malloc(64);
        vollo_free(b);  // released, then its border overwritten through a
        a[32] = 'x';
        c[64] = 'y';  // d stays in use with a damaged border
        (void)d;
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_NE(child.err.find("Altered chunks: 2\n"), std::string::npos) << child.err;
}
}  // namespace
