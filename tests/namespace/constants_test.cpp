// The Vollo constants themselves: their types, their addresses, where they live
// and when they are set.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
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
    AnyFunction held;  // what the constant holds
};

#define ENTRY(constant, function) {#constant, reinterpret_cast<AnyFunction>(Vollo::constant)},
const Entry kEntries[] = {VOLLO_NAMESPACE(ENTRY)};
#undef ENTRY
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

// Every function vollo.h declares (a line starting with its return type, no typedef
// or global) has a constant or is an exception; the header's note names the
// exceptions, and the README's table is the one tools/namespace_table.sh makes.
TEST(VolloConstants, CoverTheHeaderAsTheNoteAndTheReadmeSay)
{
    std::set<std::string> covered, exceptions;
    std::string table = "<!-- vollo namespace: made by tools/namespace_table.sh from lib/vollo_namespace.h -->\n"
                        "| Constant | Function |\n|---|---|\n";
#define ROW(constant, function) covered.insert(#function), table += "| `Vollo::" #constant "` | `" #function "` |\n";
    VOLLO_NAMESPACE(ROW)
    table += "\nWithout a constant:\n";
#define EXCEPTION(function, reason) exceptions.insert(#function), table += "- `" #function "`: " reason "\n";
    VOLLO_NAMESPACE_EXCEPTIONS(EXCEPTION)
    std::ifstream header_file(VOLLO_SOURCE_DIR "/lib/vollo.h"), readme_file(VOLLO_SOURCE_DIR "/README.md");
    const std::string header((std::istreambuf_iterator<char>(header_file)), std::istreambuf_iterator<char>());
    const std::string readme((std::istreambuf_iterator<char>(readme_file)), std::istreambuf_iterator<char>());
    const std::regex declaration(R"((^|\n)(?!typedef|extern)[A-Za-z_][\w \*]*?\b(vollo_\w+)\()");
    size_t declared = 0;
    for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it, ++declared)
        EXPECT_EQ(covered.count((*it)[2]) + exceptions.count((*it)[2]), 1u)
            << (*it)[2] << " needs a constant in lib/vollo_namespace.h or a reason among its exceptions";
    EXPECT_GT(declared, 80u);
    const std::string note = header.substr(header.rfind("Each constant holds"), 600);
    for (const std::string &function : exceptions)
        EXPECT_NE(note.find(function), std::string::npos) << "the note in vollo.h does not name " << function;
    const size_t begin = readme.find(table.substr(0, table.find('\n')));
    EXPECT_EQ(readme.substr(begin == std::string::npos ? 0 : begin, table.size()), table)
        << "run tools/namespace_table.sh";
}

// The README's table of facilities names every function the header declares.
TEST(ReadmeTable, ListsEveryPublicFunction)
{
    std::ifstream header_file(VOLLO_SOURCE_DIR "/lib/vollo.h"), readme_file(VOLLO_SOURCE_DIR "/README.md");
    const std::string header((std::istreambuf_iterator<char>(header_file)), std::istreambuf_iterator<char>());
    const std::string readme((std::istreambuf_iterator<char>(readme_file)), std::istreambuf_iterator<char>());
    const size_t begin = readme.find("| Facility | Functions |");
    ASSERT_NE(begin, std::string::npos);
    const std::string table = readme.substr(begin, readme.find("\n\n", begin) - begin);
    const std::regex declaration(
        R"((^|\n)(?!typedef|extern)[A-Za-z_][\w \*]*?\b((vollo_|set_max_|get_max_|get_nb_|check_memory_)\w*)\()");
    size_t declared = 0;
    for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it, ++declared)
        EXPECT_NE(table.find("`" + (*it)[2].str() + "`"), std::string::npos)
            << (*it)[2] << " is missing from the README's table of facilities";
    EXPECT_GT(declared, 100u);
}
