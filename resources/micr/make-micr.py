#!/usr/bin/python3
"""Makes Quillo's E-13B fonts and the MICR guide picture from e13b-glyphs.txt.

Remake them after editing the glyphs, from the top of the source tree:

    /usr/bin/python3 resources/micr/make-micr.py

It writes QuilloE13B.ttf, QuilloE13B-Bold.ttf and micr-guide.png beside this
script; all three are committed. The fonts need Debian's python3-fontforge
(hence /usr/bin/python3 rather than any other Python on the PATH); the
picture needs only the standard library. Other modes:

    make-micr.py --check     exit 1 if the committed files differ from what the
                             glyphs make now
    make-micr.py --preview   print every glyph as text, two columns per square

The family "Quillo E13B" has a regular and a bold face with the same outlines
and advances. The printed MICR line is set in bold; with a real bold face
there, Qt draws the outlines as they are instead of emboldening the regular
ones, which would widen every stroke past the E-13B tolerance.

The fonts are monospaced: every character, the blank ones included, is 1152
of 2048 units wide, so that at 16 points the characters stand exactly 1/8
inch apart. A grid square is 119.808 units, which makes a digit 0.117 inch
tall at 16 points. Printable ASCII characters that are not E-13B characters
are blank, so that they keep the pitch rather than fall back to another font.
"""

import os
import struct
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
GLYPHS = os.path.join(HERE, "e13b-glyphs.txt")
# Style -> (PostScript name, OS/2 weight, file). The faces differ in their
# names and weight only.
STYLES = {
    "Regular": ("QuilloE13B-Regular", 400, os.path.join(HERE, "QuilloE13B.ttf")),
    "Bold": ("QuilloE13B-Bold", 700, os.path.join(HERE, "QuilloE13B-Bold.ttf")),
}
GUIDE = os.path.join(HERE, "micr-guide.png")

FAMILY = "Quillo E13B"
UNITS_PER_EM = 2048
ADVANCE = 1152  # 9/16 em: 1/8 inch at 16 points
CELL_SQUARES = 7  # the widest a character may be
DIGIT_SQUARES = 9
SQUARE = UNITS_PER_EM * (0.117 * 72 / 16) / DIGIT_SQUARES  # font units per 0.013 inch at 16 points
# The line box centres the 9-square character band: the space above a digit
# equals the space below the baseline.
ASCENT = round((UNITS_PER_EM + DIGIT_SQUARES * SQUARE) / 2)
DESCENT = UNITS_PER_EM - ASCENT
# Fixed timestamps keep the generated font byte-identical from run to run.
SOURCE_DATE_EPOCH = "1767225600"


class Glyph:
    def __init__(self, name, codes):
        self.name = name
        self.codes = codes
        self.size = None
        self.rects = []

    @property
    def width(self):
        return self.size[0]

    def cells(self):
        """The filled squares as (column, row) pairs, row 0 at the baseline."""
        return {(i, j) for x0, y0, x1, y1 in self.rects for i in range(x0, x1) for j in range(y0, y1)}


def fail(line_number, message):
    sys.exit(f"{GLYPHS}:{line_number}: {message}")


def squares(text, line_number):
    if not text.isdigit():
        fail(line_number, f"{text} is not a whole number of squares")
    return int(text)


def parse_code(text, line_number):
    if text.upper().startswith("U+"):
        return int(text[2:], 16)
    if len(text) == 1:
        return ord(text)
    fail(line_number, f"{text} is neither a character nor U+XXXX")


