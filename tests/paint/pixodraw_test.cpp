// The real pixodraw program under a private X server: real clicks and keys through
// xdotool, the save dialogue answered on its standard input, the saved BMP read back
// by an independent reader (Pillow), and the screen read back pixel by pixel.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <csignal>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "interface_steps.h"
#include "xvfb.hpp"
#include "interface.h"
#include "state.h"

namespace
{
using namespace interface_steps;
namespace vt = vollo_test;

const uint32_t RGB = 0x00FFFFFFu;
const uint32_t BACKDROP = 0x5A5A5Au;  // around a document's picture
const char TIP[] = "Tip: You can load a picture by giving its path as argument\n";
const char QUESTION[] = "Save work ? [yes/no]\n";
const char NAME_QUESTION[] = "File name : ";

size_t occurrences(const std::string &text, const std::string &what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        count++;
    return count;
}

std::vector<std::string> files_in(const std::string &path)
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(path.c_str()))
    {
        while (dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.' || (entry->d_name[1] != '\0' && entry->d_name[1] != '.'))
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A BMP file read by Pillow: its size and its pixels as 0x00BBGGRR.
struct ReadBack
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// With `crop` (left, top, width, height), that part of it alone.
ReadBack read_with_pillow(const std::string &bmp, const std::string &scratch, const std::vector<int> &crop = {})
{
    ReadBack result;
    std::vector<std::string> command = {"/usr/bin/python3", PAINT_TEST_DIR "/bmp_to_rgb.py", bmp, scratch};
    for (int value : crop)
        command.push_back(std::to_string(value));
    const vt::CommandResult run = vt::run_command(command, "", vt::Milliseconds(60000));
    EXPECT_TRUE(run.succeeded()) << run.describe();
    std::istringstream(run.output) >> result.width >> result.height;
    std::ifstream raw(scratch, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(raw)),
                                     std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size(), static_cast<size_t>(result.width) * result.height * 3);
    for (size_t i = 0; i + 2 < bytes.size(); i += 3)
        result.pixels.push_back(bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16));
    return result;
}

uint32_t picture_pattern(int32_t x, int32_t y)
{
    return 0xFF000000u | static_cast<uint32_t>((x * 3) & 0xFF) |
           (static_cast<uint32_t>((y * 5) & 0xFF) << 8) |
           (static_cast<uint32_t>((x + 2 * y) & 0xFF) << 16);
}

// The path in the last standard error line that begins with `prefix`, or "".
std::string path_after(const std::string &errors, const std::string &prefix)
{
    std::string path;
    for (size_t at = errors.find(prefix); at != std::string::npos; at = errors.find(prefix, at + 1))
    {
        const size_t start = at + prefix.size();
        path = errors.substr(start, errors.find('\n', start) - start);
    }
    return path;
}

// The journals in a folder (hidden files named .pixodraw-journal-...).
std::vector<std::string> journals(const std::string &folder)
{
    std::vector<std::string> found;
    for (const std::string &name : files_in(folder))
        if (name.rfind(".pixodraw-journal-", 0) == 0 && name.size() > 8 &&
            name.compare(name.size() - 8, 8, ".journal") == 0)
            found.push_back(folder + "/" + name);
    return found;
}

off_t size_of(const std::string &path)
{
    struct stat about;
    return stat(path.c_str(), &about) == 0 ? about.st_size : -1;
}

const std::regex numbered_name(".*/pixodraw-[0-9]{8}-[0-9]{6}(-[0-9]+)?\\.bmp");
const std::regex numbered_png(".*/pixodraw-[0-9]{8}-[0-9]{6}(-[0-9]+)?\\.png");

// A photo of `size` ("WxH") in the folder, as `extension` ("jpg" or "png").
std::string make_photo(const std::string &folder, const std::string &size, const std::string &extension)
{
    const std::string photo = folder + "/photo." + extension;
    EXPECT_TRUE(vt::make_photo(photo, size));
    return photo;
}

// True while the process holds a file of `folder` open that is neither a journal nor its
// copy of the picture: a save under way (its temporary file, named or not).
bool writing_in(pid_t pid, const std::string &folder)
{
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const std::string &fd : files_in(fds))
    {
        char target[4096];
        const ssize_t length = readlink((fds + "/" + fd).c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue;
        const std::string path(target, size_t(length));
        if (path.rfind(folder + "/", 0) == 0 && path.find(".pixodraw-journal-") == std::string::npos)
            return true;
    }
    return false;
}

// A tmpfs of `size` bytes mounted on a new folder `path` (read-only when asked), there
// until the object dies.
struct Mount
{
    std::string path;
    bool mounted = false;
    Mount(const std::string &where, const char *size, bool read_only) : path(where)
    {
        EXPECT_EQ(mkdir(path.c_str(), 0755), 0);
        const std::string options = std::string("size=") + size;
        mounted = mount("tmpfs", path.c_str(), "tmpfs", read_only ? MS_RDONLY : 0, options.c_str()) == 0;
        EXPECT_TRUE(mounted) << strerror(errno);
    }
    ~Mount()
    {
        if (mounted)
            umount2(path.c_str(), MNT_DETACH);
    }
    // Writes a file until the disk is full.
    void fill()
    {
        std::ofstream filler(path + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()))
            ;
    }
};

// A session killed outright while a stroke is under way, after a square was stamped and
// what the case adds, then started again in the same folder.
struct KillCase
{
    const char *photo;           // "WxH.EXT": a photo made so, shown at 100 % from its corner; null: blank
    const char *change;          // run by Python on the picture and another one after the stamp, or null
    bool trim;                   // undos and redos of a wide drawing until the journal is trimmed
    bool second_session;         // a second session starts and ends in the folder after the stamp
    const char *fallback;        // "home", "tmp" (working folder read-only, and $HOME too for "tmp")
                                 // or "later" (its disk fills): where the journal goes; null: none
    bool kill_a_save;            // afterwards a save killed while it writes
    bool long_stroke;            // the stroke zigzags across the area for two seconds first
};

struct Pixodraw : vt::XvfbTest
{
    TempDir dir;
    std::string working;  // where the program runs: the temporary folder when empty
    std::unique_ptr<vt::ChildProcess> program;
    vt::WindowId window = 0;

