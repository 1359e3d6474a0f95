#!/usr/bin/python3
"""File, Exit ends the program at once: no question about the unsaved cheque,
and no placement settings written."""

import os
import sys

import quillo_e2e as e2e


def test(program):
    quillo = e2e.Quillo(program)
    try:
        quillo.start()
        quillo.focus()
        quillo.type("Unsaved Payor")
        quillo.key("alt+f")
        quillo.key("x")
        code = quillo.wait_exit("File, Exit", timeout=15)
        if code != 0:
            e2e.fail("File, Exit ended Quillo with exit status %d\n%s" % (code, quillo.output()))
        if os.path.exists(e2e.settings_file()):
            with open(e2e.settings_file(), encoding="utf-8") as f:
                e2e.fail("File, Exit wrote settings:\n" + f.read())
    finally:
        quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
