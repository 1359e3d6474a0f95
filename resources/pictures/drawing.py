"""A tiny anti-aliased vector painter and PNG writer (standard library only).

Shapes are lists of contours (lists of (x, y) points, y pointing down) filled
with the non-zero rule.  Coverage is sampled on sub-scanlines and measured
exactly along each sub-scanline, which gives smooth edges at any size.
Pictures are written as PNG in one of three forms: 'RGB', 'RGBA', or indexed
('P', at most 256 colours) with an alpha table.
"""

import math
import struct
import zlib

# ---------------------------------------------------------------- colours


def rgb(hex_text, alpha=1.0):
    """'#1f3f8f' -> (r, g, b, a) with channels in 0..1."""
    h = hex_text.lstrip('#')
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0, int(h[4:6], 16) / 255.0, alpha)


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


# ---------------------------------------------------------------- geometry


def ellipse(cx, cy, rx, ry, steps=None, start=0.0, end=2 * math.pi):
    if steps is None:
        steps = max(24, int(2 * math.pi * max(rx, ry)))
    return [(cx + rx * math.cos(start + (end - start) * i / steps),
             cy + ry * math.sin(start + (end - start) * i / steps)) for i in range(steps + 1)]


def circle(cx, cy, r, steps=None):
    pts = ellipse(cx, cy, r, r, steps)
    return pts[:-1]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def rounded_rect(x0, y0, x1, y1, r, steps=8):
    if r <= 0:
        return rect(x0, y0, x1, y1)
    pts = []
    corners = [(x1 - r, y0 + r, -math.pi / 2), (x1 - r, y1 - r, 0.0), (x0 + r, y1 - r, math.pi / 2),
               (x0 + r, y0 + r, math.pi)]
    for cx, cy, a0 in corners:
        for i in range(steps + 1):
            a = a0 + (math.pi / 2) * i / steps
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def cubic(p0, p1, p2, p3, steps=24):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


def path(*pieces):
    """Joins point lists, dropping the repeated joint points."""
    out = []
    for piece in pieces:
        for p in piece:
            if not out or abs(out[-1][0] - p[0]) > 1e-9 or abs(out[-1][1] - p[1]) > 1e-9:
                out.append(p)
    return out


def signed_area(contour):
    a = 0.0
    n = len(contour)
    for i in range(n):
        x0, y0 = contour[i]
        x1, y1 = contour[(i + 1) % n]
        a += x0 * y1 - x1 * y0
    return a / 2


def positive(contour):
    return contour if signed_area(contour) >= 0 else list(reversed(contour))


def transform(contours, a=1.0, b=0.0, c=0.0, d=1.0, e=0.0, f=0.0):
    """Applies x' = a*x + c*y + e, y' = b*x + d*y + f to every point."""
    return [[(a * x + c * y + e, b * x + d * y + f) for x, y in cont] for cont in contours]


def place(contours, scale=1.0, angle_deg=0.0, dx=0.0, dy=0.0):
    r = math.radians(angle_deg)
    ca, sa = math.cos(r) * scale, math.sin(r) * scale
    return transform(contours, ca, sa, -sa, ca, dx, dy)


def stroke(points, width, round_ends=True, closed=False):
    """Contours whose union is a polyline drawn with a round pen."""
    hw = width / 2
    out = []
    pts = list(points) + ([points[0]] if closed else [])
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        if length < 1e-9:
            continue
        nx, ny = -dy / length * hw, dx / length * hw
        out.append(positive([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]))
    joints = pts if round_ends else pts[1:-1]
    for x, y in joints:
        out.append(positive(circle(x, y, hw, max(12, int(hw * 6)))))
    return out


def nib_stroke(points, nib_width, nib_angle_deg):
    """Contours swept by a flat pen nib (a straight edge) moved along the points."""
    r = math.radians(nib_angle_deg)
    nx, ny = math.cos(r) * nib_width / 2, -math.sin(r) * nib_width / 2
    out = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        quad = [(x0 - nx, y0 - ny), (x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny)]
        if abs(signed_area(quad)) > 1e-9:
            out.append(positive(quad))
    return out


def tapered_stroke(points, w0, w1):
    """A stroke whose width changes evenly from w0 to w1 along its length."""
    total = sum(math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(points, points[1:])) or 1.0
    out = []
    run = 0.0
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        if length < 1e-9:
            continue
        ha = (w0 + (w1 - w0) * run / total) / 2
        run += length
        hb = (w0 + (w1 - w0) * run / total) / 2
        ux, uy = -(y1 - y0) / length, (x1 - x0) / length
        out.append(positive([(x0 + ux * ha, y0 + uy * ha), (x1 + ux * hb, y1 + uy * hb),
                             (x1 - ux * hb, y1 - uy * hb), (x0 - ux * ha, y0 - uy * ha)]))
        out.append(positive(circle(x1, y1, hb, max(12, int(hb * 6)))))
    return out


