#!/usr/bin/python3
"""Reads a picture file (BMP when so named; PNG, opaque, when so named) with Pillow, an
independent reader, and writes its pixels as raw bytes (red, green, blue; rows top to
bottom) to OUTPUT. Prints "width height"."""
import sys

from PIL import Image


def main():
    if len(sys.argv) not in (3, 7):
        sys.exit("usage: bmp_to_rgb.py PICTURE.bmp OUTPUT.rgb [LEFT TOP WIDTH HEIGHT]")
    with Image.open(sys.argv[1]) as image:
        if sys.argv[1].lower().endswith(".bmp") and image.format != "BMP":
            sys.exit("not a BMP file: " + str(image.format))
        if sys.argv[1].lower().endswith(".png") and (
                image.format != "PNG" or ("A" in image.getbands() and image.getchannel("A").getextrema() != (255, 255))):
            sys.exit("not an opaque PNG file: " + str(image.format))
        if len(sys.argv) == 7:
            left, top, width, height = map(int, sys.argv[3:])
            image = image.crop((left, top, left + width, top + height))
        rgb = image.convert("RGB")
        with open(sys.argv[2], "wb") as output:
            output.write(rgb.tobytes())
        print(rgb.width, rgb.height)


main()
