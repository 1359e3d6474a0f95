#!/usr/bin/env python3
# Regenerates every picture in resources/pictures from its source:
#
#     /usr/bin/python3 resources/pictures/make-pictures.py [--preview DIR] [--check]
#
# Small pictures are pixel art: <name>.txt beside <name>.png, one character per
# pixel with a colour legend.  The larger ones are drawn by the Python scripts
# listed in DRAWN below.  Only the standard library is used, and the output is
# byte-for-byte the same on every run, so the committed PNGs can be compared
# with a fresh run.  --preview also writes enlarged copies to DIR for looking
# at the pictures.  --check writes nothing here: it draws every picture into a
# scratch folder and fails if any committed PNG shows different pixels.

import argparse
import importlib.util
import os
import sys
import tempfile

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import drawing  # noqa: E402
import pixelart  # noqa: E402

PIXEL_ART = [
    'quillo-icon-16',
    'toolbar/new', 'toolbar/open', 'toolbar/save', 'toolbar/print', 'toolbar/cut', 'toolbar/copy', 'toolbar/paste',
    'browser/back', 'browser/forward', 'browser/stop', 'browser/refresh', 'browser/home', 'browser/search',
]

# Drawing scripts; each has pictures() -> {png name: (Canvas, 'RGB' or 'RGBA')}.
DRAWN = ['quillo-icon-large.py', 'logo-badge.py', 'splash-logo.py', 'about-picture.py']


def load_script(name):
    found = importlib.util.spec_from_file_location(name.replace('-', '_')[:-3], os.path.join(HERE, name))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def preview(png, out_dir):
    w, h, px = drawing.read_png(png)
    scale = max(1, 256 // max(w, h)) if max(w, h) < 128 else 2 if max(w, h) <= 350 else 1
    big = drawing.Canvas(w * scale, h * scale)
    for y in range(h * scale):
        for x in range(w * scale):
            r, g, b, a = px[(y // scale) * w + x // scale]
            check = 204 if ((x // 8) + (y // 8)) % 2 else 255
            a /= 255.0
            big.px[y * big.w + x] = [(r * a + check * (1 - a)) / 255, (g * a + check * (1 - a)) / 255,
                                     (b * a + check * (1 - a)) / 255, 1.0]
    big.save(os.path.join(out_dir, os.path.relpath(png, HERE).replace('/', '_')), 'RGB')


def generate(out_dir):
    """Writes every picture under out_dir; returns their paths relative to it."""
    written = []
    for name in PIXEL_ART:
        art = pixelart.load(os.path.join(HERE, name + '.txt'))
        os.makedirs(os.path.dirname(os.path.join(out_dir, name)), exist_ok=True)
        pixelart.save_png(art, os.path.join(out_dir, name + '.png'))
        written.append(name + '.png')
    for script in DRAWN:
        for png, (canvas, mode) in load_script(script).pictures().items():
            canvas.save(os.path.join(out_dir, png), mode)
            written.append(png)
    return written


def check():
    with tempfile.TemporaryDirectory() as scratch:
        stale = [png for png in generate(scratch)
                 if not os.path.exists(os.path.join(HERE, png))
                 or drawing.read_png(os.path.join(HERE, png)) != drawing.read_png(os.path.join(scratch, png))]
    for png in stale:
        print(f'{png} does not match its source; run make-pictures.py')
    print(f'{0 if stale else 1} passed, {1 if stale else 0} failed')
    return 1 if stale else 0


def main():
    parser = argparse.ArgumentParser(description='Regenerate the pictures from their sources.')
    parser.add_argument('--preview', metavar='DIR', help='also write enlarged copies to DIR')
    parser.add_argument('--check', action='store_true', help='only compare the committed PNGs with their sources')
    args = parser.parse_args()
    if args.check:
        return check()
    for png in generate(HERE):
        print(png)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            preview(os.path.join(HERE, png), args.preview)
    return 0


if __name__ == '__main__':
    sys.exit(main())
