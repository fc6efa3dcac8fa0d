// Misuse of the tracked allocator and failures around it: overruns, foreign
// and twice-released pointers, use after the arena is gone, an arena the
// system refuses. Each runs in a child process that is expected to die or to
// report through its exit status.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "child_process.hpp"
#include "memory/memory.hpp"
#include "vollo.h"

#if defined(__SANITIZE_ADDRESS__)
#define VOLLO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOLLO_UNDER_ASAN 1
#endif
#endif

namespace
{
const char bad_pointer_message[] = "Bad pointer or altered memory detected while freeing 0x";

std::string message_for(const void *pointer)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s%lx.\n", bad_pointer_message,
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pointer)));
    return text;
}

// Each misuse, done in a fresh arena; returns the pointer handed to the
// failing vollo_free through standard output, so the message can be checked.
struct misuse
{
    const char *name;
    void (*act)();
};

void announce(const void *pointer)
{
    std::printf("%s", message_for(pointer).c_str());
    std::fflush(stdout);
}

const misuse misuses[] = {
    {"overrun by one byte into the next block",
     [] {
         char *first = static_cast<char *>(vollo_malloc(32));
         void *second = vollo_malloc(32);
         first[32] = 0;
         announce(second);
         vollo_free(second);
     }},
    {"damaged second border word",
     [] {
         char *first = static_cast<char *>(vollo_malloc(40));
         void *second = vollo_malloc(40);
         std::memset(first + 64 + 32, 0, 8);  // border1 of second's header only
         announce(second);
         vollo_free(second);
     }},
    {"released twice",
     [] {
         void *block = vollo_malloc(50);
         vollo_free(block);
         announce(block);
         vollo_free(block);
     }},
    {"released twice after its neighbours",
     [] {
         void *a = vollo_malloc(50);
         void *b = vollo_malloc(50);
         vollo_free(a);
         vollo_free(b);
         announce(a);
         vollo_free(a);
     }},
    {"pointer into the middle of a block",
     [] {
         char *block = static_cast<char *>(vollo_malloc(256));
         announce(block + 16);
         vollo_free(block + 16);
     }},
    {"pointer from the system allocator",
     [] {
         vollo_malloc(1);
         void *foreign = std::malloc(64);
         announce(foreign);
         vollo_free(foreign);
     }},
    {"pointer that cannot be read at all",
     [] {
         vollo_malloc(1);
         void *wild = reinterpret_cast<void *>(uintptr_t{16});
         announce(wild);
         vollo_free(wild);
     }},
    {"pointer before any arena exists",
     [] {
         static char outside[64];
         announce(outside + 48);
         vollo_free(outside + 48);
     }},
};

TEST(TrackedAllocatorMisuse, EveryBadReleaseStopsTheProcessWithSigsegv)
{
    for (const misuse &m : misuses) {
        SCOPED_TRACE(m.name);
        child_result child = run_in_child([&m] {
            // A plain program's disposition, whatever a sanitizer installed.
            std::signal(SIGSEGV, SIG_DFL);
            m.act();
            return 0;  // not reached: the release must not return
        });
        EXPECT_TRUE(child.signaled);
        EXPECT_EQ(child.signal, SIGSEGV);
        ASSERT_FALSE(child.out.empty());
        EXPECT_EQ(child.err, child.out);  // exactly the message, nothing else
    }
}

TEST(TrackedAllocatorMisuse, SurvivingTheSignalExitsWithStatus1AfterTwoSeconds)
{
    child_result child = run_in_child([] {
        std::signal(SIGSEGV, SIG_IGN);
        memory_check = 1;
        char *first = static_cast<char *>(vollo_malloc(1));
        void *second = vollo_malloc(1);
        first[32] = 0;
        announce(second);
        vollo_free(second);
        return 0;
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.exit_code, 1);
    EXPECT_GE(child.seconds, 1.9);
    // The message, then the report exactly once: the second run at exit finds
    // the arena released and leaves it alone.
    EXPECT_EQ(child.err, child.out +
                             "Call to malloc: 2\n"
                             "Sum of all byte requests: 64\n"
                             "Currently allocated chunks: 2\n"
                             "Currently allocated bytes: 64\n"
                             "Altered chunks: 1\n");
}

void note_signal(int)
{
    const char text[] = "handled\n";
    ssize_t ignored = write(STDOUT_FILENO, text, sizeof text - 1);
    (void)ignored;
}

TEST(TrackedAllocatorMisuse, DoubleReleaseWithAHandlerInstalledExitsWithStatus1)
{
    child_result child = run_in_child([] {
        std::signal(SIGSEGV, note_signal);
        void *keep = vollo_malloc(70);
        void *block = vollo_malloc(70);
        vollo_free(block);
        vollo_free(block);
        (void)keep;
        return 0;
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.exit_code, 1);
    EXPECT_EQ(child.out, "handled\n");
    EXPECT_EQ(child.err.rfind(bad_pointer_message, 0), 0u) << child.err;
}

TEST(TrackedAllocatorMisuse, NothingTouchesTheArenaOnceReleased)
{
    child_result child = run_in_child([] {
        memory_check = 1;
        void *old = vollo_malloc(10);
        check_memory_state();
        std::fprintf(stderr, "--\n");
        if (vollo_malloc(10) != nullptr || vollo_malloc(0) != nullptr)
            return 10;
        if (get_nb_alloc() != 0)
            return 11;
        vollo_free(old);  // dangling: ignored
        check_memory_state();  // nothing left to report
        return 0;
    });
    ASSERT_TRUE(child.exited) << child.err;
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_EQ(child.err,
              "Call to malloc: 1\n"
              "Sum of all byte requests: 32\n"
              "Currently allocated chunks: 1\n"
              "Currently allocated bytes: 32\n"
              "Altered chunks: 0\n"
              "--\n");
}

TEST(TrackedAllocatorMisuse, ArenaRefusedByTheSystemMakesRequestsFail)
{
#ifdef VOLLO_UNDER_ASAN
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
#endif
    child_result child = run_in_child([] {
        memory_check = 1;
        // Leave only a few MiB of address space beyond what is mapped now.
        FILE *statm = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1)
            return 20;
        std::fclose(statm);
        rlim_t limit = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (4u << 20);
        rlimit cap = {limit, limit};
        if (setrlimit(RLIMIT_AS, &cap) != 0)
            return 21;
        if (vollo_malloc(1) != nullptr || vollo_malloc(0) != nullptr)
            return 10;
        if (get_nb_alloc() != 0 || memory_head() != nullptr)
            return 11;
        vollo_free(nullptr);
        check_memory_state();  // nothing to report or release
        return 0;
    });
    ASSERT_TRUE(child.exited) << child.err;
    EXPECT_EQ(child.exit_code, 0);
    EXPECT_EQ(child.err, "");
}
}  // namespace
