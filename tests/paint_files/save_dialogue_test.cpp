// The save dialogue and the end of a session, run in a child process whose standard
// streams are pipes.
#include <csignal>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"
#include "bmp.h"
#include "state.h"
#include "terminal.h"

namespace
{

const std::string ask_save = "Save work ? [yes/no]\n";
const std::string ask_name = "File name : ";

struct Outcome
{
    std::string out, err;
    int status = -1;
    // The child's exit code: what save_file returned, or end_session's exit status.
    int result() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
};

// A whole end of session rather than the dialogue alone.
struct Session
{
    bool changed = true;          // the canvas changed since its last save
    bool remove_folder = false;   // the working directory is gone before the dialogue
    std::string home, tmpdir;     // $HOME and $TMPDIR (unset when empty)
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

// Runs save_file (or, with a session, end_session) in `folder` on a 4 x 3 pattern canvas
// with `input` as standard input (closed altogether when `close_input`).
Outcome run_dialogue(const TempDir &folder, const std::string &input, bool close_input = false,
                     const Session *session = nullptr)
{
    // Made before the fork: the child touches nothing of SFML, only the pixels.
    paint_state state = {pattern_canvas(4, 3), nullptr, 0, 0xFF000000u};
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
        if (session == nullptr)
            _exit(save_file(&state));
        state.changes = session->changed ? 5 : 0;
        for (const char *name : {"HOME", "TMPDIR"})
        {
            const std::string &value = name[0] == 'H' ? session->home : session->tmpdir;
            if (value.empty())
                unsetenv(name);
            else
                setenv(name, value.c_str(), 1);
        }
        if (session->remove_folder && rmdir(folder.path().c_str()) != 0)
            _exit(91);
        _exit(end_session(&state));
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
        EXPECT_EQ(outcome.result(), SAVE_DONE);
        EXPECT_EQ(outcome.out, ask_save + ask_name);
        EXPECT_EQ(outcome.err, std::string("pixodraw: saved ") + c.file + "\n");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{c.file});
        expect_saved_pattern(folder.file(c.file));
    }
}

// Only an exact "no" declines; other answers are unclear, and neither asks more.
TEST(SaveDialogue, AnyOtherAnswerSavesNothingAndAsksNothingMore)
{
    for (const char *input : {"no\n", "y\n", "Yes\n", "yes \n", " yes\n", "\n", "YES\ndrawing\n", "",
                              "no\ndrawing\n", "no \n"})
    {
        SCOPED_TRACE(input);
        TempDir folder;
        Outcome outcome = run_dialogue(folder, input);
        const bool no = std::string(input).rfind("no\n", 0) == 0;
        EXPECT_EQ(outcome.result(), input[0] == '\0' ? SAVE_UNANSWERED : no ? SAVE_DECLINED : SAVE_UNCLEAR);
        EXPECT_EQ(outcome.out, ask_save);
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(folder.entries().empty());
    }
}

