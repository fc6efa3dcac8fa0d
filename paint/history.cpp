// Undo and redo. An action keeps, before it changes them, the pixels of the area it may
// change; when it ends, that area before XOR after is run-length coded into a step. The
// same XOR turns the canvas from after to before (undo) and back (redo), so each step holds
// one copy of its area at most, and much less for shapes of one colour, whose difference is
// a few long runs.
#include <algorithm>
#include <new>

#include "history.h"
#include "rect.h"

#define LITERAL_BIT 0x80000000u
#define MAX_RUN 0x7FFFFFFFu





static size_t area_of(paint_rect r)
{
    return rect_empty(r) ? 0 : size_t(r.x1 - r.x0 + 1) * size_t(r.y1 - r.y0 + 1);
}

static size_t step_bytes(const history_step &step)
{
    return sizeof(history_step) +
           (step.diff.capacity() + step.code_before.capacity() + step.code_after.capacity()) * sizeof(uint32_t);
}

static void forget_everything(paint_history *history)
{
    history->steps.clear();
    history->undone = 0;
    history->bytes = 0;
    history->lost = 1;
    history->saved = history->touched = PAINT_NO_RECT;
    std::vector<uint32_t>().swap(history->before);
    std::vector<uint32_t>().swap(history->difference);
    history->fresh.clear();
}

std::vector<uint32_t> history_encode(const uint32_t *words, size_t count)
{
    std::vector<uint32_t> code;
    size_t i = 0;
    while (i < count)
    {
        size_t run = 1;
        while (i + run < count && run < MAX_RUN && words[i + run] == words[i])
            run++;
        if (run >= 3)
        {
            code.push_back(static_cast<uint32_t>(run));
            code.push_back(words[i]);
            i += run;
            continue;
        }
        // Literal words up to the next run of three equal ones.
        size_t end = i;
        while (end < count && end - i < MAX_RUN &&
               !(end + 2 < count && words[end] == words[end + 1] && words[end] == words[end + 2]))
            end++;
        code.push_back(static_cast<uint32_t>(end - i) | LITERAL_BIT);
        code.insert(code.end(), words + i, words + end);
        i = end;
    }
    return code;
}

void history_decode(const std::vector<uint32_t> &code, std::vector<uint32_t> &words)
{
    size_t at = 0;
    for (size_t i = 0; i < code.size() && at < words.size();)
    {
        const uint32_t head = code[i++];
        const size_t n = std::min<size_t>(head & MAX_RUN, words.size() - at);
        if (head & LITERAL_BIT)
        {
            const size_t available = std::min(n, code.size() - i);
            std::copy(code.begin() + long(i), code.begin() + long(i + available), words.begin() + long(at));
            i += head & MAX_RUN;
        }
        else if (i < code.size())
            std::fill(words.begin() + long(at), words.begin() + long(at + n), code[i++]);
        at += n;
    }
}

// XORs the coded words into the area's pixels, row after row.
static void apply_code(const std::vector<uint32_t> &code, paint_rect area, vollo_pixelarray *canvas)
{
    const size_t width = size_t(area.x1 - area.x0 + 1);
    const size_t total = area_of(area);
    size_t at = 0;
    auto pixel = [&](size_t index) -> uint32_t & {
        return canvas->pixels[(size_t(area.y0) + index / width) * canvas->width +
                              size_t(area.x0) + index % width];
    };
    for (size_t i = 0; i < code.size() && at < total;)
    {
        const uint32_t head = code[i++];
        const size_t n = std::min<size_t>(head & MAX_RUN, total - at);
        if (head & LITERAL_BIT)
        {
            for (size_t k = 0; k < n && i + k < code.size(); k++)
                pixel(at + k) ^= code[i + k];
            i += head & MAX_RUN;
        }
        else if (i < code.size())
        {
            const uint32_t value = code[i++];
            for (size_t k = 0; value != 0 && k < n; k++)
                pixel(at + k) ^= value;
        }
        at += n;
    }
}


// True when a change that is no action painted a pixel of the step's area after the
// step was made: those pixels are left out when it is undone or redone.
static bool masked(const paint_history *history, const history_step &step)
{
    const paint_rect common = rect_common(step.area, history->forgotten_area);
    const size_t width = size_t(history->forgotten_area.x1 - history->forgotten_area.x0 + 1);
    for (int32_t y = common.y0; !rect_empty(common) && y <= common.y1; y++)
        for (int32_t x = common.x0; x <= common.x1; x++)
            if (history->forgotten[size_t(y - history->forgotten_area.y0) * width +
                                   size_t(x - history->forgotten_area.x0)] > step.serial)
                return true;
    return false;
}

