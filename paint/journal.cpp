// The session's journal: each change of the canvas appended as it happens, as the undo
// history's run-length coded differences, so that a session that dies without a word is
// rebuilt at the next start. The file is locked while the session runs; its lock going
// away with the process tells a later start that the session is over.
//
// Layout, in the machine's byte order: the header (journal_header_bytes), then records
// of six words (kind, x0, y0, x1, y1, count), `count` code words and a checksum word.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "journal_format.hpp"
#include "document.h"
#include "history.h"
#include "journal.h"
#include "state.h"
#include "terminal.h"

namespace
{

bool write_all(int fd, const void *bytes, size_t count)
{
    const char *at = static_cast<const char *>(bytes);
    while (count > 0)
    {
        const ssize_t n = write(fd, at, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        count -= size_t(n);
    }
    return true;
}

void give_up(paint_journal *journal)
{
    if (!journal->failed)
        fprintf(stderr, "pixodraw: warning: the journal %s can no longer be written: %s\n",
                journal->path.c_str(), strerror(errno));
    journal->failed = 1;
}

paint_rect whole(const vollo_pixelarray *canvas)
{
    return paint_rect{0, 0, int32_t(canvas->width) - 1, int32_t(canvas->height) - 1};
}

// The pixels of `area`, coded.
std::vector<uint32_t> pixels_code(const vollo_pixelarray *canvas, paint_rect area)
{
    std::vector<uint32_t> words;
    words.reserve(size_t(area.x1 - area.x0 + 1) * size_t(area.y1 - area.y0 + 1));
    for (int32_t y = area.y0; y <= area.y1; y++)
        words.insert(words.end(), canvas->pixels + size_t(y) * canvas->width + area.x0,
                     canvas->pixels + size_t(y) * canvas->width + area.x1 + 1);
    return history_encode(words.data(), words.size());
}

// The header, then (without a picture) every pixel; the file's length is cut to it.
bool write_start(paint_journal *journal, const vollo_pixelarray *canvas)
{
    const std::vector<uint8_t> header = journal_header_bytes(journal->base);
    if (ftruncate(journal->fd, 0) != 0 || lseek(journal->fd, 0, SEEK_SET) != 0 ||
        !write_all(journal->fd, header.data(), header.size()))
        return false;
    journal->unsynced = 1;
    return !journal->base.picture.empty() ||
           journal_write(journal, JOURNAL_PIXELS, whole(canvas), pixels_code(canvas, whole(canvas)));
}

bool describe_picture(const char *picture, journal_base *base)
{
    struct stat about;
    char *absolute = realpath(picture, nullptr);
    if (absolute == nullptr || stat(absolute, &about) != 0)
    {
        free(absolute);
        return false;
    }
    base->picture = absolute;
    free(absolute);
    base->size = uint64_t(about.st_size);
    base->mtime_seconds = about.st_mtim.tv_sec;
    base->mtime_nanoseconds = about.st_mtim.tv_nsec;
    return true;
}

// Creates and locks a new journal file in `folder`; -1 when it cannot.
int create_in(const std::string &folder, std::string *path)
{
    *path = folder + "/" + JOURNAL_PREFIX + std::to_string(getpid()) + "-" +
            std::to_string(long(time(nullptr))) + ".journal";
    const int fd = open(path->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        close(fd);
        unlink(path->c_str());
        return -1;
    }
    return fd;
}

}  // namespace

paint_journal *journal_start(const vollo_pixelarray *canvas, const char *picture)
{
    if (canvas == nullptr || canvas->pixels == nullptr)
        return nullptr;
    paint_journal *journal = new paint_journal();
    journal->base.width = canvas->width;
    journal->base.height = canvas->height;
    if (picture != nullptr && !describe_picture(picture, &journal->base))
        journal->base = journal_base{std::string(), 0, 0, 0, canvas->width, canvas->height};
    int error = 0;
    for (const std::string &folder : recovery_folders())
    {
        journal->fd = create_in(folder, &journal->path);
        if (journal->fd >= 0 && write_start(journal, canvas))
            break;
        error = errno;
        if (journal->fd >= 0)
        {
            close(journal->fd);
            unlink(journal->path.c_str());
            journal->fd = -1;
        }
    }
    if (journal->fd < 0)
    {
        fprintf(stderr, "pixodraw: warning: no journal could be written, a crash would lose the drawing: %s\n",
                strerror(error));
        delete journal;
        return nullptr;
    }
    journal->synced_at = journal->open_at = journal_now();
    return journal;
}

bool journal_write(paint_journal *journal, journal_kind kind, paint_rect area,
                   const std::vector<uint32_t> &code)
{
    if (journal == nullptr || journal->failed)
        return false;
    std::vector<uint32_t> &record = journal->record;
    record.assign({uint32_t(kind), uint32_t(area.x0), uint32_t(area.y0), uint32_t(area.x1),
                   uint32_t(area.y1), uint32_t(code.size())});
    record.insert(record.end(), code.begin(), code.end());
    record.push_back(journal_checksum(record.data(), record.size()));
    if (!write_all(journal->fd, record.data(), record.size() * sizeof(uint32_t)))
    {
        give_up(journal);
        return false;
    }
    journal->unsynced = 1;
    if (kind != JOURNAL_OPEN)
    {
        journal->open_area = PAINT_NO_RECT;
        journal->open_code.clear();
    }
    return true;
}

void journal_restart(paint_journal *journal, const vollo_pixelarray *canvas)
{
    if (journal == nullptr || journal->failed || canvas == nullptr)
        return;
    journal->base = journal_base{std::string(), 0, 0, 0, canvas->width, canvas->height};
    if (!write_start(journal, canvas))
        give_up(journal);
}

void journal_end(paint_journal *journal, bool remove)
{
    if (journal == nullptr)
        return;
    if (remove)
        unlink(journal->path.c_str());
    else
        fdatasync(journal->fd);
    close(journal->fd);
    delete journal;
}

void journal_action(paint_state *state)
{
    const paint_history &history = state->history;
    if (state->journal == nullptr)
        return;
    if (history.lost || history.steps.empty())
        journal_write(state->journal, JOURNAL_PIXELS, whole(drawing_of(state)),
                      pixels_code(drawing_of(state), whole(drawing_of(state))));
    else if (history.steps.back().area.x0 <= history.steps.back().area.x1)
        journal_write(state->journal, JOURNAL_DIFFERENCE, history.steps.back().area,
                      history.steps.back().diff);
}

void journal_undo_redo(paint_state *state)
{
    journal_write(state->journal, JOURNAL_DIFFERENCE, state->history.applied_area,
                  state->history.applied);
}

void journal_pixels(paint_state *state, paint_rect area)
{
    if (state->journal == nullptr)
        return;
    area.x0 = std::max(area.x0, 0);
    area.y0 = std::max(area.y0, 0);
    area.x1 = std::min(area.x1, int32_t(drawing_of(state)->width) - 1);
    area.y1 = std::min(area.y1, int32_t(drawing_of(state)->height) - 1);
    if (area.x0 <= area.x1 && area.y0 <= area.y1)
        journal_write(state->journal, JOURNAL_PIXELS, area, pixels_code(drawing_of(state), area));
}

void journal_tick(paint_state *state, double now)
{
    paint_journal *journal = state->journal;
    if (journal == nullptr || journal->failed)
        return;
    paint_rect area;
    std::vector<uint32_t> code;
    // Only when something was painted since the last look: a stroke held still, or no
    // stroke at all, costs nothing.
    if (now - journal->open_at >= JOURNAL_OPEN_SECONDS && state->history.covers != journal->covers_seen)
    {
        journal->open_at = now;
        journal->covers_seen = state->history.covers;
        if (history_open_code(&state->history, drawing_of(state), &area, &code) &&
            (code != journal->open_code || memcmp(&area, &journal->open_area, sizeof area) != 0) &&
            journal_write(journal, JOURNAL_OPEN, area, code))
        {
            journal->open_area = area;
            journal->open_code.swap(code);
        }
    }
    if (journal->unsynced && now - journal->synced_at >= JOURNAL_SYNC_SECONDS)
    {
        journal->synced_at = now;
        journal->unsynced = 0;
        fdatasync(journal->fd);
    }
}

double journal_now(void)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}
