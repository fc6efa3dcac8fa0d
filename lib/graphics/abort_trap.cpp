// SFML ends the process with abort() when it cannot reach a display to make its
// OpenGL context. Records that hold GL resources are built under this trap, so
// that their creating functions fail with null instead.
#include <csetjmp>
#include <csignal>

#include "graphics.hpp"

namespace
{

sigjmp_buf trap_jump;

void jump_back(int)
{
    siglongjmp(trap_jump, 1);
}

}  // namespace

namespace vollo_graphics
{

bool run_trapping_abort(void (*build)(void *), void *context)
{
    struct sigaction trap = {};
    struct sigaction previous = {};
    trap.sa_handler = jump_back;
    sigemptyset(&trap.sa_mask);
    sigaction(SIGABRT, &trap, &previous);
    if (sigsetjmp(trap_jump, 1) != 0)
    {
        // What was being built is abandoned: it may be half registered inside
        // SFML, so it is neither destroyed nor released.
        sigaction(SIGABRT, &previous, nullptr);
        return false;
    }
    build(context);
    sigaction(SIGABRT, &previous, nullptr);
    return true;
}

}  // namespace vollo_graphics
