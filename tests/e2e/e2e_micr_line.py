#!/usr/bin/python3
"""The printed MICR line measures true to E-13B.

The test runs a print server of its own whose default queue writes PDF files,
types a routing, account and cheque number into the MICR boxes, clicks the
"Quick Print " button and reads the printed page back: the MICR line is set
in the bold face of "Quillo E13B", every character is drawn once, and its
ink, rendered at 1200 dpi, is within the E-13B tolerances of width, height
and pitch, with every stroke as wide and as long as the E-13B drawing has it.
It prints the measured tables (docs/micr.md).

To remake those tables by hand, from the top of the source tree:

    tests/run-isolated.sh --xvfb /usr/bin/python3 -B tests/e2e/e2e_micr_line.py build/quillo
"""

import sys

import micr_measure
import pdf_glyphs
import quillo_e2e as e2e
from e2e_quick_print import CONFIRMATION, expect_message, pdf_fonts, quick_print
from private_cups import PrivateCups

# Every digit and all four symbols: transit (A), amount (B), on-us (C) and
# dash (D). The amount symbols stand around the cheque number only so that
# they are printed and measured too.
ROUTING, ACCOUNT, CHEQUE_NUMBER = "A021000021A", "123D456789C", "B1001B"
FIELDS = [ROUTING, ACCOUNT, CHEQUE_NUMBER]
BOLD_FACE, REGULAR_FACE = "QuilloE13B-Bold", "QuilloE13B-Regular"
# From the first text box, Text11 is eleven Tabs on: Text2 to Text10, the logo
# picture, Text11.
TABS_TO_ROUTING = 11


def type_micr_line(quillo):
    quillo.key(*["Tab"] * TABS_TO_ROUTING)
    for text in FIELDS:
        quillo.type(text)
        quillo.key("Tab")


def check_bold_face_drawn_once(pdf):
    fonts = pdf_fonts(pdf)
    if BOLD_FACE not in fonts or REGULAR_FACE in fonts:
        e2e.fail("the page uses the fonts %s; the MICR line must be in %s alone" % (sorted(fonts), BOLD_FACE))
    drawn = pdf_glyphs.shown_glyphs(pdf)
    micr = [count for font, count in drawn.items() if font.endswith("+" + BOLD_FACE) or font == BOLD_FACE]
    characters = sum(len(field) for field in FIELDS)
    if micr != [characters]:
        e2e.fail("the page draws %s glyphs of %s; the MICR line has %d characters, each to be drawn once "
                 "(all glyphs drawn, by font: %s)" % (micr, BOLD_FACE, characters, drawn))


def test(program):
    with PrivateCups("Letter") as cups:
        quillo = e2e.Quillo(program, env=cups.env)
        try:
            quillo.start()
            quillo.focus()
            type_micr_line(quillo)
            expect_message("Quick Print", quick_print(quillo), CONFIRMATION)
            pdf = cups.wait_printed()

            check_bold_face_drawn_once(pdf)
            try:
                measured = micr_measure.measure(pdf, FIELDS)
            except ValueError as error:
                e2e.fail(str(error))
            print(micr_measure.table(measured, micr_measure.drawing()))
            faults = micr_measure.faults(measured)
            if faults:
                e2e.fail("the MICR line is outside the E-13B tolerances:\n  " + "\n  ".join(faults))

            quillo.close_and_expect_clean_exit()
        finally:
            quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
