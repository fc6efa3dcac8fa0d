// The BMP writer: exact bytes, row order, channel order, padding, sizes and write errors.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <regex>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"
#include "bmp.h"

namespace
{

const std::vector<uint8_t> canvas_header = {
    0x42, 0x4D, 0x36, 0x7A, 0x26, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00,
    0x28, 0x00, 0x00, 0x00, 0x1A, 0x04, 0x00, 0x00, 0x20, 0x03, 0x00, 0x00, 0x01, 0x00,
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7A, 0x26, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00};

// Blue, green, red of a pixel value, as the file stores them.
std::vector<uint8_t> stored(uint32_t pixel)
{
    return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
            static_cast<uint8_t>(pixel)};
}

std::vector<uint8_t> at(const std::vector<uint8_t> &bytes, size_t offset, size_t count)
{
    return std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + count);
}

class BmpWriter : public ::testing::Test
{
protected:
    void TearDown() override { vollo_delete_clipable(canvas); }
    TempDir dir;
    vollo_pixelarray *canvas = nullptr;
};

TEST_F(BmpWriter, FullCanvasHasTheExactHeaderSizeAndRowLayout)
{
    canvas = pattern_canvas(1050, 800);
    ASSERT_NE(canvas, nullptr);
    canvas->pixels[0] = 0x0080837E;  // the interface grey, alpha 0, at (0, 0)
    std::string path = dir.file("canvas.bmp");
    ASSERT_TRUE(save_bmp(canvas, path.c_str()));

    std::vector<uint8_t> bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 2521654u);
    EXPECT_EQ(at(bytes, 0, 54), canvas_header);
    // Bottom row first: (0, 799) opens the pixel data, (0, 0) opens the last row.
    EXPECT_EQ(at(bytes, 54, 3), stored(pattern_pixel(0, 799)));
    EXPECT_EQ(at(bytes, 54 + 3, 3), stored(pattern_pixel(1, 799)));
    EXPECT_EQ(at(bytes, 54 + 799 * 3152, 3), (std::vector<uint8_t>{0x80, 0x83, 0x7E}));
    EXPECT_EQ(at(bytes, 54 + 799 * 3152 + 1049 * 3, 3), stored(pattern_pixel(1049, 0)));
    for (size_t row = 0; row < 800; row++)
        ASSERT_EQ(at(bytes, 54 + row * 3152 + 3150, 2), (std::vector<uint8_t>{0, 0})) << row;
}

TEST_F(BmpWriter, RoundTripKeepsColoursAndMakesEveryPixelOpaque)
{
    canvas = pattern_canvas(1050, 800);
    ASSERT_NE(canvas, nullptr);
    canvas->pixels[5 + 7 * 1050] = 0x0080837E;
    std::string path = dir.file("round.bmp");
    ASSERT_TRUE(save_bmp(canvas, path.c_str()));

    vollo_pixelarray *loaded = load_bmp(path.c_str());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->width, 1050u);
    ASSERT_EQ(loaded->height, 800u);
    size_t mismatches = 0;
    for (size_t i = 0; i < 1050 * 800; i++)
        mismatches += loaded->pixels[i] != (canvas->pixels[i] | 0xFF000000u);
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(loaded->pixels[5 + 7 * 1050], 0xFF80837Eu);
    vollo_delete_clipable(loaded);
}

// Width 3 needs 3 bytes of padding per row; width 4 none; width 1 three.
TEST_F(BmpWriter, OtherSizesAreDescribedByTheirOwnHeader)
{
    struct Case { uint32_t width, height, row_size; };
    for (Case c : {Case{3, 2, 12}, Case{4, 3, 12}, Case{1, 1, 4}, Case{5, 1, 16}})
    {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        vollo_pixelarray *small = pattern_canvas(c.width, c.height);
        ASSERT_NE(small, nullptr);
        std::string path = dir.file("small.bmp");
        ASSERT_TRUE(save_bmp(small, path.c_str()));
        std::vector<uint8_t> bytes = read_file(path);
        ASSERT_EQ(bytes.size(), 54 + c.row_size * c.height);
        bmp_header header;
        set_header(&header, c.width, c.height);
        uint8_t expected[54];
        bmp_header_to_bytes(&header, expected);
        EXPECT_EQ(at(bytes, 0, 54), std::vector<uint8_t>(expected, expected + 54));
        EXPECT_EQ(header.file_size, bytes.size());
        EXPECT_EQ(header.image_size, c.row_size * c.height);
        // The last stored row is the top row; its last pixel ends before the padding.
        size_t last_row = 54 + (c.height - 1) * c.row_size;
        EXPECT_EQ(at(bytes, last_row + (c.width - 1) * 3, 3), stored(pattern_pixel(c.width - 1, 0)));
        vollo_delete_clipable(small);
    }
}

