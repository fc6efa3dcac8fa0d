// The session journal read back after it was cut short or damaged anywhere: every whole
// record before the damage counts, nothing after it, and nothing crashes.
#include <cstdlib>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support.hpp"
#include "bmp.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

namespace
{

struct Written
{
    std::string path;
    std::vector<off_t> ends;                   // the file's length after each record
    std::vector<std::vector<uint32_t>> after;  // the canvas after each record
};

off_t length_of(const std::string &path)
{
    struct stat about;
    return stat(path.c_str(), &about) == 0 ? about.st_size : -1;
}

// A session on a 40 x 30 canvas in `folder`: two stamps, an undo, a bar, a stroke under
// way and its end, each a record.
Written write_session(const TempDir &folder)
{
    Written written;
    char *working = getcwd(nullptr, 0);
    EXPECT_EQ(chdir(folder.path().c_str()), 0);
    paint_state state = {pattern_canvas(40, 30), nullptr, 0, 0xFF000000u};
    state.journal = journal_start(state.canvas, nullptr);
    EXPECT_NE(state.journal, nullptr);
    written.path = state.journal->path;
    auto note = [&] {
        written.ends.push_back(length_of(written.path));
        written.after.emplace_back(state.canvas->pixels, state.canvas->pixels + 40 * 30);
    };
    auto paint = [&](paint_rect r, uint32_t color) {
        history_cover(&state.history, state.canvas, r);
        pux_rectangle(state.canvas, r.x0, r.y0, r.x1, r.y1, color);
    };
    note();
    paint({2, 3, 12, 9}, 0xFF0000FFu);
    finish_action(&state);
    note();
    paint({8, 5, 30, 20}, 0xFF00FF00u);
    finish_action(&state);
    note();
    history_undo(&state.history, state.canvas);
    journal_undo_redo(&state);
    note();
    pux_rectangle(state.canvas, 0, 25, 39, 29, 0xFFFFFFFFu);
    history_forget(&state.history, {0, 25, 39, 29});
    journal_pixels(&state, {0, 25, 39, 29});
    note();
    paint({20, 0, 25, 28}, 0xFF123456u);
    std::string reason;
    EXPECT_TRUE(journal_tick(&state, journal_now() + 10, &reason)) << reason;
    note();
    finish_action(&state);
    note();
    journal_end(state.journal, false);
    vollo_delete_clipable(state.canvas);
    EXPECT_EQ(chdir(working), 0);
    free(working);
    return written;
}

TEST(Journal, CutOrDamagedJournalsKeepEveryWholeRecord)
{
    TempDir folder;
    const Written written = write_session(folder);
    ASSERT_EQ(written.ends.size(), 7u);
    const std::vector<uint8_t> whole = read_file(written.path);
    ASSERT_EQ(off_t(whole.size()), written.ends.back());
    auto rebuild = [&](const std::vector<uint8_t> &bytes, std::vector<uint32_t> *pixels) {
        write_file(folder.file("copy"), bytes);
        journal_base base;
        size_t changes = 0;
        std::string reason;
        return journal_rebuild(folder.file("copy").c_str(), &base, pixels, &changes, &reason);
    };
    // Cut at each record's end, one byte, one word and one record head past it, and one
    // byte short of the next.
    for (size_t k = 0; k < written.ends.size(); k++)
        for (off_t extra : {0, 1, 4, 24, -1})
        {
            const off_t cut = extra < 0 ? (k + 1 < written.ends.size() ? written.ends[k + 1] - 1 : -1)
                                        : written.ends[k] + extra;
            if (cut < 0 || cut > written.ends.back())
                continue;
            SCOPED_TRACE(testing::Message() << "record " << k << ", cut at " << cut);
            std::vector<uint32_t> pixels;
            ASSERT_TRUE(rebuild({whole.begin(), whole.begin() + cut}, &pixels));
            EXPECT_EQ(pixels, written.after[k]);
        }
    // A header cut short or a first record missing: nothing to rebuild, no crash.
    for (off_t cut : {off_t(0), off_t(7), off_t(40), written.ends[0] - 1})
    {
        std::vector<uint32_t> pixels;
        EXPECT_FALSE(rebuild({whole.begin(), whole.begin() + cut}, &pixels)) << cut;
    }
    // Random damage: a rebuild either fails or gives the canvas after some record.
    std::mt19937 random(17);
    for (int run = 0; run < 300; run++)
    {
        std::vector<uint8_t> bytes = whole;
        for (int flips = 1 + run % 3; flips > 0; flips--)
            bytes[random() % bytes.size()] ^= uint8_t(1 + random() % 255);
        std::vector<uint32_t> pixels;
        if (rebuild(bytes, &pixels))
        {
            EXPECT_NE(std::find(written.after.begin(), written.after.end(), pixels), written.after.end())
                << "run " << run;
        }
    }
}

// A journal over a picture keeps its own copy of the picture: it rebuilds whatever
// happened to the file since (saved over, removed), after a save it holds no change, and
// a copy that changed (cut short, or touched through its hard link once the session was
// over) stops it, with the reason.
TEST(Journal, PictureBaseRebuildsFromItsOwnCopy)
{
    enum Change { NONE, TOUCHED, REPLACED, REMOVED, SAVED, COPY_CUT };
    struct Case { Change change; bool rebuilt; size_t changes; const char *reason; } cases[] = {
        {NONE, true, 1, ""},     {TOUCHED, false, 0, "changed since"}, {REPLACED, true, 1, ""},
        {REMOVED, true, 1, ""},  {SAVED, true, 0, ""},   {COPY_CUT, false, 0, "changed since"}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.change);
        TempDir folder;
        vollo_pixelarray *pattern = pattern_canvas(30, 20);
        const std::string picture = folder.file("picture.bmp");
        ASSERT_TRUE(save_bmp(pattern, picture.c_str()));
        char *working = getcwd(nullptr, 0);
        ASSERT_EQ(chdir(folder.path().c_str()), 0);
        paint_state state = {load_bmp(picture.c_str()), nullptr, 0, 0xFF000000u};
        ASSERT_NE(state.canvas, nullptr);
        state.journal = journal_start(state.canvas, picture.c_str());
        ASSERT_NE(state.journal, nullptr);
        EXPECT_EQ(state.journal->base.picture, picture);
        history_cover(&state.history, state.canvas, {3, 4, 9, 9});
        pux_rectangle(state.canvas, 3, 4, 9, 9, 0xFF00FF00u);
        finish_action(&state);
        if (c.change == SAVED)
            journal_saved(state.journal);
        const std::string path = state.journal->path;
        journal_end(state.journal, false);
        EXPECT_EQ(chdir(working), 0);
        free(working);
        const timespec later[2] = {{0, UTIME_OMIT}, {12345, 0}};
        if (c.change == TOUCHED) {
            ASSERT_EQ(utimensat(AT_FDCWD, picture.c_str(), later, 0), 0);
        }
        if (c.change == REPLACED) {
            ASSERT_TRUE(save_bmp_safely(state.canvas, picture.c_str(), true));
        }
        if (c.change == REMOVED) {
            ASSERT_EQ(unlink(picture.c_str()), 0);
        }
        if (c.change == COPY_CUT) {
            ASSERT_EQ(truncate(journal_picture_of(path).c_str(), 100), 0);
        }
        journal_base base;
        std::vector<uint32_t> pixels;
        size_t changes = 0;
        std::string reason;
        EXPECT_EQ(journal_rebuild(path.c_str(), &base, &pixels, &changes, &reason), c.rebuilt);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
        EXPECT_EQ(changes, c.changes);
        if (c.rebuilt)
        {
            EXPECT_EQ(pixels, std::vector<uint32_t>(state.canvas->pixels, state.canvas->pixels + 600));
        }
        vollo_delete_clipable(state.canvas);
        vollo_delete_clipable(pattern);
    }
}

}  // namespace
