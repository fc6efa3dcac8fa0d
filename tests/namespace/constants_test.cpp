// The Vollo constants themselves: their types, their addresses, where they live
// and when they are set.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <type_traits>

#include "vollo.h"
#include "vollo_constants.hpp"

namespace
{
// Each constant has exactly the type of a constant pointer to its function.
#define CHECK_TYPE(constant, function)                                                   \
    static_assert(std::is_same_v<decltype(Vollo::constant), decltype(&function) const>, \
                  "Vollo::" #constant " is not of the type of " #function);
VOLLO_CONSTANTS(CHECK_TYPE)
#undef CHECK_TYPE

// The names that differ from their functions, spelled out.
static_assert(std::is_same_v<decltype(Vollo::SetVolume), void (*const)(vollo_sound *, double)>);
static_assert(std::is_same_v<decltype(Vollo::SetLoop), void (*const)(vollo_sound *, bool)>);
static_assert(std::is_same_v<decltype(Vollo::Keyboard), const uint8_t *(*const)(void)>);
static_assert(std::is_same_v<decltype(Vollo::Blit),
                             void (*const)(vollo_buffer *, vollo_clipable *, const vollo_position *)>);
static_assert(std::is_same_v<decltype(Vollo::EraseField), const int>);

typedef void (*AnyFunction)();

struct Entry
{
    const char *constant;
    const char *function;
    AnyFunction held;      // what the constant holds
    AnyFunction expected;  // the function's own address
};

#define ENTRY(constant, function)                                                 \
    {#constant, #function, reinterpret_cast<AnyFunction>(Vollo::constant),       \
     reinterpret_cast<AnyFunction>(&function)},
const Entry kEntries[] = {VOLLO_CONSTANTS(ENTRY)};
#undef ENTRY
constexpr size_t kCount = sizeof kEntries / sizeof kEntries[0];

// What each constant held before any of this program's own static constructors
// ran (priority 101 comes first among them), long before main.
AnyFunction g_before_main[kCount];
__attribute__((constructor(101))) void snapshot_before_main()
{
    size_t i = 0;
#define SNAPSHOT(constant, function) g_before_main[i++] = reinterpret_cast<AnyFunction>(Vollo::constant);
    VOLLO_CONSTANTS(SNAPSHOT)
#undef SNAPSHOT
}

TEST(VolloConstants, EachHoldsItsFunction)
{
    EXPECT_EQ(kCount, 50u);
    for (const Entry &entry : kEntries)
        EXPECT_EQ(entry.held, entry.expected) << "Vollo::" << entry.constant << " should hold " << entry.function;
}

// Same types do not prevent a mix-up (volume and pitch setters, the response
// getters): no two constants may hold the same function.
TEST(VolloConstants, AreFiftyDistinctFunctions)
{
    std::set<AnyFunction> held;
    for (const Entry &entry : kEntries)
        EXPECT_TRUE(held.insert(entry.held).second) << "Vollo::" << entry.constant << " repeats a function";
}

TEST(VolloConstants, BlitIsNotTheShaderVariant)
{
    EXPECT_EQ(Vollo::Blit, &vollo_blit);
    EXPECT_NE(reinterpret_cast<AnyFunction>(Vollo::Blit), reinterpret_cast<AnyFunction>(&vollo_blit_shader));
    EXPECT_EQ(Vollo::SetVolume, &vollo_sound_volume);
    EXPECT_NE(Vollo::SetVolume, &vollo_sound_pitch);
    EXPECT_EQ(Vollo::SetLoop, &vollo_sound_loop);
    EXPECT_EQ(Vollo::Keyboard, &vollo_get_keyboard);
}

TEST(VolloConstants, AreSetBeforeMain)
{
    for (size_t i = 0; i < kCount; ++i)
        EXPECT_EQ(g_before_main[i], kEntries[i].expected) << "Vollo::" << kEntries[i].constant;
}

// Permissions ("r-xp", "rw-p", ...) of the mapping of this process holding `address`.
std::string mapping_permissions(const void *address)
{
    FILE *maps = fopen("/proc/self/maps", "r");
    if (maps == nullptr)
        return "";
    const uintptr_t wanted = reinterpret_cast<uintptr_t>(address);
    char line[512];
    std::string permissions;
    while (fgets(line, sizeof line, maps) != nullptr)
    {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        if (sscanf(line, "%lx-%lx %4s", &start, &end, perms) == 3 && wanted >= start && wanted < end)
        {
            permissions = perms;
            break;
        }
    }
    fclose(maps);
    return permissions;
}

// The constants sit in memory that cannot be written: a stray write through a
// bad pointer faults instead of redirecting a library call.
TEST(VolloConstants, LiveInReadOnlyMemory)
{
#define CHECK_READ_ONLY(constant, function)                                            \
    {                                                                                  \
        const std::string permissions = mapping_permissions(&Vollo::constant);         \
        ASSERT_EQ(permissions.size(), 4u) << "Vollo::" #constant " not found in maps"; \
        EXPECT_EQ(permissions[1], '-') << "Vollo::" #constant " is in " << permissions; \
    }
    VOLLO_CONSTANTS(CHECK_READ_ONLY)
#undef CHECK_READ_ONLY
    EXPECT_EQ(mapping_permissions(&Vollo::EraseField)[1], '-');
    // The modifiable markers, for contrast, are writable.
    EXPECT_EQ(mapping_permissions(&Vollo::DefaultScope)[1], 'w');
}

// The INI markers exist twice: separate objects, same values.
TEST(VolloMarkers, AreSeparateTwinsOfTheGlobals)
{
    EXPECT_NE(static_cast<const void *>(&Vollo::DefaultScope), static_cast<const void *>(&default_scope));
    EXPECT_NE(static_cast<const void *>(&Vollo::LastScope), static_cast<const void *>(&last_scope));
    EXPECT_NE(static_cast<const void *>(&Vollo::EraseIndex), static_cast<const void *>(&erase_index));
    EXPECT_NE(static_cast<const void *>(&Vollo::EraseScope), static_cast<const void *>(&erase_scope));
    EXPECT_NE(static_cast<const void *>(&Vollo::EraseField), static_cast<const void *>(&erase_field));
    EXPECT_EQ(Vollo::DefaultScope, nullptr);
    EXPECT_EQ(Vollo::LastScope, nullptr);
    EXPECT_EQ(Vollo::EraseIndex, nullptr);
    EXPECT_EQ(Vollo::EraseScope, nullptr);
    EXPECT_EQ(Vollo::EraseField, -1);
    EXPECT_EQ(Vollo::EraseField, erase_field);
    EXPECT_EQ(default_scope, nullptr);
    EXPECT_EQ(last_scope, nullptr);
}
}  // namespace
