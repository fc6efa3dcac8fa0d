// The Vollo constants themselves: their types, their addresses, where they live
// and when they are set.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>

#include "vollo.h"

namespace
{
// Each constant has exactly the type of a constant pointer to its function.
#define CHECK_TYPE(constant, function)                                                   \
    static_assert(std::is_same_v<decltype(Vollo::constant), decltype(&function) const>, \
                  "Vollo::" #constant " is not of the type of " #function);
VOLLO_NAMESPACE(CHECK_TYPE)
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
const Entry kEntries[] = {VOLLO_NAMESPACE(ENTRY)};
#undef ENTRY
constexpr size_t kCount = sizeof kEntries / sizeof kEntries[0];

// What each constant held before any of this program's own static constructors
// ran (priority 101 comes first among them), long before main.
AnyFunction g_before_main[kCount];
__attribute__((constructor(101))) void snapshot_before_main()
{
    size_t i = 0;
#define SNAPSHOT(constant, function) g_before_main[i++] = reinterpret_cast<AnyFunction>(Vollo::constant);
    VOLLO_NAMESPACE(SNAPSHOT)
#undef SNAPSHOT
}

// The first fifty constants, and every one added since.
#define COUNT(constant, function) +1
constexpr size_t kFirstCount = 0 VOLLO_NAMESPACE_FIRST(COUNT);
#undef COUNT

TEST(VolloConstants, EachHoldsItsFunction)
{
    EXPECT_EQ(kFirstCount, 50u);
    EXPECT_GT(kCount, kFirstCount);
    for (const Entry &entry : kEntries)
        EXPECT_EQ(entry.held, entry.expected) << "Vollo::" << entry.constant << " should hold " << entry.function;
}

// Same types do not prevent a mix-up (volume and pitch setters, the response
// getters): no two constants may hold the same function.
TEST(VolloConstants, AreDistinctFunctions)
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
    VOLLO_NAMESPACE(CHECK_READ_ONLY)
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

namespace
{
std::string read_text(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Names of the functions vollo.h declares: a declaration starts a line, with its
// return type, and is no typedef, global or macro.
std::set<std::string> declared_functions()
{
    std::set<std::string> names;
    std::istringstream header(read_text(VOLLO_SOURCE_DIR "/lib/vollo.h"));
    const std::regex declaration(R"(^[A-Za-z_][\w\s\*]*?\b(vollo_\w+)\s*\()");
    std::smatch match;
    for (std::string line; std::getline(header, line);)
        if (line.rfind("typedef", 0) != 0 && line.rfind("extern", 0) != 0 &&
            std::regex_search(line, match, declaration))
            names.insert(match[1]);
    return names;
}

// The README's block on the namespace, as tools/namespace_table.sh writes it.
std::string expected_readme_block()
{
    std::string block = "<!-- vollo namespace: made by tools/namespace_table.sh from lib/vollo_namespace.h -->\n"
                        "| Constant | Function |\n|---|---|\n";
#define ROW(constant, function) block += "| `Vollo::" #constant "` | `" #function "` |\n";
    VOLLO_NAMESPACE(ROW)
#undef ROW
    block += "\nWithout a constant:\n";
#define EXCEPTION(function, reason) block += "- `" #function "`: " reason "\n";
    VOLLO_NAMESPACE_EXCEPTIONS(EXCEPTION)
#undef EXCEPTION
    return block + "<!-- end of the vollo namespace -->\n";
}
}  // namespace

// The list is complete: every function of the header has a constant or is named,
// with its reason, among the exceptions; the header's note names the same
// exceptions, and the README's table is the list's.
TEST(VolloConstants, CoverTheHeaderAsTheReadmeAndTheNoteSay)
{
    std::set<std::string> listed;
#define ADD(constant, function) listed.insert(#function);
    VOLLO_NAMESPACE(ADD)
#undef ADD
    std::set<std::string> exceptions;
#define ADD_EXCEPTION(function, reason) \
    static_assert(sizeof(&function) > 0 && sizeof(reason) > 1, "an exception is a declared function with a reason"); \
    exceptions.insert(#function);
    VOLLO_NAMESPACE_EXCEPTIONS(ADD_EXCEPTION)
#undef ADD_EXCEPTION
    const std::set<std::string> declared = declared_functions();
    EXPECT_GT(declared.size(), 80u) << "the header was not read";
    for (const std::string &function : declared)
        EXPECT_TRUE(listed.count(function) + exceptions.count(function) == 1)
            << function << " needs a Vollo constant in lib/vollo_namespace.h, or a reason among its exceptions";

    const std::string header = read_text(VOLLO_SOURCE_DIR "/lib/vollo.h");
    const std::string note = header.substr(header.find("constants of the Vollo namespace"));
    for (const std::string &function : exceptions)
        EXPECT_NE(note.substr(0, note.find("#include")).find(function), std::string::npos)
            << "the note in vollo.h does not name " << function;

    const std::string readme = read_text(VOLLO_SOURCE_DIR "/README.md");
    const std::string expected = expected_readme_block();
    const size_t begin = readme.find(expected.substr(0, expected.find('\n')));
    const size_t end = readme.find("<!-- end of the vollo namespace -->");
    ASSERT_TRUE(begin != std::string::npos && end != std::string::npos) << "README.md has no namespace table";
    EXPECT_EQ(readme.substr(begin, end - begin) + "<!-- end of the vollo namespace -->\n", expected)
        << "run tools/namespace_table.sh";
}
