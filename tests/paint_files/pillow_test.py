"""The picture files of the paint program and the library against independent readers
and writers (Pillow and ImageMagick): every pixel we decode is compared with their own
decode of the same file, composited over white.

Usage: pillow_test.py BMP_TOOL   (the bridge program of this folder)
"""
import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

BMP_TOOL = None
# ImageMagick's own program, by its full path.
CONVERT = "/usr/bin/convert"


def save_with_tool(pixels, width, height, path):
    """Saves (r, g, b, a) tuples, row by row from the top, through save_bmp."""
    data = bytes(channel for pixel in pixels for channel in pixel)
    subprocess.run([BMP_TOOL, "save", str(width), str(height), path], input=data,
                   check=True, timeout=60)


def load_with_tool(path):
    """load_bmp's result: (width, height, [(r, g, b, a), ...]), or None with the reason."""
    run = subprocess.run([BMP_TOOL, "load", path], capture_output=True, timeout=60)
    if run.returncode != 0:
        return None, run.stderr.decode()
    head, _, data = run.stdout.partition(b"\n")
    width, height = map(int, head.split())
    pixels = [tuple(data[i:i + 4]) for i in range(0, len(data), 4)]
    return (width, height, pixels), ""


def load_picture_with_tool(path):
    """vollo_load_pixelarray's result, as load_with_tool."""
    run = subprocess.run([BMP_TOOL, "picture", path], capture_output=True, timeout=60)
    if run.returncode != 0:
        return None, run.stderr.decode()
    head, _, data = run.stdout.partition(b"\n")
    width, height = map(int, head.split())
    return (width, height, data), ""


