"""The BMP files of the paint program against an independent reader and writer (Pillow).

Usage: pillow_test.py BMP_TOOL   (the bridge program of this folder)
"""
import os
import random
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

BMP_TOOL = None


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

    def test_colour_mapped_pictures_are_refused(self):
        for mode in ["L", "P", "1"]:
            with self.subTest(mode=mode):
                path = os.path.join(self.dir.name, f"{mode}.bmp")
                Image.new(mode, (4, 4)).save(path)
                result, reason = load_with_tool(path)
                self.assertIsNone(result)
                self.assertIn("24- or 32-bit", reason)


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
