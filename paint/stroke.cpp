// Strokes: while the left button is held after a press in the drawing area, the current
// tool is stamped at every point of the path, the points between two reported positions
// included. The stamps of one straight piece are painted as their union, one span per row,
// so a long stroke with a large tool costs about its area rather than its area times its
// length.
#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "rect.h"
#include "state.h"

// Where the left button reaches the drawing area.
static const paint_rect AREA = PAINT_LAYOUT.drawing_area.click;

bool in_drawing_area(vollo_position p)
{
    return rect_contains(AREA, p);
}

// Where the tools may paint: the drawing area as drawn, or the whole picture of a document.
static paint_rect paint_limit(const paint_state *state)
{
    if (state->document == nullptr)
        return PAINT_LAYOUT.drawing_area.drawn;
    const vollo_pixelarray *picture = state->document->picture;
    return paint_rect{0, 0, int32_t(picture->width) - 1, int32_t(picture->height) - 1};
}

// The point of the drawing under a screen position (for a document the picture pixel,
// wherever it lies); true when a press there may paint: in the drawing area, and on the
// picture for a document.
static bool drawing_point(const paint_state *state, vollo_position screen, vollo_position *point)
{
    if (state->document == nullptr)
    {
        *point = screen;
        return in_drawing_area(screen);
    }
    const paint_view &view = state->document->view;
    *point = view_screen_to_picture(&view, screen);
    return view_picture_point(&view, screen, point);
}

static void square_spans(int32_t width, int32_t height, stamp_shape *shape)
{
    shape->top = 0;
    shape->left.assign(height < 0 || width < 0 ? 0 : static_cast<size_t>(height) + 1, 0);
    shape->right.assign(shape->left.size(), width);
}

bool tool_shape(const paint_state *state, const tool_state *tools, stamp_shape *shape)
{
    if (tools == nullptr ||
        (tools->tool != TOOL_SQUARE && tools->tool != TOOL_CIRCLE && tools->tool != TOOL_ERASER))
        return false;
    const uint32_t color = tools->tool == TOOL_ERASER ? PAINT_WHITE : state->color;
    const int32_t size = tools->tool == TOOL_CIRCLE ? tools->radius : tools->width;
    if (shape->tool == tools->tool && shape->size == size && shape->color == color &&
        (tools->tool == TOOL_CIRCLE || static_cast<int32_t>(shape->left.size()) == tools->height + 1))
        return true;
    if (tools->tool == TOOL_CIRCLE)
        disc_spans(tools->radius, shape);
    else
        square_spans(tools->width, tools->height, shape);
    shape->tool = tools->tool;
    shape->size = size;
    shape->color = color;
    return true;
}

std::vector<vollo_position> line_points(vollo_position from, vollo_position to)
{
    std::vector<vollo_position> points;
    const int64_t dx = std::abs(int64_t(to.x) - from.x), dy = -std::abs(int64_t(to.y) - from.y);
    const int32_t sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    int64_t error = dx + dy;
    vollo_position p = from;
    points.reserve(static_cast<size_t>(std::max(dx, -dy)) + 1);
    for (;;)
    {
        points.push_back(p);
        if (p.x == to.x && p.y == to.y)
            return points;
        const int64_t twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            p.x += sx;
        }
        if (twice <= dx)
        {
            error += dx;
            p.y += sy;
        }
    }
}

// The rows reachable by stamps in the drawing area, kept before the first stamp of an
// action so that the action's record is not regrown stamp after stamp.
static paint_rect reachable(const stamp_shape *shape)
{
    const int32_t rows = static_cast<int32_t>(shape->left.size());
    const int32_t left = *std::min_element(shape->left.begin(), shape->left.end());
    const int32_t right = *std::max_element(shape->right.begin(), shape->right.end());
    return paint_rect{AREA.x0 + left, AREA.y0 + shape->top, AREA.x1 + right,
                      AREA.y1 + shape->top + rows - 1};
}

static void paint_span(vollo_pixelarray *canvas, int64_t x0, int64_t x1, int64_t y, uint32_t color)
{
    if (x0 > x1 || y < 0 || y >= int64_t(canvas->height) || x1 < 0 || x0 >= int64_t(canvas->width))
        return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, int64_t(canvas->width) - 1);
    std::fill(canvas->pixels + y * canvas->width + x0, canvas->pixels + y * canvas->width + x1 + 1,
              color);
}

