"""The window icon drawn smooth from the motif: quillo-icon.png, 32 x 32 in at
most 256 colours (an 8-bit palette), and quillo-icon-<size>.png in true colour
for 48, 64, 128 and 256 pixels.

The 16 pixel icon is pixel art (quillo-icon-16.txt) of the same design."""

import motif

SIZES = (48, 64, 128, 256)


def pictures():
    made = {'quillo-icon.png': (motif.icon(32), 'P')}
    made.update({f'quillo-icon-{size}.png': (motif.icon(size), 'RGBA') for size in SIZES})
    return made