def over_white(rgba):
    """RGBA bytes composited over white, as opaque RGBA bytes: (c * a + 255 * (255 - a)) / 255."""
    out = bytearray()
    for i in range(0, len(rgba), 4):
        r, g, b, a = rgba[i:i + 4]
        out += bytes((c * a + 255 * (255 - a) + 127) // 255 for c in (r, g, b)) + b"\xff"
    return bytes(out)


def imagemagick_decode(path):
    """ImageMagick's own decode (first frame), over white."""
    run = subprocess.run([CONVERT, path + "[0]", "-depth", "8", "rgba:-"], capture_output=True,
                         check=True, timeout=60)
    return over_white(run.stdout)


def pillow_decode(path):
    """Pillow's own decode (first frame), over white."""
    with Image.open(path) as picture:
        return over_white(picture.convert("RGBA").tobytes())


def bit_fields_decode(path):
    """A 16- or 32-bit bit-field BMP (info header of 56 bytes or more) decoded from its
    bits: each channel scaled as v * 255 / max, rounded, then over white (an alpha that is
    zero everywhere counts as opaque)."""
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    masks = struct.unpack_from("<4I", data, 54)
    size = bits // 8
    row = (width * bits + 31) // 32 * 4

    def channel(word, mask, absent):
        if mask == 0:
            return absent
        shift = (mask & -mask).bit_length() - 1
        top = mask >> shift
        return (((word & mask) >> shift) * 510 + top) // (2 * top)

    out = bytearray()
    for y in range(abs(height)):
        stored = abs(height) - 1 - y if height > 0 else y
        for x in range(width):
            at = offset + stored * row + x * size
            word = int.from_bytes(data[at:at + size], "little")
            out += bytes(channel(word, m, 255) for m in masks)
    if not any(out[3::4]):
        out[3::4] = b"\xff" * (len(out) // 4)
    return over_white(bytes(out))


class PillowReadsWhatWeWrite(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def test_odd_width_asymmetric_picture(self):
        # Distinct red and blue, so a channel swap shows; width 3, so the padding shows;
        # the grey of the interface has alpha 0, which the file drops.
        pixels = [(255, 0, 0, 255), (0, 0, 255, 255), (0, 255, 0, 255),
                  (10, 20, 30, 255), (200, 100, 50, 7), (126, 131, 128, 0)]
        path = os.path.join(self.dir.name, "tiny.bmp")
        save_with_tool(pixels, 3, 2, path)
        self.assertEqual(os.path.getsize(path), 54 + 2 * 12)
        with Image.open(path) as picture:
            self.assertEqual(picture.format, "BMP")
            self.assertEqual(picture.mode, "RGB")
            self.assertEqual(picture.size, (3, 2))
            got = [picture.getpixel((x, y)) for y in range(2) for x in range(3)]
        self.assertEqual(got, [pixel[:3] for pixel in pixels])

    def test_whole_canvas(self):
        rng = random.Random(7)
        pixels = [(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.randrange(256))
                  for _ in range(1050 * 800)]
        path = os.path.join(self.dir.name, "canvas.bmp")
        save_with_tool(pixels, 1050, 800, path)
        self.assertEqual(os.path.getsize(path), 2521654)
        with Image.open(path) as picture:
            self.assertEqual(picture.size, (1050, 800))
            got = picture.convert("RGB").tobytes()
        self.assertEqual(got, bytes(c for pixel in pixels for c in pixel[:3]))


class WeReadWhatPillowWrites(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def check(self, mode, size):
        rng = random.Random(size[0] * 100 + size[1])
        picture = Image.new(mode, size)
        colours = [tuple(rng.randrange(256) for _ in mode) for _ in range(size[0] * size[1])]
        picture.putdata(colours)
        path = os.path.join(self.dir.name, f"{mode}_{size[0]}x{size[1]}.bmp")
        picture.save(path)
        result, reason = load_with_tool(path)
        self.assertIsNotNone(result, reason)
        width, height, pixels = result
        self.assertEqual((width, height), size)
        # Every loaded pixel is opaque, whatever alpha the file held.
        self.assertEqual(pixels, [colour[:3] + (255,) for colour in colours])
        return path

    def test_two_by_two(self):
        self.check("RGB", (2, 2))

    def test_odd_sizes(self):
        for size in [(1, 1), (3, 5), (7, 2), (101, 33)]:
            with self.subTest(size=size):
                self.check("RGB", size)

    def test_32_bit(self):
        self.check("RGBA", (3, 2))

    def test_round_trip_through_both(self):
        path = self.check("RGB", (5, 3))
        result, _ = load_with_tool(path)
        width, height, pixels = result
        again = os.path.join(self.dir.name, "again.bmp")
        save_with_tool(pixels, width, height, again)
        with Image.open(path) as first, Image.open(again) as second:
            self.assertEqual(first.tobytes(), second.tobytes())

    def test_colour_mapped_pictures_are_read(self):
        rng = random.Random(11)
        source = Image.new("RGB", (13, 7))
        source.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256))
                        for _ in range(13 * 7)])
        for mode in ["L", "P", "1"]:
            with self.subTest(mode=mode):
                path = os.path.join(self.dir.name, f"{mode}.bmp")
                source.convert(mode).save(path)
                result, reason = load_with_tool(path)
                self.assertIsNotNone(result, reason)
                width, height, pixels = result
                self.assertEqual((width, height), (13, 7))
                self.assertEqual(bytes(c for pixel in pixels for c in pixel), pillow_decode(path))


def random_picture(width, height, seed, alpha=False, colours=None):
    """A picture of random colours (drawn from `colours` of them when given), with alpha
    0, 128 or 255 when asked."""
    rng = random.Random(seed)
    palette = [tuple(rng.randrange(256) for _ in range(3)) for _ in range(colours or 0)]
    picture = Image.new("RGBA", (width, height))
    pixels = []
    for _ in range(width * height):
        colour = rng.choice(palette) if palette else tuple(rng.randrange(256) for _ in range(3))
        pixels.append(colour + (rng.choice([0, 128, 255]) if alpha else 255,))
    picture.putdata(pixels)
    return picture


