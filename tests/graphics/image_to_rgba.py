#!/usr/bin/python3
"""image_to_rgba.py FILE [N]: reads an image file with Pillow (a JPEG at 1/8 of its size
by libjpeg's own reduced decoding, then averaged over N x N pixels, when N is given) and writes one line
"FORMAT WIDTH HEIGHT" followed by its pixels as raw R G B A bytes, row by row."""
import sys

from PIL import Image

with Image.open(sys.argv[1]) as image:
    if len(sys.argv) > 2:
        image.draft(image.mode, (image.width // 8, image.height // 8))
        image = image.reduce(int(sys.argv[2]))
    image.load()
    header = "%s %d %d\n" % (image.format, image.width, image.height)
    sys.stdout.buffer.write(header.encode() + image.convert("RGBA").tobytes())
