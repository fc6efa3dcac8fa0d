// Normal use of the tracked allocator: rounding, reuse, lists, the size tree,
// counters, the ceiling and the exit report. The arena is process-wide, so
// every test runs in a forked child that starts without one.
#include <cstdio>
#include <cstdlib>
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
    expect_in_child([] {
        struct
        {
            uint64_t asked;
            uint64_t taken;
        } cases[] = {{0, 0},     {1, 32},    {31, 32},   {32, 32},    {33, 64},
                     {100, 128}, {120, 128}, {1000, 1024}, {5000, 5024}};
        memhead *arena = memory_head();
        ASSERT_NE(arena, nullptr);
        for (auto c : cases) {
            SCOPED_TRACE(c.asked);
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
    });
}

TEST(TrackedAllocator, ZeroBytesIsACallAndALiveChunk)
{
    expect_in_child([] {
        EXPECT_EQ(get_nb_alloc(), 0u);
        void *block = vollo_malloc(0);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(memory_head()->malloc_calls, 1u);
        EXPECT_EQ(get_nb_alloc(), 1u);
        vollo_free(block);
        EXPECT_EQ(get_nb_alloc(), 0u);
        EXPECT_EQ(memory_head()->malloc_calls, 1u);
    });
}

TEST(TrackedAllocator, ReleasedBlockIsReusedAtTheSameAddressForTheSameClass)
{
    expect_in_child([] {
        void *first = vollo_malloc(100);
        ASSERT_NE(first, nullptr);
        vollo_free(first);
        void *other_class = vollo_malloc(200);
        void *same_class = vollo_malloc(120);
        EXPECT_EQ(same_class, first);
        EXPECT_NE(other_class, first);
    });
}

TEST(TrackedAllocator, LastReleasedBlockIsHandedOutFirst)
{
    expect_in_child([] {
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
    });
}

TEST(TrackedAllocator, ReleasingOneOfTwoLeavesTheOtherInUse)
{
    expect_in_child([] {
        void *kept = vollo_malloc(64);
        void *dropped = vollo_malloc(64);
        memtree *node = header_of(kept)->node;
        EXPECT_EQ(get_nb_alloc(), 2u);
        vollo_free(dropped);
        EXPECT_EQ(get_nb_alloc(), 1u);
        EXPECT_EQ(memory_head()->allocated_bytes, 64u);
        // kept is the only block of its class in use: a circle of one.
        EXPECT_EQ(node->used, header_of(kept));
        EXPECT_EQ(header_of(kept)->next, header_of(kept));
        EXPECT_EQ(header_of(kept)->prev, header_of(kept));
        EXPECT_EQ(node->released, header_of(dropped));
        vollo_free(kept);
        EXPECT_EQ(node->used, nullptr);
        EXPECT_EQ(get_nb_alloc(), 0u);
        EXPECT_EQ(memory_head()->allocated_bytes, 0u);
    });
}

TEST(TrackedAllocator, UsedListStaysACircleWhateverTheReleaseOrder)
{
    expect_in_child([] {
        void *blocks[5];
        for (void *&block : blocks)
            block = vollo_malloc(96);
        memtree *node = header_of(blocks[0])->node;
        EXPECT_EQ(node->used, header_of(blocks[4]));  // the newest block is the head
        vollo_free(blocks[2]);
        // Each block went in before the head and became the head, so a head's
        // next is the block made before it.
        EXPECT_EQ(header_of(blocks[4])->next, header_of(blocks[3]));
        vollo_free(blocks[4]);  // the head: the head moves on to its next
        EXPECT_EQ(node->used, header_of(blocks[3]));
        int count = 0;
        memchunk *chunk = node->used;
        do {
            EXPECT_EQ(chunk->next->prev, chunk);
            chunk = chunk->next;
            ++count;
        } while (chunk != node->used && count < 10);
        EXPECT_EQ(count, 3);
    });
}

