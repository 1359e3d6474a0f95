"""quillo-icon-<size>.png for 48, 64, 128 and 256 pixels: the window icon's motif drawn smooth.

The 16 and 32 pixel icons are pixel art (quillo-icon-16.txt, quillo-icon.txt) of the same design."""

import motif

SIZES = (48, 64, 128, 256)


def pictures():
    return {f'quillo-icon-{size}.png': (motif.icon(size), 'RGBA') for size in SIZES}