// Undoes or redoes the step (the same XOR), keeping in `applied` what it changed.
static void apply_step(paint_history *history, const history_step &step, vollo_pixelarray *canvas)
{
    history->applied_area = step.area;
    if (!masked(history, step))
    {
        history->applied = step.diff;
        apply_code(step.diff, step.area, canvas);
        return;
    }
    std::vector<uint32_t> words(area_of(step.area));
    history_decode(step.diff, words);
    const paint_rect common = rect_common(step.area, history->forgotten_area);
    const size_t width = size_t(step.area.x1 - step.area.x0 + 1);
    const size_t kept_width = size_t(history->forgotten_area.x1 - history->forgotten_area.x0 + 1);
    for (int32_t y = common.y0; y <= common.y1; y++)
        for (int32_t x = common.x0; x <= common.x1; x++)
            if (history->forgotten[size_t(y - history->forgotten_area.y0) * kept_width +
                                   size_t(x - history->forgotten_area.x0)] > step.serial)
                words[size_t(y - step.area.y0) * width + size_t(x - step.area.x0)] = 0;
    history->applied = history_encode(words.data(), words.size());
    apply_code(history->applied, step.area, canvas);
}

// Copies the rectangle's rows of the canvas (or of `from`, laid out as `from_area`, where
// it covers them) into `to`, laid out as `to_area`.
static void copy_rows(const vollo_pixelarray *canvas, const std::vector<uint32_t> *from,
                      paint_rect from_area, std::vector<uint32_t> &to, paint_rect to_area)
{
    const size_t to_width = size_t(to_area.x1 - to_area.x0 + 1);
    const size_t from_width = size_t(from_area.x1 - from_area.x0 + 1);
    for (int32_t y = to_area.y0; y <= to_area.y1; y++)
    {
        uint32_t *out = to.data() + size_t(y - to_area.y0) * to_width;
        const uint32_t *row = canvas->pixels + size_t(y) * canvas->width;
        std::copy(row + to_area.x0, row + to_area.x1 + 1, out);
        if (from != nullptr && !rect_empty(from_area) && y >= from_area.y0 && y <= from_area.y1)
            std::copy(from->data() + size_t(y - from_area.y0) * from_width,
                      from->data() + size_t(y - from_area.y0 + 1) * from_width,
                      out + (from_area.x0 - to_area.x0));
    }
}

// The kept area grown to `needed`, and further by its own width or height on each side
// that grows, within the canvas: a stroke that keeps leaving what is kept copies it again
// a few times, not at every stamp.
static paint_rect ahead(paint_rect saved, paint_rect needed, const vollo_pixelarray *canvas)
{
    const int32_t width = saved.x1 - saved.x0 + 1, height = saved.y1 - saved.y0 + 1;
    paint_rect grown = needed;
    if (needed.x0 < saved.x0)
        grown.x0 = int32_t(std::max<int64_t>(0, int64_t(needed.x0) - width));
    if (needed.x1 > saved.x1)
        grown.x1 = int32_t(std::min<int64_t>(int64_t(canvas->width) - 1, int64_t(needed.x1) + width));
    if (needed.y0 < saved.y0)
        grown.y0 = int32_t(std::max<int64_t>(0, int64_t(needed.y0) - height));
    if (needed.y1 > saved.y1)
        grown.y1 = int32_t(std::min<int64_t>(int64_t(canvas->height) - 1, int64_t(needed.y1) + height));
    return rect_union(grown, needed);
}

