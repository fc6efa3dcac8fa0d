// Private to the picture clipboard: the library's own connection to the X server, with
// a window that never shows, through which it asks for the CLIPBOARD selection and
// answers requests for it while it owns it.
#ifndef VOLLO_CLIPBOARD_PRIVATE_HPP
#define VOLLO_CLIPBOARD_PRIVATE_HPP

#include <cstdint>
#include <memory>
#include <vector>

// SFML first: Xlib defines macros (None, Bool...) that its headers also use as names.
#include "vollo.h"

#include <X11/Xlib.h>

namespace vollo_internal
{

// A transfer in pieces (INCR) under way to one requestor.
struct clipboard_transfer
{
    Window requestor;
    Atom property;
    Atom type;
    std::shared_ptr<const std::vector<uint8_t>> data;
    size_t offset;  // bytes already sent
};

struct clipboard_connection
{
    Display *display = nullptr;
    Window window = 0;
    Atom clipboard, targets, png, bmp, uri_list, incr, property, atom_pair_type;
    // What is served while the selection is ours: the pixels, the PNG made of them at
    // once and the BMP made on the first request for it.
    bool owner = false;
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::shared_ptr<const std::vector<uint8_t>> png_bytes, bmp_bytes;
    std::vector<clipboard_transfer> transfers;
    size_t piece = 0;  // largest property written in one request
};

// The connection, opened at the first call; null (the reason in vollo_error, naming
// `function`) when no X server can be reached.
clipboard_connection *open_clipboard(const char *function);
// The connection if it is open, else null; opens nothing.
clipboard_connection *clipboard_if_open();
// Answers every request that is waiting; called at each frame of vollo_loop.
void serve_clipboard();
// Handles one event of the connection: a request for the selection, its loss, or the
// requestor's deletion of a piece of a transfer.
void clipboard_event(clipboard_connection *connection, XEvent &event);
// Gives the selection up and closes the connection (at vollo_stop).
void close_clipboard();
// Asks the selection's owner for `target` and reads the answer, in pieces if the
// owner sends it so. False with the reason in vollo_error after `timeout_ms` of silence
// or a refusal.
bool receive_selection(clipboard_connection *connection, Atom target, std::vector<uint8_t> &bytes,
                       Atom *type, int timeout_ms);

}  // namespace vollo_internal

#endif
