// What the arena's size classes hold: the figures behind the failure reason of a request
// that does not fit, and behind the VOLLO_DEBUG report at exit.
#include <cstdio>

#include "memory.hpp"

namespace vollo_memory
{
namespace
{
uint64_t count(const memchunk *list)
{
    uint64_t blocks = 0;
    for (const memchunk *chunk = list; chunk != nullptr && (blocks == 0 || chunk != list); chunk = chunk->next)
        ++blocks;
    return blocks;
}
}  // namespace

uint64_t released_bytes(const memtree *node)
{
    if (node == nullptr)
        return 0;
    return count(node->released) * node->size + released_bytes(node->lesser) + released_bytes(node->greater);
}

void print_classes(const memtree *node, FILE *out)
{
    if (node == nullptr)
        return;
    print_classes(node->lesser, out);
    const uint64_t released = count(node->released);
    std::fprintf(out, "vollo:   class of %llu bytes: %llu in use, %llu released holding %llu bytes\n",
                 (unsigned long long)node->size, (unsigned long long)count(node->used),
                 (unsigned long long)released, (unsigned long long)(released * node->size));
    print_classes(node->greater, out);
}
}  // namespace vollo_memory
