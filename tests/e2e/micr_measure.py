#!/usr/bin/python3
"""Measures the ink of a printed MICR line against the E-13B dimensions.

Renders the strip of a printed PDF page that holds the line at 1200 dpi
(pdftoppm) and measures each character's ink: its width and height, its
distance from the character before it (the pitch) and every one of its
strokes, compared with the E-13B drawing the font is made from
(resources/micr/e13b-glyphs.txt). Edges are found to a fraction of a pixel
from the grey levels of the anti-aliased picture.

Run by hand on a printed page, it prints the tables of docs/micr.md:

    python3 tests/e2e/micr_measure.py PRINTED.pdf A021000021A 123D456789C B1001B

The texts are the fields of the MICR line as typed; they are found on the page
with pdftotext. e2e_micr_line.py prints a cheque through Quick Print and runs
the same measurement.
"""

import importlib.util
import os
import re
import subprocess
import sys
import tempfile

import quillo_e2e

DPI = 1200
SQUARE = 0.013  # inch: the E-13B grid
SQUARE_PIXELS = SQUARE * DPI
CELL_WIDTH = 7 * SQUARE
DIGIT_HEIGHT = 9 * SQUARE
PITCH = 0.125
# E-13B tolerances, in inches. An edge may be off by EDGE, so a stroke, which
# has two edges, by twice that. EDGE is 1.8 device pixels at 1200 dpi: a
# printer that moves each edge to its nearest device pixel, or one pixel
# beyond, stays inside it. A stroke drawn a square too wide or too narrow
# misses by 0.013 in, four times a stroke's tolerance.
EDGE = 0.0015
PITCH_TOLERANCE = 0.010
# The on-us and dash symbols are shorter than the digits, transit and amount.
HEIGHTS = {"C": 7 * SQUARE, "D": 3 * SQUARE}
# Grey below this much ink is paper; it keeps stray anti-aliasing out.
INK = 0.02
# Characters stand at least this far apart; strokes of one character closer.
CHARACTER_GAP = 1.5 * SQUARE_PIXELS
MARGIN_POINTS = 9
# The drawing of every glyph, read by the program that makes the font from it.
MAKE_MICR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "micr", "make-micr.py")
ACROSS, UP = "across", "up"


def drawing():
    """{character: glyph} of the E-13B drawing, in squares."""
    source = importlib.util.spec_from_file_location("make_micr", MAKE_MICR)
    module = importlib.util.module_from_spec(source)
    source.loader.exec_module(module)
    return {chr(code): glyph for glyph in module.read_glyphs() for code in glyph.codes}


def runs(numbers):
    """(first, end) of each run of consecutive whole numbers."""
    found = []
    for n in sorted(numbers):
        if found and found[-1][1] == n:
            found[-1][1] = n + 1
        else:
            found.append([n, n + 1])
    return [tuple(run) for run in found]


def drawn_strokes(glyph):
    """{(direction, k): [(start, end), ...]}: the strokes a scan through the
    middle of grid row k (across, from the left edge) or grid column k (up,
    from the bottom) meets in the drawing, in squares."""
    cells = glyph.cells()
    bottom = min(j for _i, j in cells)
    height = max(j for _i, j in cells) + 1 - bottom
    strokes = {(ACROSS, k): runs(i for i, j in cells if j == bottom + k) for k in range(height)}
    strokes.update({(UP, k): runs(j - bottom for i, j in cells if i == k) for k in range(glyph.width)})
    return strokes


class Stroke:
    """One stroke of a printed character beside the drawing's, in inches."""

    def __init__(self, direction, drawn, measured):
        self.direction = direction
        self.drawn = (drawn[1] - drawn[0]) * SQUARE
        self.width = measured[1] - measured[0]
        self.off = max(abs(m - d * SQUARE) for m, d in zip(measured, drawn))  # the edge furthest from the drawing's


class Character:
    """The ink of one printed character, in inches."""

    def __init__(self, char, left, right, top, bottom, strokes, unmatched):
        self.char = char
        self.width = (right - left) / DPI
        self.height = (bottom - top) / DPI
        self.centre = (left + right) / 2 / DPI
        self.strokes = strokes  # every stroke that matches one of the drawing's
        self.unmatched = unmatched  # scans that meet more or fewer strokes than the drawing's
        self.pitch = None  # from the centre of the character before it in its field
        # The ink's right and bottom edges on the sheet, in inches from its left and top edges.
        self.right, self.bottom = right / DPI, bottom / DPI

    def nominal_height(self):
        return HEIGHTS.get(self.char.upper(), DIGIT_HEIGHT)

    def faults(self):
        """{measure: what lies outside its tolerance} for width, height,
        strokes and pitch."""
        found = {}
        if self.width > CELL_WIDTH + EDGE:
            found["width"] = "ink %.4f in wide, more than %.4f in" % (self.width, CELL_WIDTH + EDGE)
        if abs(self.height - self.nominal_height()) > EDGE:
            found["height"] = "ink %.4f in high, not %.4f ± %.4f in" % (self.height, self.nominal_height(), EDGE)
        wrong = [s for s in self.strokes if s.off > EDGE]
        if self.unmatched or wrong:
            found["strokes"] = "; ".join(self.unmatched + [
                "a stroke %s %.4f in long, drawn %.3f in, an edge %.4f in off" % (s.direction, s.width, s.drawn, s.off)
                for s in wrong])
        if self.pitch is not None and abs(self.pitch - PITCH) > PITCH_TOLERANCE:
            found["pitch"] = "%.4f in from the character before, not %.3f ± %.3f in" % (self.pitch, PITCH,
                                                                                         PITCH_TOLERANCE)
        return found


