// Without a reachable display, every creating function that needs one returns
// null, again and again, and the process goes on with its own SIGABRT handler; a
// pixel array, plain memory, is made all the same.
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "xvfb.hpp"

namespace
{

// A display number with no server behind it.
std::string unused_display()
{
    for (int number = 9000;; ++number)
    {
        struct stat info;
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        if (stat(socket.c_str(), &info) != 0 && stat(lock.c_str(), &info) != 0)
            return ":" + std::to_string(number);
    }
}

TEST(NoDisplay, CreatingFunctionsReturnNullAndTheProcessGoesOn)
{
    setenv("DISPLAY", unused_display().c_str(), 1);
    // A real image file, so that only the missing display can make loading fail.
    std::string image = std::string(VOLLO_SOURCE_DIR) + "/img/degrade.bmp";
    vollo_test::ChildProcess probe;
    ASSERT_TRUE(probe.start({NO_DISPLAY_PROBE, image}));
    ASSERT_TRUE(probe.wait_exit());
    EXPECT_EQ(probe.signal(), 0) << probe.errors();
    EXPECT_EQ(probe.exit_code(), 0) << probe.errors();
    std::string once = "window null\npixelarray made\npicture null\nloaded null\n";
    EXPECT_EQ(probe.output(), once + once + "abort handler kept\n");
}

}  // namespace
