// SIGINT and SIGTERM end the run without losing the drawing. The handler only notes the
// signal; the main loop's tick and the dialogue's reads see the note and end the run the
// ordinary way, where saving is safe.
#include <cerrno>
#include <csignal>

#include <poll.h>

#include "terminal.h"

namespace
{

volatile sig_atomic_t received = 0;

void note_signal(int number)
{
    received = number;
}

}  // namespace

void install_stop_signals(void)
{
    struct sigaction action = {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for an answer returns with EINTR.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stop_signal(void)
{
    return received;
}

bool wait_for_input(int fd)
{
    // The signals are held while the note is checked and let through only inside ppoll,
    // so that one arriving in between cannot leave the read waiting for ever.
    sigset_t held, before;
    sigemptyset(&held);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGTERM);
    sigprocmask(SIG_BLOCK, &held, &before);
    while (received == 0)
    {
        pollfd wanted = {fd, POLLIN, 0};
        const int ready = ppoll(&wanted, 1, nullptr, &before);
        if (ready > 0 || (ready < 0 && errno != EINTR))
            break;
    }
    const bool go_on = received == 0;
    sigprocmask(SIG_SETMASK, &before, nullptr);
    return go_on;
}