    void SetUp() override
    {
        vt::XvfbTest::SetUp();
        ASSERT_FALSE(dir.path.empty());
        ASSERT_EQ(mkdir((dir.path + "/img").c_str(), 0755), 0);
        ASSERT_TRUE(write_test_bmp(dir.path + "/img/degrade.bmp", 212, 123, palette_color));
        ASSERT_TRUE(write_test_bmp(dir.path + "/img/potdepeinture.bmp", 62, 105, pot_color));
    }
    // Starts pixodraw in the temporary folder, with these NAME=VALUE variables added to
    // its environment, and waits for its window at (0, 0).
    void start(const std::vector<std::string> &arguments = {},
               const std::vector<std::string> &environment = {})
    {
        std::vector<std::string> argv = {"env"};
        argv.insert(argv.end(), environment.begin(), environment.end());
        argv.push_back(PIXODRAW_BINARY);
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        program = std::make_unique<vt::ChildProcess>();
        ASSERT_TRUE(program->start(argv, working.empty() ? dir.path : working));
        window = vt::find_window_by_pid(program->pid());
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(vt::move_window_to_origin(window));
    }
    void start_blank(const std::vector<std::string> &arguments = {},
                     const std::vector<std::string> &environment = {})
    {
        start(arguments, environment);
        // The square-brush icon and the door leaf show that the interface is on screen.
        ASSERT_TRUE(vt::wait_for_color(50, 60, BLACK));
        ASSERT_TRUE(vt::wait_for_color(951, 700, GREY));
    }
    bool move_to(int x, int y)
    {
        return vt::xdotool({"mousemove", std::to_string(x), std::to_string(y)});
    }
    // One xdotool run: the move and the click reach the server in this order. (A
    // synchronous move to where the pointer already is would wait for nothing.)
    void click_at(int x, int y, int button = 1)
    {
        ASSERT_TRUE(vt::xdotool({"mousemove", std::to_string(x), std::to_string(y), "click",
                                 std::to_string(button)}));
    }
    void clicks_at(int x, int y, int count)
    {
        ASSERT_TRUE(vt::xdotool({"mousemove", std::to_string(x), std::to_string(y), "click",
                                 "--repeat", std::to_string(count), "--delay", "5", "1"}));
    }
    // One xdotool run: the press at the first point, moves through the others, the release
    // at the last.
    void drag(const std::vector<std::pair<int, int>> &path)
    {
        std::vector<std::string> arguments = {"mousemove", std::to_string(path.front().first),
                                              std::to_string(path.front().second), "mousedown", "1"};
        for (size_t i = 1; i < path.size(); i++)
            arguments.insert(arguments.end(), {"mousemove", std::to_string(path[i].first),
                                               std::to_string(path[i].second)});
        arguments.insert(arguments.end(), {"mouseup", "1"});
        ASSERT_TRUE(vt::xdotool(arguments));
    }
    // The drawing area as the screen shows it equals expected(u, v) at each offset.
    template <typename Expected>
    bool wait_for_area(Expected expected)
    {
        std::vector<uint32_t> want;
        for (int v = 0; v < 528; v++)
            for (int u = 0; u < 629; u++)
                want.push_back(expected(u, v) & RGB);
        return vt::wait_until([&] {
            std::vector<uint32_t> shown = vt::read_region(211, 200, 629, 528);
            for (uint32_t &pixel : shown)
                pixel &= RGB;
            return shown == want;
        });
    }
    // A PNG of picture_pattern in the temporary folder.
    std::string make_png(int width, int height)
    {
        const std::string bmp = dir.path + "/pattern.bmp", png = dir.path + "/photo.png";
        EXPECT_TRUE(write_test_bmp(bmp, width, height, picture_pattern));
        const vt::CommandResult made = vt::run_command(
            {"/usr/bin/python3", "-c", "import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])",
             bmp, png});
        EXPECT_TRUE(made.succeeded()) << made.describe();
        return png;
    }
    // The whole window as the screen shows it, colour only.
    std::vector<uint32_t> screen()
    {
        std::vector<uint32_t> pixels = vt::read_region(0, 0, PAINT_WIDTH, PAINT_HEIGHT);
        for (uint32_t &pixel : pixels)
            pixel &= RGB;
        return pixels;
    }
    bool wait_for_screen(const std::vector<uint32_t> &expected)
    {
        return vt::wait_until([&] { return screen() == expected; });
    }
    // Ends the run with Escape and answers the dialogue; waits for the exit.
    void finish(const std::string &answer, const std::string &name = "")
    {
        ASSERT_TRUE(move_to(600, 400));
        ASSERT_TRUE(vt::key("Escape"));
        answer_dialogue(answer, name);
    }
    void answer_dialogue(const std::string &answer, const std::string &name = "")
    {
        ASSERT_TRUE(program->wait_for_output(QUESTION)) << program->output() << program->errors();
        ASSERT_TRUE(program->write_input(answer + "\n"));
        if (answer == "yes")
        {
            ASSERT_TRUE(program->wait_for_output(NAME_QUESTION));
            ASSERT_TRUE(program->write_input(name + "\n"));
        }
        program->close_input();
        ASSERT_TRUE(program->wait_exit());
        EXPECT_EQ(program->exit_code(), 0) << program->errors();
        EXPECT_EQ(program->errors().find("vertical sync"), std::string::npos) << program->errors();
    }
    // Pixels where the file, read by Pillow, differs from `shown`: the whole file, which
    // must be PAINT_WIDTH x PAINT_HEIGHT, or its top-left width x height; -1 when they are
    // not as many.
    int differences(const std::string &file, const std::vector<uint32_t> &shown, int width = 0, int height = 0)
    {
        const ReadBack read = read_with_pillow(file, dir.path + "/raw.rgb",
                                               width > 0 ? std::vector<int>{0, 0, width, height} : std::vector<int>{});
        if (read.pixels.size() != shown.size() || (width == 0 && read.width != PAINT_WIDTH))
            return -1;
        int wrong = 0;
        for (size_t i = 0; i < shown.size(); i++)
            wrong += read.pixels[i] != (shown[i] & RGB);
        return wrong;
    }
    // Pixels where the file, read by Pillow, differs from want(x, y); -1 when it is not
    // width x height.
    int wrong_pixels(const std::string &file, int width, int height, const std::function<uint32_t(int, int)> &want)
    {
        const ReadBack saved = read_with_pillow(file, dir.path + "/raw.rgb");
        if (saved.width != width || saved.height != height)
            return -1;
        int wrong = 0;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                wrong += saved.at(x, y) != (want(x, y) & RGB);
        return wrong;
    }
    // The document `photo` at 100 % from its top-left corner, which shows at (211 + left,
    // 200 + top): at fit, each photo of these tests leaves a margin there.
    void start_at_full_size(const std::string &photo, int left = 0, int top = 0)
    {
        ASSERT_NO_FATAL_FAILURE(start({photo}));
        ASSERT_TRUE(vt::xdotool({"mousemove", "600", "400", "key", "ctrl+1", "key", "Home"}));
        ASSERT_TRUE(vt::wait_for_pixel(211 + left, 200 + top, [](uint32_t pixel) { return (pixel & RGB) != BACKDROP; }));
    }
    // The recovery file a start names, once it names one.
    std::string recovery_named(vt::Milliseconds timeout = vt::default_timeout)
    {
        EXPECT_TRUE(program->wait_for_errors(".bmp\n", timeout)) << program->errors();
        return path_after(program->errors(), "its drawing is kept in ");
    }
    // Once `journal` grew past `written` and a second passed since the screen was read
    // (the promise covers the screen of one second before a kill): kill -9.
    void kill_when_written(const std::string &journal, off_t written)
    {
        const auto shown_at = std::chrono::steady_clock::now();
        ASSERT_TRUE(vt::wait_until([&] {
            return size_of(journal) > written &&
                   std::chrono::steady_clock::now() - shown_at > std::chrono::milliseconds(1100);
        }));
        program->kill_now(SIGKILL);
        ASSERT_TRUE(program->wait_exit());
    }
    // A square stamped at (x, y) with the brush at size 5, seen on screen.
    void stamp_square(int x, int y)
    {
        click_at(960, 60);
        click_at(50, 60);
        click_at(x, y);
        ASSERT_TRUE(vt::wait_for_color(x + 5, y + 5, BLACK));
    }
    // Undo and redo over and over of a wide drawing (a stroke of discs on white, a wide
    // square on a photo's noise: records of some kilobytes each) until the journal is
    // trimmed to what it holds.
    void trim_journal(const std::string &journal, bool document)
    {
        if (document)
        {
            click_at(50, 60);
            clicks_at(960, 60, 30);
            click_at(450, 450);
        }
        else
        {
            click_at(160, 60);
            clicks_at(960, 60, 10);
            drag({{260, 260}, {790, 300}, {300, 650}, {790, 690}});
        }
        ASSERT_TRUE(vt::wait_for_color(500, 500, BLACK));
        off_t largest = 0;
        bool trimmed = false;
        for (int cycle = 0; cycle < 60 && !trimmed; cycle++)
        {
            ASSERT_TRUE(vt::key("ctrl+z"));
            ASSERT_TRUE(vt::wait_for_pixel(500, 500, [](uint32_t pixel) { return (pixel & RGB) != (BLACK & RGB); }));
            ASSERT_TRUE(vt::key("ctrl+y"));
            ASSERT_TRUE(vt::wait_for_color(500, 500, BLACK));
            trimmed = vt::wait_until([&] {
                const off_t now = size_of(journal);
                largest = std::max(largest, now);
                return now > 0 && now < largest;  // only a trim makes it shorter
            }, vt::Milliseconds(20));
        }
        EXPECT_TRUE(trimmed) << largest << " " << size_of(journal);
    }
    // A second session started in the folder while the first one runs leaves its locked
    // journal alone and says nothing of it.
    void second_session_leaves(const std::string &journal)
    {
        const off_t held = size_of(journal);
        std::unique_ptr<vt::ChildProcess> first = std::move(program);
        ASSERT_NO_FATAL_FAILURE(start_blank());
        ASSERT_NO_FATAL_FAILURE(finish("no"));
        EXPECT_EQ(program->errors(), "");
        EXPECT_EQ(size_of(journal), held);
        EXPECT_EQ(journals(dir.path), std::vector<std::string>{journal});
        program = std::move(first);
    }
    // A save killed while it writes leaves the picture as it was, and no file behind
    // after the next save.
    void kill_a_save(const std::string &photo)
    {
        ASSERT_TRUE(vt::xdotool({"key", "ctrl+1", "key", "Home"}));
        ASSERT_NO_FATAL_FAILURE(stamp_square(400, 300));
        ASSERT_TRUE(vt::key("ctrl+s"));
        ASSERT_TRUE(vt::wait_until([&] { return writing_in(program->pid(), dir.path); }, vt::Milliseconds(90000),
                                   vt::Milliseconds(1)));
        program->kill_now(SIGKILL);
        ASSERT_TRUE(program->wait_exit());
        ASSERT_NO_FATAL_FAILURE(start({photo}));
        unlink(recovery_named(vt::Milliseconds(60000)).c_str());
        ASSERT_TRUE(vt::key("ctrl+s"));
        ASSERT_TRUE(program->wait_for_errors("pixodraw: saved " + photo + "\n", vt::Milliseconds(60000)))
            << program->errors();
        std::vector<std::string> left_behind;
        for (const std::string &name : files_in(dir.path))
            if (name != "img" && name != "raw.rgb" && "/" + name != photo.substr(dir.path.size()) &&
                name.rfind(".pixodraw-journal-", 0) != 0)
                left_behind.push_back(name);
        EXPECT_EQ(left_behind, std::vector<std::string>{});
    }
    // The three folders of the fallback case, the working one first: the environment
    // that names the others, and the folder the journal is to go to.
    void mount_fallbacks(const std::string &fallback, std::vector<std::unique_ptr<Mount>> &mounts,
                         std::vector<std::string> &environment, std::string &folder)
    {
        static int run = 0;
        const std::string base = dir.path + "/run" + std::to_string(run++);
        ASSERT_EQ(mkdir(base.c_str(), 0755), 0);
        mounts.push_back(std::make_unique<Mount>(base + "/work", "4m", fallback != "later"));
        mounts.push_back(std::make_unique<Mount>(base + "/home", "16m", fallback == "tmp"));
        mounts.push_back(std::make_unique<Mount>(base + "/tmp", "16m", false));
        for (const auto &mounted : mounts)
            ASSERT_TRUE(mounted->mounted);
        working = mounts[0]->path;
        environment = {"HOME=" + mounts[1]->path, "TMPDIR=" + mounts[2]->path, "PIXODRAW_IMG_DIR=" + dir.path + "/img"};
        folder = mounts[fallback == "tmp" ? 2 : 1]->path;
        if (fallback != "later")
            return;
        // The working folder takes the journal until its disk fills; stamps until it moves.
        ASSERT_NO_FATAL_FAILURE(start_blank({}, environment));
        ASSERT_TRUE(vt::wait_until([&] { return journals(working).size() == 1; }));
        mounts[0]->fill();
        for (int stamp = 0; stamp < 20 && journals(folder).empty(); stamp++)
        {
            ASSERT_NO_FATAL_FAILURE(stamp_square(300 + 20 * stamp, 300));
            vt::wait_until([&] { return !journals(folder).empty(); }, vt::Milliseconds(300));
        }
        EXPECT_TRUE(journals(working).empty());
    }
    // The session of the case, killed and started again: the start keeps a recovery file
    // (in the journal's folder) equal, over the picture, to the screen of one second
    // before the kill, removes the journal and starts as asked.
    void kill_and_recover(const KillCase &c)
    {
        std::vector<std::unique_ptr<Mount>> mounts;
        std::vector<std::string> environment;
        std::string folder = dir.path, photo, other;
        int x = 0, y = 0, width = PAINT_WIDTH, height = PAINT_HEIGHT;
        if (c.fallback != nullptr)
            mount_fallbacks(c.fallback, mounts, environment, folder);
        if (c.photo != nullptr)
        {
            const std::string name = c.photo;
            if (c.change != nullptr)
            {
                other = make_photo(dir.path, "640x480", "jpg") + ".other";
                rename((dir.path + "/photo.jpg").c_str(), other.c_str());
            }
            photo = make_photo(dir.path, name.substr(0, name.find('.')), name.substr(name.find('.') + 1));
            ASSERT_EQ(sscanf(c.photo, "%dx%d", &width, &height), 2);
            // Where the picture shows: from the area's corner, centred along a side it fits.
            width = std::min(width, 629), height = std::min(height, 528);
            x = 211 + (629 - width) / 2, y = 200 + (528 - height) / 2;
            ASSERT_NO_FATAL_FAILURE(start_at_full_size(photo, x - 211, y - 200));
        }
        else if (c.fallback == nullptr || c.fallback != std::string("later"))
            start_blank({}, environment);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(vt::wait_until([&] { return journals(folder).size() == 1; })) << program->errors();
        const std::string journal = journals(folder)[0];
        off_t written = size_of(journal);
        // A finished stamp is written as it ends, before what the case does; the stroke
        // under way within a second. A document alone, or a trim, has the stroke alone.
        if (c.trim || (c.photo != nullptr && c.change == nullptr))
        {
            click_at(50, 60);
            clicks_at(960, 60, 2);
        }
        else
        {
            ASSERT_NO_FATAL_FAILURE(stamp_square(450, 350));
            ASSERT_TRUE(vt::wait_until([&] { return size_of(journal) > written; }));
        }
        if (c.change != nullptr)
        {
            EXPECT_TRUE(vt::run_command({"/usr/bin/python3", "-c", c.change, photo, other}).succeeded());
            stamp_square(500, 400);  // the journal looks at its picture between actions
        }
        if (c.second_session)
            second_session_leaves(journal);
        if (c.trim)
            trim_journal(journal, c.photo != nullptr);
        if (HasFatalFailure())
            return;
        written = size_of(journal);
        std::vector<std::string> stroke = {"mousemove", "300", "300", "mousedown", "1"};
        for (int step = 0; c.long_stroke && step < 40; step++)
            stroke.insert(stroke.end(), {"mousemove", step % 2 ? "230" : "820", std::to_string(220 + 12 * step),
                                         "sleep", "0.05"});
        stroke.insert(stroke.end(), {"mousemove", "400", "360", "mousemove", "500", "320"});
        ASSERT_TRUE(vt::xdotool(stroke));
        ASSERT_TRUE(vt::wait_for_color(505, 325, BLACK));
        const std::vector<uint32_t> shown = vt::read_region(x, y, width, height);
        ASSERT_NO_FATAL_FAILURE(kill_when_written(journal, written));
        ASSERT_TRUE(vt::mouse_up(1));
        EXPECT_EQ(program->errors().find("warning"), std::string::npos) << program->errors();
        if (!photo.empty() && c.change == nullptr)
            start({photo}, environment);
        else
            start_blank({}, environment);
        if (HasFatalFailure())
            return;
        const std::string kept = recovery_named(vt::Milliseconds(60000));
        EXPECT_TRUE(std::regex_match(kept, numbered_name)) << program->errors();
        EXPECT_EQ(kept.rfind(folder + "/", 0), 0u) << kept;
        EXPECT_EQ(differences(kept, shown, photo.empty() ? 0 : width, height), 0);
        EXPECT_EQ(size_of(journal), -1);
        unlink(kept.c_str());
        if (c.kill_a_save)
            kill_a_save(photo);
        if (HasFatalFailure())
            return;
        ASSERT_NO_FATAL_FAILURE(finish("no"));
        EXPECT_TRUE(journals(folder).empty());
        for (const std::string &file : {photo, other})
            unlink(file.c_str());
        working.clear();
    }
};

TEST_F(Pixodraw, StampsSquareAndSavesTheWholeCanvas)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(960, 60);  // plus: size 5, the bar grows to x 914
    ASSERT_TRUE(vt::wait_for_color(905, 170, WHITE));
    click_at(50, 60);   // square brush, chosen on the press
    click_at(400, 300); // stamped on the release
    ASSERT_TRUE(vt::wait_for_color(405, 305, BLACK));
    const std::vector<uint32_t> screen = vt::read_region(398, 298, 10, 10);
    ASSERT_EQ(screen.size(), 100u);
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 10; x++)
        {
            const bool inside = x >= 2 && x <= 7 && y >= 2 && y <= 7;
            EXPECT_EQ(screen[y * 10 + x] & RGB, (inside ? BLACK : WHITE) & RGB)
                << "screen (" << 398 + x << ", " << 298 + y << ")";
        }
    ASSERT_NO_FATAL_FAILURE(finish("yes", "drawing"));
    EXPECT_EQ(occurrences(program->output(), TIP), 1u);
    EXPECT_EQ(program->output(), std::string(TIP) + QUESTION + NAME_QUESTION);

    // The saved file, read by Pillow, is the computed interface plus the bar and the stamp,
    // the indicator showing the square brush at size 5.
    Image expected = expected_interface(BLACK, tool_state{5, 5, 5, TOOL_SQUARE, 1});
    expected.apply({0, WHITE, 901, 914, 145, 199, 1, 0, 0});
    expected.apply({0, BLACK, 400, 405, 300, 305, 1, 0, 0});
    const ReadBack saved = read_with_pillow(dir.path + "/drawing.bmp", dir.path + "/raw.rgb");
    ASSERT_EQ(saved.width, PAINT_WIDTH);
    ASSERT_EQ(saved.height, PAINT_HEIGHT);
    int wrong = 0;
    for (int y = 0; y < PAINT_HEIGHT; y++)
        for (int x = 0; x < PAINT_WIDTH; x++)
            if (saved.at(x, y) != (expected.at(x, y) & RGB) && ++wrong <= 10)
                ADD_FAILURE() << "saved pixel (" << x << ", " << y << ") is " << std::hex
                              << saved.at(x, y) << ", expected " << (expected.at(x, y) & RGB);
    EXPECT_EQ(wrong, 0);
}

