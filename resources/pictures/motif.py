"""Quillo's motif, shared by the drawn pictures: a cheque and a quill pen.

Everything takes a placement in pixels so that each picture can size the
parts to its own grid.
"""

import math

from drawing import (Canvas, cubic, linear, nib_stroke, path, positive, rgb, rounded_rect, rect, stroke,
                     tapered_stroke)

# Brand colours.
CHEQUE_LIGHT = rgb('#eef8ea')
CHEQUE_DARK = rgb('#d2e9cb')
CHEQUE_EDGE = rgb('#2f6b3a')
CHEQUE_INK = rgb('#5f9468')
CHEQUE_PRINT = rgb('#2f6b3a')
SIGNATURE_INK = rgb('#1b2f6e')
VANE_DARK = rgb('#1f4aa0')
VANE_LIGHT = rgb('#5b8ee0')
VANE_EDGE = rgb('#102660')
BARB = rgb('#a9c6f5')
SHAFT = rgb('#f4f1e6')
NIB = rgb('#2a2d35')
NIB_GOLD = rgb('#d9a521')
LETTER = rgb('#1d5a34')


class Frame:
    """Local quill coordinates (u along the pen from nib 0 to tip 1, v across) to pixels."""

    def __init__(self, nib, tip, bend=0.0):
        self.nx, self.ny = nib
        self.dx, self.dy = tip[0] - nib[0], tip[1] - nib[1]
        self.length = math.hypot(self.dx, self.dy)
        # Perpendicular pointing to the left of the pen's direction (screen space).
        self.px, self.py = self.dy, -self.dx
        self.bend = bend

    def __call__(self, u, v):
        v = v + self.bend * math.sin(math.pi * u)
        return (self.nx + u * self.dx + v * self.px, self.ny + u * self.dy + v * self.py)


def _vane_edge(frame, side, width, notches, u0=0.30, u1=1.0, steps=80):
    """Points along one edge of the vane, from the base to the tip."""
    pts = []
    for i in range(steps + 1):
        u = u0 + (u1 - u0) * i / steps
        t = (u - u0) / (u1 - u0)
        # Rounded at the base, widest at about a third, a long curved taper to the tip.
        w = width * math.sin(math.pi * t ** 0.75) ** 0.55
        for nu, depth in notches:
            d = u - nu
            if -0.022 < d < 0.0:
                w *= 1 - depth * (d + 0.022) / 0.022
            elif 0.0 <= d < 0.006:
                w *= 1 - depth * (1 - d / 0.006)
        pts.append(frame(u, side * w))
    return pts


def quill(canvas, nib, tip, bend=-0.05, detail=2, outline=True):
    """Draws a quill pen with its nib at `nib` and the feather's tip at `tip`.

    detail 0: plain silhouette; 1: two-tone vane; 2: barbs and notches."""
    f = Frame(nib, tip, bend)
    L = f.length
    notches_left = [(0.52, 0.35), (0.74, 0.3)] if detail >= 2 else []
    notches_right = [(0.62, 0.4)] if detail >= 2 else []
    left = _vane_edge(f, +1, 0.21, notches_left, u0=0.25)
    right = _vane_edge(f, -1, 0.12, notches_right, u0=0.25)
    vane = [positive(path(left, list(reversed(right))))]
    outline_width = max(1.0, L * 0.012)
    if outline:
        canvas.fill([positive(c) for c in _grow(vane[0], outline_width)], VANE_EDGE)
    a, b = f(0.3, 0.1), f(0.95, -0.05)
    canvas.fill(vane, linear(VANE_DARK, VANE_LIGHT, a[0], a[1], b[0], b[1]))
    if detail >= 1:
        # Lighter half of the vane on the wide side.
        inner = _vane_edge(f, +1, 0.10, [], 0.28, 0.985)
        half = [positive(path(inner, list(reversed([f(u, 0.0) for u in _span(0.28, 0.985, 30)]))))]
        canvas.fill(half, VANE_LIGHT, opacity=0.55)
    if detail >= 2:
        barb_w = max(0.6, L * 0.006)
        for k in range(9):
            u = 0.33 + k * 0.065
            if u > 0.93:
                break
            t = (u - 0.25) / 0.75
            for side, width in ((+1, 0.21), (-1, 0.12)):
                reach = width * math.sin(math.pi * min(1.0, t + 0.08) ** 0.75) ** 0.55 * 0.8
                canvas.fill(stroke([f(u, 0.0), f(u + 0.07, side * reach)], barb_w), BARB, opacity=0.55)
    # Shaft: hollow barrel near the nib, thin rachis through the vane.
    shaft = [f(u, 0.0) for u in _span(0.09, 0.99, 40)]
    canvas.fill(tapered_stroke(shaft, max(1.2, L * 0.035), max(0.6, L * 0.006)), SHAFT)
    if outline:
        barrel = [f(u, 0.0) for u in _span(0.09, 0.31, 10)]
        edge = tapered_stroke(barrel, max(1.6, L * 0.035) + outline_width * 1.2, max(1.2, L * 0.03))
        canvas.fill(edge, VANE_EDGE, opacity=0.9)
        canvas.fill(tapered_stroke(barrel, max(1.0, L * 0.035), max(0.8, L * 0.028)), SHAFT)
    # Nib: a dark point with a gold band where it meets the barrel.
    nib_shape = [positive([f(0.0, 0.0), f(0.11, 0.022), f(0.11, -0.022)])]
    canvas.fill(nib_shape, NIB)
    if detail >= 1:
        canvas.fill([positive([f(0.09, 0.024), f(0.125, 0.024), f(0.125, -0.024), f(0.09, -0.024)])], NIB_GOLD)
    return f


