#!/usr/bin/python3
"""Closing the cheque-entry window through its close box ends the program and
writes the window's placement, in twips, to the per-user settings."""

import configparser
import os
import re
import sys

import quillo_e2e as e2e

# The X server has no Xft.dpi, so Qt works at 96 dots per inch: 15 twips a pixel.
# Where the merchant drags the window and how large they make it.
MOVED_TO = (100, 80)
RESIZED_TO = (700, 500)


def read_settings():
    path = e2e.settings_file()
    if not os.path.exists(path):
        e2e.fail("closing the window wrote no settings file %s" % path)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    parser = configparser.ConfigParser()
    parser.optionxform = str  # keys keep their case
    parser.read_string(text)
    if not parser.has_section("Settings"):
        e2e.fail("the settings file has no [Settings] section:\n" + text)
    return dict(parser.items("Settings")), text


def test(program):
    quillo = e2e.Quillo(program)
    try:
        main = quillo.start()
        if os.path.exists(e2e.settings_file()):
            e2e.fail("the program wrote settings at start: %s" % e2e.settings_file())

        # Move and resize the window as a window manager does, so the stored
        # values cannot be the designed ones by chance.
        e2e.xdotool("windowmove", "--sync", main, *MOVED_TO)
        e2e.xdotool("windowsize", "--sync", main, *RESIZED_TO)
        geometry = e2e.wait_for("the window to move to %s with size %s" % (MOVED_TO, RESIZED_TO),
                                lambda: e2e.window_geometry(main) == MOVED_TO + RESIZED_TO and
                                e2e.window_geometry(main))

        e2e.request_close(main)
        code = quillo.wait_exit("its window was closed")
        if code != 0:
            e2e.fail("Quillo ended with exit status %d after its window was closed\n%s" % (code, quillo.output()))

        values, text = read_settings()
        expected = {key: str(pixels * e2e.TWIPS_PER_PIXEL)
                    for key, pixels in zip(("MainLeft", "MainTop", "MainWidth", "MainHeight"), geometry)}
        if values != expected:
            e2e.fail("the placement written for a window at %s is\n%s\nexpected exactly %s" %
                     (geometry, text, expected))
        for key, value in values.items():
            if not re.fullmatch(r"-?[1-9][0-9]*|0", value):
                e2e.fail("%s=%r is not plain decimal twips" % (key, value))
    finally:
        quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