# ---------------------------------------------------------------- raster


class Mask:
    """Coverage of one shape, 0..1 per pixel."""

    def __init__(self, w, h, values=None):
        self.w, self.h = w, h
        self.v = values if values is not None else [0.0] * (w * h)

    def intersect(self, other):
        return Mask(self.w, self.h, [a * b for a, b in zip(self.v, other.v)])

    def minus(self, other):
        return Mask(self.w, self.h, [a * (1 - b) for a, b in zip(self.v, other.v)])

    def union(self, other):
        return Mask(self.w, self.h, [a + b - a * b for a, b in zip(self.v, other.v)])


def rasterize(contours, w, h, ss=8):
    edges = []
    for cont in contours:
        n = len(cont)
        for i in range(n):
            x0, y0 = cont[i]
            x1, y1 = cont[(i + 1) % n]
            if y0 == y1:
                continue
            direction = 1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
                direction = -1
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), direction))
    mask = Mask(w, h)
    if not edges:
        return mask
    edges.sort(key=lambda e: e[0])
    v = mask.v
    weight = 1.0 / ss
    y_start = max(0, int(math.floor(edges[0][0])))
    y_end = min(h, int(math.ceil(max(e[1] for e in edges))))
    active = []
    nxt = 0
    for row in range(y_start, y_end):
        base = row * w
        for s in range(ss):
            sy = row + (s + 0.5) / ss
            while nxt < len(edges) and edges[nxt][0] <= sy:
                active.append(edges[nxt])
                nxt += 1
            active = [e for e in active if e[1] > sy]
            crossings = sorted((e[2] + (sy - e[0]) * e[3], e[4]) for e in active if e[0] <= sy)
            winding = 0
            span_start = 0.0
            for x, d in crossings:
                before = winding
                winding += d
                if before == 0 and winding != 0:
                    span_start = x
                elif before != 0 and winding == 0:
                    _add_span(v, base, w, span_start, x, weight)
    mask.v = [c if c < 1.0 else 1.0 for c in v]
    return mask


def _add_span(v, base, w, xa, xb, weight):
    if xa < 0:
        xa = 0.0
    if xb > w:
        xb = float(w)
    if xb <= xa:
        return
    ia, ib = int(xa), int(xb)
    if ia == ib:
        v[base + ia] += (xb - xa) * weight
        return
    v[base + ia] += (ia + 1 - xa) * weight
    for i in range(base + ia + 1, base + ib):
        v[i] += weight
    if ib < w:
        v[base + ib] += (xb - ib) * weight


