"""Counts the glyphs a PDF draws, font by font, from its content streams.

Text extraction cannot tell whether a glyph was drawn twice: a PDF writer that
fakes a bold face draws every glyph a second time, a little to the side, and
marks the second pass as carrying no text. Counting the glyphs shown by the
text operators of the content streams sees both passes.

Standard library only: the streams are inflated with zlib, object streams
included, so that the count holds for a file written by Qt and for one a
print filter has rewritten.
"""

import re
import zlib

OBJECT = re.compile(rb"(\d+)\s+\d+\s+obj\b(.*?)\bendobj", re.S)
STREAM = re.compile(rb"stream\r?\n(.*?)\r?\n?endstream", re.S)
FONT_NAME = re.compile(rb"/BaseFont\s*/([^\s/<>\[\]()]+)")
FONT_ENTRY = re.compile(rb"/([^\s/<>\[\]()]+)\s+(\d+)\s+\d+\s+R")
FONT_DICTIONARY = re.compile(rb"/Font\s*<<(.*?)>>", re.S)
FONT_REFERENCE = re.compile(rb"/Font\s+(\d+)\s+\d+\s+R")
CONTENTS = re.compile(rb"/Contents\s*(\[[^\]]*\]|\d+\s+\d+\s+R)")
REFERENCE = re.compile(rb"(\d+)\s+\d+\s+R")
TOKEN = re.compile(rb"""
    (?P<hex><[0-9A-Fa-f\s]*>)
  | (?P<literal>\()
  | (?P<name>/[^\s/<>\[\]()%{}]*)
  | (?P<other><<|>>|\[|\]|[^\s/<>\[\]()%{}]+)
  | (?P<comment>%[^\r\n]*)
""", re.X)
SHOW_OPERATORS = {b"Tj", b"TJ", b"'", b'"'}


def _inflate(head, body):
    if b"/FlateDecode" not in head:
        return body
    try:
        return zlib.decompressobj().decompress(body)
    except zlib.error:
        return b""


def objects(data):
    """{object number: (dictionary text, inflated stream or None)} of every
    object, those inside object streams included."""
    found = {}
    for match in OBJECT.finditer(data):
        number, text = int(match.group(1)), match.group(2)
        stream = STREAM.search(text)
        head = text[:stream.start()] if stream else text
        found[number] = (head, _inflate(head, stream.group(1)) if stream else None)
    for head, stream in list(found.values()):
        if stream is None or b"/ObjStm" not in head:
            continue
        first = int(re.search(rb"/First\s+(\d+)", head).group(1))
        count = int(re.search(rb"/N\s+(\d+)", head).group(1))
        pairs = [int(v) for v in stream[:first].split()[:2 * count]]
        offsets = pairs[1::2] + [len(stream) - first]
        for k, number in enumerate(pairs[0::2]):
            found.setdefault(number, (stream[first + offsets[k]:first + offsets[k + 1]], None))
    return found


def _literal_length(data, start):
    """(bytes in the literal string that opens at data[start], end index)."""
    depth, i, length = 1, start + 1, 0
    while depth and i < len(data):
        c = data[i:i + 1]
        if c == b"\\":
            octal = re.match(rb"[0-7]{1,3}", data[i + 1:i + 4])
            i += 1 + (len(octal.group(0)) if octal else 1)
            length += 1
            continue
        if c == b"(":
            depth += 1
        elif c == b")":
            depth -= 1
            if not depth:
                break
        length += 1
        i += 1
    return length, i + 1


def _shown_bytes(content):
    """[(font resource name, bytes shown)] for each text-showing operator."""
    shown, font, operands, at = [], None, [], 0
    while True:
        match = TOKEN.search(content, at)
        if not match:
            return shown
        at = match.end()
        if match.lastgroup == "hex":
            operands.append(len(re.sub(rb"\s", b"", match.group()[1:-1])) // 2)
        elif match.lastgroup == "literal":
            length, at = _literal_length(content, match.start())
            operands.append(length)
        elif match.lastgroup == "name":
            operands.append(match.group()[1:])
        elif match.lastgroup == "other":
            token = match.group()
            if token == b"Tf":
                font = next((o for o in reversed(operands) if isinstance(o, bytes)), None)
            if token in SHOW_OPERATORS:
                shown.append((font, sum(o for o in operands if isinstance(o, int))))
            if token not in (b"[", b"]") and not re.fullmatch(rb"[-+.\d]+", token):
                operands = []


def shown_glyphs(path):
    """{font name as the PDF names it: glyphs drawn} over every content stream."""
    with open(path, "rb") as f:
        found = objects(f.read())
    base_fonts = {}
    for number, (head, _stream) in found.items():
        name = FONT_NAME.search(head)
        if name and b"/Font" in head:
            base_fonts[number] = (name.group(1).decode("latin-1"), 2 if b"/Type0" in head else 1)
    # Resource name -> font, from every /Font dictionary, inline or referred to.
    resources = {}
    for head, _stream in found.values():
        dictionaries = FONT_DICTIONARY.findall(head)
        dictionaries += [found[int(n)][0] for n in FONT_REFERENCE.findall(head) if int(n) in found]
        for dictionary in dictionaries:
            for name, number in FONT_ENTRY.findall(dictionary):
                if int(number) in base_fonts:
                    known = resources.setdefault(name, base_fonts[int(number)])
                    if known != base_fonts[int(number)]:
                        raise ValueError("the font name /%s stands for both %s and %s" %
                                         (name.decode(), known[0], base_fonts[int(number)][0]))
    # The pages' content streams and the form XObjects they may draw.
    contents = {int(n) for head, _stream in found.values() for group in CONTENTS.findall(head)
                for n in REFERENCE.findall(group)}
    contents |= {number for number, (head, _stream) in found.items() if re.search(rb"/Subtype\s*/Form\b", head)}
    counts = {}
    for number in sorted(contents):
        stream = found.get(number, (b"", None))[1]
        for resource, length in _shown_bytes(stream or b""):
            font, bytes_per_glyph = resources.get(resource, ("/" + (resource or b"?").decode("latin-1"), 1))
            counts[font] = counts.get(font, 0) + length // bytes_per_glyph
    return counts
