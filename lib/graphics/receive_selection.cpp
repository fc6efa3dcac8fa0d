// Asking the CLIPBOARD's owner for one kind of data and reading the answer: in one
// property, or in pieces (INCR) that the owner writes each time the last is deleted.
#include <poll.h>

#include <chrono>

#include "clipboard_private.hpp"
#include "error/error.hpp"

#include <X11/Xatom.h>

namespace vollo_internal
{
namespace
{

struct wanted
{
    Window window;
    Atom property;
};

Bool is_selection_notify(Display *, XEvent *event, XPointer data)
{
    const wanted *w = reinterpret_cast<const wanted *>(data);
    return event->type == SelectionNotify && event->xselection.requestor == w->window;
}

Bool is_new_piece(Display *, XEvent *event, XPointer data)
{
    const wanted *w = reinterpret_cast<const wanted *>(data);
    return event->type == PropertyNotify && event->xproperty.window == w->window &&
           event->xproperty.atom == w->property && event->xproperty.state == PropertyNewValue;
}

// The next event the predicate takes, waiting at most timeout_ms; false on silence.
bool wait_for(Display *display, Bool (*predicate)(Display *, XEvent *, XPointer), wanted &w,
              XEvent &event, int timeout_ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;)
    {
        if (XCheckIfEvent(display, &event, predicate, reinterpret_cast<XPointer>(&w)))
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, int(left.count() < 50 ? left.count() : 50));
    }
}

// Reads and deletes the property; its type in *type. False when it is not there.
bool take_property(Display *display, Window window, Atom property, std::vector<uint8_t> &bytes, Atom *type)
{
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 0x1FFFFFFF, True, AnyPropertyType, type, &format,
                           &count, &after, &data) != Success)
        return false;
    if (*type != None && data)
    {
        // 32-bit items come as longs, whatever the size of a long.
        const size_t item = format == 32 ? sizeof(long) : size_t(format / 8);
        bytes.insert(bytes.end(), data, data + count * item);
    }
    if (data)
        XFree(data);
    return *type != None;
}

}  // namespace

bool receive_selection(clipboard_connection *c, Atom target, std::vector<uint8_t> &bytes, Atom *type,
                       int timeout_ms)
{
    Display *display = c->display;
    wanted w{c->window, c->property};
    XEvent event;
    XDeleteProperty(display, c->window, c->property);
    XConvertSelection(display, c->clipboard, target, c->property, c->window, CurrentTime);
    XFlush(display);
    if (!wait_for(display, is_selection_notify, w, event, timeout_ms))
    {
        vollo_fail("the clipboard's owner did not answer");
        return false;
    }
    bytes.clear();
    if (event.xselection.property == None || !take_property(display, c->window, c->property, bytes, type))
    {
        vollo_fail("the clipboard's owner refused to give its contents in that form");
        return false;
    }
    XFlush(display);
    if (*type != c->incr)
        return true;
    // In pieces: each new value is read and deleted, until an empty one.
    bytes.clear();
    for (;;)
    {
        if (!wait_for(display, is_new_piece, w, event, timeout_ms))
        {
            vollo_fail("the clipboard's owner stopped in the middle of its answer");
            return false;
        }
        const size_t before = bytes.size();
        take_property(display, c->window, c->property, bytes, type);
        XFlush(display);
        if (bytes.size() == before)
            return true;
    }
}

}  // namespace vollo_internal