TEST_F(Pixodraw, DragWithTheSquareBrushAtSizeZeroPaintsAnUnbrokenLine)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(50, 60);
    drag({{300, 400}, {700, 450}});  // one jump of 400 pixels
    ASSERT_TRUE(vt::wait_for_color(700, 450, BLACK));
    const std::vector<uint32_t> area = vt::read_region(211, 200, 629, 528);
    ASSERT_EQ(area.size(), 629u * 528u);
    auto black = [&](int x, int y) { return (area[(y - 200) * 629 + (x - 211)] & RGB) == (BLACK & RGB); };
    // One pixel per column from the press to the release, each next to the one before.
    int total = 0, previous_row = 400;
    for (int y = 200; y <= 727; y++)
        for (int x = 211; x <= 839; x++)
            total += black(x, y);
    EXPECT_EQ(total, 401);
    EXPECT_TRUE(black(300, 400));
    for (int x = 300; x <= 700; x++)
    {
        int row = -1;
        for (int y = 395; y <= 455; y++)
            if (black(x, y))
                row = y;
        ASSERT_NE(row, -1) << "gap at column " << x;
        EXPECT_LE(std::abs(row - previous_row), 1) << "column " << x;
        previous_row = row;
    }
    EXPECT_EQ(previous_row, 450);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, DragWithTheCircleAtSizeThirtyLeavesNoGap)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(160, 60);
    clicks_at(960, 60, 6);  // radius 30
    ASSERT_TRUE(vt::wait_for_color(939, 170, WHITE));
    const std::vector<std::pair<int, int>> path = {{300, 300}, {520, 340}, {750, 650}};
    drag(path);
    ASSERT_TRUE(vt::wait_for_color(780, 650, BLACK));
    const std::vector<uint32_t> pixels = screen();
    // Everything within 29 pixels of the path is covered by some disc.
    int white = 0;
    for (size_t i = 0; i + 1 < path.size(); i++)
    {
        const double dx = path[i + 1].first - path[i].first, dy = path[i + 1].second - path[i].second;
        const double length = std::hypot(dx, dy);
        for (double t = 0; t <= length; t += 1)
            for (int k = -29; k <= 29; k += 2)
            {
                const int x = int(std::lround(path[i].first + dx * t / length - dy * k / length));
                const int y = int(std::lround(path[i].second + dy * t / length + dx * k / length));
                white += pixels[y * PAINT_WIDTH + x] != (BLACK & RGB);
            }
    }
    EXPECT_EQ(white, 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, FillOfARingDrawnWithStrokesFillsItsInsideOnly)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(50, 60);
    click_at(960, 60);  // size 5: strokes 6 pixels wide
    drag({{300, 300}, {500, 300}, {500, 500}, {300, 500}, {300, 300}});
    ASSERT_TRUE(vt::wait_for_color(505, 505, BLACK));
    click_at(260, 60);  // the paint pot: fill
    click_at(500, 40);  // a palette colour
    const uint32_t picked = palette_color(70, 40);
    click_at(400, 400);
    ASSERT_TRUE(vt::wait_for_color(400, 400, picked));
    const std::vector<uint32_t> pixels = screen();
    auto at = [&](int x, int y) { return pixels[y * PAINT_WIDTH + x]; };
    int inside = 0;
    for (int y = 306; y <= 499; y++)
        for (int x = 306; x <= 499; x++)
            inside += at(x, y) == (picked & RGB);
    EXPECT_EQ(inside, 194 * 194);
    const std::pair<int, int> ring[] = {{300, 300}, {305, 400}, {500, 505}, {400, 303}};
    for (const auto &p : ring)
        EXPECT_EQ(at(p.first, p.second), BLACK & RGB) << p.first << "," << p.second;
    const std::pair<int, int> outside[] = {{299, 299}, {506, 400}, {250, 650}, {211, 200}, {839, 727}};
    for (const auto &p : outside)
        EXPECT_EQ(at(p.first, p.second), WHITE & RGB) << p.first << "," << p.second;
    EXPECT_EQ(at(210, 400), GREY & RGB);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, UndoGivesBackTheScreenAndRedoTheStamp)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(50, 60);
    clicks_at(960, 60, 3);
    ASSERT_TRUE(vt::wait_for_color(924, 170, WHITE));
    const std::vector<uint32_t> before = screen();
    click_at(400, 300);
    ASSERT_TRUE(vt::wait_for_color(415, 315, BLACK));
    const std::vector<uint32_t> after = screen();
    ASSERT_TRUE(vt::key("ctrl+z"));
    EXPECT_TRUE(wait_for_screen(before));
    ASSERT_TRUE(vt::key("ctrl+y"));
    EXPECT_TRUE(wait_for_screen(after));
    ASSERT_TRUE(vt::key("ctrl+z"));
    EXPECT_TRUE(wait_for_screen(before));
    ASSERT_TRUE(vt::key("ctrl+shift+z"));
    EXPECT_TRUE(wait_for_screen(after));
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, HundredFiftyStampsThenHundredUndosGiveTheFiftieth)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(50, 60);
    click_at(960, 60);  // size 5
    ASSERT_TRUE(vt::wait_for_color(905, 170, WHITE));
    // Stamps n = 0..149 on a grid, none over another, a row of 15 per xdotool run.
    auto stamps = [&](int first, int last) {
        for (int row = first; row <= last; row += 15)
        {
            std::vector<std::string> arguments;
            for (int n = row; n <= last && n < row + 15; n++)
                arguments.insert(arguments.end(), {"mousemove", std::to_string(220 + 40 * (n % 15)),
                                                   std::to_string(210 + 50 * (n / 15)), "click", "1"});
            ASSERT_TRUE(vt::xdotool(arguments));
        }
        ASSERT_TRUE(vt::wait_for_color(225 + 40 * (last % 15), 215 + 50 * (last / 15), BLACK));
    };
    ASSERT_NO_FATAL_FAILURE(stamps(0, 49));
    const std::vector<uint32_t> fiftieth = screen();
    ASSERT_NO_FATAL_FAILURE(stamps(50, 149));
    ASSERT_TRUE(vt::xdotool({"key", "--repeat", "100", "--delay", "10", "ctrl+z"}));
    EXPECT_TRUE(wait_for_screen(fiftieth));
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, PaletteColourDiscAndEraser)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(160, 60);  // circle
    click_at(500, 40);  // palette pick
    click_at(960, 60);  // size 5
    click_at(300, 300);
    const uint32_t picked = palette_color(70, 40);
    ASSERT_TRUE(vt::wait_for_color(305, 300, picked));
    const std::vector<uint32_t> disc = vt::read_region(295, 295, 11, 11);
    ASSERT_EQ(disc.size(), 121u);
    EXPECT_EQ(std::count_if(disc.begin(), disc.end(),
                            [&](uint32_t c) { return (c & RGB) == (picked & RGB); }),
              97);
    EXPECT_EQ(disc[(300 - 295 + 2) * 11 + (300 - 295 + 3)] & RGB, picked & RGB);
    click_at(50, 60);   // square brush: colour back to black
    click_at(500, 300);
    ASSERT_TRUE(vt::wait_for_color(505, 305, BLACK));
    click_at(700, 60);  // eraser over the disc's centre
    click_at(300, 300);
    ASSERT_TRUE(vt::wait_for_color(300, 300, WHITE));
    EXPECT_TRUE(vt::wait_for_color(299, 300, picked));
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// Every way out reaches the same question; only the exact answer yes saves.
TEST_F(Pixodraw, EndingsAndAnswersThatSaveNothing)
{
    enum Ending
    {
        ESCAPE,
        DOOR,
        CLOSE_REQUEST
    };
    struct Case
    {
        Ending ending;
        const char *answer;
    } cases[] = {{ESCAPE, "no"}, {DOOR, "Yes"}, {CLOSE_REQUEST, "yes "}, {DOOR, ""}, {CLOSE_REQUEST, "y"}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(std::string("answer '") + c.answer + "', ending " + std::to_string(c.ending));
        ASSERT_NO_FATAL_FAILURE(start_blank());
        if (c.ending == ESCAPE)
        {
            ASSERT_TRUE(move_to(600, 400));
            ASSERT_TRUE(vt::key("Escape"));
        }
        else if (c.ending == DOOR)
        {
            ASSERT_TRUE(move_to(885, 654));
            ASSERT_TRUE(vt::mouse_down(1));  // ends on the press, before any release
        }
        else
        {
            ASSERT_TRUE(vt::send_close_request(window));
        }
        ASSERT_NO_FATAL_FAILURE(answer_dialogue(c.answer));
        if (c.ending == DOOR)
        {
            ASSERT_TRUE(vt::mouse_up(1));
        }
        EXPECT_EQ(program->output(), std::string(TIP) + QUESTION);
        EXPECT_EQ(files_in(dir.path), std::vector<std::string>{"img"});
    }
}

TEST_F(Pixodraw, RightButtonOnTheDoorDoesNothing)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(950, 760, 3);
    // Still running: a later plus click shows on the bar.
    click_at(960, 60);
    ASSERT_TRUE(vt::wait_for_color(905, 170, WHITE));
    EXPECT_TRUE(program->running());
    EXPECT_EQ(occurrences(program->output(), QUESTION), 0u);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, LoadsThePictureGivenAsArgumentWithoutTip)
{
    const std::string picture = dir.path + "/picture.bmp";
    ASSERT_TRUE(write_test_bmp(picture, PAINT_WIDTH, PAINT_HEIGHT, picture_pattern));
    ASSERT_NO_FATAL_FAILURE(start({picture}));
    ASSERT_TRUE(vt::wait_for_color(1049, 799, picture_pattern(1049, 799)));
    const std::vector<uint32_t> screen = vt::read_region(0, 0, PAINT_WIDTH, PAINT_HEIGHT);
    ASSERT_EQ(screen.size(), static_cast<size_t>(PAINT_WIDTH) * PAINT_HEIGHT);
    int wrong = 0;
    for (int y = 0; y < PAINT_HEIGHT; y++)
        for (int x = 0; x < PAINT_WIDTH; x++)
            wrong += (screen[y * PAINT_WIDTH + x] & RGB) != (picture_pattern(x, y) & RGB);
    EXPECT_EQ(wrong, 0) << "no interface is drawn over a loaded picture";
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    EXPECT_EQ(program->output(), QUESTION);
}

// Picture files from another writer (ImageMagick): its default BMP output (124-byte
// header, 24 bits), BMP3 (40-byte header), 32 bits with bit fields, a top-down file made
// from its BMP3 output by reversing the rows, an 8-bit palette file, an RLE8 file, a PNG
// and a PNG named .bmp. Each is shown through the command line with the right pixels:
// 7 x 5 pixels, so rows need padding at 24 bits.
TEST_F(Pixodraw, LoadsBmpFilesWrittenByImageMagick)
{
    const int width = 7, height = 5;
    std::ofstream source(dir.path + "/source.ppm");
    source << "P3\n" << width << " " << height << "\n255\n";
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            const uint32_t pixel = picture_pattern(x, y);
            source << (pixel & 0xFF) << " " << ((pixel >> 8) & 0xFF) << " " << ((pixel >> 16) & 0xFF) << "\n";
        }
    source.close();
    const std::string ppm = dir.path + "/source.ppm";
    const std::vector<std::vector<std::string>> conversions = {
        {"convert", ppm, dir.path + "/default.bmp"},
        {"convert", ppm, "bmp3:" + dir.path + "/bmp3.bmp"},
        {"convert", ppm, "-alpha", "set", "-type", "TrueColorAlpha", dir.path + "/alpha32.bmp"},
        {"convert", ppm, "-type", "Palette", "-compress", "None", dir.path + "/palette.bmp"},
        {"convert", ppm, "-type", "Palette", "-compress", "RLE", "bmp3:" + dir.path + "/rle8.bmp"},
        {"convert", ppm, dir.path + "/picture.png"},
        {"convert", ppm, "png:" + dir.path + "/png-named.bmp"},
    };
    for (const auto &conversion : conversions)
    {
        const vt::CommandResult run = vt::run_command(conversion);
        ASSERT_TRUE(run.succeeded()) << run.describe();
    }
    const char *flip =
        "import struct, sys\n"
        "d = bytearray(open(sys.argv[1], 'rb').read())\n"
        "w, h = struct.unpack('<ii', d[18:26]); row = (w * 3 + 3) // 4 * 4\n"
        "rows = [d[54 + i * row:54 + (i + 1) * row] for i in range(h)]\n"
        "d[22:26] = struct.pack('<i', -h); d[54:] = b''.join(reversed(rows))\n"
        "open(sys.argv[2], 'wb').write(d)\n";
    const vt::CommandResult flipped =
        vt::run_command({"/usr/bin/python3", "-c", flip, dir.path + "/bmp3.bmp", dir.path + "/topdown.bmp"});
    ASSERT_TRUE(flipped.succeeded()) << flipped.describe();

    for (const char *name : {"default.bmp", "bmp3.bmp", "alpha32.bmp", "topdown.bmp", "palette.bmp",
                             "rle8.bmp", "picture.png", "png-named.bmp"})
    {
        SCOPED_TRACE(name);
        // ImageMagick's own decode of the file: its palette files may merge close colours.
        const vt::CommandResult decoded =
            vt::run_command({"convert", dir.path + "/" + name, "-depth", "8", "rgb:-"});
        ASSERT_TRUE(decoded.succeeded()) << decoded.describe();
        ASSERT_EQ(decoded.output.size(), static_cast<size_t>(width) * height * 3);
        std::vector<uint32_t> expected;
        for (size_t i = 0; i + 2 < decoded.output.size(); i += 3)
            expected.push_back(uint8_t(decoded.output[i]) | uint8_t(decoded.output[i + 1]) << 8 |
                               uint8_t(decoded.output[i + 2]) << 16);
        ASSERT_NO_FATAL_FAILURE(start({dir.path + "/" + name}));
        // A picture smaller than the drawing area shows whole, centred in it.
        const int left = 211 + (629 - width) / 2, top = 200 + (528 - height) / 2;
        ASSERT_TRUE(vt::wait_for_color(left + width - 1, top + height - 1, expected.back() | 0xFF000000u));
        const std::vector<uint32_t> screen = vt::read_region(left, top, width, height);
        ASSERT_EQ(screen.size(), static_cast<size_t>(width) * height);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
            {
                EXPECT_EQ(screen[y * width + x] & RGB, expected[y * width + x]) << "(" << x << ", " << y << ")";
                const bool quantised = std::string(name) == "palette.bmp" || std::string(name) == "rle8.bmp";
                if (!quantised)
                {
                    EXPECT_EQ(expected[y * width + x], picture_pattern(x, y) & RGB);
                }
            }
        ASSERT_NO_FATAL_FAILURE(finish("no"));
        EXPECT_EQ(program->output(), QUESTION);
    }
}