TEST_F(BmpWriter, SavingOverALongerFileLeavesNothingOfIt)
{
    canvas = pattern_canvas(3, 2);
    std::string path = dir.file("old.bmp");
    write_file(path, std::vector<uint8_t>(5000, 0x77));
    ASSERT_TRUE(save_bmp(canvas, path.c_str()));
    EXPECT_EQ(read_file(path).size(), 54u + 2 * 12);
}

TEST_F(BmpWriter, NewFileGetsMode0666LessTheUmask)
{
    canvas = pattern_canvas(3, 2);
    mode_t old_mask = umask(022);
    std::string path = dir.file("mode.bmp");
    bool saved = save_bmp(canvas, path.c_str());
    umask(old_mask);
    ASSERT_TRUE(saved);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(BmpWriter, FailuresAreReportedWithTheirReason)
{
    canvas = pattern_canvas(3, 2);
    struct Case { std::string path; int error; };
    for (Case c : {Case{dir.file("missing/folder.bmp"), ENOENT}, Case{dir.path(), EISDIR},
                   Case{"/dev/full", ENOSPC}})
    {
        SCOPED_TRACE(c.path);
        errno = 0;
        EXPECT_FALSE(save_bmp(canvas, c.path.c_str()));
        EXPECT_EQ(errno, c.error);
    }
    EXPECT_TRUE(dir.entries().empty());
    errno = 0;
    EXPECT_FALSE(save_bmp(nullptr, dir.file("none.bmp").c_str()));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_TRUE(dir.entries().empty());
}

// A disk that fills up part-way: the first blocks go out, a later one fails.
TEST_F(BmpWriter, FullDiskIsDetectedByWriteImage)
{
    canvas = pattern_canvas(1050, 800);
    bmp_header header;
    set_header(&header, 1050, 800);
    int fd = open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    errno = 0;
    EXPECT_FALSE(write_image(canvas->pixels, fd, &header));
    EXPECT_EQ(errno, ENOSPC);
    close(fd);
}

// Through a symbolic link to /dev/full: the link's target cannot take the data, and the
// link itself (not created by the save) stays.
TEST_F(BmpWriter, FailedSaveOverAnExistingPathKeepsThePath)
{
    canvas = pattern_canvas(3, 2);
    std::string link = dir.file("full.bmp");
    ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
    EXPECT_FALSE(save_bmp(canvas, link.c_str()));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"full.bmp"});
}

// ---------------------------------------------------------------------------
// Safe saves: through a synced temporary file renamed over the target
// ---------------------------------------------------------------------------

// Saves with the process allowed files of at most `budget` bytes, as on a disk that
// fills up part-way: a write past it fails with EFBIG.
bool save_within(long long budget, const vollo_pixelarray *canvas, const std::string &path, bool replace)
{
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit limit = old_limit;
    limit.rlim_cur = static_cast<rlim_t>(budget);
    void (*old_handler)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved = save_bmp_safely(canvas, path.c_str(), replace);
    const int saved_errno = errno;
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    errno = saved_errno;
    return saved;
}

class SafeSave : public BmpWriter
{
protected:
    void SetUp() override
    {
        canvas = pattern_canvas(1050, 800);
        ASSERT_NE(canvas, nullptr);
    }
    // What save_bmp writes for this canvas: the reference bytes of a whole save.
    std::vector<uint8_t> expected_bytes()
    {
        const std::string path = dir.file("reference");
        EXPECT_TRUE(save_bmp(canvas, path.c_str()));
        std::vector<uint8_t> bytes = read_file(path);
        unlink(path.c_str());
        return bytes;
    }
    mode_t mode_of(const std::string &path)
    {
        struct stat info;
        EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
        return info.st_mode;
    }
};

// Files may not grow past so many bytes: the old file stays byte for byte, with its
// permissions, and no temporary file is left; a new path is not created at all.
TEST_F(SafeSave, FailurePartWayLeavesTheOldFileAsItWas)
{
    const std::vector<uint8_t> old_bytes(3000, 0x5A);
    for (long long budget : {0LL, 1LL, 54LL, 300000LL, 2521653LL})
    {
        SCOPED_TRACE(budget);
        const std::string path = dir.file("old.bmp");
        write_file(path, old_bytes);
        ASSERT_EQ(chmod(path.c_str(), 0640), 0);
        errno = 0;
        EXPECT_FALSE(save_within(budget, canvas, path, true));
        EXPECT_EQ(errno, EFBIG);
        EXPECT_EQ(read_file(path), old_bytes);
        EXPECT_EQ(mode_of(path) & 07777, 0640u);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.bmp"});

        EXPECT_FALSE(save_within(budget, canvas, dir.file("new.bmp"), false));
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.bmp"});
    }
}

