// Crop, rotation and flips of a document's picture: each one action whose step holds
// the whole picture before and after, since the picture's size may change.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

namespace
{

// The transformed pixels (malloc) and their size; null when memory runs out.
uint32_t *transformed(const vollo_pixelarray *picture, paint_transform transform, paint_rect crop,
                      uint32_t *width, uint32_t *height)
{
    const uint32_t w = picture->width, h = picture->height;
    const bool rotate = transform == TRANSFORM_ROTATE;
    *width = transform == TRANSFORM_CROP ? uint32_t(crop.x1 - crop.x0 + 1) : rotate ? h : w;
    *height = transform == TRANSFORM_CROP ? uint32_t(crop.y1 - crop.y0 + 1) : rotate ? w : h;
    uint32_t *out = static_cast<uint32_t *>(malloc(size_t(*width) * *height * 4));
    if (out == nullptr)
        return nullptr;
    const uint32_t *in = picture->pixels;
    for (uint32_t y = 0; y < *height; y++)
        for (uint32_t x = 0; x < *width; x++)
        {
            // The source pixel of each pixel of the result.
            uint32_t sx = x, sy = y;
            if (transform == TRANSFORM_CROP)
                sx = x + uint32_t(crop.x0), sy = y + uint32_t(crop.y0);
            else if (rotate)  // clockwise: the left column becomes the top row
                sx = y, sy = h - 1 - x;
            else if (transform == TRANSFORM_FLIP_HORIZONTAL)
                sx = w - 1 - x;
            else
                sy = h - 1 - y;
            out[size_t(y) * *width + x] = in[size_t(sy) * w + sx];
        }
    return out;
}

// The picture's whole pixels in a journal record of their own.
void journal_reshape(paint_state *state)
{
    const vollo_pixelarray *picture = state->document->picture;
    const paint_rect whole = {0, 0, int32_t(picture->width) - 1, int32_t(picture->height) - 1};
    try
    {
        journal_write(state->journal, JOURNAL_RESHAPE, whole,
                      history_encode(picture->pixels, size_t(picture->width) * picture->height));
    }
    catch (const std::bad_alloc &)
    {
        fprintf(stderr, "pixodraw: not enough memory to journal the change of the picture\n");
    }
}

// Puts width x height pixels (malloc) in the picture's place and shows them at fit.
bool take_pixels(paint_state *state, uint32_t *pixels, uint32_t width, uint32_t height)
{
    paint_document *document = state->document;
    vollo_pixelarray *picture = document->picture;
    uint32_t *old = picture->pixels;
    const uint32_t old_width = picture->width, old_height = picture->height;
    picture->pixels = pixels;
    picture->width = width;
    picture->height = height;
    picture->clip_width = int32_t(width);
    picture->clip_height = int32_t(height);
    if (!mips_build(document))
    {
        picture->pixels = old;
        picture->width = old_width, picture->height = old_height;
        picture->clip_width = int32_t(old_width), picture->clip_height = int32_t(old_height);
        mips_build(document);
        free(pixels);
        return false;
    }
    free(old);
    view_reset(&document->view, width, height);
    document->changed = PAINT_NO_RECT;
    document->stale = 1;
    state->selection = PAINT_NO_RECT;
    journal_reshape(state);
    request_present(state, 1);
    return true;
}

}  // namespace

bool document_replace(paint_state *state, const std::vector<uint32_t> &code, uint32_t width,
                      uint32_t height)
{
    if (state->document == nullptr)
        return false;
    try
    {
        std::vector<uint32_t> words(size_t(width) * height, 0);
        history_decode(code, words);
        uint32_t *pixels = static_cast<uint32_t *>(malloc(words.size() * 4));
        if (pixels == nullptr)
            return false;
        memcpy(pixels, words.data(), words.size() * 4);
        return take_pixels(state, pixels, width, height);
    }
    catch (const std::bad_alloc &)
    {
        return false;
    }
}

bool document_transform(paint_state *state, paint_transform transform)
{
    static const char *const names[] = {"crop", "rotation", "flip", "flip"};
    paint_document *document = state->document;
    if (document == nullptr)
        return false;
    const vollo_pixelarray *picture = document->picture;
    const paint_rect crop = state->selection;
    if (transform == TRANSFORM_CROP &&
        (crop.x0 > crop.x1 || crop.y0 > crop.y1 || crop.x0 < 0 || crop.y0 < 0 ||
         crop.x1 >= int32_t(picture->width) || crop.y1 >= int32_t(picture->height)))
    {
        fprintf(stderr, "pixodraw: nothing to crop to: select a part of the picture first\n");
        return false;
    }
    finish_action(state);
    uint32_t width = 0, height = 0;
    uint32_t *pixels = transformed(picture, transform, crop, &width, &height);
    history_step step;
    try
    {
        step.width_before = picture->width, step.height_before = picture->height;
        step.width_after = width, step.height_after = height;
        if (pixels != nullptr)
        {
            step.code_before = history_encode(picture->pixels, size_t(picture->width) * picture->height);
            step.code_after = history_encode(pixels, size_t(width) * height);
        }
    }
    catch (const std::bad_alloc &)
    {
        free(pixels);
        pixels = nullptr;
    }
    if (pixels == nullptr || !take_pixels(state, pixels, width, height))
    {
        fprintf(stderr, "pixodraw: not enough memory for the %s\n", names[transform]);
        return false;
    }
    if (!history_push_reshape(&state->history, std::move(step)))
        fprintf(stderr, "pixodraw: the %s cannot be undone: not enough memory to keep it\n", names[transform]);
    state->changes++;
    return true;
}

bool transform_key(paint_state *state, vollo_event_state event, int32_t key)
{
    const uint8_t *keys = vollo_get_keyboard();
    const bool control = keys[VOLLO_KEY_LEFT_CONTROL] || keys[VOLLO_KEY_RIGHT_CONTROL];
    const bool shift = keys[VOLLO_KEY_LEFT_SHIFT] || keys[VOLLO_KEY_RIGHT_SHIFT];
    if (event != VOLLO_PRESSED || !control || !shift)
        return false;
    const paint_transform transform = key == VOLLO_KEY_X   ? TRANSFORM_CROP
                                      : key == VOLLO_KEY_R ? TRANSFORM_ROTATE
                                      : key == VOLLO_KEY_H ? TRANSFORM_FLIP_HORIZONTAL
                                      : key == VOLLO_KEY_V ? TRANSFORM_FLIP_VERTICAL
                                                           : paint_transform(-1);
    if (transform == paint_transform(-1))
        return false;
    document_transform(state, transform);
    return true;
}
