"""Reads the horizontal metrics of a TrueType font file, so that a test knows
how wide a printed column and how high a printed line must be without asking
the program under test."""

import struct

# How often each lower-case letter and the space occur in English text, per
# thousand characters: the weights of a font's average character width.
LETTER_FREQUENCIES = {
    "a": 64, "b": 14, "c": 27, "d": 35, "e": 100, "f": 20, "g": 14, "h": 42, "i": 63, "j": 3, "k": 6, "l": 35,
    "m": 20, "n": 56, "o": 56, "p": 17, "q": 4, "r": 49, "s": 56, "t": 71, "u": 31, "v": 10, "w": 18, "x": 3,
    "y": 18, "z": 2, " ": 166,
}


class TrueTypeFont:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        count = struct.unpack_from(">H", self.data, 4)[0]
        self.tables = {}
        for i in range(count):
            tag, _checksum, offset, _length = struct.unpack_from(">4sIII", self.data, 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = offset
        self.units_per_em = struct.unpack_from(">H", self.data, self.tables["head"] + 18)[0]
        hhea = self.tables["hhea"]
        self.ascender, self.descender, self.line_gap = struct.unpack_from(">hhh", self.data, hhea + 4)
        metric_count = struct.unpack_from(">H", self.data, hhea + 34)[0]
        self.advances = [struct.unpack_from(">H", self.data, self.tables["hmtx"] + 4 * i)[0]
                         for i in range(metric_count)]
        self.cmap = self._unicode_cmap()

    def _unicode_cmap(self):
        """The character-to-glyph map of the font's Unicode BMP subtable (format 4)."""
        base = self.tables["cmap"]
        count = struct.unpack_from(">H", self.data, base + 2)[0]
        for i in range(count):
            platform, encoding, offset = struct.unpack_from(">HHI", self.data, base + 4 + 8 * i)
            table = base + offset
            if (platform, encoding) not in ((3, 1), (0, 3), (0, 4)):
                continue
            if struct.unpack_from(">H", self.data, table)[0] != 4:
                continue
            segments = struct.unpack_from(">H", self.data, table + 6)[0] // 2
            ends = struct.unpack_from(">%dH" % segments, self.data, table + 14)
            starts = struct.unpack_from(">%dH" % segments, self.data, table + 16 + 2 * segments)
            deltas = struct.unpack_from(">%dh" % segments, self.data, table + 16 + 4 * segments)
            range_base = table + 16 + 6 * segments
            offsets = struct.unpack_from(">%dH" % segments, self.data, range_base)
            cmap = {}
            for k in range(segments):
                for code in range(starts[k], min(ends[k], 0xFFFE) + 1):
                    if offsets[k] == 0:
                        glyph = (code + deltas[k]) & 0xFFFF
                    else:
                        at = range_base + 2 * k + offsets[k] + 2 * (code - starts[k])
                        glyph = struct.unpack_from(">H", self.data, at)[0]
                        glyph = (glyph + deltas[k]) & 0xFFFF if glyph else 0
                    cmap[code] = glyph
            return cmap
        raise ValueError("the font has no Unicode character map")

    def advance(self, char):
        """Advance width of a character, in font units."""
        glyph = self.cmap.get(ord(char), 0)
        return self.advances[min(glyph, len(self.advances) - 1)]

    def average_char_width(self, points):
        """The letter-frequency weighted average advance, in points at a size."""
        total = sum(weight * self.advance(c) for c, weight in LETTER_FREQUENCIES.items())
        return total / sum(LETTER_FREQUENCIES.values()) * points / self.units_per_em

    def line_spacing(self, points):
        return (self.ascender - self.descender + self.line_gap) * points / self.units_per_em

    def text_height(self, points):
        """Ascent plus descent, in points: the height of a word's box."""
        return (self.ascender - self.descender) * points / self.units_per_em
