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
    JOURNAL_SAVED = 4,       // no pixels (an empty code over pixel 0,0): the drawing was
                             // saved, so what came before needs no recovery
    JOURNAL_RESHAPE = 5,     // the pixel array takes the rectangle's size (from (0, 0)) and
                             // the code's pixels: a crop, a rotation or a flip, or its undo
    JOURNAL_OPEN_PART = 6    // the action under way over this rectangle alone, in place of
                             // what the records of it before said there; a long stroke
                             // writes only what it painted since its last record
} journal_kind;

// What the journal's pixel array starts from.
typedef struct journal_base
{
    std::string picture;          // the picture file the pixels were decoded from; empty:
                                  // the first record holds every pixel (a blank start)
    uint64_t size = 0;            // that file's bytes, as the journal's own copy of it
    int64_t mtime_seconds = 0;    // (journal_picture_of) still holds them, and its time
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
    int32_t failed = 0;            // 1 once no folder takes it: nothing more is written
    int32_t broken = 0;            // errno of a failed write, until it moves elsewhere
    int32_t saved = 0;             // 1 when its last record is JOURNAL_SAVED
    int32_t linked = 0;            // 1 while its copy of the picture is a hard link to it,
    uint64_t picture_device = 0;   // which is watched (its file's device and inode)
    uint64_t picture_inode = 0;
    paint_rect held = PAINT_NO_RECT;  // bounds of every record's area since its base
    bool reshaped = false;            // a crop or turn since the base: it holds every pixel
    uint64_t length = 0;           // bytes in the file
    uint64_t trim_at = 0;          // a longer file is looked at for trimming
    paint_rect open_area = PAINT_NO_RECT;  // bounds of the action under way's records,
                                           // until the next record of another kind
    std::vector<uint32_t> record;          // room for the record being written
    uint64_t covers_seen = 0;      // the history's `covers` at the last look
} paint_journal;

// Creates the journal of the pixel array in the first recovery folder that takes it,
// named JOURNAL_PREFIX PID-SECONDS.journal, and locks it: `picture` names the file the
// array was decoded from, which the journal keeps a copy of (a hard link, else a copy of
// its bytes) beside itself; null when the array is written whole as the first record.
// A linked picture rewritten in place later makes the journal hold every pixel instead.
// Null when no folder takes it, with *reason (when not null) telling why.
paint_journal *journal_start(const vollo_pixelarray *canvas, const char *picture,
                             std::string *reason = nullptr);
// The journal's own copy of its picture: its path with ".picture" added.
std::string journal_picture_of(const std::string &journal);
// Appends one record; false when the write fails (journal_tick then moves the journal
// to the next recovery folder).
bool journal_write(paint_journal *journal, journal_kind kind, paint_rect area,
                   const std::vector<uint32_t> &code);
// After a save: a JOURNAL_SAVED record.
void journal_saved(paint_journal *journal);
// Closes the journal, removing its file when `remove`, and releases it (null is fine).
// False when a journal kept for the next start could not be synced, with *reason (when
// not null) telling why.
bool journal_end(paint_journal *journal, bool remove, std::string *reason = nullptr);
// After finish_action committed an action: its step, or the whole canvas when the
// history could not keep it.
void journal_action(paint_state *state);
// After an undo or a redo: what it changed.
void journal_undo_redo(paint_state *state);
// After a change that is no action painted `area` of the canvas: its pixels.
void journal_pixels(paint_state *state, paint_rect area);
// Each tick: the action under way every JOURNAL_OPEN_SECONDS (once whole, then what it
// covered since), and a sync at most every
// JOURNAL_SYNC_SECONDS when something was written. Between actions, a journal whose write
// failed is written again in the next recovery folder that takes it, and one longer
// than twice what it holds is trimmed to that. `now` in seconds (journal_now). False
// once, when no folder takes the journal any more (nothing more is written), with
// *reason telling why.
bool journal_tick(paint_state *state, double now, std::string *reason);
// Seconds of a monotonic clock.
double journal_now(void);
// Reads a journal: its base, and the pixels rebuilt from it (the journal's copy of its
// picture decoded as a session decodes a picture it opens, then every whole record
// applied; a record cut short or damaged ends it, with the records before it kept).
// *changes receives the records after the base and after the last JOURNAL_SAVED. False,
// with *reason telling why, when nothing can be rebuilt.
bool journal_rebuild(const char *path, journal_base *base, std::vector<uint32_t> *pixels,
                     size_t *changes, std::string *reason);
// At the start: every journal in the recovery folders whose session no longer runs
// (its lock is free) is rebuilt, kept in a numbered recovery file named on standard
// error, and removed. A journal with no change since its last save, or cut before its
// first whole pixels, is removed silently; one that cannot be rebuilt or kept is set
// aside as JOURNAL_PREFIX PID-SECONDS.set-aside (never looked at again), and standard
// error says why once. The count of drawings kept.
int recover_journals(void);
// At the start: every drawing kept in the working directory (pixodraw-YYYYMMDD-HHMMSS.bmp,
// -2, ...) named on standard error with its time and how to open it; the count.
int list_recovery_files(void);

#endif
