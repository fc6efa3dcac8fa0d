// Runs a piece of code in a forked child so that it gets a fresh allocator
// arena, and collects what the child wrote and how it ended.
#ifndef VOLLO_TESTS_CHILD_PROCESS_HPP
#define VOLLO_TESTS_CHILD_PROCESS_HPP

#include <functional>
#include <string>

struct child_result
{
    bool exited = false;     // ended through exit or a return
    int exit_code = -1;      // valid when exited
    bool signaled = false;   // ended by a signal
    int signal = 0;          // valid when signaled
    bool timed_out = false;  // killed after the timeout
    double seconds = 0;      // wall-clock run time
    std::string out;         // everything written to standard output
    std::string err;         // everything written to standard error
};

// Forks; the child runs `body` and then calls exit() with its result, so that
// atexit handlers (the allocator's report) run as in a real program. The child
// is killed by its pid if it outlives `timeout_seconds`.
child_result run_in_child(const std::function<int()> &body, double timeout_seconds = 10);

// Runs test expectations in a forked child, where the allocator is in the
// state the parent left it (the tests' parent process never makes an arena,
// so each child starts with none). The current test fails, with the child's
// output, when an expectation failed there or the child did not exit cleanly.
void expect_in_child(const std::function<void()> &checks);

#endif
