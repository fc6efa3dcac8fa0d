#!/usr/bin/python3
"""image_to_rgba.py FILE: reads an image file with Pillow and writes one line
"FORMAT WIDTH HEIGHT" followed by its pixels as raw R G B A bytes, row by row."""
import sys

from PIL import Image

with Image.open(sys.argv[1]) as image:
    image.load()
    header = "%s %d %d\n" % (image.format, image.width, image.height)
    sys.stdout.buffer.write(header.encode() + image.convert("RGBA").tobytes())
