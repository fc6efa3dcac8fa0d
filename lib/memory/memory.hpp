// Private declarations of the tracked allocator.
//
// The arena is one block obtained from the system at first use: a memhead at
// its start, then nodes and blocks carved from the front by a bump pointer.
// Every block is preceded by a memchunk header; the caller's pointer is the
// address just past that header. Everything carved stays 16-byte aligned.
#ifndef VOLLO_MEMORY_HPP
#define VOLLO_MEMORY_HPP

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct memtree;

// Header carved in front of every block.
struct memchunk
{
    uint64_t border0;  // copy of the global border0
    memtree *node;     // size class of the block
    memchunk *prev;    // previous header in the block's current list
    memchunk *next;    // next header in that list
    uint64_t border1;  // copy of the global border1
    // CHUNK_IN_USE or CHUNK_RELEASED: lets vollo_free refuse a block released
    // twice in constant time. Kept after the borders so that an overrun of the
    // block in front still hits border0 first.
    uint64_t state;
};

// One node per distinct rounded size; a binary search tree on size.
struct memtree
{
    uint64_t size;       // rounded block size of this class
    memchunk *used;      // circular list of the blocks handed out
    memchunk *released;  // circular list of the blocks freed
    memtree *greater;    // larger sizes
    memtree *lesser;     // smaller sizes
};

// Arena head, at the start of the arena block.
struct memhead
{
    uint64_t malloc_calls;      // successful vollo_malloc calls
    uint64_t requested_bytes;   // sum of the rounded sizes of those calls
    uint64_t allocated_chunks;  // blocks handed out and not released
    uint64_t allocated_bytes;   // sum of their rounded sizes
    memtree *tree;              // root of the size tree
    unsigned char *arena_end;   // first byte after the arena
    unsigned char *arena_next;  // next free byte
};

static_assert(sizeof(uint64_t) == sizeof(void *), "the records assume 64-bit pointers");
static_assert(offsetof(memchunk, border1) == 32, "memchunk fields are 64 bits each");
static_assert(sizeof(memtree) == 40, "memtree fields are 64 bits each");
static_assert(sizeof(memhead) == 56, "memhead fields are 64 bits each");

namespace vollo_memory
{
constexpr uint64_t border0_value = 0x4242424242424242ULL;
constexpr uint64_t border1_value = 0x8484848484848484ULL;
constexpr uint64_t chunk_in_use = 0x7573656475736564ULL;    // "usedused"
constexpr uint64_t chunk_released = 0x6672656566726565ULL;  // "freefree"
constexpr int32_t max_heap_mib = 2047;  // largest ceiling whose byte count fits in 31 bits
constexpr uintptr_t alignment = 16;
constexpr uint64_t size_class = 32;
constexpr uint64_t node_bytes = (sizeof(memtree) + alignment - 1) & ~(alignment - 1);

static_assert(sizeof(memchunk) % alignment == 0, "blocks must stay aligned");

enum class arena_state
{
    none,      // not made yet, or the system refused it
    live,      // head points at it
    released   // check_memory_state gave it back; it is never made again
};

extern int32_t heap_size;  // arena size in MiB
extern memhead *head;      // the arena while it is live, else null
extern arena_state state;

// The nodes of the most common classes (sizes below 2 KiB), indexed by
// size / 32, so that get_node finds them without walking the tree. The tree
// still holds every node; an entry is filled when the walk finds or makes its
// node, and stays valid because nodes are never removed from a live arena.
constexpr uint64_t indexed_classes = 64;
extern memtree *class_index[indexed_classes];

inline uintptr_t align_up(uintptr_t address)
{
    return (address + alignment - 1) & ~(alignment - 1);
}

// First byte that nodes and blocks are carved from.
inline unsigned char *carve_start(const memhead *arena)
{
    return reinterpret_cast<unsigned char *>(
        align_up(reinterpret_cast<uintptr_t>(arena) + sizeof(memhead)));
}

// Bytes still free at the bump pointer.
inline uint64_t room_left(const memhead *arena)
{
    return static_cast<uint64_t>(arena->arena_end - arena->arena_next);
}

// True when [address, address + bytes) lies inside what has been carved and
// address is aligned as every carved record is.
inline bool inside_carved(const memhead *arena, const void *address, uint64_t bytes)
{
    uintptr_t first = reinterpret_cast<uintptr_t>(carve_start(arena));
    uintptr_t last = reinterpret_cast<uintptr_t>(arena->arena_next);
    uintptr_t at = reinterpret_cast<uintptr_t>(address);
    return at >= first && at <= last && bytes <= last - at && (at - first) % alignment == 0;
}

// Makes `chunk` the head of a circular list, at the tail of the circle.
inline void list_push(memchunk **list, memchunk *chunk)
{
    memchunk *first = *list;
    if (first == nullptr) {
        chunk->prev = chunk;
        chunk->next = chunk;
    } else {
        chunk->prev = first->prev;
        chunk->next = first;
        first->prev->next = chunk;
        first->prev = chunk;
    }
    *list = chunk;
}

// Takes `chunk` out of a circular list; the head moves on if it was the head.
inline void list_remove(memchunk **list, memchunk *chunk)
{
    if (chunk->next == chunk) {
        *list = nullptr;
        return;
    }
    chunk->prev->next = chunk->next;
    chunk->next->prev = chunk->prev;
    if (*list == chunk)
        *list = chunk->next;
}

// Bytes held by the released blocks under `node`, which only requests of their own size reuse.
uint64_t released_bytes(const memtree *node);
// Prints one line per size class under `node`, smallest first: blocks in use, released,
// and the bytes the released ones hold.
void print_classes(const memtree *node, FILE *out);

// Prints the bad-pointer message, runs the report and stops the process.
[[noreturn]] void bad_pointer(void *pointer);
}  // namespace vollo_memory

// The arena head, making the arena on first call; null when there is no
// arena (the system refused it, or it has been released).
memhead *memory_head(void);
// A block header of `size` bytes (already rounded), linked at the head of its
// node's used list; null when the arena has no room.
memchunk *get_node(memhead *head, uint64_t size);
// Number of blocks under `node` whose border words differ from the globals.
int32_t check_tree(memtree *node);

#endif