TEST(TrackedAllocator, SizeTreeGrowsInRequestOrderAndIsNeverRebalanced)
{
    expect_in_child([] {
        void *a = vollo_malloc(64);
        void *b = vollo_malloc(32);
        void *c = vollo_malloc(96);
        void *d = vollo_malloc(5000);  // beyond the indexed classes
        void *e = vollo_malloc(6000);
        void *f = vollo_malloc(60);
        memtree *root = memory_head()->tree;
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->size, 64u);
        EXPECT_EQ(header_of(a)->node, root);
        EXPECT_EQ(header_of(f)->node, root);
        ASSERT_NE(root->lesser, nullptr);
        EXPECT_EQ(root->lesser->size, 32u);
        EXPECT_EQ(header_of(b)->node, root->lesser);
        // Ascending sizes make a chain of greater links.
        memtree *chain = root->greater;
        uint64_t sizes[] = {96, 5024, 6016};
        void *blocks[] = {c, d, e};
        for (int i = 0; i < 3; ++i, chain = chain->greater) {
            ASSERT_NE(chain, nullptr);
            EXPECT_EQ(chain->size, sizes[i]);
            EXPECT_EQ(header_of(blocks[i])->node, chain);
            EXPECT_EQ(chain->lesser, nullptr);
        }
        EXPECT_EQ(chain, nullptr);
        // A released large block comes back through the tree like a small one.
        vollo_free(d);
        EXPECT_EQ(vollo_malloc(4999), d);
    });
}

TEST(TrackedAllocator, FreeOfNullDoesNothing)
{
    expect_in_child([] {
        void *block = vollo_malloc(1);
        vollo_free(nullptr);
        EXPECT_EQ(get_nb_alloc(), 1u);
        EXPECT_EQ(header_of(block)->state, vollo_memory::chunk_in_use);
    });
}

TEST(TrackedAllocator, HugeRequestsFailWithoutChangingCounters)
{
    expect_in_child([] {
        memhead *arena = memory_head();
        vollo_malloc(10);
        memhead before = *arena;
        for (uint64_t size : {UINT64_MAX, UINT64_MAX - 30, UINT64_MAX - 31, UINT64_MAX - 32,
                              uint64_t{1} << 63, uint64_t{1} << 40, uint64_t{21} << 20}) {
            SCOPED_TRACE(size);
            EXPECT_EQ(vollo_malloc(size), nullptr);
        }
        EXPECT_EQ(arena->malloc_calls, before.malloc_calls);
        EXPECT_EQ(arena->requested_bytes, before.requested_bytes);
        EXPECT_EQ(arena->allocated_chunks, before.allocated_chunks);
        EXPECT_EQ(arena->allocated_bytes, before.allocated_bytes);
        EXPECT_NE(vollo_malloc(10), nullptr);
    });
}

TEST(TrackedAllocator, ExhaustedArenaRefusesLargeButServesSmallRequests)
{
    expect_in_child([] {
        set_max_heap_size(1);
        memhead *arena = memory_head();
        char *big = static_cast<char *>(vollo_malloc(600 * 1024));
        ASSERT_NE(big, nullptr);
        EXPECT_EQ(vollo_malloc(600 * 1024), nullptr);  // only about 400 KiB are left
        EXPECT_EQ(arena->malloc_calls, 1u);
        EXPECT_EQ(get_nb_alloc(), 1u);
        char *small = static_cast<char *>(vollo_malloc(1000));
        ASSERT_NE(small, nullptr);
        EXPECT_GE(small, big + 600 * 1024);
        // Releasing the big block makes its class reusable, not its space general.
        vollo_free(big);
        EXPECT_EQ(vollo_malloc(500 * 1024), nullptr);
        EXPECT_EQ(vollo_malloc(600 * 1024), big);
        // Fill what is left with 32-byte blocks: the last ones fail, cleanly.
        uint64_t taken = 0;
        while (vollo_malloc(32) != nullptr)
            ++taken;
        EXPECT_GT(taken, 5000u);
        EXPECT_LE(arena->arena_next, arena->arena_end);
        EXPECT_EQ(get_nb_alloc(), 2 + taken);
    });
}

TEST(TrackedAllocator, CeilingOfZeroRefusesEveryRequest)
{
    expect_in_child([] {
        set_max_heap_size(0);
        EXPECT_EQ(vollo_malloc(0), nullptr);
        EXPECT_EQ(vollo_malloc(1), nullptr);
        EXPECT_EQ(get_nb_alloc(), 0u);
        EXPECT_EQ(memory_head()->malloc_calls, 0u);
    });
}

