#include <csignal>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "memory/memory.hpp"
#include "vollo.h"

namespace vollo_memory
{
void bad_pointer(void *pointer)
{
    std::fprintf(stderr, "Bad pointer or altered memory detected while freeing 0x%" PRIxPTR ".\n",
                 reinterpret_cast<uintptr_t>(pointer));
    check_memory_state();
    kill(getpid(), SIGSEGV);
    // Reached only when the signal is ignored or handled.
    sleep(2);
    std::exit(1);
}
}  // namespace vollo_memory