// A photo of 12 megapixels (48 MB of pixels, more than the library's default arena)
// opens as a document.
TEST_F(Pixodraw, OpensAPhotoLargerThanTheDefaultArena)
{
    const char *make =
        "import sys\n"
        "from PIL import Image\n"
        "im = Image.new('RGB', (4000, 3000), (10, 200, 30))\n"
        "im.putpixel((5, 5), (255, 0, 0))\n"
        "im.save(sys.argv[1])\n";
    const std::string photo = dir.path + "/photo.png";
    const vt::CommandResult made = vt::run_command({"/usr/bin/python3", "-c", make, photo});
    ASSERT_TRUE(made.succeeded()) << made.describe();
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(vollo_picture_size(photo.c_str(), &width, &height));
    EXPECT_EQ(width, 4000u);
    EXPECT_EQ(height, 3000u);
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    ASSERT_TRUE(vt::wait_for_color(500, 400, 0xFF1EC80Au)) << program->errors();
    ASSERT_TRUE(vt::xdotool({"key", "ctrl+1", "key", "Home"}));
    ASSERT_TRUE(vt::wait_for_color(211 + 5, 200 + 5, 0xFF0000FFu));
    EXPECT_TRUE(vt::wait_for_color(211 + 6, 200 + 5, 0xFF1EC80Au));
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, TwoArgumentsGiveTheBlankCanvasAndTheTip)
{
    ASSERT_NO_FATAL_FAILURE(start_blank({"first.bmp", "second.bmp"}));
    ASSERT_TRUE(vt::wait_for_color(430, 0, palette_color(0, 0)));
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    EXPECT_EQ(program->output(), std::string(TIP) + QUESTION);
}

// A picture smaller than the drawing area opens as a document, shown exactly and centred
// on a plain backdrop, with the interface around it. A stamp reaching past it is cut at
// its edge, a press beside it paints nothing, and the dialogue saves the picture itself.
TEST_F(Pixodraw, SmallDocumentShowsExactlyCentredAndSavesItself)
{
    const std::string picture = dir.path + "/small.bmp";
    ASSERT_TRUE(write_test_bmp(picture, 300, 200, picture_pattern));
    ASSERT_NO_FATAL_FAILURE(start({picture}));
    const int left = 164, top = 164;  // (629 - 300) / 2, (528 - 200) / 2
    auto shown = [&](int stamp_x0, int stamp_y0) {
        return [=](int u, int v) {
            const int x = u - left, y = v - top;
            if (x < 0 || y < 0 || x >= 300 || y >= 200)
                return BACKDROP;
            return x >= stamp_x0 && y >= stamp_y0 ? BLACK : picture_pattern(x, y);
        };
    };
    ASSERT_TRUE(wait_for_area(shown(300, 200))) << program->errors();
    const Image interface = expected_interface(BLACK);
    const std::vector<uint32_t> whole = screen();
    int wrong = 0;
    for (int y = 0; y < PAINT_HEIGHT; y++)
        for (int x = 0; x < PAINT_WIDTH; x++)
            if (!(x >= 211 && x <= 839 && y >= 200 && y <= 727) && !(x >= 316 && x <= 428 && y <= 120))
                wrong += whole[y * PAINT_WIDTH + x] != (interface.pixels[y * PAINT_WIDTH + x] & RGB);
    EXPECT_EQ(wrong, 0) << "the interface is drawn as at a blank start";
    click_at(50, 60);
    clicks_at(960, 85, 31);  // size 150: a 151 x 151 square
    click_at(211 + left + 250, 200 + top + 150);
    ASSERT_TRUE(wait_for_area(shown(250, 150)));
    ASSERT_NO_FATAL_FAILURE(finish("yes", "small-out"));
    const ReadBack saved = read_with_pillow(dir.path + "/small-out.bmp", dir.path + "/raw.rgb");
    ASSERT_EQ(saved.width, 300);
    ASSERT_EQ(saved.height, 200);
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 300; x++)
            ASSERT_EQ(saved.at(x, y), shown(250, 150)(x + left, y + top) & RGB) << "(" << x << ", " << y << ")";
}

// A picture given through a FIFO is read once: it opens as a document, and no second
// open waits for a writer that has gone.
TEST_F(Pixodraw, PictureFromAFifoOpensAsADocument)
{
    const std::string source = dir.path + "/small.bmp", fifo = dir.path + "/pipe";
    ASSERT_TRUE(write_test_bmp(source, 300, 200, picture_pattern));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        std::ifstream in(source, std::ios::binary);
        std::ofstream(fifo, std::ios::binary) << in.rdbuf();
    });
    ASSERT_NO_FATAL_FAILURE(start({fifo}));
    writer.join();
    const int left = 164, top = 164;
    EXPECT_TRUE(wait_for_area([&](int u, int v) {
        const int x = u - left, y = v - top;
        return x < 0 || y < 0 || x >= 300 || y >= 200 ? BACKDROP : picture_pattern(x, y);
    })) << program->errors();
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// A 1600 x 1200 PNG opens at fit (centred, 629 x 472) with the interface drawn, and the
// view keys, the wheel and the middle button move it, stopping at its edges: after each
// input the area shows picture pixel floor((u - left) / zoom) at offset u (averages of
// 2 x 2 pixels at 50 %).
TEST_F(Pixodraw, DocumentViewZoomsAndScrolls)
{
    const std::string photo = make_png(1600, 1200);
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    ASSERT_TRUE(vt::wait_for_color(50, 60, BLACK));
    ASSERT_TRUE(vt::wait_for_color(951, 700, GREY));
    ASSERT_TRUE(vt::wait_for_color(500, 227, BACKDROP)) << program->errors();
    EXPECT_NE(*vt::read_pixel(500, 228) & RGB, BACKDROP);
    EXPECT_NE(*vt::read_pixel(500, 699) & RGB, BACKDROP);
    EXPECT_EQ(*vt::read_pixel(500, 700) & RGB, BACKDROP);
    struct Case
    {
        std::vector<std::string> input;
        double zoom;
        int left, top;
    } cases[] = {
        {{"key", "ctrl+1", "key", "Home"}, 1, 0, 0},
        {{"key", "Left", "key", "Up"}, 1, 0, 0},
        {{"key", "Right"}, 1, -64, 0},
        {{"key", "Down"}, 1, -64, -64},
        {{"key", "ctrl+plus"}, 2, -442, -392},  // about the area's centre (525, 464)
        {{"key", "ctrl+minus"}, 1, -64, -64},
        {{"mousemove", "500", "400", "mousedown", "2", "mousemove", "450", "380", "mousemove",
          "400", "350", "mouseup", "2"}, 1, -164, -114},
        {{"click", "5"}, 1, -164, -178},
        {{"keydown", "shift", "click", "5", "keyup", "shift"}, 1, -228, -178},
        {{"keydown", "ctrl", "click", "4", "keyup", "ctrl"}, 2, -645, -506},  // about (400, 350)
        {{"key", "ctrl+minus", "key", "ctrl+minus"}, 0.5, 0, 0},
        {{"key", "ctrl+equal", "key", "Home"}, 1, 0, 0},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.input[1]);
        ASSERT_TRUE(vt::xdotool(c.input));
        EXPECT_TRUE(wait_for_area([&](int u, int v) {
            if (c.zoom >= 1)
                return picture_pattern(int((u - c.left) / c.zoom), int((v - c.top) / c.zoom)) & RGB;
            const int x = 2 * (u - c.left), y = 2 * (v - c.top);
            uint32_t mean = 0;
            for (int shift = 0; shift < 24; shift += 8)
            {
                uint32_t sum = 2;
                for (int k = 0; k < 4; k++)
                    sum += (picture_pattern(x + k % 2, y + k / 2) >> shift) & 0xFF;
                mean |= (sum / 4) << shift;
            }
            return mean;
        }));
    }
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// At 100 %, a stroke of the square brush after three plus clicks (16 x 16 picture
// pixels), then Ctrl+S: the PNG keeps its size and only the stroke's pixels changed.
TEST_F(Pixodraw, DocumentStrokeIsSavedBackIntoItsFile)
{
    const std::string photo = make_png(1600, 1200);
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    ASSERT_TRUE(vt::wait_for_color(500, 227, BACKDROP)) << program->errors();
    ASSERT_TRUE(vt::xdotool({"key", "ctrl+1", "key", "Home"}));
    ASSERT_TRUE(vt::wait_for_color(211 + 100, 200 + 100, picture_pattern(100, 100)));
    click_at(50, 60);
    clicks_at(960, 85, 3);
    drag({{400, 300}, {430, 300}, {460, 300}});
    ASSERT_TRUE(vt::wait_for_color(460 + 15, 315, BLACK));
    ASSERT_TRUE(vt::key("ctrl+s"));
    ASSERT_TRUE(program->wait_for_errors("pixodraw: saved " + photo + "\n")) << program->errors();
    const ReadBack saved = read_with_pillow(photo, dir.path + "/raw.rgb");
    ASSERT_EQ(saved.width, 1600);
    ASSERT_EQ(saved.height, 1200);
    int wrong = 0;
    for (int y = 0; y < 1200; y++)
        for (int x = 0; x < 1600; x++)
        {
            const bool stroke = x >= 189 && x <= 249 + 15 && y >= 100 && y <= 115;
            wrong += saved.at(x, y) != (stroke ? BLACK & RGB : picture_pattern(x, y) & RGB);
        }
    EXPECT_EQ(wrong, 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, StampsAtTheBottomEdgeAreClipped)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(700, 60);  // eraser
    clicks_at(960, 60, 30);
    click_at(160, 60);  // circle, radius 150, centred near the bottom
    click_at(500, 727);
    ASSERT_TRUE(vt::wait_for_color(500, 799, BLACK));
    click_at(50, 60);
    click_at(840, 727);  // square reaching x 990 and beyond the last row
    ASSERT_TRUE(vt::wait_for_color(990, 799, BLACK));
    ASSERT_NO_FATAL_FAILURE(finish("yes", "edge"));
    const ReadBack saved = read_with_pillow(dir.path + "/edge.bmp", dir.path + "/raw.rgb");
    ASSERT_EQ(saved.width, PAINT_WIDTH);
    ASSERT_EQ(saved.height, PAINT_HEIGHT);
    EXPECT_EQ(saved.at(500, 799), BLACK & RGB);
    EXPECT_EQ(saved.at(500, 577), BLACK & RGB);  // the disc's top: 727 - 150
    EXPECT_EQ(saved.at(500, 576), WHITE & RGB);
    EXPECT_EQ(saved.at(840, 727), BLACK & RGB);
    EXPECT_EQ(saved.at(990, 799), BLACK & RGB);
    EXPECT_EQ(saved.at(991, 799), GREY & RGB);
}