def _span(a, b, n):
    return [a + (b - a) * i / n for i in range(n + 1)]


def _grow(contour, amount):
    """Contours covering a band of `amount` around the outline of a contour."""
    return stroke(contour, amount * 2, closed=True) + [contour]


class TurnedCanvas:
    """Draws on a canvas with every shape turned about a centre."""

    def __init__(self, canvas, cx, cy, angle):
        self.canvas, self.cx, self.cy = canvas, cx, cy
        self.ca, self.sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def turn(self, contours):
        cx, cy, ca, sa = self.cx, self.cy, self.ca, self.sa
        return [[(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca) for x, y in cont]
                for cont in contours]

    def fill(self, contours, paint, opacity=1.0, clip=None):
        return self.canvas.fill(self.turn(contours), paint, opacity, clip)

    def mask(self, contours):
        return self.canvas.mask(self.turn(contours))


def cheque(canvas, x0, y0, x1, y1, detail=2, angle=0.0):
    """A cheque form lying in the box (x0, y0)-(x1, y1), turned by `angle` degrees about its centre.

    Returns the signature line's end points (for an unturned cheque)."""
    # Edges and rules sit on whole pixels so that small sizes stay crisp.
    x0, y0, x1, y1 = round(x0), round(y0), round(x1), round(y1)
    if angle:
        canvas = TurnedCanvas(canvas, (x0 + x1) / 2, (y0 + y1) / 2, angle)
    w, h = x1 - x0, y1 - y0
    unit = h / 10.0
    radius = max(1.0, unit * 0.5)
    edge = max(1, round(unit * 0.28))
    canvas.fill([rounded_rect(x0, y0, x1, y1, radius)], CHEQUE_EDGE)
    canvas.fill([rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, max(0.5, radius - edge))],
                linear(CHEQUE_LIGHT, CHEQUE_DARK, x0, y0, x1, y1))
    if detail >= 2:
        # Security waves across the paper.
        inner = canvas.mask([rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, max(0.5, radius - edge))])
        for k in range(5):
            yy = y0 + h * (0.2 + 0.17 * k)
            pts = [(x0 + w * i / 60, yy + unit * 0.45 * math.sin(i / 60 * 5 * math.pi + k)) for i in range(61)]
            canvas.fill(stroke(pts, max(0.5, unit * 0.12)), CHEQUE_DARK, opacity=0.9, clip=inner)
    line = max(1, round(unit * 0.32))

    def bar(bx0, by, bx1, colour=CHEQUE_INK, thick=line):
        thick = max(1, round(thick))
        top = round(y0 + h * by - thick / 2)
        canvas.fill([rect(round(x0 + w * bx0), top, round(x0 + w * bx1), top + thick)], colour)

    bar(0.07, 0.20, 0.42, CHEQUE_PRINT, line * 1.6)          # payor's name
    if detail >= 1:
        bar(0.07, 0.31, 0.32)                                 # payor's address
        bar(0.74, 0.20, 0.92, CHEQUE_PRINT, line * 1.2)       # cheque number
    bar(0.07, 0.52, 0.66)                                     # pay to the order of
    # Amount box.
    bx0, by0, bx1, by1 = round(x0 + w * 0.72), round(y0 + h * 0.40), round(x0 + w * 0.93), round(y0 + h * 0.60)
    canvas.fill([rect(bx0, by0, bx1, by1)], CHEQUE_INK)
    canvas.fill([rect(bx0 + line, by0 + line, bx1 - line, by1 - line)], rgb('#ffffff'))
    if detail >= 1:
        bar(0.07, 0.68, 0.50)                                 # amount in words
    if detail >= 2:
        # Account numbers along the bottom edge.
        for k in range(9):
            cx = round(x0 + w * (0.07 + k * 0.035))
            canvas.fill([rect(cx, round(y0 + h * 0.84), cx + max(1, round(w * 0.022)), round(y0 + h * 0.90))],
                        CHEQUE_PRINT)
    sig = (round(x0 + w * 0.52), round(x0 + w * 0.93), round(y0 + h * 0.82))
    bar(0.52, 0.82, 0.93)
    return sig


