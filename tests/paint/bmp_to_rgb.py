#!/usr/bin/python3
"""Reads a BMP file (or a PNG file, named .png, which must be opaque) with Pillow, an
independent reader, and writes its pixels as raw bytes (red, green, blue; rows top to
bottom) to OUTPUT. Prints "width height"."""
import sys

from PIL import Image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: bmp_to_rgb.py PICTURE.bmp OUTPUT.rgb")
    with Image.open(sys.argv[1]) as image:
        expected = "PNG" if sys.argv[1].endswith(".png") else "BMP"
        if image.format != expected:
            sys.exit("not a " + expected + " file: " + str(image.format))
        if "A" in image.getbands() and image.getchannel("A").getextrema() != (255, 255):
            sys.exit("not opaque")
        rgb = image.convert("RGB")
        with open(sys.argv[2], "wb") as output:
            output.write(rgb.tobytes())
        print(rgb.width, rgb.height)


main()