// Started from a folder without img/, the program finds the pictures installed with it
// (here: the img folder of the source tree, beside the build folder).
TEST_F(Pixodraw, FindsItsPicturesFromAnyWorkingDirectory)
{
    const ReadBack palette =
        read_with_pillow(PAINT_SOURCE_DIR "/img/degrade.bmp", dir.path + "/palette.rgb");
    const ReadBack pot =
        read_with_pillow(PAINT_SOURCE_DIR "/img/potdepeinture.bmp", dir.path + "/pot.rgb");
    ASSERT_GE(palette.width, 212);
    ASSERT_GE(palette.height, 123);
    ASSERT_GE(pot.width, 62);
    ASSERT_GE(pot.height, 105);
    ASSERT_EQ(unlink((dir.path + "/img/degrade.bmp").c_str()), 0);
    ASSERT_EQ(unlink((dir.path + "/img/potdepeinture.bmp").c_str()), 0);
    ASSERT_EQ(rmdir((dir.path + "/img").c_str()), 0);
    ASSERT_NO_FATAL_FAILURE(start_blank());
    const std::vector<uint32_t> screen = vt::read_region(0, 0, PAINT_WIDTH, 123);
    ASSERT_EQ(screen.size(), static_cast<size_t>(PAINT_WIDTH) * 123);
    int wrong = 0;
    for (int y = 0; y < 123; y++)
        for (int x = 0; x < 212; x++)
            wrong += (screen[y * PAINT_WIDTH + 430 + x] & RGB) != palette.at(x, y);
    for (int y = 0; y < 105; y++)
        for (int x = 0; x < 62; x++)
            wrong += (screen[y * PAINT_WIDTH + 220 + x] & RGB) != pot.at(x, y);
    EXPECT_EQ(wrong, 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, PictureThatCannotBeLoadedIsAnError)
{
    ASSERT_TRUE(write_test_bmp(dir.path + "/cut.bmp", 50, 40, picture_pattern));
    ASSERT_EQ(truncate((dir.path + "/cut.bmp").c_str(), 54 + 152 * 20), 0);
    std::ofstream(dir.path + "/text.bmp") << "This is not a picture at all: only text, long enough to fill a whole header.\n";
    struct Case
    {
        std::string path;
        std::string reason;
    } cases[] = {{dir.path + "/missing.bmp", "No such file or directory"},
                 {dir.path + "/text.bmp", "signature"},
                 {dir.path + "/cut.bmp", "cut short"},
                 {dir.path, "it is a folder"}};
    for (const Case &c : cases)
    {
        const vt::CommandResult run = vt::run_command({PIXODRAW_BINARY, c.path});
        EXPECT_EQ(run.exit_code, 1) << run.describe();
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(occurrences(run.errors, "\n"), 1u) << run.errors;
        EXPECT_NE(run.errors.find(c.path), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(c.reason), std::string::npos) << run.errors;
        EXPECT_EQ(run.output, "");
    }
}

// Hostile headers given on the command line: one clear line on standard error and
// exit status 1, never a crash and never a window.
TEST_F(Pixodraw, HostileHeadersAreAnErrorNotACrash)
{
    struct Patch
    {
        const char *name;
        size_t offset;
        uint32_t value;
        size_t bytes;
    } patches[] = {{"huge-width", 18, 0x7FFFFFFFu, 4},  {"huge-height", 22, 0x7FFFFFFFu, 4},
                   {"zero-width", 18, 0, 4},            {"zero-height", 22, 0, 4},
                   {"negative-width", 18, 0xFFFFFFFBu, 4}, {"both-huge", 18, 0x10000, 4},
                   {"depth-8", 28, 8, 2},               {"depth-64", 28, 64, 2},
                   {"depth-0", 28, 0, 2},               {"offset-past-end", 10, 0x00100000u, 4},
                   {"compressed", 30, 1, 4},            {"short-header", 14, 12, 4}};
    for (const Patch &patch : patches)
    {
        SCOPED_TRACE(patch.name);
        const std::string path = dir.path + "/" + patch.name + ".bmp";
        ASSERT_TRUE(write_test_bmp(path, 4, 4, picture_pattern));
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(patch.offset));
        for (size_t i = 0; i < patch.bytes; i++)
            file.put(static_cast<char>((patch.value >> (8 * i)) & 0xFF));
        if (std::string(patch.name) == "both-huge")
        {
            file.seekp(22);
            for (int i = 0; i < 4; i++)
                file.put(static_cast<char>((0x10000 >> (8 * i)) & 0xFF));
        }
        file.close();
        const vt::CommandResult run = vt::run_command({PIXODRAW_BINARY, path});
        EXPECT_EQ(run.exit_code, 1) << run.describe();
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(occurrences(run.errors, "\n"), 1u) << run.errors;
        EXPECT_NE(run.errors.find(path), std::string::npos) << run.errors;
        EXPECT_EQ(run.output, "");
    }
}

TEST_F(Pixodraw, NoDisplayIsAnErrorNotACrash)
{
    const std::string picture = dir.path + "/picture.bmp";
    ASSERT_TRUE(write_test_bmp(picture, 30, 20, picture_pattern));
    const std::vector<std::vector<std::string>> commands = {
        {"env", "-u", "DISPLAY", PIXODRAW_BINARY},
        {"env", "DISPLAY=:4097", PIXODRAW_BINARY},
        {"env", "-u", "DISPLAY", PIXODRAW_BINARY, picture},
    };
    for (const auto &command : commands)
    {
        const vt::CommandResult run = vt::run_command(command);
        EXPECT_EQ(run.exit_code, 1) << run.describe();
        EXPECT_EQ(run.signal, 0);
        EXPECT_NE(run.errors.find("cannot open the window"), std::string::npos) << run.errors;
        EXPECT_EQ(occurrences(run.output, QUESTION), 0u);
    }
}

// Ctrl+S saves the whole canvas, as shown, in a numbered file of the working directory
// and goes on; a second one never replaces the first. Nothing changed since: the end
// of input leaves no recovery file.
TEST_F(Pixodraw, ControlSSavesTheScreenWithoutLeaving)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_NO_FATAL_FAILURE(stamp_square(400, 300));
    const std::vector<uint32_t> shown = screen();
    ASSERT_TRUE(move_to(600, 400));
    ASSERT_TRUE(vt::key("ctrl+s"));
    ASSERT_TRUE(program->wait_for_errors(".bmp\n")) << program->errors();
    const std::string first = path_after(program->errors(), "pixodraw: saved ");
    EXPECT_TRUE(std::regex_match(first, numbered_name)) << first;
    EXPECT_EQ(first.rfind(dir.path + "/", 0), 0u) << first;
    EXPECT_EQ(differences(first, shown), 0);

    ASSERT_TRUE(vt::key("ctrl+s"));
    ASSERT_TRUE(vt::wait_until([&] { return occurrences(program->errors(), "pixodraw: saved ") == 2; }));
    const std::string second = path_after(program->errors(), "pixodraw: saved ");
    EXPECT_NE(second, first);
    EXPECT_EQ(differences(second, shown), 0);
    EXPECT_TRUE(program->running());
    // S alone saves nothing.
    ASSERT_TRUE(vt::key("s"));
    program->close_input();
    ASSERT_TRUE(vt::key("Escape"));
    ASSERT_TRUE(program->wait_exit());
    EXPECT_EQ(program->exit_code(), 0);
    EXPECT_EQ(program->output(), std::string(TIP) + QUESTION);
    EXPECT_EQ(occurrences(program->errors(), "\n"), 2u) << program->errors();
    const std::vector<std::string> files = files_in(dir.path);
    EXPECT_EQ(std::count_if(files.begin(), files.end(),
                            [](const std::string &name) { return name.rfind("pixodraw-", 0) == 0; }),
              2);
}

// Control released while another window has the focus is released for PIXODRAW too:
// back in its window, a plain S saves nothing and a plain Z undoes nothing.
TEST_F(Pixodraw, ControlReleasedInAnotherWindowLeavesNoShortcutBehind)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_NO_FATAL_FAILURE(stamp_square(400, 300));
    vt::OtherWindow other;
    ASSERT_TRUE(other.open(1100, 100, 100, 100));
    ASSERT_TRUE(move_to(600, 400));
    ASSERT_TRUE(vt::focus_window(window));
    ASSERT_TRUE(vt::key_down("ctrl"));
    ASSERT_TRUE(vt::focus_window(other.id()));
    ASSERT_TRUE(vt::key_up("ctrl"));
    ASSERT_TRUE(vt::focus_window(window));
    ASSERT_TRUE(vt::key("s"));
    ASSERT_TRUE(vt::key("z"));
    click_at(960, 60);  // comes after the keys: once the bar grows, they have been handled
    ASSERT_TRUE(vt::wait_for_color(917, 170, WHITE));
    EXPECT_TRUE(vt::wait_for_color(405, 305, BLACK)) << "the stamp was undone";
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    EXPECT_EQ(program->errors(), "");
    EXPECT_EQ(files_in(dir.path), std::vector<std::string>{"img"});
}

// Standard input at its end from the start, and a hang-up on the way: the drawing is
// kept in a recovery file equal to the screen, and the run ends well.
TEST_F(Pixodraw, EndOfInputKeepsTheDrawingInARecoveryFile)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    program->close_input();
    ASSERT_NO_FATAL_FAILURE(stamp_square(500, 500));
    program->kill_now(SIGHUP);  // the terminal went away: the window stays
    click_at(960, 60);          // and still answers
    ASSERT_TRUE(vt::wait_for_color(917, 170, WHITE));  // the bar reaches x 919
    EXPECT_TRUE(program->running());
    const std::vector<uint32_t> shown = screen();
    ASSERT_TRUE(move_to(600, 400));
    ASSERT_TRUE(vt::key("Escape"));
    ASSERT_TRUE(program->wait_exit());
    EXPECT_EQ(program->exit_code(), 0) << program->errors();
    EXPECT_EQ(program->output(), std::string(TIP) + QUESTION);
    const std::string kept =
        path_after(program->errors(), "pixodraw: the drawing was not saved; it is kept in ");
    EXPECT_TRUE(std::regex_match(kept, numbered_name)) << program->errors();
    EXPECT_EQ(differences(kept, shown), 0);
}

const char KEPT[] = "pixodraw: the drawing was not saved; it is kept in ";

// SIGINT while drawing, SIGTERM while the dialogue waits and an answer that is not
// exactly yes or no: each keeps the drawing in a recovery file equal to the screen,
// with the exit status of the signal, and leaves no journal.
TEST_F(Pixodraw, StopSignalsAndUnclearAnswersKeepTheDrawing)
{
    struct Case
    {
        int signal;          // sent while drawing, or 0
        int dialogue_signal; // sent while the question waits, or 0
        const char *answer;  // given instead, or null
        int status;
    } cases[] = {{SIGINT, 0, nullptr, 130}, {0, SIGTERM, nullptr, 143}, {0, 0, "y", 0}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.status);
        ASSERT_NO_FATAL_FAILURE(start_blank());
        ASSERT_NO_FATAL_FAILURE(stamp_square(450, 350));
        const std::vector<uint32_t> shown = screen();
        if (c.signal != 0)
            program->kill_now(c.signal);
        else
        {
            ASSERT_TRUE(move_to(600, 400));
            ASSERT_TRUE(vt::key("Escape"));
            ASSERT_TRUE(program->wait_for_output(QUESTION));
            if (c.answer != nullptr)
                ASSERT_TRUE(program->write_input(std::string(c.answer) + "\n"));
            else
                program->kill_now(c.dialogue_signal);
        }
        ASSERT_TRUE(program->wait_exit());
        EXPECT_EQ(program->exit_code(), c.status) << program->errors();
        EXPECT_EQ(program->output(), std::string(TIP) + (c.signal != 0 ? "" : QUESTION));
        const std::string kept = path_after(program->errors(), KEPT);
        EXPECT_TRUE(std::regex_match(kept, numbered_name)) << program->errors();
        EXPECT_EQ(differences(kept, shown), 0);
        EXPECT_TRUE(journals(dir.path).empty());
        unlink(kept.c_str());
    }
}

// Sessions killed outright, a stamp finished and a stroke under way, on a blank start
// and on JPEG and PNG documents of three sizes (compared at 100 %, from the picture's
// top-left corner). On the largest JPEG and a large PNG, a save killed while it writes
// leaves the file as it was, and no file behind after the next save; and a long stroke, written as it goes in
// several records, comes back whole. Three tables, so that each keeps within its time
// under the sanitizers.
void run_kill_cases(Pixodraw &fixture, const std::vector<KillCase> &cases)
{
    for (const KillCase &c : cases)
    {
        SCOPED_TRACE(c.photo != nullptr ? c.photo : "blank start");
        ASSERT_NO_FATAL_FAILURE(fixture.kill_and_recover(c));
    }
}

TEST_F(Pixodraw, KilledSessionIsRecoveredAsTheScreenShowedIt)
{
    run_kill_cases(*this, {
                              {nullptr, nullptr, false, false, nullptr, false, false},
                              {"640x480.jpg", nullptr, false, false, nullptr, false, false},
                              {"3088x2056.jpg", nullptr, false, false, nullptr, false, false},
                              {"6000x4000.jpg", nullptr, false, false, nullptr, true, false},
                          });
}

TEST_F(Pixodraw, KilledPngSessionIsRecoveredAsTheScreenShowedIt)
{
    run_kill_cases(*this, {
                              {"640x480.png", nullptr, false, false, nullptr, false, false},
                              {"3088x2056.png", nullptr, false, false, nullptr, true, false},
                              {"6000x4000.jpg", nullptr, false, false, nullptr, false, true},
                          });
}

TEST_F(Pixodraw, KilledLargePngSessionIsRecoveredAsTheScreenShowedIt)
{
    run_kill_cases(*this, {{"6000x4000.png", nullptr, false, false, nullptr, false, false}});
}

// The same through what befalls a journal: undos and redos make it grow far past what it
// holds and it is trimmed; the picture file is rewritten in place, touched, replaced or
// removed by another program; a second session starts while it is locked; the working
// folder takes no journal, at the start (read-only: $HOME, else $TMPDIR) or later (its
// disk full: $HOME), and the recovery file is kept beside the journal.
TEST_F(Pixodraw, JournalRecoversThroughTrimsChangesLocksAndFallbacks)
{
    const char *rewritten = "import sys\nb = open(sys.argv[2], 'rb').read()\n"
                            "f = open(sys.argv[1], 'r+b'); f.write(b); f.truncate(); f.close()\n";
    const KillCase cases[] = {
        {nullptr, nullptr, true, false, nullptr, false, false},
        {"640x480.png", nullptr, true, false, nullptr, false, false},
        {"640x480.png", rewritten, false, false, nullptr, false, false},
        {"640x480.png", "import os, sys\nos.utime(sys.argv[1])\n", false, false, nullptr, false, false},
        {"640x480.png", "import os, sys\nos.rename(sys.argv[2], sys.argv[1])\n", false, false, nullptr, false, false},
        {"640x480.png", "import os, sys\nos.remove(sys.argv[1])\n", false, false, nullptr, false, false},
        {nullptr, nullptr, false, true, nullptr, false, false},
        {nullptr, nullptr, false, false, "home", false, false},
        {nullptr, nullptr, false, false, "tmp", false, false},
        {nullptr, nullptr, false, false, "later", false, false},
    };
    int row = 0;
    for (const KillCase &c : cases)
    {
        SCOPED_TRACE(row++);
        ASSERT_NO_FATAL_FAILURE(kill_and_recover(c));
    }
}

