// Serving the CLIPBOARD selection while the library owns it: TARGETS, image/png and
// image/bmp, large answers in pieces (INCR) as the requestor takes them.
#include <algorithm>

#include "clipboard_private.hpp"

#include <X11/Xatom.h>

namespace vollo_internal
{
namespace
{

// The bytes served for a target, made on the first request for BMP; null for a
// target not served.
std::shared_ptr<const std::vector<uint8_t>> bytes_for(clipboard_connection *c, Atom target)
{
    if (target == c->png)
        return c->png_bytes;
    if (target != c->bmp)
        return nullptr;
    if (!c->bmp_bytes)
    {
        uint64_t size = 0;
        uint8_t *bmp = vollo_encode_pixels(c->pixels.data(), c->width, c->height, c->width, "clipboard.bmp", &size);
        if (!bmp)
            return nullptr;
        c->bmp_bytes = std::make_shared<const std::vector<uint8_t>>(bmp, bmp + size);
        free(bmp);
    }
    return c->bmp_bytes;
}

// Writes the answer into the requestor's property; false when nothing is served.
bool answer(clipboard_connection *c, const XSelectionRequestEvent &request, Atom property)
{
    Display *display = c->display;
    if (request.target == c->targets)
    {
        const Atom offered[] = {c->targets, c->png, c->bmp};
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(offered), 3);
        return true;
    }
    std::shared_ptr<const std::vector<uint8_t>> data = bytes_for(c, request.target);
    if (!data)
        return false;
    if (data->size() <= c->piece)
    {
        XChangeProperty(display, request.requestor, property, request.target, 8, PropModeReplace,
                        data->data(), int(data->size()));
        return true;
    }
    // Too large for one request: announce the size, then send a piece each time the
    // requestor deletes the property.
    const long size = long(data->size());
    XSelectInput(display, request.requestor, PropertyChangeMask);
    XChangeProperty(display, request.requestor, property, c->incr, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(&size), 1);
    c->transfers.push_back({request.requestor, property, request.target, data, 0});
    return true;
}

void answer_request(clipboard_connection *c, const XSelectionRequestEvent &request)
{
    // Old requestors name no property: the target then serves as one.
    Atom property = request.property != None ? request.property : request.target;
    bool served = c->owner && request.selection == c->clipboard && answer(c, request, property);
    XEvent notify{};
    notify.xselection.type = SelectionNotify;
    notify.xselection.display = c->display;
    notify.xselection.requestor = request.requestor;
    notify.xselection.selection = request.selection;
    notify.xselection.target = request.target;
    notify.xselection.property = served ? property : None;
    notify.xselection.time = request.time;
    XSendEvent(c->display, request.requestor, False, NoEventMask, &notify);
}

// The requestor took the last piece: the next one, or the empty piece that ends it.
void next_piece(clipboard_connection *c, const XPropertyEvent &event)
{
    for (auto transfer = c->transfers.begin(); transfer != c->transfers.end(); ++transfer)
    {
        if (transfer->requestor != event.window || transfer->property != event.atom)
            continue;
        const size_t count = std::min(c->piece, transfer->data->size() - transfer->offset);
        XChangeProperty(c->display, transfer->requestor, transfer->property, transfer->type, 8,
                        PropModeReplace, transfer->data->data() + transfer->offset, int(count));
        transfer->offset += count;
        if (count == 0)
        {
            XSelectInput(c->display, transfer->requestor, NoEventMask);
            c->transfers.erase(transfer);
        }
        return;
    }
}

}  // namespace

void clipboard_event(clipboard_connection *c, XEvent &event)
{
    if (event.type == SelectionRequest)
        answer_request(c, event.xselectionrequest);
    else if (event.type == SelectionClear && event.xselectionclear.selection == c->clipboard)
    {
        // Another program took the clipboard: what was served is no longer needed.
        c->owner = false;
        c->pixels = std::vector<uint32_t>();
        c->png_bytes.reset();
        c->bmp_bytes.reset();
    }
    else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete &&
             event.xproperty.window != c->window)
        next_piece(c, event.xproperty);
}

void serve_clipboard()
{
    clipboard_connection *c = clipboard_if_open();
    if (!c)
        return;
    while (XPending(c->display) > 0)
    {
        XEvent event;
        XNextEvent(c->display, &event);
        clipboard_event(c, event);
    }
    XFlush(c->display);
}

}  // namespace vollo_internal
