#!/usr/bin/env python3
"""Compares a printed PDF with the PDF the program writes itself, page by page.

Usage: compare-pages.py EXPECTED PRINTED [--shifted]

Page sizes must agree to within 1 pt. A landscape page may come back turned onto a portrait
sheet, as printers print it: then it is turned back, whichever way matches. Each page is rasterised at
100 dpi with pdftoppm; every dark pixel of either must lie within 0.5 mm (2 pixels) of a
dark pixel of the other. With --shifted, for a printout from another system: it may lie
shifted as a whole by up to 5 mm, as Wine's printer driver places it (the shift is found
from the pages' profiles of ink, printed, and taken out), and only the written page's
drawing, its text left out, must be found in it, as any ink, since the text is set with
that system's fonts and its hairlines may come out lighter.
"""

import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np

DPI = 100
REACH = 2  # pixels: 0.5 mm at 100 dpi
SLACK = 2  # pixels a page's raster may differ by, as renderers round its size
MOST_SHIFT = 20  # pixels: 5 mm
DARK = 128
FAINT = 250  # any ink at all: a hairline another system prints thinner still counts
ALLOWED = 0.005  # share of dark pixels that may be unmatched: glyph edges, drawn by another renderer


def page_sizes(pdf):
    info = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", pdf], check=True, capture_output=True, text=True).stdout
    sizes = []
    for line in info.splitlines():
        if line.startswith("Page") and "size:" in line:
            words = line.split("size:")[1].split()
            sizes.append((float(words[0]), float(words[2])))
    return sizes


def pages(pdf, folder, name, text=True, dark=DARK):
    """Each page's dark pixels; without text, as Ghostscript leaves it out (-dFILTERTEXT)."""
    if text:
        subprocess.run(["pdftoppm", "-q", "-r", str(DPI), "-gray", pdf, str(Path(folder) / name)], check=True)
    else:
        gs = ["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-dFILTERTEXT", "-sDEVICE=pgmraw", f"-r{DPI}"]
        subprocess.run(gs + ["-sOutputFile=" + str(Path(folder) / (name + "-%d.pgm")), pdf], check=True)
    paths = sorted(Path(folder).glob(name + "-*.pgm"), key=lambda path: int(path.stem.rsplit("-", 1)[1]))
    return [read_pgm(path) < dark for path in paths]


def read_pgm(path):
    """A binary PGM: magic, width, height and maximum, comments between them, then the pixels."""
    data = path.read_bytes()
    fields, pos = [], 0
    while len(fields) < 4:
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos)
        elif data[pos : pos + 1].isspace():
            pos += 1
        else:
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
    width, height = int(fields[1]), int(fields[2])
    return np.frombuffer(data[pos + 1 : pos + 1 + width * height], dtype=np.uint8).reshape(height, width)


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


def near(a, b):
    return abs(a.shape[0] - b.shape[0]) <= SLACK and abs(a.shape[1] - b.shape[1]) <= SLACK


def cropped(a, b):
    height, width = min(a.shape[0], b.shape[0]), min(a.shape[1], b.shape[1])
    return a[:height, :width], b[:height, :width]


def aligned(a, b, number):
    """The printed page turned back if it came turned; both cut to the pixels they share."""
    if near(a, b):
        return (*cropped(a, b), False)
    turns = [cropped(a, np.rot90(b, k)) for k in (1, 3) if near(a, np.rot90(b, k))]
    if not turns:
        sys.exit(f"page {number}: {a.shape} pixels written, {b.shape} printed")
    return (*min(turns, key=lambda pair: unmatched(*pair)[0]), True)


def lag(written, printed):
    """How far the printed profile lies after the written one, within MOST_SHIFT."""
    correlation = np.correlate(printed - printed.mean(), written - written.mean(), mode="full")
    middle = len(written) - 1
    window = correlation[middle - MOST_SHIFT : middle + MOST_SHIFT + 1]
    return int(np.argmax(window)) - MOST_SHIFT


def unshifted(a, b):
    """The printed page moved back by the shift its rows' and columns' ink shows."""
    down, right = lag(a.sum(1).astype(float), b.sum(1).astype(float)), lag(a.sum(0).astype(float), b.sum(0).astype(float))
    return np.roll(b, (-down, -right), axis=(0, 1)), (down, right)


def unmatched(ink, other):
    return int(np.count_nonzero(ink & ~spread(other))), int(np.count_nonzero(ink))


def main():
    expected, printed = sys.argv[1], sys.argv[2]
    find_shift = "--shifted" in sys.argv[3:]
    want, got = page_sizes(expected), page_sizes(printed)
    # A4 either way round; which way is read from the pages as drawn, a page's rotation included.
    if len(want) != len(got) or any(abs(min(a) - min(b)) > 1 or abs(max(a) - max(b)) > 1 for a, b in zip(want, got)):
        sys.exit(f"page sizes differ: {want} written, {got} printed")
    with tempfile.TemporaryDirectory() as folder:
        written = pages(expected, folder, "e")
        drawn = pages(expected, folder, "d", text=False) if find_shift else written
        ink = pages(printed, folder, "p", dark=FAINT if find_shift else DARK)
        for number, (a, lines, b) in enumerate(zip(written, drawn, ink), start=1):
            a, b, turned = aligned(a, b, number)
            if find_shift:
                # Text is set by another system's fonts there: only the drawing must match.
                b, (down, right) = unshifted(a, b)
                print(f"page {number}: printed {right * 25.4 / DPI:.1f} mm right and {down * 25.4 / DPI:.1f} mm down")
                checks = [("drawn", *unmatched(*cropped(lines, b)))]
            else:
                checks = [("written", *unmatched(a, b)), ("printed", *unmatched(b, a))]
            for what, missing, total in checks:
                if total == 0 or missing > ALLOWED * total:
                    sys.exit(f"page {number}: {missing} of {total} dark pixels {what} have no match within 0.5 mm")
            print(f"page {number}{' (turned)' if turned else ''}: {' and '.join(f'{t - m} of {t} {w}' for w, m, t in checks)} dark pixels matched")


if __name__ == "__main__":
    main()
