// Running out of memory inside the flat interface: every allocation of the test
// process goes through the operator new below, which can be told to fail the n-th
// allocation from now. For each n until a call succeeds, the call must either
// complete or leave the document exactly as it was, and no exception may escape.

#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

long allocationsBeforeFailure = -1;  // -1: never fail
bool failed = false;

void *Allocate(std::size_t size)
{
    if (allocationsBeforeFailure == 0)
    {
        failed = true;
        return nullptr;
    }
    if (allocationsBeforeFailure > 0)
        --allocationsBeforeFailure;
    return std::malloc(size ? size : 1);
}

}  // namespace

// Under AddressSanitizer its own operator delete may meet a block from the malloc
// below (libstdc++'s internal deletes bind to it): not a mismatch here.
extern "C" const char *__asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}

void *operator new(std::size_t size)
{
    if (void *block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void *operator new[](std::size_t size)
{
    return operator new(size);
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return Allocate(size);
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return Allocate(size);
}

void operator delete(void *block) noexcept
{
    std::free(block);
}

void operator delete[](void *block) noexcept
{
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void *block, std::size_t) noexcept
{
    std::free(block);
}

namespace
{

// Runs `call` with the n-th allocation failing, for n = 0, 1, ... until a run
// needs no failure; `check` judges each run (`completed` is false when an
// allocation failed). Returns how many runs met a failure.
template <typename Call, typename Check>
int EveryFailurePoint(Call call, Check check)
{
    for (long n = 0;; ++n)
    {
        failed = false;
        allocationsBeforeFailure = n;
        call();
        allocationsBeforeFailure = -1;
        bool completed = !failed;
        check(completed);
        if (completed)
            return static_cast<int>(n);
        if (n > 10000)
        {
            ADD_FAILURE() << "never completed";
            return -1;
        }
    }
}

const char *Long = "a value long enough to need memory of its own, beyond the short-string buffer";

TEST(OutOfMemory, NewIni)
{
    vollo_ini *ini = nullptr;
    int points = EveryFailurePoint([&] { ini = vollo_new_ini(); },
                                   [&](bool completed) {
                                       EXPECT_EQ(completed, ini != nullptr);
                                       vollo_delete_ini(ini);
                                   });
    EXPECT_GT(points, 0);
}

TEST(OutOfMemory, SetFieldChangesAllOrNothing)
{
    struct Case
    {
        const char *scope, *field;
        int index;
        const char *value;
    } cases[] = {
        {"new", "field", 3, Long},       // new scope, new field, growth
        {"s", "new", 0, Long},           // new field in an existing scope
        {"s", "f", 9, Long},             // growth of an existing field
        {"s", "f", 0, Long},             // replacement
        {"s", "f", 1, erase_index},      // erase one value (creates nothing here)
        {"t", "g", 0, erase_index},      // erase in a missing scope: creates it and the field empty
        {"s", "f", erase_field, erase_index},
    };
    for (const Case &c : cases)
    {
        vollo_ini *ini = vollo_new_ini();
        vollo_ini_set_field(ini, "s", "f", 2, "old");
        std::string before = initest::Dump(*ini);
        std::string after;
        EveryFailurePoint([&] { vollo_ini_set_field(ini, c.scope, c.field, c.index, c.value); },
                          [&](bool completed) {
                              if (completed)
                                  return;
                              EXPECT_EQ(before, initest::Dump(*ini)) << c.scope << "." << c.field << " " << c.index;
                              // Start the next run from the same document.
                              vollo_delete_ini(ini);
                              ini = vollo_new_ini();
                              vollo_ini_set_field(ini, "s", "f", 2, "old");
                          });
        vollo_delete_ini(ini);
    }
}

TEST(OutOfMemory, LoadGivesAWholeDocumentOrNull)
{
    initest::TempDir dir;
    std::string path = dir.Path("in.ini");
    initest::WriteWholeFile(path, std::string("a = 1\n[s]\nlist = \"") + Long + "\", 2, 3\nb = " + Long + "\n");
    std::string expected;
    {
        kzr::Ini reference;
        ASSERT_TRUE(reference.Load(path));
        expected = initest::Dump(reference);
    }
    vollo_ini *ini = nullptr;
    int points = EveryFailurePoint([&] { ini = vollo_load_ini(path.c_str()); },
                                   [&](bool completed) {
                                       EXPECT_EQ(completed, ini != nullptr);
                                       if (ini)
                                       {
                                           EXPECT_EQ(expected, initest::Dump(*ini));
                                       }
                                       vollo_delete_ini(ini);
                                   });
    EXPECT_GT(points, 5);
}

TEST(OutOfMemory, LookupsSaveAndScopeSet)
{
    initest::TempDir dir;
    vollo_ini *ini = vollo_new_ini();
    vollo_ini_set_field(ini, "s", "f", 1, Long);
    std::string path = dir.Path("out.ini");
    std::string before = initest::Dump(*ini);
    const char *got = nullptr;
    EveryFailurePoint([&] { got = vollo_ini_get_field(ini, "scope name beyond the short buffer", "f", 0); },
                      [&](bool) { EXPECT_EQ(nullptr, got); });
    EveryFailurePoint([&] { got = vollo_ini_get_field(ini, "s", "f", 1); },
                      [&](bool completed) { EXPECT_EQ(completed ? Long : "null", std::string(got ? got : "null")); });
    bool saved = false;
    EveryFailurePoint([&] { saved = vollo_save_ini(ini, path.c_str()); },
                      [&](bool completed) { EXPECT_EQ(completed, saved); });
    vollo_ini_scope *scope = vollo_ini_next(ini, vollo_ini_first(ini));
    EveryFailurePoint([&] { vollo_ini_scope_set_field(scope, "f", 0, Long); }, [&](bool) {});
    EXPECT_STREQ(Long, vollo_ini_scope_get_field(scope, "f", 0));
    EXPECT_STREQ(Long, vollo_ini_scope_get_field(scope, "f", 1));
    EXPECT_NE(before, initest::Dump(*ini));
    vollo_delete_ini(ini);
}

}  // namespace
