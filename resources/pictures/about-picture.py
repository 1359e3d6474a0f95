"""about-picture.png, 110 x 180 on light grey: a quill standing in an inkwell in front of a cheque."""

import motif
from drawing import Canvas, cubic, ellipse, linear, path, rgb, rounded_rect

W, H = 110, 180
GREY = rgb('#c0c0c0')


def inkwell(c):
    # Shadow on the table.
    c.fill([ellipse(58, 171, 40, 6)], rgb('#000000', 0.22))
    # Squat glass body with rounded shoulders, and a short neck with a lip.
    body = path(cubic((22, 168), (16, 150), (22, 134), (44, 130), 16),
                [(72, 130)],
                cubic((72, 130), (94, 134), (100, 150), (94, 168), 16))
    body = [path(body, cubic((94, 168), (80, 174), (36, 174), (22, 168), 16))]
    c.fill(body, linear(rgb('#3a4b7a'), rgb('#11172b'), 20, 130, 90, 175))
    c.fill([rounded_rect(45, 118, 71, 132, 2)], linear(rgb('#34446e'), rgb('#151c33'), 45, 118, 71, 132))
    c.fill([rounded_rect(42, 115, 74, 121, 3)], linear(rgb('#4a5c8c'), rgb('#1c2440'), 42, 115, 74, 121))
    # Ink seen through the glass, and the glints of the glass.
    c.fill([path(cubic((25, 152), (40, 156), (76, 156), (91, 152), 16),
                 cubic((91, 152), (94, 160), (92, 166), (88, 168), 8),
                 cubic((88, 168), (70, 173), (44, 173), (28, 168), 12),
                 cubic((28, 168), (24, 162), (23, 157), (25, 152), 8))], rgb('#05070f', 0.85))
    c.fill([path(cubic((27, 146), (28, 139), (33, 135), (40, 133), 8),
                 cubic((40, 133), (35, 137), (32, 142), (31, 150), 8))], rgb('#ffffff', 0.55))
    c.fill([rounded_rect(47, 120, 50, 130, 1)], rgb('#ffffff', 0.35))
    c.fill([ellipse(58, 116, 14, 2.2)], rgb('#05070f'))


def draw():
    c = Canvas(W, H, GREY)
    motif.cheque(c, 6, 98, 104, 148, detail=2, angle=-12)
    motif.quill(c, (57, 140), (95, 6), bend=-0.05, detail=2)
    inkwell(c)
    return c


def pictures():
    return {'about-picture.png': (draw(), 'RGB')}
