// The flat handle API: get/set/erase conventions, marker objects, the walk, null
// and negative arguments.

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

}  // namespace
