// VOLLO_DEBUG=1: failures printed as they happen, live records listed at exit.
#include <gtest/gtest.h>

#include "xvfb.hpp"

namespace
{

TEST(DebugListing, LiveRecordsAreListedAtExitOnlyWhenAsked)
{
    vollo_test::start_xvfb();
    const std::pair<const char *, std::string> cases[] = {
        {"1",
         "vollo: cannot open '/nonexistent/x.png': No such file or directory\n"
         // The arena's size classes, and what each holds released, come first.
         "vollo: arena of 20 MiB: 32 bytes held by released blocks, 20971176 never carved\n"
         "vollo:   class of 32 bytes: 0 in use, 1 released holding 32 bytes\n"
         "vollo:   class of 128 bytes: 1 in use, 0 released holding 0 bytes\n"
         "vollo: 4 record(s) still alive at exit:\n"
         "vollo:   window 64 x 48, made by vollo_start\n"
         "vollo:   picture 32 x 16, made by vollo_new_picture\n"
         "vollo:   pixel array 8 x 4, made by vollo_new_pixelarray\n"
         "vollo:   INI document, made by vollo_new_ini\n"},
        {"0", ""},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.first);
        setenv("VOLLO_DEBUG", c.first, 1);
        const vollo_test::CommandResult run = vollo_test::run_command({LEAK_PROBE});
        unsetenv("VOLLO_DEBUG");
        EXPECT_TRUE(run.succeeded()) << run.describe();
        EXPECT_EQ(run.output, "made\n");
        EXPECT_EQ(run.errors, c.second);
    }
}

}  // namespace
