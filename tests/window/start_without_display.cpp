// Run with no X display: SFML aborts while building the render window, and the
// start-up trap must turn that into a null window. Prints one line per check for
// the test that runs this program.
#include <signal.h>

#include <cstdio>
#include <unistd.h>

#include "vollo.h"

namespace
{

volatile sig_atomic_t handler_ran = 0;

void previous_handler(int, siginfo_t *, void *)
{
    handler_ran = 1;
}

bool previous_handler_installed()
{
    struct sigaction now;
    sigaction(SIGABRT, nullptr, &now);
    return (now.sa_flags & SA_SIGINFO) && now.sa_sigaction == previous_handler &&
           sigismember(&now.sa_mask, SIGUSR1);
}

bool sigabrt_blocked()
{
    sigset_t mask;
    sigprocmask(SIG_SETMASK, nullptr, &mask);
    return sigismember(&mask, SIGABRT);
}

}  // namespace

int main()
{
    struct sigaction previous = {};
    previous.sa_sigaction = previous_handler;
    previous.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&previous.sa_mask);
    sigaddset(&previous.sa_mask, SIGUSR1);
    sigaction(SIGABRT, &previous, nullptr);

    for (int attempt = 1; attempt <= 2; ++attempt)
    {
        vollo_window *window = vollo_start(320, 240, false, "no display");
        std::printf("attempt %d: window %s, handler %s, SIGABRT %s\n", attempt, window ? "made" : "null",
                    previous_handler_installed() ? "restored" : "changed",
                    sigabrt_blocked() ? "blocked" : "unblocked");
    }
    vollo_pixelarray *picture = vollo_new_pixelarray(2, 2);
    const bool set = vollo_set_clipboard_pixelarray(picture);
    std::printf("clipboard picture: set %s (%s)", set ? "true" : "false", vollo_error());
    std::printf(", get %s (%s)\n", vollo_get_clipboard_pixelarray() ? "a picture" : "null", vollo_error());
    raise(SIGABRT);
    std::printf("previous handler %s\n", handler_ran ? "ran" : "did not run");
    std::fflush(stdout);
    // SFML's state after an abort is not fit for its exit-time cleanup.
    _exit(0);
}