// Ctrl+E of a 6000 x 4000 document encodes while the window goes on: a view key shows
// before the export is done, and the file holds the whole picture.
TEST_F(Pixodraw, ExportOfALargeDocumentKeepsFramesComing)
{
    const std::string photo = dir.path + "/photo.jpg";
    ASSERT_TRUE(vt::run_command({"convert", "-size", "6000x4000", "gradient:orange-navy", "-quality", "90", photo},
                                "", vt::Milliseconds(60000)).succeeded());
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    ASSERT_TRUE(vt::wait_for_color(50, 60, BLACK));
    const uint32_t top = vt::read_pixel(520, 205).value_or(0) & RGB;
    ASSERT_TRUE(vt::xdotool({"mousemove", "600", "400", "key", "ctrl+e", "key", "ctrl+1"}));
    ASSERT_TRUE(vt::wait_until([&] { return (vt::read_pixel(520, 205).value_or(top) & RGB) != top; },
                               vt::Milliseconds(60000), vt::Milliseconds(5)));
    EXPECT_EQ(occurrences(program->errors(), ".png\n"), 0u) << "the view changed only after the export";
    ASSERT_TRUE(program->wait_for_errors(".png\n", vt::Milliseconds(60000))) << program->errors();
    const std::string exported = path_after(program->errors(), "pixodraw: saved ");
    const vt::CommandResult size = vt::run_command({"identify", "-format", "%wx%h", exported});
    EXPECT_EQ(size.output, "6000x4000") << size.describe();
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    unlink(exported.c_str());
    unlink(photo.c_str());
}

// A large JPEG shows a smaller copy while it decodes; a stroke begun at once waits for the
// whole picture and lands on it: its export differs from the one after the undo only by
// the stroke's black pixels.
TEST_F(Pixodraw, StrokeWhileALargeJpegLoadsPaintsTheWholePicture)
{
    const std::string photo = dir.path + "/noise.jpg";
    ASSERT_TRUE(vt::run_command({"convert", "-size", "3000x2000", "xc:gray", "+noise", "Random", "-quality", "90",
                                 photo}, "", vt::Milliseconds(60000)).succeeded());
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    click_at(50, 60);
    drag({{300, 300}, {500, 400}, {600, 380}});
    std::vector<std::string> exports;
    for (const char *keys : {"ctrl+e", "ctrl+z ctrl+e"})
    {
        std::vector<std::string> arguments = {"key"};
        for (std::string rest = keys; !rest.empty();)
        {
            const size_t space = rest.find(' ');
            arguments.push_back(rest.substr(0, space));
            rest = space == std::string::npos ? "" : rest.substr(space + 1);
        }
        ASSERT_TRUE(vt::xdotool(arguments));
        ASSERT_TRUE(vt::wait_until([&] { return occurrences(program->errors(), ".png\n") == exports.size() + 1; },
                                   vt::Milliseconds(60000))) << program->errors();
        exports.push_back(path_after(program->errors().substr(program->errors().rfind("pixodraw: saved ")),
                                     "pixodraw: saved "));
    }
    const char *script =
        "import sys\n"
        "from PIL import Image, ImageChops\n"
        "a, b = (Image.open(p).convert('RGB') for p in sys.argv[1:3])\n"
        "changed = ImageChops.difference(a, b).convert('L').point(lambda v: 255 if v else 0)\n"
        "black = a.convert('L').point(lambda v: 255 if v == 0 else 0)\n"
        "print(a.size == (3000, 2000), changed.getbbox() is not None, ImageChops.subtract(changed, black).getbbox())\n";
    const vt::CommandResult compared =
        vt::run_command({"/usr/bin/python3", "-c", script, exports[0], exports[1]}, "", vt::Milliseconds(120000));
    EXPECT_EQ(compared.output, "True True None\n") << compared.describe();
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    for (const std::string &file : {photo, exports[0], exports[1]})
        unlink(file.c_str());
}

// Ctrl+S over a picture that another program replaced or rewrote since it was opened
// asks nothing but first keeps that version beside it as NAME-other.EXT, named on
// standard error; over one as it was, it keeps nothing.
TEST_F(Pixodraw, SaveOverAPictureChangedOutsideKeepsTheOtherVersion)
{
    struct Case
    {
        const char *change;  // a Python program given the picture and another one; null: none
        bool kept;
    } cases[] = {{nullptr, false},
                 {"import os, sys\nos.rename(sys.argv[2], sys.argv[1])\n", true},
                 {"import sys\nb = open(sys.argv[2], 'rb').read()\nopen(sys.argv[1], 'wb').write(b)\n", true}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.change != nullptr ? c.change : "unchanged");
        const std::string other = make_png(40, 30) + ".other";
        rename((dir.path + "/photo.png").c_str(), other.c_str());
        const std::string photo = make_photo(dir.path, "640x480", "png");
        ASSERT_NO_FATAL_FAILURE(start({photo}));
        // The journal starts once the picture is open: only then is it changed.
        ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; }));
        ASSERT_TRUE(vt::wait_for_pixel(500, 400, [](uint32_t pixel) { return (pixel & RGB) != BACKDROP; }));
        std::ifstream in(other, std::ios::binary);
        const std::string other_bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (c.change != nullptr)
        {
            ASSERT_TRUE(vt::run_command({"/usr/bin/python3", "-c", c.change, photo, other}).succeeded());
        }
        ASSERT_TRUE(move_to(600, 400));
        ASSERT_TRUE(vt::key("ctrl+s"));
        ASSERT_TRUE(program->wait_for_errors("pixodraw: saved " + photo + "\n")) << program->errors();
        const std::string kept = dir.path + "/photo-other.png";
        EXPECT_EQ(program->errors(), c.kept ? "pixodraw: " + photo +
                                                  " was changed by another program; that version is kept in " +
                                                  kept + "\npixodraw: saved " + photo + "\n"
                                            : "pixodraw: saved " + photo + "\n");
        std::ifstream saved_other(kept, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(saved_other)), std::istreambuf_iterator<char>()),
                  c.kept ? other_bytes : std::string());
        ASSERT_NO_FATAL_FAILURE(finish("no"));
        for (const std::string &file : {photo, other, kept})
            unlink(file.c_str());
    }
}

// Ctrl+E, Ctrl+S and every view change add no more than a small record to the journal of
// a 3088 x 2056 photo (a record of its pixels would be megabytes).
TEST_F(Pixodraw, JournalGrowsOnlyByWhatActionsChanged)
{
    const std::string photo = make_photo(dir.path, "3088x2056", "jpg");
    ASSERT_NO_FATAL_FAILURE(start_at_full_size(photo));
    ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; }));
    const std::string journal = journals(dir.path)[0];
    ASSERT_NO_FATAL_FAILURE(stamp_square(400, 300));
    struct Case
    {
        std::vector<std::string> input;
        const char *done;  // how the line it adds on standard error ends; null: the screen changes
    } cases[] = {
        {{"key", "ctrl+e"}, ".png\n"},
        {{"key", "ctrl+s"}, ".jpg\n"},
        {{"key", "ctrl+minus"}, nullptr},
        {{"key", "Right"}, nullptr},
        {{"click", "5"}, nullptr},
        {{"keydown", "ctrl", "click", "4", "keyup", "ctrl"}, nullptr},
        {{"mousedown", "2", "mousemove", "450", "380", "mousemove", "400", "350", "mouseup", "2"}, nullptr},
        {{"key", "ctrl+0"}, nullptr},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.input[1]);
        ASSERT_TRUE(move_to(600, 400));
        const off_t before = size_of(journal);
        const std::vector<uint32_t> was = screen();
        ASSERT_TRUE(vt::xdotool(c.input));
        const size_t lines = occurrences(program->errors(), "\n");
        if (c.done != nullptr)
            ASSERT_TRUE(vt::wait_until([&] { return occurrences(program->errors(), "\n") > lines; },
                                       vt::Milliseconds(30000)) &&
                        program->errors().substr(program->errors().rfind(c.done)).size() == strlen(c.done))
                << program->errors();
        else
            ASSERT_TRUE(vt::wait_until([&] { return screen() != was; }));
        const auto done_at = std::chrono::steady_clock::now();
        ASSERT_TRUE(vt::wait_until(
            [&] { return std::chrono::steady_clock::now() - done_at > std::chrono::milliseconds(1100); }));
        EXPECT_LT(size_of(journal) - before, 1024);
    }
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// Rotation and flips of a document are each written back by Ctrl+S and undone by
// Ctrl+Z; a session killed after a rotation comes back rotated at the next start.
TEST_F(Pixodraw, DocumentRotationAndFlipsAreSavedUndoneAndRecovered)
{
    const int width = 31, height = 20;
    const std::string picture = dir.path + "/turn.bmp";
    ASSERT_TRUE(write_test_bmp(picture, width, height, picture_pattern));
    ASSERT_NO_FATAL_FAILURE(start({picture}));
    ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; }));
    ASSERT_TRUE(vt::mouse_move(500, 400));
    int saves = 0;
    auto save_and_check = [&](int w, int h, const std::function<uint32_t(int, int)> &want) {
        ASSERT_TRUE(vt::key("ctrl+s"));
        ++saves;
        ASSERT_TRUE(vt::wait_until([&] {
            const std::string errors = program->errors();
            int seen = 0;
            for (size_t at = errors.find("saved "); at != std::string::npos; at = errors.find("saved ", at + 1))
                ++seen;
            return seen == saves;
        })) << program->errors();
        EXPECT_EQ(wrong_pixels(picture, w, h, want), 0);
    };
    const auto rotated = [&](int x, int y) { return picture_pattern(y, height - 1 - x); };
    struct Case
    {
        const char *keys;
        int width, height;
        std::function<uint32_t(int, int)> source;
    } cases[] = {{"ctrl+shift+r", height, width, rotated},
                 {"ctrl+shift+h", width, height, [&](int x, int y) { return picture_pattern(width - 1 - x, y); }},
                 {"ctrl+shift+v", width, height, [&](int x, int y) { return picture_pattern(x, height - 1 - y); }}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.keys);
        ASSERT_TRUE(vt::key(c.keys));
        ASSERT_NO_FATAL_FAILURE(save_and_check(c.width, c.height, c.source));
        ASSERT_TRUE(vt::key("ctrl+z"));
        ASSERT_NO_FATAL_FAILURE(save_and_check(width, height, picture_pattern));
    }
    const std::string journal = journals(dir.path)[0];
    // Once the saves' records (and any trimming after them) are on disk.
    ASSERT_TRUE(vt::wait_until([&] {
        const off_t before = size_of(journal);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return size_of(journal) == before;
    }));
    const off_t written = size_of(journal);
    ASSERT_TRUE(vt::key("ctrl+shift+r"));
    // The rotation is journalled, or the journal written afresh as the rotated pixels.
    ASSERT_TRUE(vt::wait_until([&] { return size_of(journal) != written; }));
    program->kill_now(SIGKILL);
    ASSERT_TRUE(program->wait_exit());
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_TRUE(program->wait_for_errors(".bmp\n")) << program->errors();
    EXPECT_EQ(wrong_pixels(path_after(program->errors(), "its drawing is kept in "), height, width, rotated), 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// The screenshot round trip: a PNG put on the clipboard by another program opens with
// --clipboard, is rotated, and Ctrl+C gives it back to another program pixel for pixel;
// Ctrl+S writes it as a PNG of its own.
TEST_F(Pixodraw, ClipboardPictureOpensTurnsAndGoesBack)
{
    const int width = 23, height = 14;
    const std::string bmp = dir.path + "/shot.bmp", png = dir.path + "/shot.png";
    ASSERT_TRUE(write_test_bmp(bmp, width, height, picture_pattern));
    ASSERT_TRUE(vt::run_command({"/usr/bin/python3", "-c", "import sys; from PIL import Image; "
                                 "Image.open(sys.argv[1]).save(sys.argv[2])", bmp, png}).succeeded());
    auto xclip = std::make_unique<vt::ChildProcess>();
    ASSERT_TRUE(xclip->start({"xclip", "-quiet", "-selection", "clipboard", "-t", "image/png", "-i", png}));
    ASSERT_TRUE(vt::wait_until([] {
        return vt::run_command({"xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"}).output.find("image/png") !=
               std::string::npos;
    }));
    ASSERT_NO_FATAL_FAILURE(start({"--clipboard"}));
    ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; })) << program->errors();
    ASSERT_TRUE(vt::mouse_move(500, 400));
    ASSERT_TRUE(vt::key("ctrl+shift+r"));
    ASSERT_TRUE(vt::key("ctrl+c"));
    // Pixodraw owns the clipboard once xclip hears that it lost it.
    ASSERT_TRUE(xclip->wait_exit());
    const vt::CommandResult pasted = vt::run_command({"xclip", "-selection", "clipboard", "-t", "image/png", "-o"});
    ASSERT_TRUE(pasted.succeeded()) << pasted.describe();
    std::ofstream(dir.path + "/pasted.png", std::ios::binary) << pasted.output;
    const ReadBack back = read_with_pillow(dir.path + "/pasted.png", dir.path + "/raw.rgb");
    ASSERT_EQ(back.width, height);
    ASSERT_EQ(back.height, width);
    int wrong = 0;
    for (int y = 0; y < width; y++)
        for (int x = 0; x < height; x++)
            wrong += back.at(x, y) != (picture_pattern(y, height - 1 - x) & RGB);
    EXPECT_EQ(wrong, 0);
    ASSERT_TRUE(vt::key("ctrl+s"));
    ASSERT_TRUE(program->wait_for_errors(".png\n")) << program->errors();
    const std::string saved = path_after(program->errors(), "saved ");
    EXPECT_TRUE(std::regex_match(saved, std::regex("clipboard-[0-9]{8}-[0-9]{6}\\.png"))) << saved;
    EXPECT_EQ(read_with_pillow(dir.path + "/" + saved, dir.path + "/raw.rgb").pixels, back.pixels);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