# --- the picture -------------------------------------------------------------


def read_pgm(path):
    """(width, height, rows of ink from 0.0 to 1.0) of a binary 8-bit PGM."""
    with open(path, "rb") as f:
        data = f.read()
    header = re.match(rb"P5\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not header or header.group(3) != b"255":
        raise ValueError("%s is not an 8-bit PGM picture" % path)
    width, height = int(header.group(1)), int(header.group(2))
    pixels = data[header.end():]
    return width, height, [[(255 - v) / 255 for v in pixels[y * width:(y + 1) * width]] for y in range(height)]


def render(pdf, left, top, right, bottom, folder):
    """The ink of a rectangle of the first page, given in points, as rows of
    pixels at DPI."""
    x, y = round(left * DPI / 72), round(top * DPI / 72)
    width, height = round((right - left) * DPI / 72), round((bottom - top) * DPI / 72)
    out = os.path.join(folder, "strip")
    subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", "-singlefile", "-f", "1", "-l", "1", "-x", str(x), "-y",
                    str(y), "-W", str(width), "-H", str(height), pdf, out], check=True, capture_output=True)
    return read_pgm(out + ".pgm")[2]


def edges(line):
    """The ink runs along a line of ink values as (start, end) in pixels,
    with the partly inked pixels at either end counted by their share."""
    runs, start = [], None
    for i, value in enumerate(line + [0.0]):
        if value > INK and start is None:
            start = i
        elif value <= INK and start is not None:
            runs.append((start + 1 - line[start], i - 1 + line[i - 1]))
            start = None
    return runs


def clusters(profile, gap):
    """Groups the inked positions of a profile into (first, last) spans that
    lie less than `gap` apart."""
    spans = []
    for i, value in enumerate(profile):
        if value <= INK:
            continue
        if spans and i - spans[-1][1] <= gap:
            spans[-1][1] = i
        else:
            spans.append([i, i])
    return spans


def measure_character(char, glyph, ink, first, last):
    """Measures the ink between columns first and last (inclusive) against
    the drawn glyph."""
    columns = [[row[x] for row in ink] for x in range(first, last + 1)]
    column_ink = [max(column) for column in columns]
    row_ink = [max(row[first:last + 1]) for row in ink]
    left = first + 1 - column_ink[0]
    right = last + column_ink[-1]
    rows = [y for y, value in enumerate(row_ink) if value > INK]
    top = rows[0] + 1 - row_ink[rows[0]]
    bottom = rows[-1] + row_ink[rows[-1]]

    # Scan through the middle of every grid row and column of the drawing,
    # measuring from the ink's left edge and bottom.
    strokes, unmatched = [], []
    for (direction, k), drawn in sorted(drawn_strokes(glyph).items()):
        # A scan that falls outside the ink (a glyph printed smaller than
        # drawn) meets no strokes.
        if direction == ACROSS:
            y = int(bottom - (k + 0.5) * SQUARE_PIXELS)
            line = ink[y][first:last + 1] if y >= 0 else []
            measured = [((first + a - left) / DPI, (first + b - left) / DPI) for a, b in edges(line)]
        else:
            x = int(left + (k + 0.5) * SQUARE_PIXELS) - first
            line = columns[x] if x < len(columns) else []
            measured = [((bottom - b) / DPI, (bottom - a) / DPI) for a, b in reversed(edges(line))]
        if len(measured) != len(drawn):
            unmatched.append("%d strokes %s %s %d, drawn %d" % (len(measured), direction,
                                                              "row" if direction == ACROSS else "column", k + 1,
                                                              len(drawn)))
            continue
        strokes += [Stroke(direction, d, m) for d, m in zip(drawn, measured)]
    return Character(char, left, right, top, bottom, strokes, unmatched)


# --- the page ------------------------------------------------------------------


def pdf_words(pdf):
    """The first page's words as (text, left, top, right, bottom) in points."""
    return [(w["text"], w["x"], w["y"], w["right"], w["bottom"]) for w in quillo_e2e.pdf_words(pdf)]


