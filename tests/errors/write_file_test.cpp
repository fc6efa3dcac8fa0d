// The whole-file writer: its rules for links, permissions, devices, pipes and missing
// folders, and writes killed part-way.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"

namespace
{

const std::vector<uint8_t> old_bytes(3000, 'o');
const std::vector<uint8_t> new_bytes = {'n', 'e', 'w', 0, '\n'};

mode_t mode_of(const std::string &path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// A PID that no process holds any more: a child that has ended and been reaped.
pid_t dead_pid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::string temporary_of(const char *name, pid_t pid)
{
    return std::string(".") + name + ".vollo-" + std::to_string(pid) + "-0.tmp";
}

TEST(WriteFile, RulesForEveryKindOfTarget)
{
    struct Case
    {
        const char *what;
        std::function<void(TempDir &)> setup;
        std::string path;            // under the folder, or absolute
        bool replace;
        int error;                   // 0: the write succeeds
        std::string written;         // the file that must then hold new_bytes
        mode_t mode;                 // its permission bits
        std::vector<std::string> entries;
    };
    const pid_t gone = dead_pid();
    const Case cases[] = {
        {"new file: 0666 less the umask", [](TempDir &) {}, "new.bin", true, 0, "new.bin", 0640, {"new.bin"}},
        {"replaced file keeps its mode",
         [](TempDir &d) { write_file(d.file("old.bin"), old_bytes), chmod(d.file("old.bin").c_str(), 0604); },
         "old.bin", true, 0, "old.bin", 0604, {"old.bin"}},
        {"link stays, its target is replaced",
         [](TempDir &d) {
             mkdir(d.file("in").c_str(), 0755), write_file(d.file("in/real.bin"), old_bytes);
             symlink("in/real.bin", d.file("link.bin").c_str());
         },
         "link.bin", true, 0, "in/real.bin", 0640, {"in", "link.bin"}},
        {"link to nothing", [](TempDir &d) { symlink("nowhere.bin", d.file("dangling").c_str()); },
         "dangling", true, ENOENT, "", 0, {"dangling"}},
        {"folder", [](TempDir &d) { mkdir(d.file("folder").c_str(), 0755); }, "folder", true, EISDIR, "", 0, {"folder"}},
        {"missing folder", [](TempDir &) {}, "missing/x.bin", true, ENOENT, "", 0, {}},
        {"device written in place", [](TempDir &d) { symlink("/dev/full", d.file("full").c_str()); },
         "full", true, ENOSPC, "", 0, {"full"}},
        {"never replacing an existing file", [](TempDir &d) { write_file(d.file("kept.bin"), old_bytes); },
         "kept.bin", false, EEXIST, "", 0, {"kept.bin"}},
        {"leftovers of ended writers removed, a living writer's kept",
         [gone](TempDir &d) {
             write_file(d.file(temporary_of("a", gone)), old_bytes);
             write_file(d.file(temporary_of("b", getpid())), old_bytes);
         },
         "new.bin", false, 0, "new.bin", 0640, {temporary_of("b", getpid()), "new.bin"}},
    };
    const mode_t old_mask = umask(027);
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.what);
        TempDir dir;
        c.setup(dir);
        const std::string path = dir.file(c.path);
        errno = 0;
        const bool written = c.replace ? vollo_write_file(path.c_str(), new_bytes.data(), new_bytes.size())
                                       : vollo_write_new_file(path.c_str(), new_bytes.data(), new_bytes.size());
        EXPECT_EQ(written, c.error == 0);
        if (c.error != 0)
        {
            EXPECT_EQ(errno, c.error);
            EXPECT_NE(std::string(vollo_error()).find("'" + path + "'"), std::string::npos) << vollo_error();
        }
        else
        {
            EXPECT_EQ(read_file(dir.file(c.written)), new_bytes);
            EXPECT_EQ(mode_of(dir.file(c.written)) & 07777, c.mode);
        }
        EXPECT_EQ(dir.entries(), c.entries);
    }
    umask(old_mask);
    EXPECT_TRUE(S_ISFIFO(mode_of("/dev/full")) || S_ISCHR(mode_of("/dev/full")));
}

// Bytes the process has handed to write() so far.
long long bytes_written_by(pid_t pid)
{
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "wchar:")
            return value;
    return -1;
}

// A writer killed with SIGKILL at several points of a large write: the target holds the
// old bytes or the new ones whole, and the next write in the folder leaves nothing else.
TEST(WriteFile, KilledWriteLeavesNoPartialFileAndNoLeftover)
{
    const size_t size = 48u << 20;
    for (double moment : {0.0, 0.2, 0.5, 0.9, 1.0})
    {
        SCOPED_TRACE(moment);
        TempDir dir;
        const std::string target = dir.file("big.bin");
        write_file(target, old_bytes);
        std::vector<uint8_t> big(size, 'N');
        const pid_t child = fork();
        if (child == 0)
        {
            vollo_write_file(target.c_str(), big.data(), big.size());
            pause();
            _exit(0);
        }
        const long long start = bytes_written_by(child);
        while (bytes_written_by(child) >= 0 && bytes_written_by(child) < start + (long long)(moment * size))
            sched_yield();
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status));

        const std::vector<uint8_t> left = read_file(target);
        EXPECT_TRUE(left == old_bytes || left == big) << left.size() << " bytes";
        ASSERT_TRUE(vollo_write_file(dir.file("next.bin").c_str(), new_bytes.data(), new_bytes.size()));
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"big.bin", "next.bin"}));
    }
}

}  // namespace
