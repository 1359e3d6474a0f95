#!/usr/bin/python3
"""The printed MICR line measures true to E-13B.

The test runs a print server of its own whose default queue writes PDF files,
types a routing, account and cheque number into the MICR boxes, clicks the
"Quick Print " button and reads the printed page back: the MICR line is set
in the bold face of "Quillo E13B", every character is drawn once, and its
ink, rendered at 1200 dpi, is within the E-13B tolerances of width, height
and pitch, with every stroke as wide and as long as the E-13B drawing has it.
It prints the measured tables (docs/micr.md).

The merchant then chooses the bank-standard place in File, Page Setup and
prints again: the routing number's ink ends in position 33, the on-us field's
in position 14, and the ink's bottom stands a quarter inch above the bottom
edge of a check 3.5 inch high; nothing stands left of the routing number. With
the remotely created check code turned on as well, a 6 prints in position 44.

To remake those tables by hand, from the top of the source tree:

    tests/run-isolated.sh --xvfb /usr/bin/python3 -B tests/e2e/e2e_micr_line.py build/quillo
"""

import sys

import micr_measure
import pdf_glyphs
import quillo_e2e as e2e
from private_cups import PrivateCups

# Every digit and all four symbols: transit (A), amount (B), on-us (C) and
# dash (D). The amount symbols stand around the cheque number only so that
# they are printed and measured too.
ROUTING, ACCOUNT, CHEQUE_NUMBER = "A021000021A", "123D456789C", "B1001B"
FIELDS = [ROUTING, ACCOUNT, CHEQUE_NUMBER]
BOLD_FACE, REGULAR_FACE = "QuilloE13B-Bold", "QuilloE13B-Regular"


def type_micr_line(quillo):
    quillo.key(*["Tab"] * e2e.TABS_TO_ROUTING)
    for text in FIELDS:
        quillo.type(text)
        quillo.key("Tab")


def check_bold_face_drawn_once(pdf):
    fonts = e2e.pdf_fonts(pdf)
    if BOLD_FACE not in fonts or REGULAR_FACE in fonts:
        e2e.fail("the page uses the fonts %s; the MICR line must be in %s alone" % (sorted(fonts), BOLD_FACE))
    drawn = pdf_glyphs.shown_glyphs(pdf)
    micr = [count for font, count in drawn.items() if font.endswith("+" + BOLD_FACE) or font == BOLD_FACE]
    characters = sum(len(field) for field in FIELDS)
    if micr != [characters]:
        e2e.fail("the page draws %s glyphs of %s; the MICR line has %d characters, each to be drawn once "
                 "(all glyphs drawn, by font: %s)" % (micr, BOLD_FACE, characters, drawn))


def choose_standard_place(quillo):
    quillo.file_menu("g")
    dialog = quillo.wait_window("Page Setup --Quillo")
    # The focus starts on the checked "Where the layout puts it"; Down checks the other.
    quillo.key("Down", "Return")
    quillo.wait_gone(dialog, "Page Setup")
    quillo.focus()


def check_standard_place(measured):
    last = {"routing": measured[len(ROUTING) - 1], "on-us": measured[-1]}
    print("At the standard place the routing field's ink ends %.4f in from the left edge, the on-us field's %.4f in; "
          "the ink's bottom is %.4f in down." % (last["routing"].right, last["on-us"].right,
                                                 max(m.bottom for m in measured)))
    for field, expected in (("routing", 33), ("on-us", 14)):
        found = micr_measure.position(last[field].right)
        if found != expected:
            e2e.fail("the %s field's ink ends %.4f in from the left edge, in position %d, not %d" %
                     (field, last[field].right, found, expected))
    # The dash stands above the line; the line's ink ends where its lowest characters end.
    bottom = max(m.bottom for m in measured)
    if abs(3.25 - bottom) > 1 / 32:
        e2e.fail("the bank line's ink ends %.4f in down the sheet, not 3.25 ± 1/32 in" % bottom)


def check_no_code(pdf):
    """Nothing prints left of the routing number: no code of its own, and none run into its first symbol."""
    words = [w["text"] for w in e2e.pdf_words(pdf)]
    if "6" in words or "6" + ROUTING in words:
        e2e.fail("with the code turned off the page prints a 6 before the routing number: %s" % words)


def choose_code(quillo):
    quillo.file_menu("g")
    dialog = quillo.wait_window("Page Setup --Quillo")
    # From the checked standard place, Tab reaches the code's check box.
    quillo.key("Tab", "space", "Return")
    quillo.wait_gone(dialog, "Page Setup")
    quillo.focus()


def check_code_in_position_44(pdf):
    """Position n spans 5/16 + (n - 1)/8 to 5/16 + n/8 inch from the sheet's
    right edge: position 44 from 5.6875 to 5.8125 inch, and the 6's ink lies
    inside it."""
    words = [w["text"] for w in e2e.pdf_words(pdf)]
    # The code and the routing number's first symbol stand a position apart,
    # which may read as one word.
    routing = [ROUTING] if "6" in words else ["6" + ROUTING]
    code = micr_measure.measure(pdf, (["6"] if "6" in words else []) + routing + FIELDS[1:])[0]
    if code.char != "6":
        e2e.fail("the first character left of the routing number is %r, not the code 6" % code.char)
    ink = (8.5 - code.right, 8.5 - code.right + code.width)
    print("The code's ink stands %.4f to %.4f in from the sheet's right edge." % ink)
    if ink[0] < 5.6875 or ink[1] > 5.8125:
        e2e.fail("the code's ink stands %.4f to %.4f in from the right edge, not inside position 44 "
                 "(5.6875 to 5.8125 in)" % ink)


def test(program):
    with PrivateCups("Letter") as cups:
        quillo = e2e.Quillo(program, env=cups.env)
        try:
            quillo.start()
            quillo.focus()
            type_micr_line(quillo)
            # Offered an authorization record, the merchant prints without and turns the offer off.
            without = quillo.quick_print(offered=lambda quillo: quillo.print_without_record(turn_off=True))
            e2e.expect_message("Quick Print", without, e2e.CONFIRMATION)
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

            cups.forget_output()
            choose_standard_place(quillo)
            # The same draft again, at another place: the register asks first.
            e2e.expect_message("Quick Print", quillo.quick_print(again=True), e2e.CONFIRMATION)
            standard = cups.wait_printed()
            check_standard_place(micr_measure.measure(standard, FIELDS))
            check_no_code(standard)

            cups.forget_output()
            choose_code(quillo)
            e2e.expect_message("Quick Print", quillo.quick_print(again=True), e2e.CONFIRMATION)
            check_code_in_position_44(cups.wait_printed())

            quillo.close_and_expect_clean_exit()
        finally:
            quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
