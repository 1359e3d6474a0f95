"""logo-badge.png, 32 x 28, 24-bit: Quillo's badge, a written Q on a green plate."""

import motif
from drawing import Canvas, linear, rect, rgb

W, H = 32, 28


def draw():
    c = Canvas(W, H, rgb('#1d5a34'))
    c.fill([rect(0, 0, W, H)], linear(rgb('#3d8a52'), rgb('#174a2a'), 0, 0, W, H))
    # Raised edge: light along the top and left, dark along the bottom and right.
    c.fill([rect(0, 0, W, 1), rect(0, 0, 1, H)], rgb('#8cc79a'))
    c.fill([rect(0, H - 1, W, H), rect(W - 1, 0, W, H)], rgb('#0e2f1a'))
    c.fill([rect(2, 2, W - 2, 3), rect(2, 2, 3, H - 2), rect(2, H - 3, W - 2, H - 2), rect(W - 3, 2, W - 2, H - 2)],
           rgb('#e2b440', 0.85))
    shadow, _ = motif.letter_q(6.5, 22.0, 11.0, nib=0.26)
    c.fill(shadow, rgb('#000000', 0.35))
    q, _ = motif.letter_q(5.8, 21.3, 11.0, nib=0.26)
    c.fill(q, rgb('#fbf3d8'))
    return c


def pictures():
    return {'logo-badge.png': (draw(), 'RGB')}
