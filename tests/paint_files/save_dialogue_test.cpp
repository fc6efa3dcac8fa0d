// The save dialogue, run in a child process whose standard streams are pipes.
#include <csignal>
#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"

namespace
{

const std::string ask_save = "Save work ? [yes/no]\n";
const std::string ask_name = "File name : ";

struct Outcome
{
    std::string out, err;
    int status = -1;
};

std::string drain(int fd)
{
    std::string text;
    char chunk[4096];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Runs save_file in `folder` on a 4 x 3 pattern canvas with `input` as standard input
// (closed altogether when `close_input`).
Outcome run_dialogue(const TempDir &folder, const std::string &input, bool close_input = false)
{
    // Made before the fork: the child touches nothing of SFML, only the pixels.
    paint_state state = {pattern_canvas(4, 3), nullptr, 0, 0xFF000000u, 0, 0};
    int in[2], out[2], err[2];
    if (state.canvas == nullptr || pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0)
        return {};
    pid_t child = fork();
    if (child == 0)
    {
        alarm(20);  // a dialogue that waits for ever fails the test instead of hanging it
        if (chdir(folder.path().c_str()) != 0)
            _exit(90);
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        if (close_input)
            close(0);
        save_file(&state);
        _exit(0);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    signal(SIGPIPE, SIG_IGN);
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
        ADD_FAILURE() << "could not feed the dialogue";
    close(in[1]);
    Outcome outcome;
    outcome.out = drain(out[0]);
    outcome.err = drain(err[0]);
    waitpid(child, &outcome.status, 0);
    vollo_delete_clipable(state.canvas);
    return outcome;
}

void expect_saved_pattern(const std::string &path)
{
    vollo_pixelarray *pixels = load_bmp(path.c_str());
    ASSERT_NE(pixels, nullptr) << path;
    ASSERT_EQ(pixels->width, 4u);
    ASSERT_EQ(pixels->height, 3u);
    for (uint32_t y = 0; y < 3; y++)
        for (uint32_t x = 0; x < 4; x++)
            EXPECT_EQ(pixels->pixels[y * 4 + x], pattern_pixel(x, y) | 0xFF000000u);
    vollo_delete_clipable(pixels);
}

TEST(SaveDialogue, YesAndANameSaveTheCanvasUnderThatNameAndBmp)
{
    struct Case { const char *input; const char *file; };
    const Case cases[] = {
        {"yes\ndrawing\n", "drawing.bmp"},
        {"yes\ndrawing", "drawing.bmp"},  // name ended by the end of input, no newline
        {"yes\ndrawing.bmp\n", "drawing.bmp.bmp"},
        {"yes\n\n", ".bmp"},
        {"yes\na name with spaces\n", "a name with spaces.bmp"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.input);
        TempDir folder;
        Outcome outcome = run_dialogue(folder, c.input);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, ask_save + ask_name);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{c.file});
        expect_saved_pattern(folder.file(c.file));
    }
}

TEST(SaveDialogue, AnyOtherAnswerSavesNothingAndAsksNothingMore)
{
    for (const char *input : {"no\n", "y\n", "Yes\n", "yes \n", " yes\n", "\n", "YES\ndrawing\n", "",
                              "no\ndrawing\n"})
    {
        SCOPED_TRACE(input);
        TempDir folder;
        Outcome outcome = run_dialogue(folder, input);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, ask_save);
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(folder.entries().empty());
    }
}

TEST(SaveDialogue, EndOfInputOrClosedInputEndsWithoutSaving)
{
    TempDir folder;
    Outcome closed = run_dialogue(folder, "", true);
    EXPECT_EQ(closed.status, 0);
    EXPECT_EQ(closed.out, ask_save);
    Outcome no_name = run_dialogue(folder, "yes\n");
    EXPECT_EQ(no_name.status, 0);
    EXPECT_EQ(no_name.out, ask_save + ask_name);
    EXPECT_EQ(no_name.err, "");
    EXPECT_TRUE(folder.entries().empty());
}

// A failed save says where and why on standard error and asks for the name again.
TEST(SaveDialogue, FailedSaveIsReportedAndTheNameAskedAgain)
{
    TempDir folder;
    ASSERT_EQ(symlink("/dev/full", folder.file("full.bmp").c_str()), 0);
    Outcome outcome = run_dialogue(folder, "yes\nmissing/picture\nfull\nkept\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, ask_save + ask_name + ask_name + ask_name);
    EXPECT_EQ(outcome.err,
              "pixodraw: the picture could not be saved to missing/picture.bmp: No such file or directory\n"
              "pixodraw: the picture could not be saved to full.bmp: No space left on device\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"full.bmp", "kept.bmp"}));
    expect_saved_pattern(folder.file("kept.bmp"));

    // Giving up: the end of input after a failure ends the dialogue.
    TempDir other;
    Outcome gave_up = run_dialogue(other, "yes\nmissing/picture\n");
    EXPECT_EQ(gave_up.status, 0);
    EXPECT_EQ(gave_up.out, ask_save + ask_name + ask_name);
    EXPECT_TRUE(other.entries().empty());
}

TEST(SaveDialogue, NoCanvasAsksNothing)
{
    paint_state state = {nullptr, nullptr, 0, 0, 0, 0};
    save_file(&state);
    save_file(nullptr);
}

}  // namespace
