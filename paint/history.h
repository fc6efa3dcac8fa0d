// PIXODRAW: undo history, kept as run-length coded differences.
#ifndef PAINT_HISTORY_H
#define PAINT_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "layout.h"
#include "vollo.h"

#define PAINT_HISTORY_LIMIT (64u << 20)  // bytes of undo history kept at most

// One undone or redone drawing action: the pixels of `area` XOR-ed before against after,
// run-length coded (see history_encode).
typedef struct history_step
{
    paint_rect area;
    std::vector<uint32_t> diff;
    uint64_t serial = 0;  // the history's clock when it was made
    // A change of the picture's size or shape (crop, rotate, flip): the whole picture
    // before and after it, each width x height run-length coded; `area` and `diff` unused.
    int32_t reshape = 0;
    uint32_t width_before = 0, height_before = 0, width_after = 0, height_after = 0;
    std::vector<uint32_t> code_before, code_after;
} history_step;

// Undo history: the steps, oldest first; the last `undone` of them are undone (redo
// brings them back). An open action keeps the pixels of `saved` as they were before it.
typedef struct paint_history
{
    std::deque<history_step> steps;
    size_t undone = 0;
    size_t bytes = 0;                    // memory held by the steps
    size_t limit = PAINT_HISTORY_LIMIT;  // the oldest steps go when `bytes` would pass it
    int32_t open = 0;                    // 1 while an action is being recorded
    paint_rect saved = PAINT_NO_RECT;    // area held in `before`
    paint_rect touched = PAINT_NO_RECT;  // area the open action may have changed
    std::vector<uint32_t> before;
    std::vector<uint32_t> difference;    // room for the step being coded
    int32_t lost = 0;                    // 1 when memory ran out during the open action
    uint64_t clock = 0;                  // counts the steps made and the areas forgotten
    paint_rect forgotten_area = PAINT_NO_RECT;  // bounds of every area forgotten so far
    std::vector<uint64_t> forgotten;     // per pixel of it: the clock when last forgotten
    paint_rect applied_area = PAINT_NO_RECT;    // the last step undone or redone, and the
    std::vector<uint32_t> applied;              // code of what it changed there
    uint64_t covers = 0;                 // history_cover calls so far: new paint shows here
    std::vector<paint_rect> fresh;       // areas covered since history_take_fresh, a few
} paint_history;

struct paint_state;

// Run-length code of words: runs of one value as (n, value), others as (n | 1 << 31, n words).
std::vector<uint32_t> history_encode(const uint32_t *words, size_t count);
// Writes out the words of a run-length code into `words`, whose size says how many there
// are; words the code does not reach are left as they are. A damaged code (a count past
// its end) never reads or writes outside either vector.
void history_decode(const std::vector<uint32_t> &code, std::vector<uint32_t> &words);
// Keeps the pixels of `area` as they are before the open action (opened here) changes
// them, without counting `area` in the action's area. False when memory ran out.
bool history_reserve(paint_history *history, const vollo_pixelarray *canvas, paint_rect area);
// Before the open action (opened here) changes any pixel of `area`: keeps the pixels of
// `area` as they are and counts it in the action's area. False when memory ran out: the
// history is then emptied and the rest of the action is not recorded.
bool history_cover(paint_history *history, const vollo_pixelarray *canvas, paint_rect area);
// Ends the open action and keeps it as the newest step (after the steps that were undone
// are dropped), dropping the oldest steps while the history would exceed its limit. True
// when an action was open.
bool history_commit(paint_history *history, const vollo_pixelarray *canvas);
// Keeps a finished action made without an open one, its difference over `area` coded
// as a step's, as the newest step (as history_commit does). False when an action is
// open, or when the history could not keep it (it is then emptied).
bool history_push(paint_history *history, paint_rect area, std::vector<uint32_t> code);
// Forgets every step and the open action, as when memory runs out.
void history_clear(paint_history *history);
// After a change that is no action (the size bar) painted `area`: the steps made so far no
// longer undo or redo anything there, so that what it painted stays and no step turns it
// into something that was never drawn. Costs the area, not the length of the history.
void history_forget(paint_history *history, paint_rect area);
// The open action's difference so far (its touched pixels now XOR before it), coded as a
// step's; false when no action is open, it touched nothing or its record was lost.
bool history_open_code(paint_history *history, const vollo_pixelarray *canvas, paint_rect *area,
                       std::vector<uint32_t> *code);
// The open action's difference so far over `area` alone (within what it touched), coded
// as a step's; false as history_open_code.
bool history_open_part(paint_history *history, const vollo_pixelarray *canvas, paint_rect area,
                       std::vector<uint32_t> *code);
// The areas the open action covered since the last call (or its start), and forgets them:
// a few rectangles, neighbours merged where that adds little area.
std::vector<paint_rect> history_take_fresh(paint_history *history);
// Undoes the newest step not undone (true), or does nothing (false).
bool history_undo(paint_history *history, vollo_pixelarray *canvas);
// Redoes the oldest undone step (true), or does nothing (false).
bool history_redo(paint_history *history, vollo_pixelarray *canvas);
// Keeps a reshape step (history_step.reshape) as the newest step, as history_commit keeps
// an action; false when memory ran out (the history is then emptied).
bool history_push_reshape(paint_history *history, history_step &&step);
// Ends the open drawing action, counts it in `changes` and presents it.
void finish_action(paint_state *state);
// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo (on the press); true when the canvas changed.
bool history_key(paint_state *state, vollo_event_state event, int32_t key);

#endif