TEST(TrackedAllocator, OnlyTheFirstValidCeilingCounts)
{
    expect_in_child([] {
        EXPECT_EQ(get_max_heap_size(), 20);
        // Out of range: refused, and the one call that counts is still to come.
        for (int32_t refused : {-1, 2048, INT32_MIN, INT32_MAX})
            set_max_heap_size(refused);
        EXPECT_EQ(get_max_heap_size(), 20);
        set_max_heap_size(64);
        set_max_heap_size(8);
        EXPECT_EQ(get_max_heap_size(), 64);
        // The arena is made with the ceiling: 63 MiB fit, 2 more do not.
        EXPECT_NE(vollo_malloc(63u << 20), nullptr);
        EXPECT_EQ(vollo_malloc(2u << 20), nullptr);
    });
}

TEST(TrackedAllocator, CeilingSetAfterTheArenaChangesOnlyTheReportedValue)
{
    expect_in_child([] {
        get_nb_alloc();
        set_max_heap_size(1);
        EXPECT_EQ(get_max_heap_size(), 1);
        EXPECT_NE(vollo_malloc(10u << 20), nullptr);  // still the 20 MiB arena
    });
}

TEST(TrackedAllocator, ExitReportPrintsTheFiveCountersWhenAsked)
{
    child_result child = run_in_child([] {
        memory_check = 1;
        vollo_malloc(1);
        void *released = vollo_malloc(100);
        vollo_malloc(64);
        vollo_free(released);
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
        vollo_malloc(64);
        vollo_free(b);  // released, then its border overwritten through a
        a[32] = 'x';
        c[64] = 'y';  // the last block stays in use with a damaged border
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_NE(child.err.find("Altered chunks: 2\n"), std::string::npos) << child.err;
}

TEST(TrackedAllocator, ExitReportSurvivesDamagedListLinks)
{
    child_result child = run_in_child([] {
        memory_check = 1;
        char *a = static_cast<char *>(vollo_malloc(32));
        vollo_malloc(32);
        vollo_malloc(32);
        // Overwrite the next block's whole header, links included.
        std::memset(a + 32, 0x5A, sizeof(memchunk));
        return 0;
    });
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_NE(child.err.find("Altered chunks: 1\n"), std::string::npos) << child.err;
}
}  // namespace

// Arrays of four sizes made and deleted fill the arena with released blocks that only
// their own sizes reuse: a request of another size is refused with the three figures and
// the remedies, VOLLO_DEBUG lists the classes at exit, and adopted pixels still work.
TEST(ArenaFailure, SaysWhereTheMemoryWent)
{
    child_result child = run_in_child([] {
        setenv("VOLLO_DEBUG", "1", 1);
        const uint32_t heights[] = {975, 1178, 1357, 1562};  // 3.8, 4.6, 5.3 and 6.1 MiB at 1024 wide
        for (uint32_t height : heights)
            vollo_delete_clipable(vollo_new_pixelarray(1024, height));
        if (vollo_new_pixelarray(1024, 256) != nullptr)
            return 2;
        std::printf("%s\n", vollo_error());
        vollo_pixelarray *adopted = vollo_adopt_pixels(
            static_cast<uint32_t *>(std::calloc(1024 * 256, 4)), 1024, 256);
        vollo_delete_clipable(adopted);
        return adopted != nullptr ? 0 : 3;
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.exit_code, 0) << child.out << child.err;
    for (const char *part : {"a 1 MiB request does not fit: 19.8 MiB of the 20 MiB arena are held by released "
                             "blocks that only a request of their own size can reuse, and ",
                             " were never carved; load pictures of varying sizes with vollo_decode_picture and "
                             "vollo_adopt_pixels, or call set_max_heap_size("})
        EXPECT_NE(child.out.find(part), std::string::npos) << child.out;
    EXPECT_NE(child.err.find("vollo:   class of 6397952 bytes: 0 in use, 1 released holding 6397952 bytes"),
              std::string::npos)
        << child.err;
}