TEST(SaveDialogue, EndOfInputOrClosedInputEndsWithoutSaving)
{
    TempDir folder;
    Outcome closed = run_dialogue(folder, "", true);
    EXPECT_EQ(closed.result(), SAVE_UNANSWERED);
    EXPECT_EQ(closed.out, ask_save);
    Outcome no_name = run_dialogue(folder, "yes\n");
    EXPECT_EQ(no_name.result(), SAVE_UNANSWERED);
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
    EXPECT_EQ(outcome.result(), SAVE_DONE);
    EXPECT_EQ(outcome.out, ask_save + ask_name + ask_name + ask_name);
    EXPECT_EQ(outcome.err,
              "pixodraw: the picture could not be saved to missing/picture.bmp: No such file or directory\n"
              "pixodraw: the picture could not be saved to full.bmp: No space left on device\n"
              "pixodraw: saved kept.bmp\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"full.bmp", "kept.bmp"}));
    expect_saved_pattern(folder.file("kept.bmp"));

    // Giving up: the end of input after a failure ends the dialogue.
    TempDir other;
    Outcome gave_up = run_dialogue(other, "yes\nmissing/picture\n");
    EXPECT_EQ(gave_up.result(), SAVE_UNANSWERED);
    EXPECT_EQ(gave_up.out, ask_save + ask_name + ask_name);
    EXPECT_TRUE(other.entries().empty());
}

TEST(SaveDialogue, NoCanvasAsksNothing)
{
    paint_state state = {nullptr, nullptr, 0, 0};
    save_file(&state);
    save_file(nullptr);
}

// The end of a session: a changed canvas that the dialogue did not save, because its
// input ended or failed or the answer was unclear, is kept in a numbered file; the
// user's own "no", an unchanged canvas or a successful save leave nothing more.
TEST(EndOfSession, ChangedCanvasLeftUnsavedIsKept)
{
    struct Case
    {
        const char *input;
        bool close_input, changed;
        const char *saved;       // the file the dialogue saves, or null
        bool kept;               // a recovery file is written
        const char *error_line;  // a line expected on standard error, or null
    } cases[] = {
        {"", false, true, nullptr, true, nullptr},
        {"", true, true, nullptr, true, nullptr},
        {"yes\n", false, true, nullptr, true, nullptr},
        {"yes\nmissing/name\n", false, true, nullptr, true, "could not be saved to missing/name.bmp"},
        {"", false, false, nullptr, false, nullptr},
        {"no\n", false, true, nullptr, false, nullptr},
        {"\n", false, true, nullptr, true, nullptr},
        {"Yes\n", false, true, nullptr, true, nullptr},
        {"ok\n", false, false, nullptr, false, nullptr},
        {"yes\nmine\n", false, true, "mine.bmp", false, "pixodraw: saved mine.bmp"},
    };
    const std::regex kept_line("pixodraw: the drawing was not saved; it is kept in (.*/(pixodraw-[0-9]{8}-[0-9]{6}(-[0-9]+)?\\.bmp))\n");
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "input '" << c.input << "'" << (c.close_input ? " closed" : "")
                                        << (c.changed ? " changed" : " unchanged"));
        TempDir folder, home;
        Session session;
        session.changed = c.changed;
        session.home = home.path();
        Outcome outcome = run_dialogue(folder, c.input, c.close_input, &session);
        EXPECT_EQ(outcome.result(), 0) << outcome.err;
        std::smatch kept;
        EXPECT_EQ(std::regex_search(outcome.err, kept, kept_line), c.kept) << outcome.err;
        std::vector<std::string> files;
        if (c.saved != nullptr)
            files.push_back(c.saved);
        if (c.kept && !kept.empty())
        {
            EXPECT_EQ(kept[1].str(), folder.file(kept[2].str()));
            files.push_back(kept[2].str());
            expect_saved_pattern(kept[1].str());
        }
        EXPECT_EQ(folder.entries(), files);
        EXPECT_TRUE(home.entries().empty());
        if (c.error_line != nullptr)
        {
            EXPECT_NE(outcome.err.find(c.error_line), std::string::npos) << outcome.err;
        }
        // Standard output keeps the dialogue's texts and nothing more.
        EXPECT_EQ(outcome.out.find("pixodraw"), std::string::npos);
    }
}

// A working directory that is gone sends the recovery file home, then to $TMPDIR; with
// nowhere left, the session says so and ends with status 1.
TEST(EndOfSession, RecoveryFallsBackAndNeverFailsSilently)
{
    TempDir home, scratch;
    struct Case
    {
        std::string home, tmpdir;
        const TempDir *kept_in;  // null: nowhere
    } cases[] = {{home.path(), scratch.path(), &home},
                 {"", scratch.path(), &scratch},
                 {home.file("missing"), scratch.file("missing"), nullptr}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.home + " | " + c.tmpdir);
        auto folder = std::make_unique<TempDir>();
        Session session;
        session.remove_folder = true;
        session.home = c.home;
        session.tmpdir = c.tmpdir;
        Outcome outcome = run_dialogue(*folder, "", false, &session);
        EXPECT_EQ(outcome.result(), c.kept_in != nullptr ? 0 : 1) << outcome.err;
        EXPECT_NE(outcome.err.find("pixodraw: the drawing could not be kept in "), std::string::npos)
            << outcome.err;
        if (c.kept_in == nullptr)
        {
            EXPECT_NE(outcome.err.find("pixodraw: the drawing is lost\n"), std::string::npos);
            continue;
        }
        const std::vector<std::string> entries = c.kept_in->entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_NE(outcome.err.find("it is kept in " + c.kept_in->file(entries[0]) + "\n"),
                  std::string::npos)
            << outcome.err;
        expect_saved_pattern(c.kept_in->file(entries[0]));
        unlink(c.kept_in->file(entries[0]).c_str());
    }
}

}  // namespace
