// The example programs, run as their users would run them, on a private X server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "examples_list.hpp"
#include "xvfb.hpp"

namespace
{
using vollo_test::ChildProcess;

// Red, green and blue of a screen colour (0xAABBGGRR).
int red(uint32_t c) { return c & 0xFF; }
int green(uint32_t c) { return (c >> 8) & 0xFF; }
int blue(uint32_t c) { return (c >> 16) & 0xFF; }

// Loudest 16-bit sample in the data chunk of a WAV file, as far as it is written.
int wave_peak(const std::string &file)
{
    std::ifstream wave(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(wave)), std::istreambuf_iterator<char>());
    const size_t data = bytes.find("data");
    int peak = 0;
    for (size_t at = data + 8; data != std::string::npos && at + 1 < bytes.size(); at += 2)
    {
        const int16_t sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) |
                                                    static_cast<uint8_t>(bytes[at + 1]) << 8);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

class ExampleTest : public vollo_test::XvfbTest
{
protected:
    void SetUp() override
    {
        vollo_test::XvfbTest::SetUp();
        char pattern[] = "/tmp/vollo-examples-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // No sound card: OpenAL writes what is played into a WAV file instead.
        std::ofstream config(path("alsoft.conf"));
        config << "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\n"
               << "[wave]\nfile=" << path("played.wav") << "\n";
        ASSERT_TRUE(config.flush());
        setenv("ALSOFT_CONF", path("alsoft.conf").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string path(const std::string &name) const { return dir_ + "/" + name; }

    // Starts an example in the test's folder and returns its window, moved to (0, 0).
    vollo_test::WindowId start(ChildProcess &child, const std::vector<std::string> &argv)
    {
        if (!child.start(argv, dir_))
            return 0;
        const vollo_test::WindowId window = vollo_test::find_window_by_pid(child.pid());
        if (window == 0 || !vollo_test::move_window_to_origin(window))
            return 0;
        vollo_test::mouse_move(5, 5);  // keys go to the window under the pointer
        return window;
    }

    // Runs an example to its end and expects exit status 0.
    void run_to_end(ChildProcess &child, const std::vector<std::string> &argv)
    {
        ASSERT_TRUE(child.start(argv, dir_)) << argv[0];
        ASSERT_TRUE(child.wait_exit(std::chrono::seconds(150))) << argv[0] << " did not end";
        EXPECT_EQ(child.exit_code(), 0) << argv[0] << ": " << child.errors();
    }

    std::string dir_;
};

class EachExample : public ExampleTest, public ::testing::WithParamInterface<size_t>
{
};

// Every example runs 200 frames and ends by itself with status 0; the picture
// filter, a command-line tool, runs with no display at all. The snake's recording
// then replays to its end by itself.
TEST_P(EachExample, RunsItsFramesAndEndsByItself)
{
    const std::string name = kExamples[GetParam()][0], program = kExamples[GetParam()][1];
    std::map<std::string, std::vector<std::string>> options = {
        {"ini_settings", {"--settings", path("settings.ini")}},
        {"breakout", {"--scores", path("scores.ini")}},
        {"record_replay", {"--record", path("snake.txt")}},
        {"picture_filter", {EXAMPLE_ASSETS "/badge.png", path("out.png"), "gray", "half"}}};
    std::vector<std::string> argv = name == "picture_filter" ? std::vector<std::string>{"env", "-u", "DISPLAY", program}
                                                             : std::vector<std::string>{program, "--frames", "200"};
    argv.insert(argv.end(), options[name].begin(), options[name].end());
    ChildProcess child, replay;
    run_to_end(child, argv);
    if (name == "record_replay")
        run_to_end(replay, {program, "--replay", path("snake.txt")});
}
INSTANTIATE_TEST_SUITE_P(Examples, EachExample, ::testing::Range<size_t>(0, std::size(kExamples)),
                         [](const ::testing::TestParamInfo<size_t> &info) { return kExamples[info.param][0]; });

// The arrow keys move the square, Escape ends the program.
TEST_F(ExampleTest, MovingSquareFollowsTheArrowKeys)
{
    ChildProcess child;
    ASSERT_NE(start(child, {MOVING_SQUARE}), 0u);
    const uint32_t orange = 0xFF30C0FF, background = 0xFF402010;
    // The square starts in the middle: 148..171 by 108..131.
    ASSERT_TRUE(vollo_test::wait_for_color(150, 120, orange));
    ASSERT_TRUE(vollo_test::key_down("Right"));
    // Held, the key moves it right until it stops at the right edge (296..319).
    EXPECT_TRUE(vollo_test::wait_for_color(310, 120, orange));
    EXPECT_TRUE(vollo_test::wait_for_color(150, 120, background));
    ASSERT_TRUE(vollo_test::key_up("Right"));
    ASSERT_TRUE(vollo_test::key("Escape"));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 0);
}

// The picture turns in the middle of the window, and the space bar plays a sound
// that comes out in OpenAL's wave file.
TEST_F(ExampleTest, SpinningPictureShowsAndSoundsOnSpace)
{
    ChildProcess child;
    ASSERT_NE(start(child, {SPINNING_PICTURE}), 0u);
    // The badge's white bar crosses its centre, placed at (160, 120).
    EXPECT_TRUE(vollo_test::wait_for_pixel(160, 120, [](uint32_t c) {
        return red(c) > 200 && green(c) > 200 && blue(c) > 200;
    }).has_value());
    // The corner, far from the badge, keeps the background grey.
    EXPECT_EQ(vollo_test::read_pixel(2, 2), 0xFF303030u);
    ASSERT_TRUE(vollo_test::key("space"));
    // The driver writes the mix as it goes: the blip shows up while the program runs.
    EXPECT_TRUE(vollo_test::wait_until([&] { return wave_peak(path("played.wav")) > 3000; }))
        << "the space bar played nothing";
    ASSERT_TRUE(vollo_test::key("Escape"));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 0);
}

