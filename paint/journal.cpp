// The session's journal: each change of the canvas appended as it happens, as the undo
// history's run-length coded differences, so that a session that dies without a word is
// rebuilt at the next start. The file is locked while the session runs; its lock going
// away with the process tells a later start that the session is over.
//
// Layout, in the machine's byte order: the header (journal_header_bytes), then records
// of six words (kind, x0, y0, x1, y1, count), `count` code words and a checksum word.
// A journal over a picture keeps its own copy of the picture file beside it, so that the
// file may be saved over, replaced or removed meanwhile.
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
#include "rect.h"
#include "state.h"
#include "terminal.h"

namespace
{

paint_rect whole(const vollo_pixelarray *canvas)
{
    return paint_rect{0, 0, int32_t(canvas->width) - 1, int32_t(canvas->height) - 1};
}

paint_rect bounds(paint_rect a, paint_rect b)
{
    if (a.x0 > a.x1)
        return b;
    return paint_rect{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
                      std::max(a.y1, b.y1)};
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

std::vector<uint32_t> record_words(journal_kind kind, paint_rect area, const std::vector<uint32_t> &code)
{
    std::vector<uint32_t> record = {uint32_t(kind),    uint32_t(area.x0), uint32_t(area.y0),
                                    uint32_t(area.x1), uint32_t(area.y1), uint32_t(code.size())};
    record.insert(record.end(), code.begin(), code.end());
    record.push_back(journal_checksum(record.data(), record.size()));
    return record;
}

bool describe_picture(const char *picture, journal_base *base, dev_t *device, ino_t *inode)
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
    *device = about.st_dev;
    *inode = about.st_ino;
    return true;
}

// The journal's own copy of `from`: a hard link where the folder allows it (*linked set),
// else its bytes written whole, with the picture's modification time, which the rebuild
// checks.
bool keep_picture(const std::string &from, const std::string &copy, const journal_base &base, int32_t *linked)
{
    unlink(copy.c_str());
    *linked = link(from.c_str(), copy.c_str()) == 0;
    if (*linked)
        return true;
    std::vector<char> bytes;
    FILE *in = fopen(from.c_str(), "rb");
    if (in == nullptr)
        return false;
    char block[1 << 16];
    size_t got;
    while ((got = fread(block, 1, sizeof block, in)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    const bool read = !ferror(in);
    fclose(in);
    const timespec times[2] = {{0, UTIME_NOW}, {time_t(base.mtime_seconds), long(base.mtime_nanoseconds)}};
    return read && vollo_write_new_file(copy.c_str(), bytes.data(), bytes.size()) &&
           utimensat(AT_FDCWD, copy.c_str(), times, 0) == 0;
}

// Creates and locks a new journal file at `path`; -1 when it cannot.
int create_locked(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        close(fd);
        unlink(path.c_str());
        return -1;
    }
    return fd;
}

// The pixels that changed since the base: every one once the pixels were cropped or
// turned (the rectangles of earlier sizes no longer say where they lie), else those of
// every record since, within the pixels.
static paint_rect held_pixels(const paint_journal *journal, const vollo_pixelarray *canvas)
{
    const bool reshaped = journal->reshaped || canvas->width != journal->base.width ||
                          canvas->height != journal->base.height;
    return reshaped ? whole(canvas) : rect_clip(journal->held, canvas->width, canvas->height);
}

// Writes a whole journal to the new file `fd`: the header, the pixels it holds (every
// pixel without a picture, else those of `held`), the mark of a save when the drawing is
// saved, then syncs it. Without a picture, a first record alone reads as a drawing
// unchanged since its start: an empty difference after it tells that the pixels changed.
bool write_fresh(int fd, const journal_base &base, const vollo_pixelarray *canvas, paint_rect held,
                 bool saved, uint64_t *length)
{
    std::vector<uint8_t> bytes = journal_header_bytes(base);
    std::vector<uint32_t> words;
    const bool changed = !saved && held.x0 <= held.x1;
    // Pixels cropped or turned since the start no longer have the picture's size: they
    // are kept whole, as the record that gives them their size.
    const bool reshaped = canvas->width != base.width || canvas->height != base.height;
    if (base.picture.empty() || reshaped)
        held = whole(canvas);
    if (held.x0 <= held.x1)
        words = record_words(reshaped ? JOURNAL_RESHAPE : JOURNAL_PIXELS, held, pixels_code(canvas, held));
    std::vector<uint32_t> mark;
    if (saved)
        mark = record_words(JOURNAL_SAVED, paint_rect{0, 0, 0, 0}, {});
    else if (changed && base.picture.empty())
    {
        const uint32_t nothing = 0;
        mark = record_words(JOURNAL_DIFFERENCE, paint_rect{0, 0, 0, 0}, history_encode(&nothing, 1));
    }
    words.insert(words.end(), mark.begin(), mark.end());
    const size_t header = bytes.size();
    bytes.resize(header + words.size() * 4);
    if (!words.empty())
        std::memcpy(bytes.data() + header, words.data(), words.size() * 4);
    *length = bytes.size();
    return vollo_write_all(fd, bytes.data(), bytes.size()) && fdatasync(fd) == 0;
}

// The journal written fresh at `path` (its picture copied beside it from `picture`); the
// old file is replaced or removed only once the new one is whole on disk.
bool write_journal_at(paint_journal *journal, const vollo_pixelarray *canvas, const std::string &path,
                      const std::string &picture)
{
    const bool in_place = path == journal->path;
    const std::string building = in_place ? path + ".new" : path;
    const int fd = create_locked(building);
    uint64_t length = 0;
    bool done = fd >= 0 && (journal->base.picture.empty() || in_place ||
                            keep_picture(picture, journal_picture_of(path), journal->base, &journal->linked));
    done = done && write_fresh(fd, journal->base, canvas, held_pixels(journal, canvas), journal->saved, &length) &&
           (!in_place || rename(building.c_str(), path.c_str()) == 0);
    if (!done)
    {
        const int error = errno;
        if (fd >= 0)
            close(fd), unlink(building.c_str());
        if (!in_place)
            unlink(journal_picture_of(path).c_str());
        errno = error;
        return false;
    }
    if (journal->fd >= 0)
    {
        close(journal->fd);
        if (!in_place)
        {
            unlink(journal->path.c_str());
            unlink(journal_picture_of(journal->path).c_str());
        }
    }
    journal->fd = fd;
    journal->path = path;
    journal->length = journal->trim_at = length;
    journal->broken = 0;
    journal->unsynced = 0;
    journal->open_area = PAINT_NO_RECT;
    return true;
}

std::string name_in(const std::string &folder)
{
    static int serial = 0;
    return folder + "/" + JOURNAL_PREFIX + std::to_string(getpid()) + "-" + std::to_string(long(time(nullptr))) +
           (serial++ > 0 ? "-" + std::to_string(serial) : std::string()) + ".journal";
}

// The journal written fresh in the first recovery folder after `after` (or any, for an
// empty `after`) that takes it; the error of the last folder tried, or 0.
int move_journal(paint_journal *journal, const vollo_pixelarray *canvas, const std::string &after)
{
    const std::string picture = journal->fd >= 0 ? journal_picture_of(journal->path) : journal->base.picture;
    const std::string current = after.empty() ? std::string() : after.substr(0, after.rfind('/'));
    std::vector<std::string> folders = recovery_folders();
    auto start = std::find(folders.begin(), folders.end(), current);
    int error = ENOENT;
    for (auto folder = start == folders.end() ? folders.begin() : start + 1; folder != folders.end(); ++folder)
    {
        if (write_journal_at(journal, canvas, name_in(*folder), picture))
            return 0;
        error = errno;
    }
    return error;
}

}  // namespace

std::string journal_picture_of(const std::string &journal)
{
    return journal + ".picture";
}

paint_journal *journal_start(const vollo_pixelarray *canvas, const char *picture, std::string *reason)
{
    if (canvas == nullptr || canvas->pixels == nullptr)
        return nullptr;
    paint_journal *journal = new paint_journal();
    journal->base.width = canvas->width;
    journal->base.height = canvas->height;
    if (picture != nullptr &&
        !describe_picture(picture, &journal->base, &journal->picture_device, &journal->picture_inode))
        journal->base = journal_base{std::string(), 0, 0, 0, canvas->width, canvas->height};
    const int error = move_journal(journal, canvas, std::string());
    if (error != 0)
    {
        if (reason != nullptr)
            *reason = strerror(error);
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
    if (kind != JOURNAL_SAVED)
        journal->held = bounds(journal->held, area);
    journal->reshaped = journal->reshaped || kind == JOURNAL_RESHAPE;
    journal->saved = kind == JOURNAL_SAVED;
    if (kind != JOURNAL_OPEN && kind != JOURNAL_OPEN_PART && kind != JOURNAL_SAVED)
        journal->open_area = PAINT_NO_RECT;
    if (journal->broken)
        return false;
    journal->record = record_words(kind, area, code);
    if (!vollo_write_all(journal->fd, journal->record.data(), journal->record.size() * sizeof(uint32_t)))
    {
        // What a partial record left is cut away before the journal moves on.
        journal->broken = errno;
        return false;
    }
    journal->length += journal->record.size() * sizeof(uint32_t);
    journal->unsynced = 1;
    return true;
}

void journal_saved(paint_journal *journal)
{
    journal_write(journal, JOURNAL_SAVED, paint_rect{0, 0, 0, 0}, {});
}

bool journal_end(paint_journal *journal, bool remove, std::string *reason)
{
    if (journal == nullptr)
        return true;
    bool synced = true;
    if (remove)
    {
        unlink(journal->path.c_str());
        unlink(journal_picture_of(journal->path).c_str());
    }
    else if (journal->fd >= 0 && fdatasync(journal->fd) != 0)
    {
        synced = false;
        if (reason != nullptr)
            *reason = journal->path + " could not be synced: " + strerror(errno);
    }
    if (journal->fd >= 0)
        close(journal->fd);
    delete journal;
    return synced;
}

void journal_action(paint_state *state)
{
    const paint_history &history = state->history;
    if (state->journal == nullptr)
        return;
    // A step the history could not keep: the pixels of the area the action touched.
    if (history.lost || history.steps.empty())
        journal_pixels(state, history.lost || history.touched.x0 > history.touched.x1 ? whole(drawing_of(state))
                                                                                        : history.touched);
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
    area = rect_clip(area, drawing_of(state)->width, drawing_of(state)->height);
    if (!rect_empty(area))
        journal_write(state->journal, JOURNAL_PIXELS, area, pixels_code(drawing_of(state), area));
}

// A picture linked into the journal and rewritten in place (its inode kept, its size
// or time changed) no longer holds the journal's base: the journal is written again in
// its place from every pixel, without a picture. One replaced or removed leaves the link
// holding the old bytes, so nothing more needs watching.
static void journal_watch_picture(paint_journal *journal, const vollo_pixelarray *canvas)
{
    struct stat about;
    if (!journal->linked || journal->broken)
        return;
    if (stat(journal->base.picture.c_str(), &about) != 0 || about.st_ino != journal->picture_inode ||
        about.st_dev != journal->picture_device)
    {
        journal->linked = 0;
        return;
    }
    if (uint64_t(about.st_size) == journal->base.size && about.st_mtim.tv_sec == journal->base.mtime_seconds &&
        about.st_mtim.tv_nsec == journal->base.mtime_nanoseconds)
        return;
    const journal_base old = journal->base;
    journal->base = journal_base{std::string(), 0, 0, 0, canvas->width, canvas->height};
    if (!write_journal_at(journal, canvas, journal->path, std::string()))
    {
        journal->broken = errno;
        journal->base = old;
        return;
    }
    unlink(journal_picture_of(journal->path).c_str());
    journal->linked = 0;
}

// Between actions: a journal whose write failed moves to the next recovery folder (from
// the first again once it ran out), and one longer than twice what it holds is written
// again in its place. False when no folder takes it, with *reason telling why.
static bool journal_mend(paint_journal *journal, const vollo_pixelarray *canvas, std::string *reason)
{
    journal_watch_picture(journal, canvas);
    if (journal->broken)
    {
        const int error = journal->broken;
        if (move_journal(journal, canvas, journal->path) != 0 && move_journal(journal, canvas, std::string()) != 0)
        {
            journal->failed = 1;
            *reason = strerror(error);
            return false;
        }
        return true;
    }
    if (journal->length <= 2 * journal->trim_at)
        return true;
    uint64_t fresh = journal_header_bytes(journal->base).size();
    const paint_rect held = journal->base.picture.empty() ? whole(canvas) : held_pixels(journal, canvas);
    if (held.x0 <= held.x1)
        fresh += 28 + 4 * pixels_code(canvas, held).size();
    journal->trim_at = journal->length;
    if (journal->length > 2 * fresh && !write_journal_at(journal, canvas, journal->path, std::string()))
        journal->broken = errno;
    return true;
}

// The action under way: whole at its first look (JOURNAL_OPEN), then only the areas it
// covered since the last (JOURNAL_OPEN_PART), so that a record costs what was painted
// meanwhile rather than the whole stroke so far. A part that cannot be written makes
// the next look write the whole again.
static void journal_open_action(paint_journal *journal, paint_history *history, const vollo_pixelarray *canvas)
{
    const std::vector<paint_rect> fresh = history_take_fresh(history);
    paint_rect area;
    std::vector<uint32_t> code;
    if (rect_empty(journal->open_area))
    {
        if (history_open_code(history, canvas, &area, &code) && journal_write(journal, JOURNAL_OPEN, area, code))
            journal->open_area = area;
        return;
    }
    for (const paint_rect &part : fresh)
    {
        if (!history_open_part(history, canvas, part, &code) ||
            !journal_write(journal, JOURNAL_OPEN_PART, part, code))
        {
            journal->open_area = PAINT_NO_RECT;
            return;
        }
        journal->open_area = rect_union(journal->open_area, part);
    }
}

bool journal_tick(paint_state *state, double now, std::string *reason)
{
    paint_journal *journal = state->journal;
    if (journal == nullptr || journal->failed)
        return true;
    // An action that ended without a record of its own: the next one starts whole.
    if (!state->history.open)
        journal->open_area = PAINT_NO_RECT;
    // Only when something was painted since the last look: a stroke held still, or no
    // stroke at all, costs nothing.
    if (now - journal->open_at >= JOURNAL_OPEN_SECONDS && state->history.covers != journal->covers_seen)
    {
        journal->open_at = now;
        journal->covers_seen = state->history.covers;
        journal_open_action(journal, &state->history, drawing_of(state));
    }
    if (journal->unsynced && now - journal->synced_at >= JOURNAL_SYNC_SECONDS)
    {
        journal->synced_at = now;
        journal->unsynced = 0;
        if (fdatasync(journal->fd) != 0)
            journal->broken = errno;
    }
    return state->history.open || journal_mend(journal, drawing_of(state), reason);
}

double journal_now(void)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}