bool history_reserve(paint_history *history, const vollo_pixelarray *canvas, paint_rect area)
{
    if (canvas == nullptr || canvas->pixels == nullptr)
        return false;
    area = rect_clip(area, canvas->width, canvas->height);
    if (!history->open)
    {
        history->open = 1;
        history->lost = 0;
        history->saved = history->touched = PAINT_NO_RECT;
        history->fresh.clear();
    }
    if (history->lost)
        return false;
    if (rect_contains(history->saved, area))
        return true;
    // Outside what is kept, the action has changed nothing yet: the canvas still holds
    // the pixels as they were before it. The first area of an action reuses the buffer
    // of the last one.
    const paint_rect grown = rect_empty(history->saved)
                                 ? area
                                 : ahead(history->saved, rect_union(history->saved, area), canvas);
    try
    {
        if (rect_empty(history->saved))
        {
            history->before.resize(area_of(grown));
            copy_rows(canvas, nullptr, PAINT_NO_RECT, history->before, grown);
        }
        else
        {
            std::vector<uint32_t> before(area_of(grown));
            copy_rows(canvas, &history->before, history->saved, before, grown);
            history->before.swap(before);
        }
        history->saved = grown;
        return true;
    }
    catch (const std::bad_alloc &)
    {
        forget_everything(history);
        return false;
    }
}

#define FRESH_MOST 64  // rectangles kept in `fresh`; past it, the newest grows instead

// Adds `area` to the fresh areas: into the newest when both take little more room as one
// (a stroke's stamps overlap their neighbours), else as a rectangle of its own.
static void note_fresh(paint_history *history, paint_rect area)
{
    std::vector<paint_rect> &fresh = history->fresh;
    if (rect_empty(area))
        return;
    if (!fresh.empty())
    {
        const paint_rect joined = rect_union(fresh.back(), area);
        if (fresh.size() >= FRESH_MOST || area_of(joined) <= area_of(fresh.back()) + area_of(area))
        {
            fresh.back() = joined;
            return;
        }
    }
    fresh.push_back(area);
}

bool history_cover(paint_history *history, const vollo_pixelarray *canvas, paint_rect area)
{
    if (!history_reserve(history, canvas, area))
        return false;
    area = rect_clip(area, canvas->width, canvas->height);
    history->touched = rect_union(history->touched, area);
    history->covers++;
    note_fresh(history, area);
    return true;
}

// Drops the oldest steps until `needed` more bytes fit; false when they never can.
static bool make_room(paint_history *history, size_t needed)
{
    if (needed > history->limit)
        return false;
    while (!history->steps.empty() && history->bytes + needed > history->limit)
    {
        history->bytes -= step_bytes(history->steps.front());
        history->steps.pop_front();
        if (history->undone > history->steps.size())
            history->undone = history->steps.size();
    }
    return true;
}

// The open action's difference over `area` (within what it touched): its pixels now XOR
// before.
static std::vector<uint32_t> open_difference(paint_history *history, const vollo_pixelarray *canvas,
                                             paint_rect area)
{
    std::vector<uint32_t> &difference = history->difference;
    difference.resize(area_of(area));
    const size_t saved_width = size_t(history->saved.x1 - history->saved.x0 + 1);
    const size_t width = size_t(area.x1 - area.x0 + 1);
    for (int32_t y = area.y0; !rect_empty(area) && y <= area.y1; y++)
    {
        const uint32_t *now = canvas->pixels + size_t(y) * canvas->width + area.x0;
        const uint32_t *then = history->before.data() + size_t(y - history->saved.y0) * saved_width +
                               size_t(area.x0 - history->saved.x0);
        uint32_t *out = difference.data() + size_t(y - area.y0) * width;
        for (size_t x = 0; x < width; x++)
            out[x] = now[x] ^ then[x];
    }
    return history_encode(difference.data(), difference.size());
}

bool history_open_code(paint_history *history, const vollo_pixelarray *canvas, paint_rect *area,
                       std::vector<uint32_t> *code)
{
    *area = history->touched;
    return history_open_part(history, canvas, history->touched, code);
}

bool history_open_part(paint_history *history, const vollo_pixelarray *canvas, paint_rect area,
                       std::vector<uint32_t> *code)
{
    if (!history->open || history->lost || rect_empty(area) || !rect_contains(history->touched, area))
        return false;
    try
    {
        *code = open_difference(history, canvas, area);
        return true;
    }
    catch (const std::bad_alloc &)
    {
        return false;
    }
}

std::vector<paint_rect> history_take_fresh(paint_history *history)
{
    std::vector<paint_rect> taken;
    taken.swap(history->fresh);
    return taken;
}

