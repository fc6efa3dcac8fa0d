// The picture clipboard's own X connection: opened on first use, closed with the window.
#include "clipboard_private.hpp"
#include "error/error.hpp"

namespace vollo_internal
{
namespace
{

clipboard_connection *the_connection = nullptr;
int (*previous_handler)(Display *, XErrorEvent *) = nullptr;

// A requestor may vanish while it is being answered: errors on this connection are
// ignored rather than ending the process, as Xlib's default handler would.
int ignore_own_errors(Display *display, XErrorEvent *error)
{
    if (the_connection && display == the_connection->display)
        return 0;
    return previous_handler ? previous_handler(display, error) : 0;
}

}  // namespace

clipboard_connection *open_clipboard(const char *function)
{
    if (the_connection)
        return the_connection;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
    {
        vollo_fail("%s: no display to hold the clipboard (is DISPLAY set?)", function);
        return nullptr;
    }
    clipboard_connection *connection = new (std::nothrow) clipboard_connection;
    if (!connection)
    {
        XCloseDisplay(display);
        vollo_fail("%s: out of memory", function);
        return nullptr;
    }
    connection->display = display;
    connection->window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, connection->window, PropertyChangeMask);
    connection->clipboard = XInternAtom(display, "CLIPBOARD", False);
    connection->targets = XInternAtom(display, "TARGETS", False);
    connection->png = XInternAtom(display, "image/png", False);
    connection->bmp = XInternAtom(display, "image/bmp", False);
    connection->uri_list = XInternAtom(display, "text/uri-list", False);
    connection->incr = XInternAtom(display, "INCR", False);
    connection->property = XInternAtom(display, "VOLLO_CLIPBOARD", False);
    connection->atom_pair_type = XInternAtom(display, "ATOM", False);
    // Properties are written in pieces well under the server's request limit.
    long limit = XExtendedMaxRequestSize(display) ? XExtendedMaxRequestSize(display) : XMaxRequestSize(display);
    connection->piece = size_t(limit) * 4 - 1024;
    if (connection->piece > (size_t(1) << 20))
        connection->piece = size_t(1) << 20;
    the_connection = connection;
    previous_handler = XSetErrorHandler(ignore_own_errors);
    return connection;
}

clipboard_connection *clipboard_if_open()
{
    return the_connection;
}

void close_clipboard()
{
    if (!the_connection)
        return;
    clipboard_connection *connection = the_connection;
    XDestroyWindow(connection->display, connection->window);
    XCloseDisplay(connection->display);
    the_connection = nullptr;
    XSetErrorHandler(previous_handler);
    delete connection;
}

}  // namespace vollo_internal