// The same shapes appear on the picture (left) and on the pixel array (right).
TEST_F(ExampleTest, LinesAndTrianglesDrawTheSameShapesOnBothBuffers)
{
    ChildProcess child;
    ASSERT_NE(start(child, {LINES_AND_TRIANGLES}), 0u);
    // A point well inside the big triangle, on each side.
    const int x = 80, y = 80;
    const auto left = vollo_test::wait_for_pixel(10 + x, 10 + y, [](uint32_t c) { return (c & 0xFFFFFF) != 0; });
    const auto right = vollo_test::wait_for_pixel(170 + x, 10 + y, [](uint32_t c) { return (c & 0xFFFFFF) != 0; });
    ASSERT_TRUE(left.has_value() && right.has_value());
    // Interpolated colours agree within rounding between the GPU and the software path.
    EXPECT_NEAR(red(*left), red(*right), 12);
    EXPECT_NEAR(green(*left), green(*right), 12);
    EXPECT_NEAR(blue(*left), blue(*right), 12);
    ASSERT_TRUE(vollo_test::key("Escape"));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 0);
}

std::string read_file(const std::string &file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The settings file is made on the first run, and each run counts itself in it.
TEST_F(ExampleTest, IniSettingsKeepsCountInItsFile)
{
    for (int run = 1; run <= 2; ++run)
    {
        ChildProcess child;
        run_to_end(child, {INI_SETTINGS, "--settings", path("my.ini"), "--frames", "3"});
        EXPECT_NE(child.output().find("runs: " + std::to_string(run)), std::string::npos) << child.output();
        const std::string saved = read_file(path("my.ini"));
        EXPECT_NE(saved.find("\"" + std::to_string(run) + "\""), std::string::npos) << saved;
        EXPECT_NE(saved.find("[window]"), std::string::npos) << saved;
    }
}

// A settings file it cannot read is reported and left as it was, not replaced.
TEST_F(ExampleTest, IniSettingsLeavesAnUnreadableFileAlone)
{
    const std::string broken = "[window\nwidth = \"unterminated\n";
    {
        std::ofstream out(path("broken.ini"));
        out << broken;
    }
    ChildProcess child;
    ASSERT_TRUE(child.start({INI_SETTINGS, "--settings", path("broken.ini"), "--frames", "3"}, dir_));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 1);
    EXPECT_EQ(read_file(path("broken.ini")), broken);
}
// The best score in a breakout scores file, or -1 when it holds none.
int best_score(const std::string &text)
{
    const size_t at = text.find("best=\"");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 6);
}

// Space launches the ball straight up from the paddle's first place, under one column
// of bricks: each return knocks out the next brick up. The best score lands in the
// scores file and grows when a later game does better.
TEST_F(ExampleTest, BreakoutIsPlayedWithKeysAndKeepsItsHighScore)
{
    const uint32_t background = 0xFF281010, light_gray = 0xFFC0C0C0;
    const std::string scores = path("scores.ini");
    auto play = [&](int bricks, bool move_paddle) {
        ChildProcess child;
        ASSERT_NE(start(child, {BREAKOUT, "--scores", scores}), 0u);
        ASSERT_TRUE(vollo_test::wait_for_color(270, 138, 0xFFFFFF00)) << "no cyan brick over the paddle";
        ASSERT_TRUE(vollo_test::key("space"));
        for (int row = 4; row > 4 - bricks; --row)
            ASSERT_TRUE(vollo_test::wait_for_color(270, 58 + row * 20, background, std::chrono::seconds(30)))
                << "the brick of row " << row << " is still there";
        if (move_paddle)
        {
            ASSERT_TRUE(vollo_test::key_down("Right"));
            EXPECT_TRUE(vollo_test::wait_for_color(470, 335, light_gray)) << "the paddle did not reach the right";
            ASSERT_TRUE(vollo_test::key_up("Right"));
        }
        ASSERT_TRUE(vollo_test::key("Escape"));
        ASSERT_TRUE(child.wait_exit());
        EXPECT_EQ(child.exit_code(), 0) << child.errors();
    };
    play(1, false);
    const int first_best = best_score(read_file(scores));
    EXPECT_GE(first_best, 1) << read_file(scores);
    play(first_best + 2, true);
    EXPECT_GE(best_score(read_file(scores)), first_best + 2) << read_file(scores);
}

// A scores file it cannot read is reported with the reader's reason and kept.
TEST_F(ExampleTest, BreakoutLeavesAnUnreadableScoresFileAlone)
{
    const std::string broken = "[scores]\nbest 12\n";
    {
        std::ofstream out(path("broken.ini"));
        out << broken;
    }
    ChildProcess child;
    ASSERT_TRUE(child.start({BREAKOUT, "--scores", path("broken.ini"), "--frames", "3"}, dir_));
    ASSERT_TRUE(child.wait_exit());
    EXPECT_EQ(child.exit_code(), 1);
    EXPECT_NE(child.errors().find("ini: line 2: expected '=' after field name."), std::string::npos)
        << child.errors();
    EXPECT_EQ(read_file(path("broken.ini")), broken);
}
}  // namespace
