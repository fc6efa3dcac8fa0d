// The flat handle API: get/set/erase conventions, marker objects, the walk, null
// and negative arguments.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

struct Document
{
    vollo_ini *ini = vollo_new_ini();
    ~Document() { vollo_delete_ini(ini); }
};

// The walk as "[name]" pieces, in order.
std::string Walk(vollo_ini *ini)
{
    std::string order;
    for (vollo_ini_scope *scope = vollo_ini_first(ini); scope != last_scope; scope = vollo_ini_next(ini, scope))
        order += std::string("[") + vollo_ini_scope_name(ini, scope) + "]";
    return order;
}

std::string Got(const char *value)
{
    return value ? "'" + std::string(value) + "'" : "null";
}

TEST(HandleApi, MarkerObjects)
{
    EXPECT_EQ(nullptr, default_scope);
    EXPECT_EQ(nullptr, last_scope);
    EXPECT_EQ(nullptr, erase_index);
    EXPECT_EQ(nullptr, erase_scope);
    EXPECT_EQ(-1, erase_field);
    // The twins are objects of their own with the same values.
    EXPECT_NE(static_cast<const void *>(&default_scope), static_cast<const void *>(&Vollo::DefaultScope));
    EXPECT_EQ(nullptr, Vollo::DefaultScope);
    EXPECT_EQ(nullptr, Vollo::LastScope);
    EXPECT_EQ(nullptr, Vollo::EraseIndex);
    EXPECT_EQ(nullptr, Vollo::EraseScope);
    EXPECT_EQ(-1, Vollo::EraseField);
}

TEST(HandleApi, NewDocumentWalk)
{
    Document doc;
    ASSERT_NE(nullptr, doc.ini);
    vollo_ini_scope *first = vollo_ini_first(doc.ini);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("", vollo_ini_scope_name(doc.ini, first));
    EXPECT_EQ(nullptr, vollo_ini_next(doc.ini, first));
    EXPECT_EQ(nullptr, vollo_ini_get_field(doc.ini, default_scope, "x", 0));
    EXPECT_EQ(nullptr, vollo_ini_next(doc.ini, nullptr));
    EXPECT_EQ(nullptr, vollo_ini_scope_name(doc.ini, nullptr));
}

TEST(HandleApi, SetGrowsWithEmptyValues)
{
    Document doc;
    vollo_ini_set_field(doc.ini, "s", "f", 2, "v");
    struct Case
    {
        int index;
        const char *expected;
    } cases[] = {{0, "''"}, {1, "''"}, {2, "'v'"}, {3, "null"}, {-1, "null"}, {-2147483647 - 1, "null"}};
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, Got(vollo_ini_get_field(doc.ini, "s", "f", c.index))) << c.index;
}

TEST(HandleApi, EraseConventions)
{
    struct Case
    {
        const char *what;
        const char *scope, *field;
        int index;
        const char *expected;  // the document after the call
    } cases[] = {
        {"value 0", "s", "f", 0, "scope \"\"\nscope \"s\"\n  \"f\" = \"b\", \"c\"\n  \"g\" = \"1\"\n"},
        {"value 2", "s", "f", 2, "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\"\n  \"g\" = \"1\"\n"},
        {"index past the end", "s", "f", 5,
         "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\n"},
        {"negative index", "s", "f", -5,
         "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\n"},
        {"whole field", "s", "f", erase_field, "scope \"\"\nscope \"s\"\n  \"g\" = \"1\"\n"},
        {"whole scope", "s", erase_scope, 7, "scope \"\"\n"},
        {"default scope", default_scope, erase_scope, 0, "scope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\n"},
        {"missing scope", "nope", erase_scope, 0,
         "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\n"},
        {"field of a missing scope", "t", "g", erase_field,
         "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\nscope \"t\"\n"},
        {"value of a missing field", "t", "g", 0,
         "scope \"\"\nscope \"s\"\n  \"f\" = \"a\", \"b\", \"c\"\n  \"g\" = \"1\"\nscope \"t\"\n  \"g\" =\n"},
    };
    for (const Case &c : cases)
    {
        Document doc;
        for (const char *value : {"a", "b", "c"})
            vollo_ini_set_field(doc.ini, "s", "f", static_cast<int>(value[0] - 'a'), value);
        vollo_ini_set_field(doc.ini, "s", "g", 0, "1");
        vollo_ini_set_field(doc.ini, c.scope, c.field, c.index, erase_index);
        EXPECT_EQ(c.expected, initest::Dump(*doc.ini)) << c.what;
    }
}