class WeReadWhatOthersWrite(unittest.TestCase):
    """Files of each kind written by ImageMagick and Pillow, read through
    vollo_load_pixelarray, against the writer's own decode."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.opaque = self.path("opaque.png")
        self.alpha = self.path("alpha.png")
        self.few = self.path("few.png")
        random_picture(13, 7, 1).save(self.opaque)
        random_picture(13, 7, 2, alpha=True).save(self.alpha)
        random_picture(13, 7, 3, colours=12).save(self.few)

    def tearDown(self):
        self.dir.cleanup()

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def decoded(self, path, size=None):
        """Our decode of the file, after checking its size (by default, Pillow's)."""
        result, reason = load_picture_with_tool(path)
        self.assertIsNotNone(result, reason)
        width, height, data = result
        if size is None:
            with Image.open(path) as picture:
                size = picture.size
        self.assertEqual((width, height), size)
        return data

    def assert_close(self, got, expected, tolerance):
        self.assertEqual(len(got), len(expected))
        worst = max(abs(a - b) for a, b in zip(got, expected))
        self.assertLessEqual(worst, tolerance)

    def test_imagemagick_bmp_kinds(self):
        # (name, source, arguments before the output, output prefix, independent decode, tolerance)
        # ImageMagick widens 5- and 6-bit channels by its own rounding (one step off at
        # most), 4-bit ones by 16 instead of 17 and a 1-bit alpha to 128: those files are
        # checked exactly against their bits (bit_fields_decode) and their colours within
        # one step of ImageMagick's decode.
        kinds = [
            ("24-bit, 124-byte header", self.opaque, [], "", imagemagick_decode, 0),
            ("BMP3: 40-byte header", self.opaque, [], "bmp3:", imagemagick_decode, 0),
            ("BMP2: OS/2 12-byte header", self.opaque, [], "bmp2:", imagemagick_decode, 0),
            ("BMP2 palette: 3-byte entries", self.few, ["-type", "Palette"], "bmp2:", imagemagick_decode, 0),
            ("8-bit palette, RLE8 by default", self.opaque, ["-type", "Palette"], "", imagemagick_decode, 0),
            ("8-bit palette uncompressed", self.opaque, ["-type", "Palette", "-compress", "None"], "",
             imagemagick_decode, 0),
            ("BMP3 RLE8", self.few, ["-type", "Palette", "-compress", "RLE"], "bmp3:", imagemagick_decode, 0),
            ("4-bit palette", self.few, ["-type", "Palette", "-compress", "None"], "", imagemagick_decode, 0),
            ("1-bit", self.opaque, ["-monochrome"], "", imagemagick_decode, 0),
            ("32-bit bit fields with alpha", self.alpha, [], "", imagemagick_decode, 0),
            ("RGB565", self.opaque, ["-define", "bmp:subtype=RGB565"], "", bit_fields_decode, 0),
            ("RGB555", self.opaque, ["-define", "bmp:subtype=RGB555"], "", bit_fields_decode, 0),
            ("ARGB4444", self.alpha, ["-define", "bmp:subtype=ARGB4444"], "", bit_fields_decode, 0),
            ("ARGB1555", self.alpha, ["-define", "bmp:subtype=ARGB1555"], "", bit_fields_decode, 0),
            ("RGB565 against ImageMagick", self.opaque, ["-define", "bmp:subtype=RGB565"], "",
             imagemagick_decode, 1),
            ("RGB555 against ImageMagick", self.opaque, ["-define", "bmp:subtype=RGB555"], "",
             imagemagick_decode, 1),
        ]
        for number, (name, source, arguments, prefix, decode, tolerance) in enumerate(kinds):
            with self.subTest(kind=name):
                out = self.path(f"kind{number}.bmp")
                subprocess.run([CONVERT, source] + arguments + [prefix + out], check=True, timeout=60)
                self.assert_close(self.decoded(out, (13, 7)), decode(out), tolerance)

    def test_pillow_kinds(self):
        picture = random_picture(13, 7, 4, alpha=True)
        kinds = [("RGB", "bmp"), ("RGBA", "bmp"), ("P", "bmp"), ("L", "bmp"), ("1", "bmp"),
                 ("RGBA", "png"), ("RGB", "png"), ("P", "png"), ("LA", "png"), ("RGBA", "tga"),
                 ("RGB", "tga"), ("P", "gif"), ("RGBA", "gif")]
        for mode, extension in kinds:
            with self.subTest(mode=mode, format=extension):
                out = self.path(f"{mode}.{extension}")
                picture.convert(mode).save(out)
                self.assertEqual(self.decoded(out), pillow_decode(out))

    def test_png_with_transparency_and_gif_first_frame(self):
        palette_png = self.path("transparent.png")
        picture = random_picture(9, 4, 5, colours=6).convert("RGB").convert("P")
        picture.info["transparency"] = 2
        picture.save(palette_png, transparency=2)
        frames = [random_picture(9, 4, seed).convert("P") for seed in (6, 7)]
        gif = self.path("two.gif")
        frames[0].save(gif, save_all=True, append_images=frames[1:], duration=100)
        for path in (palette_png, gif):
            with self.subTest(path=os.path.basename(path)):
                self.assertEqual(self.decoded(path), pillow_decode(path))

    def test_jpeg_within_three_steps(self):
        # SFML's decoder and Pillow's differ in their inverse transforms by a step or two.
        out = self.path("photo.jpg")
        random_picture(40, 24, 8).convert("RGB").resize((80, 48)).save(out, quality=92)
        self.assert_close(self.decoded(out), pillow_decode(out), 3)

    def test_recognised_by_content_not_by_name(self):
        png_named_bmp = self.path("really_a_png.bmp")
        bmp_named_png = self.path("really_a_bmp.png")
        random_picture(5, 3, 9).save(png_named_bmp, format="PNG")
        random_picture(5, 3, 10).convert("RGB").save(bmp_named_png, format="BMP")
        for path in (png_named_bmp, bmp_named_png):
            with self.subTest(path=os.path.basename(path)):
                self.assertEqual(self.decoded(path), pillow_decode(path))

    def test_psd_and_hdr_open_at_their_size(self):
        for extension in ("psd", "hdr"):
            with self.subTest(format=extension):
                out = self.path("picture." + extension)
                subprocess.run([CONVERT, self.opaque, out], check=True, timeout=60)
                result, reason = load_picture_with_tool(out)
                self.assertIsNotNone(result, reason)
                self.assertEqual(result[:2], (13, 7))

    def test_what_cannot_be_decoded_is_refused_with_a_reason(self):
        good = self.path("good.png")
        random_picture(30, 20, 11).save(good)
        data = open(good, "rb").read()
        jpeg = self.path("good.jpg")
        random_picture(30, 20, 12).convert("RGB").save(jpeg)
        jpeg_data = open(jpeg, "rb").read()
        frame = jpeg_data.index(b"\xff\xc0")
        gif = self.path("good.gif")
        random_picture(30, 20, 13).convert("P").save(gif)
        gif_data = open(gif, "rb").read()
        # Headers of a few bytes that claim pictures of a gigabyte are refused before the
        # loader allocates for them.
        cases = [("text.png", b"only some text, long enough to fill a header or two\n", "signature"),
                 ("cut.png", data[:len(data) // 2], "PNG file that cannot be decoded"),
                 ("empty", b"", "empty"),
                 ("huge.png", data[:16] + struct.pack(">II", 100000, 100000) + data[24:], "too large"),
                 ("huge.jpg", jpeg_data[:frame + 5] + struct.pack(">HH", 60000, 60000) + jpeg_data[frame + 9:],
                  "too large"),
                 ("huge.gif", gif_data[:6] + struct.pack("<HH", 65535, 65535) + gif_data[10:], "too large"),
                 ("huge.tga", bytes([0, 0, 2]) + bytes(9) + struct.pack("<HH", 64503, 3844) + bytes([24, 0])
                  + bytes(80), "needs 946 MiB"),
                 ("huge.hdr", b"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 60000 +X 60000\n" + bytes(64),
                  "too large"),
                 ("huge.ppm", b"P6\n# comment\n60000 60000\n255\n" + bytes(64), "too large")]
        for name, content, reason_part in cases:
            with self.subTest(case=name):
                with open(self.path(name), "wb") as out:
                    out.write(content)
                result, reason = load_picture_with_tool(self.path(name))
                self.assertIsNone(result)
                self.assertIn(reason_part, reason)


def start_xvfb():
    """Starts a private X server for the bridge's pixel arrays; returns it (or None)."""
    if os.environ.get("DISPLAY"):
        return None
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "640x480x24",
                               "-nolisten", "tcp"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as ready:
        number = ready.readline().strip()  # written once the server accepts connections
    if not number:
        server.kill()
        sys.exit("pillow_test: Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number
    return server


if __name__ == "__main__":
    BMP_TOOL = os.path.abspath(sys.argv.pop(1))
    xvfb = start_xvfb()
    try:
        unittest.main()
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait(timeout=10)
