"""Reads the pixel-art text files (one character per pixel) and writes them as indexed PNGs.

File layout:

    # comment lines start with '#'
    legend
      <char> <RRGGBB or 'transparent'>  <free description>
      ...
    picture
    <one row of characters per line>

The palette of the PNG is the legend, in legend order, so a 16-entry legend
gives a 4-bit PNG.  A 'transparent' entry is written with alpha 0.
"""

import drawing


class PixelArt:
    def __init__(self, width, height, legend, rows):
        self.width, self.height = width, height
        self.legend = legend  # list of (char, (r, g, b, a))
        self.rows = rows


def load(filename):
    legend = []
    rows = []
    section = None
    with open(filename, encoding='utf-8') as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip('\n')
            if line.startswith('#') or (section != 'picture' and not line.strip()):
                continue
            if line.strip() in ('legend', 'picture'):
                section = line.strip()
                continue
            if section == 'legend':
                parts = line.split()
                char, colour = parts[0], parts[1]
                if len(char) != 1:
                    raise ValueError(f'{filename}:{number}: legend key must be one character')
                if colour == 'transparent':
                    legend.append((char, (0, 0, 0, 0)))
                else:
                    legend.append((char, (int(colour[0:2], 16), int(colour[2:4], 16), int(colour[4:6], 16), 255)))
            elif section == 'picture':
                if line.strip():
                    rows.append(line.strip())
            else:
                raise ValueError(f'{filename}:{number}: text outside the legend and picture sections')
    keys = {c for c, _ in legend}
    if len(keys) != len(legend):
        raise ValueError(f'{filename}: a legend key is listed twice')
    width = len(rows[0]) if rows else 0
    for y, row in enumerate(rows):
        if len(row) != width:
            raise ValueError(f'{filename}: row {y} is {len(row)} pixels wide, expected {width}')
        unknown = set(row) - keys
        if unknown:
            raise ValueError(f'{filename}: row {y} uses characters not in the legend: {sorted(unknown)}')
    return PixelArt(width, len(rows), legend, rows)


def save_png(art, filename):
    index = {c: i for i, (c, _) in enumerate(art.legend)}
    palette = [colour[:3] for _, colour in art.legend]
    alpha = [colour[3] for _, colour in art.legend]
    pixels = [index[c] for row in art.rows for c in row]
    drawing.write_indexed_png(filename, art.width, art.height, pixels, palette, alpha)