def measure(pdf, fields):
    """Measures every character of the MICR line whose fields, left to right,
    are `fields`. Returns the characters, or raises ValueError saying what
    the page holds instead."""
    words = pdf_words(pdf)
    boxes = []
    for field in fields:
        found = [w for w in words if w[0] == field]
        if len(found) != 1:
            raise ValueError("the page holds %d words %r; its words are %s" % (len(found), field,
                                                                                 [w[0] for w in words]))
        boxes.append(found[0])
    left = min(b[1] for b in boxes) - MARGIN_POINTS
    top = min(b[2] for b in boxes) - MARGIN_POINTS
    right = max(b[3] for b in boxes) + MARGIN_POINTS
    bottom = max(b[4] for b in boxes) + MARGIN_POINTS
    with tempfile.TemporaryDirectory() as folder:
        ink = render(pdf, left, top, right, bottom, folder)
    # The strip's own corner on the sheet, in whole pixels as it was rendered.
    strip_x, strip_y = round(left * DPI / 72) / DPI, round(top * DPI / 72) / DPI

    profile = [max(column) for column in zip(*ink)]
    spans = clusters(profile, CHARACTER_GAP)
    chars = "".join(fields)
    glyphs = drawing()
    undrawn = sorted(set(chars) - set(glyphs))
    if undrawn:
        raise ValueError("the E-13B drawing has no glyph for %s" % ", ".join(undrawn))
    if len(spans) != len(chars):
        raise ValueError("the MICR line shows %d characters of ink; %r has %d" % (len(spans), " ".join(fields),
                                                                                  len(chars)))
    measured = [measure_character(c, glyphs[c], ink, first, last) for c, (first, last) in zip(chars, spans)]
    for m in measured:
        m.right += strip_x
        m.bottom += strip_y
    at = 0
    for field in fields:
        for before, after in zip(measured[at:at + len(field)], measured[at + 1:at + len(field)]):
            after.pitch = after.centre - before.centre
        at += len(field)
    return measured


# --- the table -----------------------------------------------------------------


def spread(values):
    if not values:
        return "–"
    low, high = min(values), max(values)
    return "%.4f" % low if round(low, 4) == round(high, 4) else "%.4f–%.4f" % (low, high)


def stroke_cell(glyph, same, direction):
    """Each stroke width of the drawing in one direction, how many strokes
    the drawing has of it, and the widths measured of them."""
    drawn = [(end - start) * SQUARE for (way, _k), found in drawn_strokes(glyph).items() if way == direction
             for start, end in found]
    return "; ".join("%.3f ×%d → %s" % (width, drawn.count(width), spread([
        s.width for m in same for s in m.strokes if s.direction == direction and s.drawn == width
    ])) for width in sorted(set(drawn)))


def table(measured, glyphs):
    """The measurements as two Markdown tables, one row per character shape:
    the ink box and pitch, then the strokes."""
    names = {"A": "transit (A)", "B": "amount (B)", "C": "on-us (C)", "D": "dash (D)"}
    shapes = [(names.get(c, c), [m for m in measured if m.char == c])
              for c in sorted({m.char for m in measured}, key=lambda c: (c.isalpha(), c))]
    lines = [
        "| Character | Times printed | Ink width | Ink height | Pitch | Within tolerance |",
        "|---|---|---|---|---|---|",
        "| E-13B | | ≤ %.4f | %.3f ± %.4f (on-us %.3f, dash %.3f) | %.3f ± %.3f | |" %
        (CELL_WIDTH + EDGE, DIGIT_HEIGHT, EDGE, HEIGHTS["C"], HEIGHTS["D"], PITCH, PITCH_TOLERANCE),
    ]
    for name, same in shapes:
        faults = sorted({kind for m in same for kind in m.faults()})
        lines.append("| %s | %d | %s | %s | %s | %s |" % (
            name, len(same), spread([m.width for m in same]), spread([m.height for m in same]),
            spread([m.pitch for m in same if m.pitch is not None]), "no: " + ", ".join(faults) if faults else "yes"))
    lines += [
        "",
        "| Character | Strokes across: drawing ×strokes → measured | Strokes up: drawing ×strokes → measured |",
        "|---|---|---|",
    ]
    for name, same in shapes:
        glyph = glyphs[same[0].char]
        lines.append("| %s | %s | %s |" % (name, stroke_cell(glyph, same, ACROSS), stroke_cell(glyph, same, UP)))
    lines.append("")
    lines.append("Inches, measured at %d dpi; a range is the smallest and largest value over the printed "
                 "characters of that shape. Every edge lies within %.4f in of the drawing's edge." %
                 (DPI, max(s.off for m in measured for s in m.strokes)))
    return "\n".join(lines)


def position(right, sheet_width=8.5):
    """The bank-line position, counted from the sheet's right edge, in which
    ink ending `right` inches from the sheet's left edge ends; 0 right of
    position 1."""
    from_right = sheet_width - right
    return 0 if from_right < 5 / 16 else int((from_right - 5 / 16) // PITCH) + 1


def faults(measured):
    """Every measurement outside the E-13B tolerances, one sentence each."""
    return ["character %d (%s): %s" % (index + 1, m.char, fault)
            for index, m in enumerate(measured) for fault in m.faults().values()]


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    measured = measure(argv[1], argv[2:])
    print(table(measured, drawing()))
    for fault in faults(measured):
        print("outside tolerance: " + fault, file=sys.stderr)
    return 1 if faults(measured) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
