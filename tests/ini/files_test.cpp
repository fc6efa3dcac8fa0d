// Load and Save against real files: FIFOs, directories, devices, huge sizes,
// write failures, permissions and links.

#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

using initest::ReadWholeFile;
using initest::TempDir;
using initest::WriteWholeFile;

std::vector<std::string> Entries(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LoadFile, FromAFifoReadToItsEnd)
{
    TempDir dir;
    std::string fifo = dir.Path("pipe.ini");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    // More than one read's worth, written in pieces.
    std::string text;
    for (int n = 0; n < 20000; ++n)
        text += "f" + std::to_string(n) + " = " + std::to_string(n * 7) + "\n";
    std::thread writer([&] {
        int fd = open(fifo.c_str(), O_WRONLY);
        for (size_t done = 0; fd >= 0 && done < text.size();)
        {
            ssize_t put = write(fd, text.data() + done, std::min<size_t>(4000, text.size() - done));
            if (put <= 0)
                break;
            done += static_cast<size_t>(put);
        }
        close(fd);
    });
    kzr::Ini ini;
    bool loaded = ini.Load(fifo);
    writer.join();
    ASSERT_TRUE(loaded) << ini.LastError;
    EXPECT_EQ(20000u, ini.GetData()[""].size());
    EXPECT_EQ(19999 * 7, ini.AccessInt("", "f19999", 0));
}

TEST(LoadFile, WhatCannotBeOpenedOrIsTooLarge)
{
    TempDir dir;
    std::string huge = dir.Path("huge.ini");
    // A sparse file one byte too long for 32-bit offsets: refused from its size,
    // without reading or allocating it.
    int fd = open(huge.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ftruncate(fd, 4294967295LL));
    close(fd);
    for (const std::string &path : {dir.Path(""), dir.Path("missing.ini"), huge, std::string("")})
    {
        kzr::Ini ini;
        ini.GetData()["kept"]["f"] = {"1"};
        EXPECT_FALSE(ini.Load(path)) << path;
        EXPECT_EQ("ini: cannot open file", ini.LastError) << path;
        EXPECT_EQ("scope \"\"\nscope \"kept\"\n  \"f\" = \"1\"\n", initest::Dump(ini)) << path;
        EXPECT_EQ(nullptr, vollo_load_ini(path.c_str())) << path;
    }
}

TEST(LoadFile, EmptyDeviceLoadsAsAnEmptyText)
{
    kzr::Ini ini;
    EXPECT_TRUE(ini.Load("/dev/null"));
    EXPECT_EQ("scope \"\"\n", initest::Dump(ini));
}

TEST(LoadFile, HandleApiLoadsAndDropsFailedDocuments)
{
    TempDir dir;
    WriteWholeFile(dir.Path("good.ini"), "[s]\nf = \"v\"\n");
    WriteWholeFile(dir.Path("bad.ini"), "[s]\nf = \"v\n");
    vollo_ini *good = vollo_load_ini(dir.Path("good.ini").c_str());
    ASSERT_NE(nullptr, good);
    EXPECT_STREQ("v", vollo_ini_get_field(good, "s", "f", 0));
    vollo_delete_ini(good);
    EXPECT_EQ(nullptr, vollo_load_ini(dir.Path("bad.ini").c_str()));
}

TEST(SaveFile, NewAndReplacedFilesHoldExactlyTheOutput)
{
    TempDir dir;
    kzr::Ini ini;
    EXPECT_TRUE(ini.Save(dir.Path("empty.ini")));  // a new document writes nothing
    EXPECT_EQ("", ReadWholeFile(dir.Path("empty.ini")));

    WriteWholeFile(dir.Path("old.ini"), std::string(10000, 'x'));
    ASSERT_EQ(0, chmod(dir.Path("old.ini").c_str(), 0640));
    ini.GetData()["s"]["f"] = {"v"};
    EXPECT_TRUE(ini.Save(dir.Path("old.ini")));
    EXPECT_EQ("[s]\nf=\"v\"\n", ReadWholeFile(dir.Path("old.ini")));
    struct stat status;
    ASSERT_EQ(0, stat(dir.Path("old.ini").c_str(), &status));
    EXPECT_EQ(0640u, status.st_mode & 07777);
    EXPECT_EQ((std::vector<std::string>{"empty.ini", "old.ini"}), Entries(dir.Path("")));
}

