#!/usr/bin/python3
"""A merchant types a whole cheque, moving between the boxes with Tab, saves
it through the real save dialog with Ctrl+S, starts a new cheque and opens the
file again. The file holds the 480 bytes of the record and, since the amount
in words and the memo do not fit their fields, Quillo's extension with every
value whole; the save says nothing, and opening and saving again gives the
same bytes. Shortened so that the record keeps them, the values leave the
file as a record alone. Bytes that another program put after the record are
kept; then a letter typed at the start of a reopened box pushes out only a
fill space and is saved without a word, and one typed after the fill is lost
to the file, and the save says so."""

import hashlib
import os
import struct
import sys

import quillo_e2e as e2e

# Text1 to Text14 in keyboard order. The payor name becomes the file's name.
# Letters outside ASCII are stored in Windows-1252 where it has them ("?"
# for the arrow and the l with stroke); the amount in words and the memo are
# longer than a field.
CHEQUE = [
    "Acme Supply Company",
    "12 Harbour Road",
    "Springfield, IL 62701",
    "First Prairie Bank",
    "400 Main Street",
    "1001",
    "Café Müller & Söhne",
    "One thousand two hundred fifty and 00/100",
    "$1,250.00",
    "12/08/2026",
    "A021000021A",
    "55512345C",
    "1001",
    "Invoice 7731 – paid in full, thank you ½ € → Łódź",
]
# The same cheque with the two long values shortened to fit.
SHORT = CHEQUE[:7] + ["One thousand two hundred fifty"] + CHEQUE[8:13] + ["Invoice 7731"]
FIELD = 32


def record(values):
    """The 480 bytes of a cheque file: 32 NUL bytes, then each value cut or
    filled with spaces to 32 characters, one Windows-1252 byte each."""
    fields = [v[:FIELD].ljust(FIELD) for v in values]
    return b"\0" * FIELD + b"".join(f.encode("cp1252", errors="replace") for f in fields)


def extension(values):
    """Quillo's extension after the record: magic, version 1, its length, the
    SHA-256 of the record's fields (bytes 32 to 479), each value as a 4-byte
    little-endian count and UTF-8, then the SHA-256 of everything before."""
    body = b"\x89QLO\r\n\x1a\n" + struct.pack("<HI", 1, 0) + hashlib.sha256(record(values)[FIELD:]).digest()
    for value in values:
        utf8 = value.encode("utf-8")
        body += struct.pack("<I", len(utf8)) + utf8
    body = body[:10] + struct.pack("<I", len(body) + 32) + body[14:]
    return body + hashlib.sha256(body).digest()


def wait_file(path, expected, what):
    def probe():
        try:
            with open(path, "rb") as f:
                return f.read() == expected
        except OSError:
            return False

    try:
        e2e.wait_for(what, probe, timeout=15)
    except e2e.E2EFailure:
        actual = open(path, "rb").read() if os.path.exists(path) else None
        e2e.fail("%s: the file %s holds\n%r\nexpected\n%r" % (what, path, actual, expected))


def expect_no_message(quillo):
    """Ctrl+N works only when no message box holds the window: the caption
    then shows the new cheque."""
    quillo.focus()
    quillo.key("ctrl+n")
    quillo.wait_caption(" (New File) --Quillo")
    if quillo.windows():
        e2e.fail("a save that kept every value showed a window: %s" % quillo.windows())


def test(program):
    folder = os.path.join(e2e.sandbox(), "cheques")
    os.makedirs(folder)
    name = CHEQUE[0] + ".qlo"
    path = os.path.join(folder, name)
    expected = record(CHEQUE) + extension(CHEQUE)

    quillo = e2e.Quillo(program)
    try:
        quillo.start()
        if quillo.caption() != " (New File) --Quillo":
            e2e.fail("the caption at start is %r" % quillo.caption())
        quillo.focus()
        quillo.type_cheque(CHEQUE)

        # Ctrl+S on a new cheque asks for a name and suggests the payor's
        # first line with the extension. Putting the folder in front of the
        # suggestion keeps it.
        quillo.save_in(folder)
        quillo.wait_caption("(%s) --Quillo" % name)
        wait_file(path, expected, "Ctrl+S writes the typed cheque under the suggested name")
        if os.listdir(folder) != [name]:
            e2e.fail("the save dialog wrote %s" % os.listdir(folder))
        # Every value is in the file whole: nothing to tell.
        expect_no_message(quillo)

        # The first 32 bytes are read and ignored, even beside the extension.
        with open(path, "r+b") as f:
            f.write(b"#" * FIELD)
        quillo.open_file(path)
        quillo.wait_caption("(%s) --Quillo" % name)
        # With a current file, Ctrl+S writes at once. The boxes hold the whole
        # values, so the same record and extension come back.
        quillo.focus()
        quillo.key("ctrl+s")
        wait_file(path, expected, "Ctrl+S after Open writes the opened cheque back")

        # Shortened to fit, the values need no extension, and the file is
        # the record alone. The caret is at the start of the first payor line.
        quillo.key(*["Tab"] * 7)  # to the amount in words
        quillo.key("ctrl+a")
        quillo.type(SHORT[7])
        quillo.key(*["Tab"] * 7)  # to the memo, past the logo picture after Text10
        quillo.key("ctrl+a")
        quillo.type(SHORT[13])
        quillo.key("ctrl+s")
        wait_file(path, record(SHORT), "Ctrl+S with values that fit removes the extension")
        expect_no_message(quillo)

        # Bytes after the record that are not Quillo's are neither read nor
        # touched; the next save proves it.
        with open(path, "ab") as f:
            f.write(b"after the record")
        quillo.open_file(path)
        quillo.wait_caption("(%s) --Quillo" % name)
        # The boxes hold what the record held, fill spaces included.
        quillo.focus()
        quillo.key("ctrl+s")
        wait_file(path, record(SHORT) + b"after the record", "Ctrl+S after Open keeps the other program's bytes")
        if quillo.windows():
            e2e.fail("Ctrl+S with a current file showed a window: %s" % quillo.windows())

        # The caret is at the start of the first payor line. Typing there
        # pushes a fill space past the field: nothing typed is lost, and
        # nothing is said.
        quillo.type("X")
        quillo.key("ctrl+s")
        edited = record(["X" + SHORT[0]] + SHORT[1:]) + b"after the record"
        wait_file(path, edited, "Ctrl+S after typing at the start of a reopened box")
        if quillo.windows():
            e2e.fail("a save that lost only fill spaces showed a window: %s" % quillo.windows())
        # A letter typed after the fill cannot go into an extension behind
        # the other program's bytes: it is lost to the file, and that is said.
        quillo.key("End")
        quillo.type("Z")
        quillo.key("ctrl+s")
        expect = ('The check was saved to "%s", but not every value could be stored as typed:\n'
                  'Payor Name and Address, line 1: 34 characters, the file keeps the first 32.\n'
                  'The window still holds the full text, so the check can still be printed as typed.' % path)
        message = quillo.read_message()
        if message != expect:
            e2e.fail("the save that lost a letter said\n%r\nexpected\n%r" % (message, expect))
        wait_file(path, edited, "the save that lost a letter")

        quillo.close_and_expect_clean_exit()
    finally:
        quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