TEST(HandleApi, AfterErasingTheDefaultScope)
{
    Document doc;
    vollo_ini_set_field(doc.ini, default_scope, "x", 0, "1");
    vollo_ini_set_field(doc.ini, "b", "y", 0, "2");
    vollo_ini_set_field(doc.ini, default_scope, nullptr, 0, erase_index);
    EXPECT_EQ("[b]", Walk(doc.ini));
    EXPECT_EQ(nullptr, vollo_ini_get_field(doc.ini, default_scope, "x", 0));
    vollo_ini_set_field(doc.ini, "b", nullptr, 0, erase_index);
    EXPECT_EQ(nullptr, vollo_ini_first(doc.ini));
}

TEST(HandleApi, NullFieldWithAValueIsTheEmptyName)
{
    Document doc;
    vollo_ini_set_field(doc.ini, "s", nullptr, 0, "v");
    EXPECT_EQ("'v'", Got(vollo_ini_get_field(doc.ini, "s", "", 0)));
}

TEST(HandleApi, WalkOrderAndScopesAddedOrErasedOnTheWay)
{
    Document doc;
    for (const char *scope : {"b", "A", "a"})
        vollo_ini_set_field(doc.ini, scope, "k", 0, "v");
    EXPECT_EQ("[][A][a][b]", Walk(doc.ini));

    vollo_ini_scope *a = vollo_ini_next(doc.ini, vollo_ini_next(doc.ini, vollo_ini_first(doc.ini)));
    ASSERT_STREQ("a", vollo_ini_scope_name(doc.ini, a));
    vollo_ini_set_field(doc.ini, "ab", "k", 0, "v");  // appears at its place
    EXPECT_STREQ("ab", vollo_ini_scope_name(doc.ini, vollo_ini_next(doc.ini, a)));
    vollo_ini_set_field(doc.ini, "a", nullptr, 0, erase_index);  // ends a walk holding a
    EXPECT_EQ(nullptr, vollo_ini_next(doc.ini, a));
    EXPECT_EQ(nullptr, vollo_ini_scope_name(doc.ini, a));
}

TEST(HandleApi, HandlesOfAnotherDocumentAreUnknown)
{
    Document one, two;
    EXPECT_EQ(nullptr, vollo_ini_scope_name(two.ini, vollo_ini_first(one.ini)));
    EXPECT_EQ(nullptr, vollo_ini_next(two.ini, vollo_ini_first(one.ini)));
}

TEST(HandleApi, ScopeHandleGetAndSet)
{
    Document doc;
    vollo_ini_set_field(doc.ini, "s", "two", 1, "y");
    vollo_ini_scope *s = vollo_ini_next(doc.ini, vollo_ini_first(doc.ini));
    ASSERT_STREQ("s", vollo_ini_scope_name(doc.ini, s));

    vollo_ini_scope_set_field(s, "two", 0, "x");  // replaces
    vollo_ini_scope_set_field(s, "two", 2, "z");  // never adds
    vollo_ini_scope_set_field(s, "two", -1, "z");
    vollo_ini_scope_set_field(s, "new", 0, "z");  // creates the field, stores nothing
    EXPECT_EQ("scope \"\"\nscope \"s\"\n  \"new\" =\n  \"two\" = \"x\", \"y\"\n", initest::Dump(*doc.ini));

    struct Case
    {
        const char *field;
        int index;
        const char *expected;
    } cases[] = {{"two", 0, "'x'"}, {"two", 1, "'y'"}, {"two", 2, "null"},
                 {"two", -1, "null"}, {"new", 0, "null"}, {"none", 0, "null"}};
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, Got(vollo_ini_scope_get_field(s, c.field, c.index))) << c.field << c.index;
}

TEST(HandleApi, NegativeOrHugeIndexOnSetCreatesNothing)
{
    Document doc;
    for (int index : {-1, -2, -2147483647 - 1, 2147483647, 1 << 20})
        vollo_ini_set_field(doc.ini, "s", "f", index, "v");
    EXPECT_EQ("scope \"\"\n", initest::Dump(*doc.ini));
    vollo_ini_set_field(doc.ini, "s", "f", 0, "v");
    vollo_ini_set_field(doc.ini, "s", "f", -1, "w");
    EXPECT_EQ("scope \"\"\nscope \"s\"\n  \"f\" = \"v\"\n", initest::Dump(*doc.ini));
}