// Along one straight piece the points move by at most one column per step and every span
// holds its stamp's column, so on each row the spans of the points reaching it overlap or
// touch: their union is the one span from the least left end to the greatest right end.
void stamp_path(paint_state *state, const stamp_shape *shape, vollo_position from,
                vollo_position to, bool from_painted, paint_rect clip)
{
    vollo_pixelarray *canvas = drawing_of(state);
    const int32_t rows = static_cast<int32_t>(shape->left.size());
    if (canvas == nullptr || canvas->pixels == nullptr || rows == 0)
        return;
    std::vector<vollo_position> points = line_points(from, to);
    points.erase(std::remove_if(points.begin(), points.end(),
                                [&](vollo_position p) {
                                    return (state->document == nullptr && !in_drawing_area(p)) ||
                                           (from_painted && p.x == from.x && p.y == from.y);
                                }),
                 points.end());
    if (points.empty())
        return;
    int32_t low = INT32_MAX, high = INT32_MIN;
    for (vollo_position p : points)
    {
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const int32_t first_row = low + shape->top, count = high - low + rows;
    std::vector<int32_t> left(static_cast<size_t>(count), INT32_MAX);
    std::vector<int32_t> right(static_cast<size_t>(count), INT32_MIN);
    for (vollo_position p : points)
        for (int32_t k = 0; k < rows; k++)
        {
            const size_t row = static_cast<size_t>(p.y - low + k);
            left[row] = std::min(left[row], p.x + shape->left[k]);
            right[row] = std::max(right[row], p.x + shape->right[k]);
        }
    paint_rect area = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t row = 0; row < count; row++)
    {
        const int32_t y = first_row + row;
        left[row] = y < clip.y0 || y > clip.y1 ? INT32_MAX : std::max(left[row], clip.x0);
        right[row] = y < clip.y0 || y > clip.y1 ? INT32_MIN : std::min(right[row], clip.x1);
        if (left[row] > right[row])
            continue;
        area = paint_rect{std::min(area.x0, left[row]), std::min(area.y0, y),
                          std::max(area.x1, right[row]), std::max(area.y1, y)};
    }
    if (area.x0 > area.x1)
        return;
    // A document's picture may be far larger than the area: its record grows instead.
    if (!state->history.open && state->document == nullptr)
        history_reserve(&state->history, canvas, reachable(shape));
    history_cover(&state->history, canvas, area);
    const int32_t from_first = from.y + shape->top;
    for (int32_t row = 0; row < count; row++)
    {
        const int32_t y = first_row + row, k = y - from_first;
        if (!from_painted || k < 0 || k >= rows)
        {
            paint_span(canvas, left[row], right[row], y, shape->color);
            continue;
        }
        // Leave out what the stamp at `from` already painted.
        const int32_t done_left = from.x + shape->left[k], done_right = from.x + shape->right[k];
        paint_span(canvas, left[row], std::min(right[row], done_left - 1), y, shape->color);
        paint_span(canvas, std::max(left[row], done_right + 1), right[row], y, shape->color);
    }
    document_touch(state, area);
    request_present(state, 1);
}

void stroke_press(paint_state *state, vollo_position position)
{
    // On a document a stroke may start anywhere in the drawing area: it paints wherever
    // its stamps meet the picture.
    state->stroke.active = drawing_point(state, position, &state->stroke.last) ||
                           (state->document != nullptr && in_drawing_area(position));
    state->stroke.stamped = 0;
    state->stroke.moved = 0;
    state->stroke.clip = paint_limit(state);
}

void stroke_move(paint_state *state, vollo_position position)
{
    paint_stroke *stroke = &state->stroke;
    vollo_position point;
    drawing_point(state, position, &point);
    if (!stroke->active || (point.x == stroke->last.x && point.y == stroke->last.y))
        return;
    if (tool_shape(state, &state->tools, &stroke->shape))
        stamp_path(state, &stroke->shape, stroke->last, point, stroke->stamped != 0, stroke->clip);
    stroke->moved = 1;
    stroke->last = point;
    stroke->stamped = state->document != nullptr ? rect_contains(stroke->clip, point)
                                                 : in_drawing_area(point);
}

// A fill as one action, its step coded from the runs it painted: no copy of the region
// is made before it.
static void fill_action(paint_state *state, vollo_pixelarray *canvas, vollo_position point,
                        paint_rect limit, int32_t tolerance)
{
    finish_action(state);
    fill_record record;
    paint_rect filled = PAINT_NO_RECT;
    try
    {
        filled = flood_fill(canvas, point, state->color, limit, tolerance, &record);
        if (rect_empty(filled))
            return;
        history_push(&state->history, filled, fill_code(&record, filled, state->color));
    }
    catch (const std::bad_alloc &)
    {
        // Part of the region may be painted: the journal then takes the whole drawing.
        history_clear(&state->history);
        filled = paint_limit(state);
    }
    state->changes++;
    journal_action(state);
    document_touch(state, filled);
    request_present(state, 1);
}

void stroke_release(paint_state *state, tool_state *tools, vollo_position position)
{
    paint_stroke *stroke = &state->stroke;
    const bool was_active = stroke->active != 0;
    vollo_position point;
    const bool on_drawing = drawing_point(state, position, &point);
    stroke->active = 0;
    if (tools != nullptr && tools->tool == TOOL_FILL && on_drawing)
    {
        // Filling a region with its own colour changes nothing and is no action.
        vollo_pixelarray *canvas = drawing_of(state);
        if (canvas == nullptr || uint32_t(point.x) >= canvas->width ||
            uint32_t(point.y) >= canvas->height || puxcolor(canvas, point) == state->color)
            return finish_action(state);
        const paint_rect limit = state->document != nullptr ? paint_limit(state) : AREA;
        fill_action(state, canvas, point, limit, tools->width);
    }
    else if ((was_active || on_drawing) && tool_shape(state, tools, &stroke->shape))
    {
        const vollo_position from = was_active ? stroke->last : point;
        position = point;
        // A click (no stroke, or one that never moved) is one whole stamp, which may
        // reach over the interface; a drag paints inside its clip rectangle only.
        const bool click = !was_active || (!stroke->moved && from.x == position.x &&
                                           from.y == position.y);
        // A document's stamps never reach past its picture.
        const paint_rect clip = state->document != nullptr ? paint_limit(state) : PAINT_EVERYWHERE;
        stamp_path(state, &stroke->shape, from, position, was_active && stroke->stamped,
                   click ? clip : stroke->clip);
    }
    stroke->stamped = 0;
    finish_action(state);
}
