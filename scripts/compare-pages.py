#!/usr/bin/env python3
"""Compares a printed PDF with the PDF the program writes itself, page by page.

Usage: compare-pages.py EXPECTED PRINTED [--ink-only]

Page sizes must agree to within 1 pt. A landscape page may come back turned onto a portrait
sheet, as printers print it: then it is turned back, whichever way matches. Each page is rasterised at
100 dpi with pdftoppm; every dark pixel of either must lie within 0.5 mm (2 pixels) of a
dark pixel of the other. With --ink-only, only the expected page's dark pixels are looked
for in the printed one: for a printout whose text arrives as black bars.
"""

import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np

DPI = 100
REACH = 2  # pixels: 0.5 mm at 100 dpi
DARK = 128
ALLOWED = 0.005  # share of dark pixels that may be unmatched: glyph edges, drawn by another renderer


def page_sizes(pdf):
    info = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", pdf], check=True, capture_output=True, text=True).stdout
    sizes = []
    for line in info.splitlines():
        if line.startswith("Page") and "size:" in line:
            words = line.split("size:")[1].split()
            sizes.append((float(words[0]), float(words[2])))
    return sizes


def pages(pdf, folder, name):
    subprocess.run(["pdftoppm", "-q", "-r", str(DPI), "-gray", pdf, str(Path(folder) / name)], check=True)
    images = []
    for path in sorted(Path(folder).glob(name + "-*.pgm")):
        data = path.read_bytes()
        header = data.split(maxsplit=4)
        width, height = int(header[1]), int(header[2])
        images.append(np.frombuffer(data[-width * height :], dtype=np.uint8).reshape(height, width) < DARK)
    return images


def spread(ink):
    """Every pixel within REACH of a dark one."""
    grown = np.zeros_like(ink)
    height, width = ink.shape
    for dy in range(-REACH, REACH + 1):
        for dx in range(-REACH, REACH + 1):
            grown[max(dy, 0) : height + min(dy, 0), max(dx, 0) : width + min(dx, 0)] |= ink[
                max(-dy, 0) : height + min(-dy, 0), max(-dx, 0) : width + min(-dx, 0)
            ]
    return grown


def unmatched(ink, other):
    return int(np.count_nonzero(ink & ~spread(other))), int(np.count_nonzero(ink))


def main():
    expected, printed = sys.argv[1], sys.argv[2]
    ink_only = "--ink-only" in sys.argv[3:]
    want, got = page_sizes(expected), page_sizes(printed)
    same = len(want) == len(got) and all(abs(a - c) <= 1 and abs(b - d) <= 1 for (a, b), (c, d) in zip(want, got))
    turned = len(want) == len(got) and all(abs(a - d) <= 1 and abs(b - c) <= 1 for (a, b), (c, d) in zip(want, got))
    if not same and not turned:
        sys.exit(f"page sizes differ: {want} written, {got} printed")
    with tempfile.TemporaryDirectory() as folder:
        for number, (a, b) in enumerate(zip(pages(expected, folder, "e"), pages(printed, folder, "p")), start=1):
            if not same:
                b = min((np.rot90(b, k) for k in (1, 3)), key=lambda turn: unmatched(a, turn)[0])
            if a.shape != b.shape:
                sys.exit(f"page {number}: {a.shape} pixels written, {b.shape} printed")
            checks = [("written", *unmatched(a, b))] + ([] if ink_only else [("printed", *unmatched(b, a))])
            for what, missing, total in checks:
                if total == 0 or missing > ALLOWED * total:
                    sys.exit(f"page {number}: {missing} of {total} dark pixels {what} have no match within 0.5 mm")
            print(f"page {number}{' (turned)' if not same else ''}: {' and '.join(f'{t - m} of {t} {w}' for w, m, t in checks)} dark pixels matched")


if __name__ == "__main__":
    main()