TEST(HandleApi, SetFromAValueOfTheSameField)
{
    Document doc;
    vollo_ini_set_field(doc.ini, "s", "f", 0, "short");
    // Growing the field moves its values; the text passed in must be taken first.
    vollo_ini_set_field(doc.ini, "s", "f", 100, vollo_ini_get_field(doc.ini, "s", "f", 0));
    EXPECT_EQ("'short'", Got(vollo_ini_get_field(doc.ini, "s", "f", 100)));
}

TEST(HandleApi, NullArguments)
{
    Document doc;
    vollo_delete_ini(nullptr);
    EXPECT_EQ(nullptr, vollo_ini_get_field(nullptr, "s", "f", 0));
    EXPECT_EQ(nullptr, vollo_ini_get_field(doc.ini, "s", nullptr, 0));
    EXPECT_EQ(nullptr, vollo_ini_first(nullptr));
    EXPECT_EQ(nullptr, vollo_ini_scope_get_field(nullptr, "f", 0));
    EXPECT_EQ(nullptr, vollo_load_ini(nullptr));
    EXPECT_FALSE(vollo_save_ini(doc.ini, nullptr));
    EXPECT_FALSE(vollo_save_ini(nullptr, "/tmp/never-written.ini"));
    vollo_ini_set_field(nullptr, "s", "f", 0, "v");
    vollo_ini_scope_set_field(nullptr, "f", 0, "v");
    vollo_ini_scope_set_field(vollo_ini_first(doc.ini), "f", 0, nullptr);
    EXPECT_EQ("scope \"\"\n", initest::Dump(*doc.ini));
}

TEST(HandleApi, FailedLookupLeavesItsMessageInTheDocument)
{
    Document doc;
    EXPECT_EQ(nullptr, vollo_ini_get_field(doc.ini, "s", "f", 0));
    EXPECT_EQ("ini: cannot find scope.", doc.ini->LastError);
    EXPECT_EQ("scope \"\"\n", initest::Dump(*doc.ini));
}

// Typed reads: what each text gives, the fallback being 7 / 0.5 / the bool noted.
struct TypedCase
{
    std::string text;     // the stored value
    int64_t integer;      // vollo_ini_get_int with fallback 7
    double number;        // vollo_ini_get_double with fallback 0.5
    int truth;            // vollo_ini_get_bool: 1, 0, or -1 for the fallback
};

TEST(HandleApi, TypedGettersReadWholeValuesAndFallBackOnAnythingElse)
{
    const std::vector<TypedCase> cases = {
        {"42", 42, 42.0, -1},
        {"  -17\t", -17, -17.0, -1},
        {"+3", 3, 3.0, -1},
        {"0", 0, 0.0, 0},
        {"1", 1, 1.0, 1},
        {"9223372036854775807", INT64_MAX, 9223372036854775807.0, -1},
        {"9223372036854775808", 7, 9223372036854775808.0, -1},  // one past the largest
        {"-9223372036854775808", INT64_MIN, -9223372036854775808.0, -1},
        {"12abc", 7, 0.5, -1},
        {"1 2", 7, 0.5, -1},
        {"", 7, 0.5, -1},
        {"   ", 7, 0.5, -1},
        {"2.5", 7, 2.5, -1},
        {"-1e3", 7, -1000.0, -1},
        {"1e999", 7, 0.5, -1},  // out of range
        {"inf", 7, 0.5, -1},
        {"nan", 7, 0.5, -1},
        {"0x1A", 7, 26.0, -1},  // strtod reads hexadecimal, base 10 integers do not
        {"true", 7, 0.5, 1},
        {"YES", 7, 0.5, 1},
        {" On ", 7, 0.5, 1},
        {"False", 7, 0.5, 0},
        {"no", 7, 0.5, 0},
        {"OFF", 7, 0.5, 0},
        {"truest", 7, 0.5, -1},
        {"tru", 7, 0.5, -1},
        {std::string("5\0" "9", 3), 7, 0.5, -1},  // a NUL byte inside is no number
    };
    for (const TypedCase &test : cases)
    {
        SCOPED_TRACE("value " + initest::Visible(test.text));
        Document doc;
        kzr::Ini &ini = *doc.ini;
        ini.Access("game", "value", 0) = test.text;
        EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", "value", 0, 7), test.integer);
        EXPECT_DOUBLE_EQ(vollo_ini_get_double(doc.ini, "game", "value", 0, 0.5), test.number);
        for (bool fallback : {false, true})
            EXPECT_EQ(vollo_ini_get_bool(doc.ini, "game", "value", 0, fallback),
                      test.truth == -1 ? fallback : test.truth == 1);
    }
}