def read_glyphs():
    glyphs = []
    with open(GLYPHS, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            keyword, arguments = words[0], words[1:]
            if keyword == "glyph":
                if len(arguments) < 2:
                    fail(number, "a glyph needs a name and at least one character")
                glyphs.append(Glyph(arguments[0], [parse_code(a, number) for a in arguments[1:]]))
            elif not glyphs:
                fail(number, f"'{keyword}' before the first glyph")
            elif keyword == "size" and len(arguments) == 2:
                glyphs[-1].size = tuple(squares(a, number) for a in arguments)
            elif keyword == "rect" and len(arguments) == 4:
                x0, y0, x1, y1 = (squares(a, number) for a in arguments)
                if x0 >= x1 or y0 >= y1:
                    fail(number, "a rectangle runs from its lower left to its upper right corner")
                glyphs[-1].rects.append((x0, y0, x1, y1))
            else:
                fail(number, f"cannot read '{raw.strip()}'")
    for glyph in glyphs:
        check_size(glyph)
    codes = [c for g in glyphs for c in g.codes]
    if len(codes) != len(set(codes)):
        sys.exit(f"{GLYPHS}: a character has more than one glyph")
    return glyphs


def check_size(glyph):
    """Refuses a glyph whose rectangles do not ink exactly its written size, or
    that leaves the E-13B cell."""
    if glyph.size is None or not glyph.rects:
        sys.exit(f"{GLYPHS}: glyph {glyph.name} needs a size and rectangles")
    left, bottom = min(r[0] for r in glyph.rects), min(r[1] for r in glyph.rects)
    right, top = max(r[2] for r in glyph.rects), max(r[3] for r in glyph.rects)
    if left != 0:
        sys.exit(f"{GLYPHS}: glyph {glyph.name} starts {left} squares right of its left edge")
    if (right - left, top - bottom) != glyph.size:
        sys.exit(f"{GLYPHS}: glyph {glyph.name} is written as {glyph.size[0]} x {glyph.size[1]} squares, "
                 f"but its rectangles ink {right - left} x {top - bottom}")
    if right > CELL_SQUARES or top > DIGIT_SQUARES:
        sys.exit(f"{GLYPHS}: glyph {glyph.name} leaves the cell of {CELL_SQUARES} x {DIGIT_SQUARES} squares")


def outline(cells):
    """Traces the border of a set of squares into closed contours.

    Contours run clockwise around ink (y up), as TrueType wants them, and keep
    only their corners. Where two cells touch at a corner only, the trace
    turns right, so that each cell group gets a contour of its own.
    """
    edges = {}  # start point -> list of end points
    for i, j in cells:
        sides = [
            ((i, j + 1), (i, j + 1), (i + 1, j + 1)),  # top, to the right
            ((i + 1, j), (i + 1, j + 1), (i + 1, j)),  # right, downwards
            ((i, j - 1), (i + 1, j), (i, j)),  # bottom, to the left
            ((i - 1, j), (i, j), (i, j + 1)),  # left, upwards
        ]
        for neighbour, start, end in sides:
            if neighbour not in cells:
                edges.setdefault(start, []).append(end)

    def right_turn_first(incoming, candidates):
        dx, dy = incoming

        def turn(end_and_start):
            end, start = end_and_start
            ex, ey = end[0] - start[0], end[1] - start[1]
            cross = dx * ey - dy * ex  # negative: a right turn
            return cross

        return sorted(candidates, key=turn)

    contours = []
    while edges:
        start = min(edges)
        points = [start]
        current, previous = start, None
        while True:
            ends = edges[current]
            if previous is None or len(ends) == 1:
                end = ends[0]
            else:
                incoming = (current[0] - previous[0], current[1] - previous[1])
                end = right_turn_first(incoming, [(e, current) for e in ends])[0][0]
            ends.remove(end)
            if not ends:
                del edges[current]
            previous, current = current, end
            if current == start:
                break
            points.append(current)
        # Keep corners only.
        corners = []
        count = len(points)
        for k in range(count):
            a, b, c = points[k - 1], points[k], points[(k + 1) % count]
            if (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]) != 0:
                corners.append(b)
        contours.append(corners)
    return contours


def preview(glyphs):
    for glyph in glyphs:
        cells = glyph.cells()
        names = ", ".join(chr(c) if 0x20 < c < 0x7F else f"U+{c:04X}" for c in glyph.codes)
        print(f"{glyph.name} ({names}), {glyph.size[0]} x {glyph.size[1]} squares")
        for j in reversed(range(DIGIT_SQUARES)):
            print("  " + "".join("##" if (i, j) in cells else ".." for i in range(glyph.width)))
        print()


# ---------------------------------------------------------------- the font


def make_font(glyphs, style, path):
    os.environ["SOURCE_DATE_EPOCH"] = SOURCE_DATE_EPOCH
    import fontforge

    postscript_name, weight, _committed = STYLES[style]
    full_name = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    font = fontforge.font()
    font.encoding = "UnicodeFull"
    font.em = UNITS_PER_EM
    font.ascent = ASCENT
    font.descent = DESCENT
    font.familyname = FAMILY
    font.fontname = postscript_name
    font.fullname = full_name
    font.weight = style
    font.version = "1.0"
    font.copyright = "Drawn for Quillo from the E-13B grid."
    font.appendSFNTName("English (US)", "SubFamily", style)
    font.appendSFNTName("English (US)", "UniqueID", f"{full_name} 1.0")
    font.os2_vendor = "QLLO"
    font.os2_weight = weight
    # The style bits that font matching reads: OS/2 fsSelection (bold 0x20,
    # regular 0x40) and the head table's macStyle (bold 1).
    font.os2_stylemap = 0x20 if style == "Bold" else 0x40
    font.macstyle = 1 if style == "Bold" else 0
    font.os2_width = 5
    font.os2_panose = (2, 0, 5, 9, 0, 0, 0, 0, 0, 0)  # proportion 9: monospaced
    for name in ("hhea_ascent", "os2_typoascent", "os2_winascent"):
        setattr(font, name, ASCENT)
        setattr(font, name + "_add", False)
    for name in ("hhea_descent", "os2_typodescent"):
        setattr(font, name, -DESCENT)
        setattr(font, name + "_add", False)
    font.os2_windescent = DESCENT
    font.os2_windescent_add = False
    font.hhea_linegap = 0
    font.os2_typolinegap = 0

    notdef = font.createChar(-1, ".notdef")
    notdef.width = ADVANCE

    drawn = set()
    for glyph in glyphs:
        first, others = glyph.codes[0], glyph.codes[1:]
        char = font.createChar(first, glyph.name)
        left = (ADVANCE - glyph.width * SQUARE) / 2
        pen = char.glyphPen()
        for contour in outline(glyph.cells()):
            for k, (i, j) in enumerate(contour):
                point = (round(left + i * SQUARE), round(j * SQUARE))
                if k == 0:
                    pen.moveTo(point)
                else:
                    pen.lineTo(point)
            pen.closePath()
        pen = None
        char.width = ADVANCE
        if others:
            char.altuni = tuple((code, -1, 0) for code in others)
        drawn.update(glyph.codes)

    for code in range(0x20, 0x7F):
        if code not in drawn:
            font.createChar(code).width = ADVANCE

    font.generate(path, flags=("no-FFTM-table", "omit-instructions", "opentype"))
    font.close()


