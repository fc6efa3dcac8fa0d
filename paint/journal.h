// PIXODRAW: the journal, every change of the canvas on disk within a second, so that a
// session that dies (SIGKILL, a crash, a power cut) can be rebuilt at the next start.
#ifndef PAINT_JOURNAL_H
#define PAINT_JOURNAL_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layout.h"
#include "state.h"
#include "vollo.h"

#define JOURNAL_PREFIX ".pixodraw-journal-"  // then PID-SECONDS, in a recovery folder
#define JOURNAL_SYNC_SECONDS 1.0             // the file is synced at most this often
#define JOURNAL_OPEN_SECONDS 0.5             // an action under way is written this often

// Records after the journal's header. Every one holds a rectangle of the pixel array
// and a run-length code (history_encode) of one word per pixel of it, row after row.
typedef enum journal_kind
{
    JOURNAL_DIFFERENCE = 1,  // XOR-ed into the pixels: a finished action, an undo, a redo
    JOURNAL_PIXELS = 2,      // the pixels themselves: changes that are no action
    JOURNAL_OPEN = 3,        // the action under way so far, XOR-ed into the pixels as they
                             // were before it; replaced by the next record of any kind
    JOURNAL_RESHAPE = 4      // the pixel array takes the rectangle's size (from (0, 0)) and
                             // the code's pixels: a crop, a rotation or a flip, or its undo
} journal_kind;

// What the journal's pixel array starts from.
typedef struct journal_base
{
    std::string picture;          // the picture file loaded whole; empty: the first
                                  // record holds every pixel (a blank start, a save)
    uint64_t size = 0;            // that file's bytes and modification time, to be sure
    int64_t mtime_seconds = 0;    // it is still the same picture
    int64_t mtime_nanoseconds = 0;
    uint32_t width = 0, height = 0;  // the pixel array's
} journal_base;

// A session's journal, open and locked (flock) for as long as the session runs.
typedef struct paint_journal
{
    int fd = -1;
    std::string path;
    journal_base base;
    double synced_at = 0;          // seconds (journal_now) of the last sync
    double open_at = 0;            // and of the last look at the action under way
    int32_t unsynced = 0;          // 1 when written since the last sync
    int32_t failed = 0;            // 1 once a write failed: nothing more is written
    paint_rect open_area = PAINT_NO_RECT;  // the last JOURNAL_OPEN record written, until
    std::vector<uint32_t> open_code;       // the next record of another kind
    std::vector<uint32_t> record;          // room for the record being written
    uint64_t covers_seen = 0;      // the history's `covers` at the last look
} paint_journal;

// Creates the journal of the pixel array in the first recovery folder that takes it,
// named JOURNAL_PREFIX PID-SECONDS, and locks it: `picture` names the file the array was
// loaded from (its size and time are kept), null when the array is written whole as the
// first record. Null, after one warning on standard error, when no folder takes it.
paint_journal *journal_start(const vollo_pixelarray *canvas, const char *picture);
// Appends one record; false (and no more records) when the write fails.
bool journal_write(paint_journal *journal, journal_kind kind, paint_rect area,
                   const std::vector<uint32_t> &code);
// Starts the journal again from the canvas as it is (a record of every pixel), as after
// a save; the same file.
void journal_restart(paint_journal *journal, const vollo_pixelarray *canvas);
// Closes the journal, removing its file when `remove`, and releases it (null is fine).
void journal_end(paint_journal *journal, bool remove);
// After finish_action committed an action: its step, or the whole canvas when the
// history could not keep it.
void journal_action(paint_state *state);
// After an undo or a redo: what it changed.
void journal_undo_redo(paint_state *state);
// After a change that is no action painted `area` of the canvas: its pixels.
void journal_pixels(paint_state *state, paint_rect area);
// Each tick: the action under way every JOURNAL_OPEN_SECONDS, and a sync at most every
// JOURNAL_SYNC_SECONDS when something was written. `now` in seconds (journal_now).
void journal_tick(paint_state *state, double now);
// Seconds of a monotonic clock.
double journal_now(void);
// Reads a journal: its base, and the pixels rebuilt from it (the picture of the base
// loaded, then every whole record applied; a record cut short or damaged ends it, with
// the records before it kept). *changes receives the records beyond the base. False,
// with *reason telling why, when nothing can be rebuilt.
bool journal_rebuild(const char *path, journal_base *base, std::vector<uint32_t> *pixels,
                     size_t *changes, std::string *reason);
// At the start: every journal in the recovery folders whose session no longer runs
// (its lock is free) is rebuilt, kept in a numbered recovery file named on standard
// error, and removed. A journal with no change, or cut before its first whole pixels,
// is removed silently; one whose picture is gone or changed, or whose drawing cannot be
// kept, stays, and standard error says why. The count of drawings kept.
int recover_journals(void);

#endif