TEST(HandleApi, TypedGettersFallBackWhereThereIsNoValue)
{
    Document doc;
    vollo_ini_set_field(doc.ini, "game", "level", 0, "3");
    vollo_ini_set_field(doc.ini, default_scope, "volume", 0, "0.75");
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", "level", 0, -1), 3);
    EXPECT_DOUBLE_EQ(vollo_ini_get_double(doc.ini, default_scope, "volume", 0, 1.0), 0.75);
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", "level", 1, -1), -1);   // past the end
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", "level", -1, -1), -1);  // negative index
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", "speed", 0, -1), -1);
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "menu", "level", 0, -1), -1);
    EXPECT_EQ(vollo_ini_get_int(doc.ini, "game", nullptr, 0, -1), -1);
    EXPECT_EQ(vollo_ini_get_int(nullptr, "game", "level", 0, -1), -1);
    EXPECT_TRUE(vollo_ini_get_bool(nullptr, "game", "level", 0, true));
    EXPECT_DOUBLE_EQ(vollo_ini_get_double(nullptr, "game", "level", 0, 2.0), 2.0);
    // Reading never creates what it looked for.
    EXPECT_EQ(vollo_ini_get_field(doc.ini, "menu", "level", 0), nullptr);
    EXPECT_EQ(Walk(doc.ini), "[][game]");
}

// The reason of each kind of failed load or save; a later success keeps it. A failed
// load's vollo_error starts with the text that tells which of three it met.
TEST(HandleApi, IniErrorGivesTheReasonOfTheLastFailure)
{
    initest::TempDir dir;
    initest::WriteWholeFile(dir.Path("bad.ini"), "# settings\n[a]\nx = 1\n\n  = 2\n");
    initest::WriteWholeFile(dir.Path("good.ini"), "x = 1\n");
    Document doc;
    vollo_ini_set_field(doc.ini, "ok", "x", 0, "1");
    Document bad_name;
    vollo_ini_set_field(bad_name.ini, "a b", "x", 0, "1");

    struct Case
    {
        std::string what;
        std::function<bool()> fails;
        std::string reason;
        std::string error_start;  // of vollo_error; "" for saves
    };
    const std::vector<Case> cases = {
        {"missing file", [&] { return vollo_load_ini(dir.Path("none.ini").c_str()) == nullptr; },
         "ini: cannot open file", "cannot open '" + dir.Path("none.ini") + "': No such file"},
        {"under a file", [&] { return vollo_load_ini(dir.Path("good.ini/x.ini").c_str()) == nullptr; },
         "ini: cannot open file", "cannot open '"},
        {"null path", [&] { return vollo_load_ini(nullptr) == nullptr; }, "ini: cannot open file", "cannot open "},
        {"folder", [&] { return vollo_load_ini(dir.Path("").c_str()) == nullptr; }, "ini: cannot open file",
         "cannot read '" + dir.Path("") + "': it is a folder"},
        {"read error", [&] { return vollo_load_ini("/proc/self/mem") == nullptr; }, "ini: cannot open file",
         "cannot read '/proc/self/mem': a read error"},
        {"reader error", [&] { return vollo_load_ini(dir.Path("bad.ini").c_str()) == nullptr; },
         "ini: line 5: expected field name.",
         "cannot parse '" + dir.Path("bad.ini") + "' line 5: expected field name."},
        {"save into a missing folder",
         [&] { return !vollo_save_ini(doc.ini, dir.Path("none/out.ini").c_str()); }, "ini: cannot write file", ""},
        {"save of a name that cannot be read back",
         [&] { return !vollo_save_ini(bad_name.ini, dir.Path("out.ini").c_str()); },
         "ini: a scope or field name could not be read back.", ""},
        {"save of no document", [&] { return !vollo_save_ini(nullptr, dir.Path("out.ini").c_str()); },
         "ini: no document", ""},
    };
    for (const Case &test : cases)
    {
        SCOPED_TRACE(test.what);
        vollo_clear_error();
        ASSERT_TRUE(test.fails());
        EXPECT_EQ(std::string(vollo_ini_error()), test.reason);
        EXPECT_EQ(std::string(vollo_error()).substr(0, test.error_start.size()), test.error_start);
        vollo_clear_error();
        vollo_ini *good = vollo_load_ini(dir.Path("good.ini").c_str());
        ASSERT_NE(good, nullptr);
        EXPECT_STREQ(vollo_error(), "") << "a success gave a reason";
        EXPECT_TRUE(vollo_save_ini(good, dir.Path("good.ini").c_str()));
        vollo_delete_ini(good);
        EXPECT_EQ(std::string(vollo_ini_error()), test.reason) << "a success changed the reason";
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.ini")));
}

}  // namespace