class Canvas:
    """Straight-alpha RGBA picture with channels in 0..1."""

    def __init__(self, w, h, background=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(background) for _ in range(w * h)]

    def mask(self, contours, ss=8):
        return rasterize(contours, self.w, self.h, ss)

    def fill(self, contours, paint, opacity=1.0, clip=None):
        m = contours if isinstance(contours, Mask) else self.mask(contours)
        if clip is not None:
            m = m.intersect(clip)
        self.paint(m, paint, opacity)
        return m

    def paint(self, mask, paint, opacity=1.0):
        w = self.w
        solid = not callable(paint)
        for i, cov in enumerate(mask.v):
            if cov <= 0.0:
                continue
            if solid:
                sr, sg, sb, sa = paint
            else:
                sr, sg, sb, sa = paint(i % w + 0.5, i // w + 0.5)
            a = sa * cov * opacity
            if a <= 0.0:
                continue
            d = self.px[i]
            da = d[3] * (1 - a)
            oa = a + da
            d[0] = (sr * a + d[0] * da) / oa
            d[1] = (sg * a + d[1] * da) / oa
            d[2] = (sb * a + d[2] * da) / oa
            d[3] = oa

    def set_pixel(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(colour)

    def to_bytes_rows(self, mode):
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                vals = (r, g, b) if mode == 'RGB' else (r, g, b, a)
                row.extend(max(0, min(255, int(round(c * 255)))) for c in vals)
            rows.append(bytes(row))
        return rows

    def save(self, filename, mode='RGBA'):
        if mode == 'RGB':
            write_png(filename, self.w, self.h, self.to_bytes_rows('RGB'), colour_type=2)
        elif mode == 'P':
            colours = [tuple(row[i:i + 4]) for row in self.to_bytes_rows('RGBA') for i in range(0, len(row), 4)]
            palette, indices = quantize(colours, 256)
            write_indexed_png(filename, self.w, self.h, indices, [c[:3] for c in palette], [c[3] for c in palette],
                              bit_depth=8)
        else:
            write_png(filename, self.w, self.h, self.to_bytes_rows('RGBA'), colour_type=6)


def quantize(colours, limit):
    """At most `limit` RGBA colours that stand for `colours` (median cut), and
    each colour's index among them.  Fully transparent pixels share one entry."""
    colours = [(0, 0, 0, 0) if c[3] == 0 else c for c in colours]
    boxes = [sorted(set(colours))]
    while len(boxes) < limit:
        # Split the box whose colours spread furthest along one channel.
        spread, channel, k = max((max(c[ch] for c in box) - min(c[ch] for c in box), ch, k)
                                 for k, box in enumerate(boxes) for ch in range(4))
        if spread == 0:
            break
        box = sorted(boxes.pop(k), key=lambda c: (c[channel], c))
        boxes[k:k] = [box[:len(box) // 2], box[len(box) // 2:]]
    counts = {}
    for c in colours:
        counts[c] = counts.get(c, 0) + 1
    palette, index = [], {}
    for box in boxes:
        total = sum(counts[c] for c in box)
        palette.append(tuple((sum(c[ch] * counts[c] for c in box) + total // 2) // total for ch in range(4)))
        for c in box:
            index[c] = len(palette) - 1
    return palette, [index[c] for c in colours]


def linear(c0, c1, x0, y0, x1, y1):
    """A paint that runs from colour c0 at (x0, y0) to c1 at (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    dd = dx * dx + dy * dy or 1.0

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / dd
        return mix(c0, c1, 0.0 if t < 0 else 1.0 if t > 1 else t)
    return paint


# ---------------------------------------------------------------- PNG


def _chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)


def write_png(filename, w, h, rows, colour_type, bit_depth=8, palette=None, alpha=None):
    """rows: one bytes object per scanline, already packed for bit_depth."""
    raw = b''.join(b'\x00' + r for r in rows)
    data = b'\x89PNG\r\n\x1a\n'
    data += _chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, bit_depth, colour_type, 0, 0, 0))
    if palette is not None:
        data += _chunk(b'PLTE', b''.join(bytes(c) for c in palette))
        if alpha is not None and any(a != 255 for a in alpha):
            last = max(i for i, a in enumerate(alpha) if a != 255)
            data += _chunk(b'tRNS', bytes(alpha[:last + 1]))
    data += _chunk(b'IDAT', zlib.compress(raw, 9))
    data += _chunk(b'IEND', b'')
    with open(filename, 'wb') as f:
        f.write(data)


def write_indexed_png(filename, w, h, indices, palette, alpha=None, bit_depth=None):
    """indices: w*h palette indices; 4-bit depth when the palette has at most 16 entries, unless given."""
    bit_depth = bit_depth or (4 if len(palette) <= 16 else 8)
    rows = []
    for y in range(h):
        line = indices[y * w:(y + 1) * w]
        if bit_depth == 4:
            packed = bytearray()
            for x in range(0, w, 2):
                hi = line[x]
                lo = line[x + 1] if x + 1 < w else 0
                packed.append((hi << 4) | lo)
            rows.append(bytes(packed))
        else:
            rows.append(bytes(line))
    write_png(filename, w, h, rows, colour_type=3, bit_depth=bit_depth, palette=palette, alpha=alpha)


def read_png(filename):
    """Reads the PNGs this module writes (8-bit RGB/RGBA, 4/8-bit indexed): -> (w, h, [(r,g,b,a)])."""
    with open(filename, 'rb') as f:
        data = f.read()
    pos = 8
    idat = b''
    palette, trns = [], b''
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            w, h, depth, ctype = struct.unpack('>IIBB', body[:10])
        elif kind == b'PLTE':
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b'tRNS':
            trns = body
        elif kind == b'IDAT':
            idat += body
    raw = zlib.decompress(idat)
    channels = {2: 3, 6: 4, 3: 1}[ctype]
    stride = (w * channels * depth + 7) // 8
    bpp = max(1, channels * depth // 8)
    prev = bytearray(stride)
    out = []
    pos = 0
    for _ in range(h):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        for x in range(w):
            if ctype == 3:
                if depth == 4:
                    byte = line[x // 2]
                    idx = (byte >> 4) if x % 2 == 0 else (byte & 15)
                else:
                    idx = line[x]
                r, g, b = palette[idx]
                a = trns[idx] if idx < len(trns) else 255
                out.append((r, g, b, a))
            elif ctype == 2:
                out.append((line[3 * x], line[3 * x + 1], line[3 * x + 2], 255))
            else:
                out.append(tuple(line[4 * x:4 * x + 4]))
    return w, h, out