# ---------------------------------------------------------------- the guide

# The guide shows the symbols at two pixels per grid square, beside letters
# drawn for this 23-pixel-high picture.
GUIDE_WIDTH, GUIDE_HEIGHT = 148, 23
GUIDE_TOP = 2  # the top of the 9-square band
GUIDE_SQUARE = 2  # pixels
LETTERS = {
    "A": ["..###..", ".##.##.", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##"],
    "B": ["#####.", "##..##", "##..##", "##..##", "#####.", "##..##", "##..##", "##..##", "#####."],
    "C": [".####.", "##..##", "##....", "##....", "##....", "##....", "##....", "##..##", ".####."],
    "D": ["####..", "##.##.", "##..##", "##..##", "##..##", "##..##", "##..##", "##.##.", "####.."],
    "=": ["......", "......", "......", "######", "......", "######", "......", "......", "......"],
}
GUIDE_KEYS = [("A", "transit"), ("B", "amount"), ("C", "onus"), ("D", "dash")]


def make_guide(glyphs, path):
    by_name = {g.name: g for g in glyphs}
    ink = set()
    band = GUIDE_SQUARE * DIGIT_SQUARES
    letter_top = GUIDE_TOP + (band - len(LETTERS["A"])) // 2
    groups = [
        len(LETTERS[letter][0]) + 1 + len(LETTERS["="][0]) + 2 + GUIDE_SQUARE * by_name[name].width
        for letter, name in GUIDE_KEYS
    ]
    # Equal white space before, between and after the four groups.
    space = (GUIDE_WIDTH - sum(groups)) / (len(groups) + 1)

    def stamp(rows, left):
        for y, row in enumerate(rows):
            for x, mark in enumerate(row):
                if mark == "#":
                    ink.add((left + x, letter_top + y))
        return left + len(rows[0])

    for index, (letter, name) in enumerate(GUIDE_KEYS):
        symbol = by_name[name]
        x = round(space * (index + 1) + sum(groups[:index]))
        x = stamp(LETTERS[letter], x) + 1
        x = stamp(LETTERS["="], x) + 2
        for i, j in symbol.cells():
            top = GUIDE_TOP + band - GUIDE_SQUARE * (j + 1)
            left = x + GUIDE_SQUARE * i
            ink.update((left + dx, top + dy) for dx in range(GUIDE_SQUARE) for dy in range(GUIDE_SQUARE))

    rows = b"".join(
        b"\0" + bytes(0 if (x, y) in ink else 255 for x in range(GUIDE_WIDTH)) for y in range(GUIDE_HEIGHT)
    )

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", GUIDE_WIDTH, GUIDE_HEIGHT, 8, 0, 0, 0, 0)  # 8-bit grey
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(chunk(b"IEND", b""))


def make_all(glyphs, folder):
    """Makes the fonts and the guide, into `folder` or, without one, over the
    committed files. Returns (made, committed) path pairs."""
    made = []
    for style, (_name, _weight, committed) in STYLES.items():
        made.append((os.path.join(folder, style + ".ttf") if folder else committed, committed))
        make_font(glyphs, style, made[-1][0])
    made.append((os.path.join(folder, "guide.png") if folder else GUIDE, GUIDE))
    make_guide(glyphs, made[-1][0])
    return made


def main():
    glyphs = read_glyphs()
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    if mode == "--preview":
        preview(glyphs)
    elif mode == "--check":
        with tempfile.TemporaryDirectory() as folder:
            made = make_all(glyphs, folder)
            stale = [committed for path, committed in made if open(path, "rb").read() != open(committed, "rb").read()]
        for committed in stale:
            print(f"{committed} is out of date; remake it with {sys.argv[0]}")
        sys.exit(1 if stale else 0)
    elif mode == "":
        make_all(glyphs, None)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