// Drops the undone steps, then keeps the step, making room for it; everything is
// forgotten when it cannot fit at all.
static void push_step(paint_history *history, history_step &&step)
{
    while (history->undone > 0)
    {
        history->bytes -= step_bytes(history->steps.back());
        history->steps.pop_back();
        history->undone--;
    }
    if (make_room(history, step_bytes(step)))
    {
        history->bytes += step_bytes(step);
        history->steps.push_back(std::move(step));
    }
    else
        forget_everything(history);
}

bool history_commit(paint_history *history, const vollo_pixelarray *canvas)
{
    if (!history->open)
        return false;
    history->open = 0;
    if (history->lost)
        return true;
    try
    {
        history_step step;
        step.area = history->touched;
        step.diff = open_difference(history, canvas, history->touched);
        step.serial = ++history->clock;
        step.diff.shrink_to_fit();
        push_step(history, std::move(step));
    }
    catch (const std::bad_alloc &)
    {
        forget_everything(history);
    }
    return true;
}

bool history_push_reshape(paint_history *history, history_step &&step)
{
    step.reshape = 1;
    const uint64_t serial = step.serial = ++history->clock;
    // Pixels forgotten before refer to the picture's old shape; its undo brings it back
    // whole, so nothing of that map is needed any more.
    history->forgotten_area = PAINT_NO_RECT;
    std::vector<uint64_t>().swap(history->forgotten);
    try
    {
        push_step(history, std::move(step));
    }
    catch (const std::bad_alloc &)
    {
        forget_everything(history);
    }
    return !history->steps.empty() && history->steps.back().serial == serial;
}

bool history_push(paint_history *history, paint_rect area, std::vector<uint32_t> code)
{
    if (history->open)
        return false;
    history->lost = 0;
    history_step step;
    step.area = area;
    step.diff = std::move(code);
    step.serial = ++history->clock;
    step.diff.shrink_to_fit();
    push_step(history, std::move(step));
    return history->lost == 0;
}

void history_clear(paint_history *history)
{
    history->open = 0;
    forget_everything(history);
}

bool history_undo(paint_history *history, vollo_pixelarray *canvas)
{
    history_commit(history, canvas);
    if (history->undone >= history->steps.size())
        return false;
    history->undone++;
    const history_step &step = history->steps[history->steps.size() - history->undone];
    if (!step.reshape)  // a reshape is undone by the caller, which replaces the picture
        apply_step(history, step, canvas);
    return true;
}

bool history_redo(paint_history *history, vollo_pixelarray *canvas)
{
    history_commit(history, canvas);
    if (history->undone == 0)
        return false;
    const history_step &step = history->steps[history->steps.size() - history->undone];
    if (!step.reshape)
        apply_step(history, step, canvas);
    history->undone--;
    return true;
}


// Makes the map of forgotten pixels cover `area` too, keeping what it holds.
static void grow_forgotten(paint_history *history, paint_rect area)
{
    const paint_rect grown = rect_union(history->forgotten_area, area);
    if (rect_contains(history->forgotten_area, area))
        return;
    std::vector<uint64_t> map(area_of(grown), 0);
    const paint_rect old = history->forgotten_area;
    const size_t old_width = size_t(old.x1 - old.x0 + 1), width = size_t(grown.x1 - grown.x0 + 1);
    for (int32_t y = old.y0; !rect_empty(old) && y <= old.y1; y++)
        std::copy(history->forgotten.begin() + long(size_t(y - old.y0) * old_width),
                  history->forgotten.begin() + long(size_t(y - old.y0 + 1) * old_width),
                  map.begin() + long(size_t(y - grown.y0) * width + size_t(old.x0 - grown.x0)));
    history->forgotten.swap(map);
    history->forgotten_area = grown;
}

void history_forget(paint_history *history, paint_rect area)
{
    if (rect_empty(area))
        return;
    try
    {
        grow_forgotten(history, area);
    }
    catch (const std::bad_alloc &)
    {
        forget_everything(history);
        return;
    }
    // Every step made before now leaves these pixels alone; the steps themselves are not
    // touched, so this costs the area, whatever the length of the history.
    const uint64_t now = ++history->clock;
    const size_t width = size_t(history->forgotten_area.x1 - history->forgotten_area.x0 + 1);
    for (int32_t y = area.y0; y <= area.y1; y++)
        std::fill_n(history->forgotten.begin() +
                        long(size_t(y - history->forgotten_area.y0) * width +
                             size_t(area.x0 - history->forgotten_area.x0)),
                    area.x1 - area.x0 + 1, now);
}
