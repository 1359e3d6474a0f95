"""splash-logo.png, 350 x 131: the word "Quillo" written on cheque paper, the quill that wrote it at the right."""

import math

import motif
from drawing import Canvas, cubic, linear, nib_stroke, path, rect, rgb, stroke

W, H = 350, 131


def guilloche(c, clip):
    """Fine interlaced waves, the security pattern printed on cheque paper."""
    for k in range(14):
        phase = k * 0.45
        pts = [(x, H * 0.5 + (H * 0.42) * math.sin(x / W * 2 * math.pi * 1.5 + phase) *
                math.cos(x / W * 2 * math.pi * 0.5 + phase * 0.3)) for x in range(-4, W + 5, 3)]
        c.fill(stroke(pts, 0.7, round_ends=False), rgb('#b9dcb0'), opacity=0.55, clip=clip)


def draw():
    c = Canvas(W, H, rgb('#2f6b3a'))
    # Paper inside a dark green edge, with a thin inner rule as on a cheque form.
    paper = c.fill([rect(2, 2, W - 2, H - 2)], linear(rgb('#f6fbf3'), rgb('#d9edd2'), 0, 0, W * 0.3, H * 1.2))
    guilloche(c, paper)
    rule = c.mask([rect(6, 6, W - 6, H - 6)]).minus(c.mask([rect(7, 7, W - 7, H - 7)]))
    c.fill(rule, rgb('#7fae84'))

    em = 54
    x0, baseline = 22, 92
    # A soft shadow first, then the ink.
    shadow, _ = motif.word_quillo(x0 + 2, baseline + 2, em)
    c.fill(shadow, rgb('#1d5a34', 0.22))
    word, end = motif.word_quillo(x0, baseline, em)
    c.fill(word, motif.LETTER)

    # The flourish under the word, drawn on from the tail of the Q to the pen.
    flourish = path(cubic((x0 + 1.55 * em, baseline + 0.16 * em), (x0 + 2.4 * em, baseline + 0.12 * em),
                          (end - 0.6 * em, baseline + 0.34 * em), (end + 0.3 * em, baseline + 0.05 * em), 40))
    c.fill(nib_stroke(flourish, 0.2 * em, motif.NIB_ANGLE), motif.LETTER)
    nib = flourish[-1]
    motif.quill(c, (nib[0] + 1, nib[1] - 1), (W - 14, 12), bend=-0.06, detail=2)
    return c


def pictures():
    return {'splash-logo.png': (draw(), 'RGB')}