// A whole save replaces the file and keeps its permission bits, whatever the umask.
TEST_F(SafeSave, SuccessReplacesTheFileWholeAndKeepsItsPermissions)
{
    const std::vector<uint8_t> expected = expected_bytes();
    for (mode_t mode : {0600u, 0640u, 0444u, 0755u})
    {
        SCOPED_TRACE(mode);
        const std::string path = dir.file("kept.bmp");
        write_file(path, std::vector<uint8_t>(5000000, 0x11));  // longer than the picture
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(save_bmp_safely(canvas, path.c_str(), true)) << strerror(errno);
        EXPECT_EQ(read_file(path), expected);
        EXPECT_EQ(mode_of(path) & 07777, mode);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"kept.bmp"});
    }
    // A new file gets 0666 less the umask, as save_bmp gives it.
    const mode_t old_mask = umask(027);
    const bool saved = save_bmp_safely(canvas, dir.file("fresh.bmp").c_str(), false);
    umask(old_mask);
    ASSERT_TRUE(saved);
    EXPECT_EQ(mode_of(dir.file("fresh.bmp")) & 07777, 0640u);
    EXPECT_EQ(read_file(dir.file("fresh.bmp")), expected);
}

// Links, devices, folders and existing names: what is replaced, written, or refused.
TEST_F(SafeSave, LinksDevicesAndExistingNames)
{
    const std::vector<uint8_t> expected = expected_bytes();
    ASSERT_EQ(mkdir(dir.file("inner").c_str(), 0755), 0);
    write_file(dir.file("inner/target.bmp"), {1, 2, 3});
    ASSERT_EQ(symlink("inner/target.bmp", dir.file("link.bmp").c_str()), 0);
    ASSERT_EQ(symlink("/dev/full", dir.file("full.bmp").c_str()), 0);
    ASSERT_EQ(symlink("nowhere/at/all.bmp", dir.file("dangling.bmp").c_str()), 0);
    write_file(dir.file("taken.bmp"), {9, 9});

    // Through the link: the link stays a link, and its target is replaced.
    ASSERT_TRUE(save_bmp_safely(canvas, dir.file("link.bmp").c_str(), true));
    EXPECT_TRUE(S_ISLNK(mode_of(dir.file("link.bmp"))));
    EXPECT_EQ(read_file(dir.file("inner/target.bmp")), expected);

    struct Case
    {
        std::string path;
        bool replace;
        int error;
    } cases[] = {{dir.file("full.bmp"), true, ENOSPC},      {"/dev/full", true, ENOSPC},
                 {dir.file("dangling.bmp"), true, ENOENT},  {dir.file("dangling.bmp"), false, EEXIST},
                 {dir.file("taken.bmp"), false, EEXIST},    {dir.file("link.bmp"), false, EEXIST},
                 {dir.file("inner"), true, EISDIR},         {dir.file("missing/x.bmp"), true, ENOENT},
                 {"", true, ENOENT}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.path + (c.replace ? " replace" : " new only"));
        errno = 0;
        EXPECT_FALSE(save_bmp_safely(canvas, c.path.c_str(), c.replace));
        EXPECT_EQ(errno, c.error);
    }
    EXPECT_EQ(read_file(dir.file("taken.bmp")), (std::vector<uint8_t>{9, 9}));
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"dangling.bmp", "full.bmp", "inner", "link.bmp", "taken.bmp"}));
}

// Numbered names for a fixed moment: the first free of NAME, NAME-2, NAME-3, ...
TEST_F(SafeSave, NumberedNamesNeverReplaceAFile)
{
    const char *old_tz = getenv("TZ");
    const std::string kept_tz = old_tz != nullptr ? old_tz : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    const time_t moment = 1700000000;  // 2023-11-14 22:13:20 UTC
    const std::string stem = dir.path() + "/pixodraw-20231114-221320";
    const std::vector<uint8_t> expected = expected_bytes();
    const std::vector<uint8_t> other = {7, 7, 7};

    char *first = save_bmp_numbered(canvas, dir.path().c_str(), moment);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first), stem + ".bmp");
    write_file(stem + "-2.bmp", other);
    char *third = save_bmp_numbered(canvas, dir.path().c_str(), moment);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(std::string(third), stem + "-3.bmp");
    EXPECT_EQ(read_file(stem + ".bmp"), expected);
    EXPECT_EQ(read_file(stem + "-2.bmp"), other);
    EXPECT_EQ(read_file(stem + "-3.bmp"), expected);
    free(first);
    free(third);

    // The name of today's local time, in the form the users see.
    char *now = save_bmp_numbered(canvas, dir.path().c_str(), time(nullptr));
    ASSERT_NE(now, nullptr);
    EXPECT_TRUE(std::regex_match(now, std::regex(".*/pixodraw-20[0-9]{6}-[0-9]{6}(-[0-9]+)?\\.bmp"))) << now;
    free(now);
    errno = 0;
    EXPECT_EQ(save_bmp_numbered(canvas, dir.file("missing").c_str(), moment), nullptr);
    EXPECT_EQ(errno, ENOENT);

    if (old_tz != nullptr)
        setenv("TZ", kept_tz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