TEST(SaveFile, ThroughASymbolicLinkReplacesItsTarget)
{
    TempDir dir;
    WriteWholeFile(dir.Path("real.ini"), "old");
    ASSERT_EQ(0, symlink("real.ini", dir.Path("link.ini").c_str()));
    kzr::Ini ini;
    ini.GetData()[""]["a"] = {"1"};
    EXPECT_TRUE(ini.Save(dir.Path("link.ini")));
    EXPECT_EQ("a=\"1\"\n", ReadWholeFile(dir.Path("real.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.ini")));
}

TEST(SaveFile, RefusesNamesTheReaderCouldNotReadBack)
{
    TempDir dir;
    const char *badNames[][2] = {{"a b", "f"}, {"s", ""}, {"s", "x-y"}, {"[s]", "f"}, {"s", "f\n"}};
    for (auto &names : badNames)
    {
        WriteWholeFile(dir.Path("keep.ini"), "old");
        kzr::Ini ini;
        ini.GetData()[names[0]][names[1]] = {"v"};
        EXPECT_FALSE(ini.Save(dir.Path("keep.ini"))) << names[0] << "." << names[1];
        EXPECT_EQ("old", ReadWholeFile(dir.Path("keep.ini")));
    }
    EXPECT_EQ((std::vector<std::string>{"keep.ini"}), Entries(dir.Path("")));
}

TEST(SaveFile, PathsThatCannotBeWritten)
{
    TempDir dir;
    kzr::Ini ini;
    EXPECT_FALSE(ini.Save(dir.Path("")));  // a directory
    EXPECT_FALSE(ini.Save(dir.Path("no/such/folder.ini")));
    EXPECT_FALSE(ini.Save(std::string()));
    EXPECT_FALSE(vollo_save_ini(&ini, dir.Path("no/such.ini").c_str()));
}

TEST(SaveFile, FullDeviceIsAFailureAndStaysADevice)
{
    kzr::Ini ini;
    ini.GetData()["s"]["f"] = {"v"};
    EXPECT_FALSE(ini.Save("/dev/full"));
    EXPECT_FALSE(vollo_save_ini(&ini, "/dev/full"));
    struct stat status;
    ASSERT_EQ(0, stat("/dev/full", &status));
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    // An empty output writes nothing, so nothing can fail.
    kzr::Ini empty;
    EXPECT_TRUE(empty.Save("/dev/full"));
}

TEST(SaveFile, WriteFailureLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    WriteWholeFile(dir.Path("keep.ini"), "old");
    // In a child: a file size limit makes the write fail part-way, as a full disk would.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        kzr::Ini ini;
        ini.GetData()["s"]["f"] = {std::string(100000, 'v')};
        _exit(ini.Save(dir.Path("keep.ini")) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "Save reported success";
    EXPECT_EQ("old", ReadWholeFile(dir.Path("keep.ini")));
    EXPECT_EQ((std::vector<std::string>{"keep.ini"}), Entries(dir.Path("")));
}

TEST(SaveFile, IntoAFifoWritesInPlace)
{
    TempDir dir;
    std::string fifo = dir.Path("out.fifo");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    std::string received;
    std::thread reader([&] {
        int fd = open(fifo.c_str(), O_RDONLY);
        char buffer[4096];
        ssize_t got;
        while (fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0)
            received.append(buffer, static_cast<size_t>(got));
        close(fd);
    });
    kzr::Ini ini;
    ini.GetData()["s"]["f"] = {"v"};
    bool saved = ini.Save(fifo);
    reader.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ("[s]\nf=\"v\"\n", received);
    struct stat status;
    ASSERT_EQ(0, lstat(fifo.c_str(), &status));
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

}  // namespace

namespace
{

TEST(SaveFile, FileHoldsExactlyWhatTheStreamFormWrites)
{
    kzr::Ini ini;
    for (int n = 0; n < 25; ++n)
        ini.Access("s", "list", static_cast<unsigned int>(n)) = n % 3 ? std::to_string(n) : "x#\"\\\n\xc3\xa9\x80";
    ini.Access("", "plain", 0) = "a b c";
    ini.GetData()["t"]["none"];
    std::ostringstream stream;
    ini.Save(stream);
    TempDir dir;
    ASSERT_TRUE(ini.Save(dir.Path("same.ini")));
    EXPECT_EQ(stream.str(), ReadWholeFile(dir.Path("same.ini")));
}

}  // namespace
