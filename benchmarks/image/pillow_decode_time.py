"""Prints Pillow's median time, in milliseconds, to decode each file given into RGBA
pixels, as vollo_load_pixelarray does (or "n/a" for a kind Pillow does not read)."""
import statistics
import sys
import time

from PIL import Image

RUNS = 15
for path in sys.argv[1:]:
    times = []
    try:
        for _ in range(RUNS):
            start = time.perf_counter()
            with Image.open(path) as picture:
                picture.convert("RGBA")
            times.append((time.perf_counter() - start) * 1000)
        print(f"{statistics.median(times):.2f}")
    except Exception:  # a kind Pillow does not read
        print("n/a")
