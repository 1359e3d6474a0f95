#!/usr/bin/python3
"""A merchant types a whole cheque, moving between the boxes with Tab, saves
it through the real save dialog with Ctrl+S, starts a new cheque and opens the
file again. The file holds the 480 bytes of the record; the caption names the
file; a memo too long for the file is reported after the save; opening and
saving again keeps what was stored. A letter typed at the start of a reopened
box pushes out only a fill space and is saved without a word; one typed after
the fill is lost to the file, and the save says so."""

import os
import sys

import quillo_e2e as e2e

# Text1 to Text14 in keyboard order. The payor name becomes the file's name.
# Letters outside ASCII are stored in Windows-1252; the memo is longer than a
# field and is cut after 32 characters.
CHEQUE = [
    "Acme Supply Company",
    "12 Harbour Road",
    "Springfield, IL 62701",
    "First Prairie Bank",
    "400 Main Street",
    "1001",
    "Café Müller & Söhne",
    "One thousand two hundred fifty",
    "$1,250.00",
    "12/08/2026",
    "A021000021A",
    "55512345C",
    "1001",
    "Invoice 7731 – paid in full, thank you ½ €",
]
FIELD = 32


def record(values):
    """The 480 bytes of a cheque file: 32 NUL bytes, then each value cut or
    filled with spaces to 32 characters, one Windows-1252 byte each."""
    fields = [v[:FIELD].ljust(FIELD) for v in values]
    return b"\0" * FIELD + b"".join(f.encode("cp1252") for f in fields)


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


def test(program):
    folder = os.path.join(e2e.sandbox(), "cheques")
    os.makedirs(folder)
    name = CHEQUE[0] + ".qlo"
    path = os.path.join(folder, name)
    expected = record(CHEQUE)

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
        # The memo did not fit: the merchant is told after the save.
        box = quillo.wait_window("Quillo")
        quillo.focus(box)
        quillo.key("Return")
        quillo.wait_gone(box, "the message about the shortened memo")

        quillo.focus()
        quillo.key("ctrl+n")
        quillo.wait_caption(" (New File) --Quillo")

        # The first 32 bytes are read and ignored, bytes after the record are
        # neither read nor touched; the next save proves both.
        with open(path, "r+b") as f:
            f.write(b"#" * FIELD)
            f.seek(0, os.SEEK_END)
            f.write(b"after the record")

        quillo.open_file(path)
        quillo.wait_caption("(%s) --Quillo" % name)

        # With a current file, Ctrl+S writes at once. The boxes hold what the
        # file held, fill spaces included, so the same record comes back.
        quillo.focus()
        quillo.key("ctrl+s")
        wait_file(path, expected + b"after the record", "Ctrl+S after Open writes the opened cheque back")
        if quillo.windows():
            e2e.fail("Ctrl+S with a current file showed a window: %s" % quillo.windows())

        # The caret is at the start of the first payor line. Typing there
        # pushes a fill space past the field: nothing typed is lost, and
        # nothing is said.
        quillo.type("X")
        quillo.key("ctrl+s")
        edited = record(["X" + CHEQUE[0]] + CHEQUE[1:]) + b"after the record"
        wait_file(path, edited, "Ctrl+S after typing at the start of a reopened box")
        if quillo.windows():
            e2e.fail("a save that lost only fill spaces showed a window: %s" % quillo.windows())
        # A letter typed after the fill is lost to the file, and that is said.
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