TEST_F(Pixodraw, OptionsHelpVersionAndUnknown)
{
    struct Case
    {
        std::vector<std::string> arguments;
        int exit_code;
        const char *output;  // a regular expression for the whole standard output
        const char *errors;  // the same for standard error
    } cases[] = {
        {{"--help"}, 0, "Usage: pixodraw \\[PICTURE\\][^]*Escape[^]*Ctrl\\+Z[^]*Ctrl\\+Y[^]*"
                        "Ctrl\\+S[^]*pixodraw-YYYYMMDD-HHMMSS\\.bmp[^]*", ""},
        {{"--version"}, 0, "pixodraw [0-9]+\\.[0-9]+\\.[0-9]+\n", ""},
        {{"--bogus"}, 2, "", "pixodraw: unknown option '--bogus'[^\n]*\n"},
        {{"-x", "picture.bmp"}, 2, "", "pixodraw: unknown option '-x'[^\n]*\n"},
        {{"picture.bmp", "--nope"}, 2, "", "pixodraw: unknown option '--nope'[^\n]*\n"},
        // After "--", and "-" alone, are picture names (here missing ones).
        {{"--", "-x.bmp"}, 1, "", "pixodraw: cannot load the picture -x\\.bmp: No such file[^\n]*\n"},
        {{"-"}, 1, "", "pixodraw: cannot load the picture -: No such file[^\n]*\n"},
    };
    // Without a display: none of them opens a window.
    const std::vector<std::string> base = {"env", "-u", "DISPLAY", PIXODRAW_BINARY};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.arguments[0]);
        std::vector<std::string> argv = base;
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const vt::CommandResult run = vt::run_command(argv);
        EXPECT_EQ(run.exit_code, c.exit_code) << run.describe();
        EXPECT_TRUE(std::regex_match(run.output, std::regex(c.output))) << run.output;
        EXPECT_TRUE(std::regex_match(run.errors, std::regex(c.errors))) << run.errors;
    }
    std::vector<std::string> help = base, short_help = base;
    help.push_back("--help");
    short_help.push_back("-h");
    EXPECT_EQ(vt::run_command(short_help).output, vt::run_command(help).output);
}

