// Tries every creating function that needs a display and prints what each gave,
// then exits normally. Run with DISPLAY naming a server that does not exist.
#include <csignal>
#include <cstdio>

#include "vollo.h"

static void on_abort(int) {}

// What SFML was building when it aborted is abandoned on purpose (it may be half
// registered inside SFML), so sanitizer builds must not count it as leaked.
// The leak checker's switch exists only in those builds.
extern "C" void __lsan_disable(void) __attribute__((weak));

int main(int argc, char **argv)
{
    if (__lsan_disable)
        __lsan_disable();
    signal(SIGABRT, on_abort);  // the caller's own disposition must survive
    const char *image = argc > 1 ? argv[1] : "missing.png";
    for (int round = 0; round < 2; ++round)
    {
        printf("window %s\n", vollo_start(64, 64, false, "probe") ? "made" : "null");
        printf("pixelarray %s\n", vollo_new_pixelarray(8, 8) ? "made" : "null");
        printf("picture %s\n", vollo_new_picture(8, 8) ? "made" : "null");
        printf("loaded %s\n", vollo_load_picture(image) ? "made" : "null");
    }
    struct sigaction now = {};
    sigaction(SIGABRT, nullptr, &now);
    printf("abort handler %s\n", now.sa_handler == on_abort ? "kept" : "changed");
    return 0;
}
