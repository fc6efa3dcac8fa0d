// The whole-file writer: its rules for links, permissions, devices and missing folders,
// and writes killed part-way.
#include <cerrno>
#include <csignal>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include "support.hpp"

namespace
{

const std::vector<uint8_t> old_bytes(3000, 'o'), new_bytes = {'n', 'e', 'w', 0, '\n'};

mode_t mode_of(const std::string &path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// The name a writer with this PID gives its temporary file for `name`.
std::string temporary_of(const char *name, pid_t pid)
{
    return std::string(".") + name + ".vollo-" + std::to_string(pid) + "-0.tmp";
}

TEST(WriteFile, RulesForEveryKindOfTarget)
{
    const pid_t gone = fork();  // a PID that no process holds once reaped
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    struct Case
    {
        std::function<void(TempDir &)> setup;
        std::string path;
        bool replace;
        int error;            // 0: the write succeeds
        std::string written;  // the file that then holds new_bytes, with mode `mode`
        mode_t mode;
        std::vector<std::string> entries;
    } cases[] = {
        {[](TempDir &) {}, "new.bin", true, 0, "new.bin", 0640, {"new.bin"}},  // 0666 less the umask
        {[](TempDir &d) { write_file(d.file("old"), old_bytes), chmod(d.file("old").c_str(), 0604); }, "old", true,
         0, "old", 0604, {"old"}},
        {[](TempDir &d) {  // the link stays, the file it leads to is replaced
             mkdir(d.file("in").c_str(), 0755), write_file(d.file("in/real"), old_bytes);
             symlink("in/real", d.file("link").c_str());
         },
         "link", true, 0, "in/real", 0640, {"in", "link"}},
        {[](TempDir &d) { symlink("nowhere", d.file("dangling").c_str()); }, "dangling", true, ENOENT, "", 0,
         {"dangling"}},
        {[](TempDir &d) { mkdir(d.file("folder").c_str(), 0755); }, "folder", true, EISDIR, "", 0, {"folder"}},
        {[](TempDir &) {}, "missing/x.bin", true, ENOENT, "", 0, {}},
        {[](TempDir &d) { symlink("/dev/full", d.file("full").c_str()); }, "full", true, ENOSPC, "", 0, {"full"}},
        {[](TempDir &d) { write_file(d.file("kept"), old_bytes); }, "kept", false, EEXIST, "", 0, {"kept"}},
        {[gone](TempDir &d) {  // an ended writer's leftover goes, a living one's stays
             write_file(d.file(temporary_of("a", gone)), old_bytes);
             write_file(d.file(temporary_of("b", getpid())), old_bytes);
         },
         "new.bin", false, 0, "new.bin", 0640, {temporary_of("b", getpid()), "new.bin"}},
    };
    const mode_t old_mask = umask(027);
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.path);
        TempDir dir;
        c.setup(dir);
        const std::string path = dir.file(c.path);
        errno = 0;
        const bool written = c.replace ? vollo_write_file(path.c_str(), new_bytes.data(), new_bytes.size())
                                       : vollo_write_new_file(path.c_str(), new_bytes.data(), new_bytes.size());
        EXPECT_EQ(written, c.error == 0);
        EXPECT_EQ(c.error ? errno : 0, c.error);
        if (c.error != 0)
            EXPECT_NE(std::string(vollo_error()).find("'" + path + "'"), std::string::npos) << vollo_error();
        else
            EXPECT_TRUE(read_file(dir.file(c.written)) == new_bytes && (mode_of(dir.file(c.written)) & 07777) == c.mode);
        EXPECT_EQ(dir.entries(), c.entries);
    }
    umask(old_mask);
}

// Bytes the process has handed to write() so far; -1 once it is gone.
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
    const std::vector<uint8_t> big(48u << 20, 'N');
    for (double moment : {0.0, 0.2, 0.5, 0.9, 1.0})
    {
        SCOPED_TRACE(moment);
        TempDir dir;
        write_file(dir.file("big"), old_bytes);
        const pid_t child = fork();
        if (child == 0)
            vollo_write_file(dir.file("big").c_str(), big.data(), big.size()), pause();
        const long long start = bytes_written_by(child);
        while (bytes_written_by(child) >= 0 && bytes_written_by(child) < start + (long long)(moment * big.size()))
            sched_yield();
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::vector<uint8_t> left = read_file(dir.file("big"));
        EXPECT_TRUE(left == old_bytes || left == big) << left.size() << " bytes";
        ASSERT_TRUE(vollo_write_file(dir.file("next").c_str(), new_bytes.data(), new_bytes.size()));
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"big", "next"}));
    }
}

}  // namespace