// Without its pictures the interface is drawn all the same, their cells white, after
// one warning line for each.
TEST_F(Pixodraw, MissingPicturesGiveOneWarningEach)
{
    ASSERT_EQ(mkdir((dir.path + "/empty").c_str(), 0755), 0);
    ASSERT_NO_FATAL_FAILURE(start_blank({}, {"PIXODRAW_IMG_DIR=" + dir.path + "/empty"}));
    EXPECT_TRUE(vt::wait_for_color(160, 60, BLACK));  // the circle icon
    EXPECT_TRUE(vt::wait_for_color(500, 40, WHITE));  // the palette's cell
    EXPECT_TRUE(vt::wait_for_color(250, 50, WHITE));  // the pot's cell
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    const std::string errors = program->errors();
    EXPECT_EQ(occurrences(errors, "\n"), 2u) << errors;
    EXPECT_EQ(occurrences(errors, "pixodraw: warning: interface picture degrade.bmp not found"), 1u) << errors;
    EXPECT_EQ(occurrences(errors, "pixodraw: warning: interface picture potdepeinture.bmp not found"), 1u);
    EXPECT_EQ(program->output(), std::string(TIP) + QUESTION);
}
// Each choice shows in the indicator cell at once; nothing else of the interface moves
// but the size bar.
TEST_F(Pixodraw, IndicatorShowsEachChoice)
{
    const paint_rect cell = PAINT_LAYOUT.indicator.drawn, bar = PAINT_LAYOUT.size_bar.drawn;
    struct Case
    {
        int x, y;  // the click; (0, 0): none, the blank start
        paint_tool tool;
        int32_t size;
        uint32_t color;
    } cases[] = {{0, 0, TOOL_NONE, 0, BLACK},          {160, 60, TOOL_CIRCLE, 0, BLACK},
                 {500, 40, TOOL_CIRCLE, 0, palette_color(70, 40)},
                 {960, 60, TOOL_CIRCLE, 5, palette_color(70, 40)},
                 {700, 60, TOOL_ERASER, 5, palette_color(70, 40)},
                 {260, 60, TOOL_FILL, 5, palette_color(70, 40)},
                 {50, 60, TOOL_SQUARE, 5, BLACK},      {960, 20, TOOL_SQUARE, 0, BLACK}};
    ASSERT_NO_FATAL_FAILURE(start_blank());
    std::vector<uint32_t> before = screen();
    for (const Case &c : cases)
    {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        if (c.x != 0)
            click_at(c.x, c.y);
        Image expected;
        place_indicator(expected, c.color, tool_state{c.size, c.size, c.size, c.tool, c.size / 5});
        std::vector<uint32_t> shown;
        auto cell_shown = [&] {
            shown = screen();
            for (int y = cell.y0; y <= cell.y1; y++)
                for (int x = cell.x0; x <= cell.x1; x++)
                    if (shown[y * PAINT_WIDTH + x] != (expected.at(x, y) & RGB))
                        return false;
            return true;
        };
        EXPECT_TRUE(vt::wait_until(cell_shown));
        int moved = 0;
        for (int y = 0; y < PAINT_HEIGHT; y++)
            for (int x = 0; x < PAINT_WIDTH; x++)
                moved += !rect_contains(cell, {x, y}) && !rect_contains(bar, {x, y}) &&
                         shown[y * PAINT_WIDTH + x] != before[y * PAINT_WIDTH + x];
        EXPECT_EQ(moved, 0);
        before = shown;
    }
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// The largest disc dragged around the drawing area's edge fills its border and leaves
// every pixel of the interface as it was.
TEST_F(Pixodraw, LargestStrokeAlongTheEdgeLeavesTheInterface)
{
    const paint_rect area = PAINT_LAYOUT.drawing_area.drawn;
    ASSERT_NO_FATAL_FAILURE(start_blank());
    click_at(160, 60);
    clicks_at(960, 60, 30);
    ASSERT_TRUE(vt::wait_for_color(1019, 170, WHITE));
    const std::vector<uint32_t> before = screen();
    drag({{212, 201}, {838, 201}, {838, 726}, {212, 726}, {212, 300}});
    for (const vollo_position corner : {vollo_position{211, 200}, {839, 200}, {839, 727}, {211, 727}})
        ASSERT_TRUE(vt::wait_for_color(corner.x, corner.y, BLACK));
    const std::vector<uint32_t> shown = screen();
    int changed = 0;
    for (int y = 0; y < PAINT_HEIGHT; y++)
        for (int x = 0; x < PAINT_WIDTH; x++)
            changed += !rect_contains(area, {x, y}) && shown[y * PAINT_WIDTH + x] != before[y * PAINT_WIDTH + x];
    EXPECT_EQ(changed, 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// Ctrl+E writes the drawing area alone, as shown, to a numbered PNG file; a second one
// never replaces the first.
TEST_F(Pixodraw, ControlEExportsTheDrawingAreaAsPng)
{
    const paint_rect area = PAINT_LAYOUT.drawing_area.drawn;
    const int width = area.x1 - area.x0 + 1, height = area.y1 - area.y0 + 1;
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_NO_FATAL_FAILURE(stamp_square(211, 200));
    ASSERT_NO_FATAL_FAILURE(stamp_square(834, 722));
    const std::vector<uint32_t> shown = screen();
    ASSERT_TRUE(move_to(600, 400));
    std::vector<std::string> paths;
    for (int n = 1; n <= 2; n++)
    {
        ASSERT_TRUE(vt::key("ctrl+e"));
        ASSERT_TRUE(vt::wait_until([&] { return occurrences(program->errors(), ".png\n") == size_t(n); }))
            << program->errors();
        paths.push_back(path_after(program->errors(), "pixodraw: saved "));
        EXPECT_TRUE(std::regex_match(paths.back(), numbered_png)) << paths.back();
        EXPECT_EQ(paths.back().rfind(dir.path + "/", 0), 0u) << paths.back();
        const ReadBack saved = read_with_pillow(paths.back(), dir.path + "/raw.rgb");
        ASSERT_EQ(saved.width, width);
        ASSERT_EQ(saved.height, height);
        int wrong = 0;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                wrong += saved.at(x, y) != shown[(area.y0 + y) * PAINT_WIDTH + area.x0 + x];
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_NE(paths[0], paths[1]);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}
}  // namespace

// Every panel tool by its key or its cell: the gesture, what it paints (and
// leaves), and its undo back to the white drawing area. The size is 5 through
// `]`.
TEST_F(Pixodraw, PanelToolsPaintOneUndoableActionEach) {
  struct Case {
    const char *choose; // a key, or "" for the cell at (cell_x, cell_y)
    int cell_x, cell_y;
    std::vector<std::pair<int, int>> path;
    bool shift;
    std::vector<std::pair<int, int>> black, white;
  };
  const std::vector<Case> cases = {
      {"l",
       0,
       0,
       {{300, 300}, {400, 320}, {500, 300}},
       false,
       {{400, 302}, {300, 298}},
       {{400, 305}, {400, 320}}},
      {"",
       155,
       246,
       {{300, 400}, {500, 400}},
       false,
       {{400, 400}, {485, 404}, {499, 400}},
       {{300, 410}, {520, 400}}},
      {"r",
       0,
       0,
       {{250, 250}, {350, 350}},
       false,
       {{250, 300}, {304, 254}, {350, 350}},
       {{300, 300}, {256, 256}}},
      {"r",
       0,
       0,
       {{250, 250}, {350, 350}},
       false,
       {{300, 300}, {256, 256}},
       {{351, 300}}},
      {"",
       155,
       332,
       {{400, 250}, {500, 290}},
       true,
       {{450, 251}, {450, 348}, {401, 300}},
       {{450, 300}, {450, 352}}},
      {"a",
       0,
       0,
       {{600, 300}, {700, 310}},
       true,
       {{650, 300}, {699, 300}},
       {{650, 305}, {700, 310}}},
  };
  ASSERT_NO_FATAL_FAILURE(start_blank());
  ASSERT_TRUE(vt::key("bracketright"));
  ASSERT_TRUE(vt::wait_for_color(905, 170, WHITE));
  for (size_t i = 0; i < cases.size(); i++) {
    const Case &c = cases[i];
    SCOPED_TRACE(i);
    if (*c.choose != '\0')
      ASSERT_TRUE(vt::key(c.choose));
    else
      click_at(c.cell_x, c.cell_y);
    if (c.shift) {
      ASSERT_TRUE(vt::xdotool({"keydown", "shift"}));
    }
    drag(c.path);
    if (c.shift) {
      ASSERT_TRUE(vt::xdotool({"keyup", "shift"}));
    }
    for (auto [x, y] : c.black)
      EXPECT_TRUE(vt::wait_for_color(x, y, BLACK)) << x << "," << y;
    for (auto [x, y] : c.white)
      EXPECT_EQ(vt::read_region(x, y, 1, 1)[0] & RGB, WHITE & RGB)
          << x << "," << y;
    // Undone, redone, undone again: the drawing area is white once more.
    ASSERT_TRUE(vt::key("ctrl+z"));
    EXPECT_TRUE(wait_for_area([](int, int) { return WHITE; }));
    ASSERT_TRUE(vt::key("ctrl+y"));
    EXPECT_TRUE(vt::wait_for_color(c.black[0].first, c.black[0].second, BLACK));
    ASSERT_TRUE(vt::key("ctrl+z"));
    EXPECT_TRUE(wait_for_area([](int, int) { return WHITE; }));
  }
  // Text, chosen by its cell: a caret, "é" typed live, Ctrl+Enter paints it;
  // undone like the shapes.
  click_at(52, 417);
  click_at(300, 600);
  ASSERT_TRUE(vt::xdotool({"type", "é"}));
  EXPECT_TRUE(vt::wait_until([] {
    const std::vector<uint32_t> box = vt::read_region(300, 600, 20, 20);
    return std::count_if(box.begin(), box.end(), [](uint32_t p) {
             return (p & RGB) != (WHITE & RGB);
           }) > 6;
  }));
  ASSERT_TRUE(vt::key("ctrl+Return"));
  ASSERT_TRUE(vt::key("ctrl+z"));
  EXPECT_TRUE(wait_for_area([](int, int) { return WHITE; }));
  // `[` takes the size back to 0; the line is then one pixel thick.
  ASSERT_TRUE(vt::key("bracketleft"));
  ASSERT_TRUE(vt::wait_for_color(905, 170, GREY));
  // The wheel over the plus and minus buttons steps the size as they do.
  ASSERT_TRUE(vt::xdotool({"mousemove", "960", "85", "click", "4"}));
  ASSERT_TRUE(vt::wait_for_color(905, 170, WHITE));
  ASSERT_TRUE(vt::xdotool({"mousemove", "960", "24", "click", "5"}));
  ASSERT_TRUE(vt::wait_for_color(905, 170, GREY));
  ASSERT_TRUE(vt::key("l"));
  drag({{300, 300}, {500, 300}});
  EXPECT_TRUE(vt::wait_for_color(400, 300, BLACK));
  EXPECT_EQ(vt::read_region(400, 301, 1, 1)[0] & RGB, WHITE & RGB);
  finish("no");
}

// On a photo: a hex colour from the indicator's field, the picker (back to the tool before),
// the fill with the size as tolerance, and a stroke begun in the margin beside the picture.
TEST_F(Pixodraw, ColoursFillToleranceAndMarginStrokeOnAPhoto)
{
    const std::string photo = make_png(300, 200);  // shown at 100 %: x 375-674, y 364-563
    ASSERT_NO_FATAL_FAILURE(start({photo}));
    ASSERT_TRUE(vt::wait_for_color(400, 400, picture_pattern(25, 36)));
    const int swatch_x = 372, swatch_y = 57;
    click_at(swatch_x, swatch_y);
    ASSERT_TRUE(vt::xdotool({"type", "#12ab3c"}));
    ASSERT_TRUE(vt::key("Return"));
    ASSERT_TRUE(vt::wait_for_color(swatch_x, swatch_y, 0xFF3CAB12u));
    // Fill at tolerance 0 changes one pixel of the gradient; at 5 a wide region.
    ASSERT_TRUE(vt::key("f"));
    click_at(500, 450);
    ASSERT_TRUE(vt::wait_for_color(500, 450, 0xFF3CAB12u));
    EXPECT_EQ(vt::read_region(501, 450, 1, 1)[0] & RGB, picture_pattern(126, 86) & RGB);
    ASSERT_TRUE(vt::key("ctrl+z"));
    ASSERT_TRUE(vt::wait_for_color(500, 450, picture_pattern(125, 86)));
    ASSERT_TRUE(vt::key("bracketright"));
    click_at(500, 450);
    // Within 5 * 255 / 150 of the seed: two columns (red steps by 3) and one row (green by 5).
    ASSERT_TRUE(vt::wait_for_color(502, 451, 0xFF3CAB12u));
    EXPECT_EQ(vt::read_region(503, 450, 1, 1)[0] & RGB, picture_pattern(128, 86) & RGB);
    ASSERT_TRUE(vt::key("ctrl+z"));
    ASSERT_TRUE(vt::wait_for_color(502, 451, picture_pattern(127, 87)));
    // The picker, chosen by its cell, takes the picture's pixel and gives the fill back.
    click_at(155, 417);
    click_at(400, 400);
    ASSERT_TRUE(vt::wait_for_color(swatch_x, swatch_y, picture_pattern(25, 36)));
    click_at(600, 500);
    EXPECT_TRUE(vt::wait_for_color(600, 500, picture_pattern(25, 36)));
    // From the margin into the picture: the square brush paints where its stamps meet it.
    ASSERT_TRUE(vt::key("b"));
    drag({{330, 420}, {450, 420}});
    EXPECT_TRUE(vt::wait_for_color(376, 422, BLACK));
    EXPECT_EQ(vt::read_region(360, 422, 1, 1)[0] & RGB, BACKDROP);
    finish("no");
}

// A rectangle, then kill -9: the next start keeps the drawing as the screen showed it.
TEST_F(Pixodraw, ShapeSurvivesAKill)
{
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; }));
    const std::string journal = journals(dir.path)[0];
    const off_t written = size_of(journal);
    ASSERT_TRUE(vt::key("r"));
    ASSERT_TRUE(vt::key("r"));
    drag({{300, 300}, {420, 380}, {400, 360}});
    ASSERT_TRUE(vt::wait_for_color(350, 330, BLACK));
    const std::vector<uint32_t> shown = screen();
    ASSERT_TRUE(vt::wait_until([&] { return size_of(journal) > written; }));
    program->kill_now(SIGKILL);
    ASSERT_TRUE(program->wait_exit());
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_TRUE(program->wait_for_errors(".bmp\n")) << program->errors();
    const std::string kept = path_after(program->errors(), "its drawing is kept in ");
    EXPECT_EQ(differences(kept, shown), 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    // The next start names it, with its time and how to open it.
    ASSERT_NO_FATAL_FAILURE(start_blank());
    const std::string name = kept.substr(kept.rfind('/') + 1);
    EXPECT_TRUE(program->wait_for_errors("open it with: pixodraw " + name + ")\n")) << program->errors();
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// The selection tool and Ctrl+V on a blank start: a PNG another program put on the
// clipboard is pasted at the drawing area's corner, dragged and landed with Enter; a
// selection around it is dragged away, leaving white; each undoes alone. The outline
// shows with another tool too, until Escape. A paste then survives a kill.
TEST_F(Pixodraw, SelectionMovesAndPastesOneUndoableActionEach)
{
    const int width = 40, height = 30;
    const std::string png = make_png(width, height);
    auto xclip = std::make_unique<vt::ChildProcess>();
    ASSERT_TRUE(xclip->start({"xclip", "-quiet", "-selection", "clipboard", "-t", "image/png", "-i", png}));
    ASSERT_TRUE(vt::wait_until([] {
        return vt::run_command({"xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"}).output.find("image/png") !=
               std::string::npos;
    }));
    ASSERT_NO_FATAL_FAILURE(start_blank());
    // The pattern with its top-left corner at drawing-area offset (u0, v0), white around.
    const auto placed = [&](int u0, int v0) {
        return [=](int u, int v) {
            const bool in = u >= u0 && u < u0 + width && v >= v0 && v < v0 + height;
            return in ? picture_pattern(u - u0, v - v0) : WHITE;
        };
    };
    struct Step
    {
        const char *what;
        std::function<void()> act;
        std::function<uint32_t(int, int)> expected;
        int dash_x = -1, dash_y = -1;  // a black dash of the selection left after it, if any
    } steps[] = {
        {"paste, drag, Enter",
         [&] {
             ASSERT_TRUE(vt::key("ctrl+v"));
             ASSERT_TRUE(vt::wait_for_color(215, 204, picture_pattern(4, 4)));
             drag({{216, 205}, {260, 230}, {316, 255}});
             ASSERT_TRUE(vt::key("Return"));
         },
         placed(100, 50), 312, 250},
        {"a selection dragged away",
         [&] {
             ASSERT_TRUE(vt::key("m"));
             drag({{305, 245}, {330, 270}, {360, 290}});
             drag({{320, 260}, {380, 300}, {420, 360}});
         },
         placed(200, 150), 408, 345},
        {"undo of the move", [&] { ASSERT_TRUE(vt::key("ctrl+z")); }, placed(100, 50)},
        {"undo of the paste", [&] { ASSERT_TRUE(vt::key("ctrl+z")); }, [](int, int) { return WHITE; }},
    };
    for (const Step &step : steps)
    {
        SCOPED_TRACE(step.what);
        ASSERT_NO_FATAL_FAILURE(step.act());
        // Another tool still shows the selection's outline; Escape clears it, and the
        // drawing shows as it is.
        ASSERT_TRUE(vt::key("b"));
        if (step.dash_x >= 0)
        {
            EXPECT_TRUE(vt::wait_for_color(step.dash_x, step.dash_y, BLACK));
            ASSERT_TRUE(vt::key("Escape"));
        }
        EXPECT_TRUE(wait_for_area(step.expected));
    }
    // A fresh session, its journal short: a paste, then kill -9.
    ASSERT_NO_FATAL_FAILURE(finish("no"));
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_TRUE(vt::wait_until([&] { return journals(dir.path).size() == 1; }));
    const std::string journal = journals(dir.path)[0];
    const off_t written = size_of(journal);
    ASSERT_TRUE(vt::key("ctrl+v"));
    ASSERT_TRUE(vt::key("Return"));
    ASSERT_TRUE(vt::key("Escape"));
    ASSERT_TRUE(vt::key("b"));
    ASSERT_TRUE(wait_for_area(placed(0, 0)));
    const std::vector<uint32_t> shown = screen();
    ASSERT_TRUE(vt::wait_until([&] { return size_of(journal) > written; }));
    program->kill_now(SIGKILL);
    ASSERT_TRUE(program->wait_exit());
    ASSERT_NO_FATAL_FAILURE(start_blank());
    ASSERT_TRUE(program->wait_for_errors(".bmp\n")) << program->errors();
    EXPECT_EQ(differences(path_after(program->errors(), "its drawing is kept in "), shown), 0);
    ASSERT_NO_FATAL_FAILURE(finish("no"));
}

// `--new 300x200`: a white document of that size, centred in the drawing area.
TEST_F(Pixodraw, NewOpensAWhiteDocument)
{
    ASSERT_NO_FATAL_FAILURE(start({"--new", "300x200"}));
    EXPECT_TRUE(vt::wait_for_color(375, 364, WHITE));
    EXPECT_TRUE(vt::wait_for_color(674, 563, WHITE));
    EXPECT_EQ(vt::read_region(374, 364, 1, 1)[0] & RGB, BACKDROP);
    EXPECT_EQ(vt::read_region(675, 563, 1, 1)[0] & RGB, BACKDROP);
    finish("no");
}

// The save dialogue: a name ending in .bmp gets no second one; an empty name saves
// nothing and keeps the drawing in a recovery file.
TEST_F(Pixodraw, SaveNamesEndingInBmpAndEmptyNames)
{
    struct Case
    {
        const char *name;
        const char *file;  // what must exist afterwards; null: a recovery file instead
    } cases[] = {{"scene.bmp", "scene.bmp"}, {"", nullptr}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start_blank());
        ASSERT_NO_FATAL_FAILURE(stamp_square(400, 300));
        finish("yes", c.name);
        EXPECT_EQ(program->output(), std::string(TIP) + QUESTION + NAME_QUESTION);
        if (c.file != nullptr)
            EXPECT_EQ(files_in(dir.path), (std::vector<std::string>{"img", c.file}));
        else
        {
            const std::string kept = path_after(program->errors(), KEPT);
            EXPECT_TRUE(std::regex_match(kept, numbered_name)) << program->errors();
            EXPECT_EQ(files_in(dir.path).size(), 3u);  // img, scene.bmp, the recovery file
        }
    }
    // Reopened as the canvas: the indicator shows this run's state ("no tool", size 0), not
    // the saved one, and Ctrl+S writes back to the file.
    ASSERT_NO_FATAL_FAILURE(start({"scene.bmp"}));
    ASSERT_TRUE(vt::wait_for_color(405, 305, BLACK));
    Image fresh;
    place_indicator(fresh, BLACK, tool_state{});
    const paint_rect cell = PAINT_LAYOUT.indicator.drawn;
    EXPECT_TRUE(vt::wait_until([&] {
        const std::vector<uint32_t> shown = vt::read_region(cell.x0, cell.y0, cell.x1 - cell.x0 + 1, cell.y1 - cell.y0 + 1);
        for (int y = cell.y0; y <= cell.y1; y++)
            for (int x = cell.x0; x <= cell.x1; x++)
                if ((shown[size_t(y - cell.y0) * (cell.x1 - cell.x0 + 1) + size_t(x - cell.x0)] & RGB) != (fresh.at(x, y) & RGB))
                    return false;
        return true;
    }));
    ASSERT_TRUE(vt::key("ctrl+s"));
    EXPECT_TRUE(program->wait_for_errors("pixodraw: saved scene.bmp\n")) << program->errors();
    // img, scene.bmp and the recovery file beside this run's journal files: no numbered file.
    size_t shown_files = 0;
    for (const std::string &name : files_in(dir.path))
        shown_files += name.rfind(".pixodraw-journal", 0) != 0;
    EXPECT_EQ(shown_files, 3u);
    finish("no");
    // A PNG of the window's size opened as the canvas is written back there, as a PNG.
    const std::string png = dir.path + "/scene.png";
    ASSERT_TRUE(vt::run_command({"convert", dir.path + "/scene.bmp", png}, "", vt::Milliseconds(30000)).succeeded());
    ASSERT_NO_FATAL_FAILURE(start({"scene.png"}));
    ASSERT_TRUE(vt::wait_for_color(405, 305, BLACK));
    ASSERT_TRUE(vt::key("ctrl+s"));
    EXPECT_TRUE(program->wait_for_errors("pixodraw: saved scene.png\n")) << program->errors();
    finish("no");
    std::ifstream written(png, std::ios::binary);
    char signature[4] = {};
    written.read(signature, 4);
    EXPECT_EQ(std::string(signature, 4), "\x89PNG");
    EXPECT_EQ(read_with_pillow(png, dir.path + "/raw.rgb").pixels,
              read_with_pillow(dir.path + "/scene.bmp", dir.path + "/raw.rgb").pixels);
}
