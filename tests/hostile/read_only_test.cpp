// Saving into a folder the user may not write to: both writers say so, create
// nothing, and leave the files already there as they were. Tests run as root,
// whom permissions do not stop, so the saving happens in a child process that
// has given up root for the unprivileged "nobody" user.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "ini/Ini.hpp"
#include "bmp.h"
#include "xvfb.hpp"

namespace
{

const uid_t nobody = 65534;

std::string read_file(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool exists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class ReadOnlyFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vollo-readonly-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        folder = top + "/locked";
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        std::ofstream(folder + "/keep.ini") << "kept = \"as it was\"\n";
        std::ofstream(folder + "/keep.bmp") << "not touched";
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        ASSERT_EQ(chmod(top.c_str(), 0755), 0);  // nobody may pass through
    }

    void TearDown() override
    {
        chmod(folder.c_str(), 0755);
        for (const char *name : {"keep.ini", "keep.bmp", "new.ini", "new.bmp"})
            unlink((folder + "/" + name).c_str());
        rmdir(folder.c_str());
        rmdir(top.c_str());
    }

    // Runs `save` as nobody in a child; its exit status is the number of saves
    // that claimed success.
    template <typename Save> int successes_as_nobody(Save save)
    {
        pid_t child = fork();
        if (child == 0)
        {
            if (setgid(nobody) != 0 || setuid(nobody) != 0 || access(folder.c_str(), W_OK) == 0)
                _exit(100);  // still privileged: the test would prove nothing
            _exit(save());
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
    }

    std::string top;
    std::string folder;
};

TEST_F(ReadOnlyFolder, IniSaveFailsAndKeepsTheOldFile)
{
    kzr::Ini document;
    document.Access("s", "f", 0) = "new value";
    int successes = successes_as_nobody([&] {
        return int(vollo_save_ini(&document, (folder + "/new.ini").c_str())) +
               int(vollo_save_ini(&document, (folder + "/keep.ini").c_str()));
    });
    EXPECT_EQ(successes, 0);
    EXPECT_FALSE(exists(folder + "/new.ini"));
    EXPECT_EQ(read_file(folder + "/keep.ini"), "kept = \"as it was\"\n");
}

TEST_F(ReadOnlyFolder, BmpSaveFailsAndKeepsTheOldFile)
{
    vollo_test::start_xvfb();  // pixel arrays need a display
    vollo_pixelarray *canvas = vollo_new_pixelarray(5, 3);
    ASSERT_NE(canvas, nullptr);
    int successes = successes_as_nobody([&] {
        return int(save_bmp(canvas, (folder + "/new.bmp").c_str())) +
               int(save_bmp(canvas, (folder + "/keep.bmp").c_str()));
    });
    vollo_delete_clipable(canvas);
    EXPECT_EQ(successes, 0);
    EXPECT_FALSE(exists(folder + "/new.bmp"));
    EXPECT_EQ(read_file(folder + "/keep.bmp"), "not touched");
}

}  // namespace
