#!/usr/bin/python3
"""X requests the test harness cannot make with xdotool.

  xhelper.py windows PID             print the top-level windows that process PID created, oldest first
  xhelper.py close WINDOW            send WM_PROTOCOLS/WM_DELETE_WINDOW, as a window manager does
  xhelper.py geometry WINDOW         print "x y width height viewable override_redirect"
  xhelper.py pixels X Y WIDTH HEIGHT write the screen region as raw R G B A bytes, row by row
  xhelper.py cursor                  print how many pixels of the pointer's current image are not transparent
  xhelper.py window X Y WIDTH HEIGHT map a titled window of this client, print its id, keep it until stdin ends

WINDOW is a decimal or 0x-prefixed X window id. Uses $DISPLAY. Exit status 0 on
success, 1 on any failure (with a message on stderr).
"""
import sys

from Xlib import X, display, error, protocol


def windows(dpy, pid):
    # The X-Resource extension tells which process owns the client of each window;
    # it works for programs that do not set _NET_WM_PID. Hidden helper windows
    # without a title are left out.
    if not dpy.has_extension("X-Resource"):
        raise RuntimeError("the server lacks the X-Resource extension")
    from Xlib.ext import res
    for window in dpy.screen().root.query_tree().children:
        reply = dpy.res_query_client_ids([{"client": window.id, "mask": res.LocalClientPIDMask}])
        owners = [value.value[0] for value in reply.ids if value.value]
        if pid in owners and window.get_wm_name() is not None:
            print(window.id)


def close(dpy, window_id):
    window = dpy.create_resource_object("window", window_id)
    protocols = dpy.intern_atom("WM_PROTOCOLS")
    delete = dpy.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    dpy.sync()


def geometry(dpy, window_id):
    window = dpy.create_resource_object("window", window_id)
    attributes = window.get_attributes()
    shape = window.get_geometry()
    origin = window.translate_coords(dpy.screen().root, 0, 0)
    # translate_coords gives the root origin in window coordinates: negate it.
    print(-origin.x, -origin.y, shape.width, shape.height,
          int(attributes.map_state == X.IsViewable), int(attributes.override_redirect))


def pixels(dpy, x, y, width, height):
    root = dpy.screen().root
    image = root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
    depth_formats = {f.depth: f for f in dpy.display.info.pixmap_formats}
    bits = depth_formats[image.depth].bits_per_pixel
    if bits != 32:
        raise RuntimeError("unsupported pixel size %d" % bits)
    data = image.data
    pad = depth_formats[image.depth].scanline_pad
    stride = ((width * bits + pad - 1) // pad) * pad // 8
    out = bytearray(width * height * 4)
    for row in range(height):
        line = data[row * stride: row * stride + width * 4]
        o = row * width * 4
        # The server stores 24-bit colour as B, G, R, unused on little-endian machines.
        out[o + 0: o + width * 4: 4] = line[2::4]
        out[o + 1: o + width * 4: 4] = line[1::4]
        out[o + 2: o + width * 4: 4] = line[0::4]
        out[o + 3: o + width * 4: 4] = b"\xff" * width
    sys.stdout.buffer.write(bytes(out))


def cursor(dpy):
    # XFixes answers only clients that have told it their version first.
    dpy.xfixes_query_version()
    image = dpy.xfixes_get_cursor_image(dpy.screen().root)
    print(sum(1 for pixel in image.cursor_image if pixel >> 24))


def other_window(dpy, x, y, width, height):
    screen = dpy.screen()
    window = screen.root.create_window(x, y, width, height, 0, screen.root_depth,
                                       background_pixel=screen.white_pixel,
                                       event_mask=X.FocusChangeMask | X.KeyPressMask | X.KeyReleaseMask)
    window.set_wm_name("other window")
    window.map()
    dpy.sync()
    print(window.id, flush=True)
    sys.stdin.read()


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 1
    try:
        dpy = display.Display()
        command = argv[1]
        if command == "windows" and len(argv) == 3:
            windows(dpy, int(argv[2], 0))
        elif command == "close" and len(argv) == 3:
            close(dpy, int(argv[2], 0))
        elif command == "geometry" and len(argv) == 3:
            geometry(dpy, int(argv[2], 0))
        elif command == "pixels" and len(argv) == 6:
            pixels(dpy, *[int(a, 0) for a in argv[2:6]])
        elif command == "window" and len(argv) == 6:
            other_window(dpy, *[int(a, 0) for a in argv[2:6]])
        elif command == "cursor" and len(argv) == 2:
            cursor(dpy)
        else:
            sys.stderr.write(__doc__)
            return 1
        dpy.close()
    except (error.DisplayError, error.XError, RuntimeError, ValueError, OSError) as failure:
        sys.stderr.write("xhelper: %s\n" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