def signature(canvas, x0, x1, y, size, pen=None):
    """A cursive flourish written just above a signature line; returns where the pen stopped."""
    pts = path(cubic((x0, y - size * 0.2), (x0 + size * 0.2, y - size * 1.4), (x0 + size * 0.5, y - size * 0.9),
                     (x0 + size * 0.45, y - size * 0.25), 20),
               cubic((x0 + size * 0.45, y - size * 0.25), (x0 + size * 0.4, y + size * 0.1),
                     (x0 + size * 0.9, y - size * 0.9), (x0 + size * 1.1, y - size * 0.5), 20),
               cubic((x0 + size * 1.1, y - size * 0.5), (x0 + size * 1.3, y - size * 0.1),
                     (x1 - size * 0.3, y - size * 0.7), (x1, y - size * 0.45), 20))
    canvas.fill(nib_stroke(pts, pen or max(1.0, size * 0.18), 40), SIGNATURE_INK)
    return pts[-1]


def icon(size, detail=None):
    """The product icon at one size: a cheque with a quill signing it."""
    s = float(size)
    if detail is None:
        detail = 2 if size >= 96 else 1
    c = Canvas(size, size)
    sx0, sx1, sy = cheque(c, s * 0.02, s * 0.36, s * 0.88, s * 0.90, detail)
    pen_at = signature(c, sx0 + s * 0.02, sx0 + s * 0.20, sy - s * 0.01, s * 0.10, max(1.4, s * 0.024))
    quill(c, (pen_at[0] + s * 0.005, pen_at[1] - s * 0.005), (s * 0.955, s * 0.045), detail=detail)
    return c


# ---------------------------------------------------------------- lettering
#
# The word "Quillo" written with a broad nib.  Glyphs are pen paths in em
# units: baseline at y = 0, x-height at y = -1, capitals and ascenders at about
# -1.5.  The nib is held at a fixed angle, which gives the thick downstrokes and
# thin hairlines.

NIB_ANGLE = 38.0
SLANT = 0.14


def _e(cx, cy, rx, ry, a0, a1, steps=48):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


def _glyphs():
    q_bowl = _e(0.74, -0.74, 0.64, 0.76, -95, 275, 90)
    q_tail = cubic((0.62, -0.16), (0.95, 0.12), (1.25, 0.20), (1.62, 0.14), 24)
    u_first = path(cubic((-0.04, -0.84), (0.04, -0.98), (0.14, -1.02), (0.14, -0.9), 8),
                   cubic((0.14, -0.9), (0.14, -0.6), (0.12, -0.35), (0.12, -0.24), 8),
                   cubic((0.12, -0.24), (0.12, 0.06), (0.5, 0.06), (0.64, -0.3), 12),
                   [(0.64, -1.0)])
    u_second = path([(0.64, -1.0), (0.64, -0.16)], cubic((0.64, -0.16), (0.64, -0.02), (0.72, 0.02), (0.84, -0.08), 8))
    i_stem = path(cubic((-0.04, -0.84), (0.04, -0.98), (0.14, -1.02), (0.14, -0.9), 8), [(0.14, -0.16)],
                  cubic((0.14, -0.16), (0.14, -0.02), (0.22, 0.02), (0.34, -0.08), 8))
    i_dot = [(0.14, -1.36), (0.2, -1.30)]
    l_stem = path(cubic((-0.02, -1.36), (0.08, -1.56), (0.2, -1.62), (0.2, -1.48), 8), [(0.2, -0.16)],
                  cubic((0.2, -0.16), (0.2, -0.02), (0.28, 0.02), (0.40, -0.08), 8))
    o_bowl = _e(0.40, -0.5, 0.36, 0.5, -100, 265, 64)
    o_exit = cubic((0.32, -0.99), (0.5, -1.02), (0.7, -0.98), (0.86, -0.86), 8)
    return [
        ('Q', [q_bowl, q_tail], 1.40),
        ('u', [u_first, u_second], 0.92),
        ('i', [i_stem, i_dot], 0.46),
        ('l', [l_stem], 0.50),
        ('l', [l_stem], 0.50),
        ('o', [o_bowl, o_exit], 0.9),
    ]


def lettering(text_glyphs, x, baseline, em, nib=0.2):
    """Contours of the glyphs written from (x, baseline) at `em` pixels per em; returns (contours, end x)."""
    contours = []
    pen_x = 0.0
    for _, strokes, advance in text_glyphs:
        for pts in strokes:
            placed = [(x + (pen_x + px - py * SLANT) * em, baseline + py * em) for px, py in pts]
            contours += nib_stroke(placed, nib * em, NIB_ANGLE)
        pen_x += advance
    return contours, x + pen_x * em


def word_quillo(x, baseline, em, nib=0.2):
    return lettering(_glyphs(), x, baseline, em, nib)


def letter_q(x, baseline, em, nib=0.2):
    return lettering(_glyphs()[:1], x, baseline, em, nib)
