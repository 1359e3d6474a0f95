#!/usr/bin/python3
"""Quick Print sends the cheque to the default printer of a real print server.

The test runs a print server of its own whose default queue writes PDF files,
types a cheque, clicks the "Quick Print " button, waits for the confirmation
and reads the printed page back: one page of the queue's default size, every
caption and value on its line and at its column, the MICR line in the MICR
font. Columns are as wide as the font's letter-frequency average character and
lines as high as the font's line spacing, both read from the font files."""

import html
import os
import re
import sys

import font_metrics
import quillo_e2e as e2e
from private_cups import PrivateCups

# Neither A4 (where a printer object starts) nor Letter (the driver's own
# default): the page can only be Legal if the program took the queue's default.
PAGE_SIZE = "Legal"
TWIPS_PER_PIXEL = 15
MICR_FONT_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "micr",
                              "QuilloE13B-Bold.ttf")

CHEQUE = {
    1: "Acme Supply Co.",
    2: "12 Harbour Road",
    3: "Springfield, IL 62701",
    4: "First Prairie Bank",
    5: "400 Main Street",
    6: "1001",
    7: "Northwind Traders",
    8: "One thousand two hundred fifty and 00/100",
    9: "$1,250.00",
    10: "12/08/2026",
    11: "A021000021A",
    12: "55512345C",
    13: "1001",
    14: "Invoice 7731",
}

# The printed page: line -> (column, text, font) items, left to right.
ARIAL, MICR = "Arial", "MICR"
PAGE = {
    2: [(3, CHEQUE[1], ARIAL), (60, CHEQUE[4], ARIAL), (110, CHEQUE[6], ARIAL)],
    3: [(3, CHEQUE[2], ARIAL), (60, CHEQUE[5], ARIAL)],
    4: [(3, CHEQUE[3], ARIAL), (110, CHEQUE[10], ARIAL)],
    6: [(5, "Pay to the Order of", ARIAL), (28, CHEQUE[7], ARIAL), (85, "Payable in U.S. Funds", ARIAL)],
    7: [(5, "In the Amount of", ARIAL), (28, CHEQUE[8], ARIAL), (85, CHEQUE[9], ARIAL)],
    11: [(10, "Memo", ARIAL), (22, CHEQUE[14], ARIAL), (85, "NO SIGNATURE REQUIRED. ", ARIAL)],
    12: [(85, "This is an Authorized", ARIAL)],
    13: [(85, "and Requested Transaction.", ARIAL)],
    16: [(10, CHEQUE[11], MICR), (25, CHEQUE[12], MICR), (45, CHEQUE[13], MICR)],
}
ARIAL_POINTS, MICR_POINTS = 10, 16

# pdftotext places a word at its pen position to a few hundredths of a point;
# a column is about 4.8 points wide, a line about 11.5 points high.
POSITION_TOLERANCE = 0.3
# A printer font is sized in whole device pixels (1/1200 inch), which makes
# columns and lines up to 0.2 % wider than the font's design says.
SCALE_TOLERANCE = 0.005


def type_cheque(quillo):
    for number in range(1, 15):
        quillo.type(CHEQUE[number])
        quillo.key("Tab")
        if number == 10:
            quillo.key("Tab")  # the logo picture between Text10 and Text11


def click_quick_print(quillo):
    """Clicks the middle of the "Quick Print " button, found from the designed
    layout: the frame at 120, 480 twips in the client area (below the menu
    bar), the button at 6840, 4080 in the frame, 1095 x 495 twips large."""
    x, y, width, height = e2e.window_geometry(quillo.main)
    menu_bar = height - round(6075 / TWIPS_PER_PIXEL)
    quillo.click(x + round((120 + 6840 + 1095 / 2) / TWIPS_PER_PIXEL),
                 y + menu_bar + round((480 + 4080 + 495 / 2) / TWIPS_PER_PIXEL))


def pdf_words(pdf):
    out = e2e.run(["pdftotext", "-bbox", pdf, "-"]).stdout
    pattern = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>')
    return [{"x": float(m[0]), "y": float(m[1]), "right": float(m[2]), "bottom": float(m[3]),
             "text": html.unescape(m[4])} for m in pattern.findall(out)]


def pdf_fonts(pdf):
    """{font name without subset tag: embedded?} of the fonts a PDF uses."""
    lines = e2e.run(["pdffonts", pdf]).stdout.splitlines()[2:]
    fonts = {}
    for line in lines:
        fields = line.split()
        emb = fields[-5]
        fonts[re.sub(r"^[A-Z]{6}\+", "", fields[0])] = emb == "yes"
    return fonts


def group_lines(words):
    """Words with the same top edge, top to bottom, each line left to right."""
    lines = []
    for word in sorted(words, key=lambda w: (w["y"], w["x"])):
        if lines and abs(lines[-1][0]["y"] - word["y"]) < 1.0:
            lines[-1].append(word)
        else:
            lines.append([word])
    return [sorted(line, key=lambda w: w["x"]) for line in lines]


def check_close(what, actual, expected, tolerance):
    if abs(actual - expected) > tolerance:
        e2e.fail("%s is at %.2f pt, expected %.2f pt (± %.2f)" % (what, actual, expected, tolerance))


def check_scale(what, measured, designed):
    if abs(measured - designed) > designed * SCALE_TOLERANCE:
        e2e.fail("%s measures %.4f pt on the page; the font says %.4f pt" % (what, measured, designed))


def check_page(pdf, cups):
    info = e2e.run(["pdfinfo", pdf]).stdout
    pages = re.search(r"^Pages:\s+(\d+)", info, re.M)
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+) pts", info, re.M)
    area, paper = cups.imageable_area()
    if not pages or pages.group(1) != "1":
        e2e.fail("the job is not one page:\n" + info)
    if not size or [round(float(v)) for v in size.groups()] != [round(v) for v in paper]:
        e2e.fail("the page is %s, not the queue's default %s (%s pt)" %
                 (size and size.group(0), PAGE_SIZE, paper))
    left, top = area[0], paper[1] - area[3]

    arial_file, arial_name = e2e.run(["fc-match", "-f", "%{file}\n%{postscriptname}", "Arial:bold"]).stdout.split("\n")
    micr_name = e2e.run(["fc-scan", "-f", "%{postscriptname}", MICR_FONT_FILE]).stdout.strip()
    fonts = pdf_fonts(pdf)
    if fonts != {arial_name: True, micr_name: True}:
        e2e.fail("the page uses the fonts %s; expected %s (bold Arial here) and %s, both embedded" %
                 (fonts, arial_name, micr_name))
    arial = font_metrics.TrueTypeFont(arial_file)
    micr = font_metrics.TrueTypeFont(MICR_FONT_FILE)
    metrics = {ARIAL: (arial, ARIAL_POINTS), MICR: (micr, MICR_POINTS)}

    printed = group_lines(pdf_words(pdf))
    expected_lines = sorted(PAGE)
    if len(printed) != len(expected_lines):
        e2e.fail("the page has %d lines of text, expected %d (lines %s):\n%s" %
                 (len(printed), len(expected_lines), expected_lines,
                  "\n".join(" ".join(w["text"] for w in line) for line in printed)))

    # Every line holds exactly the words of its items, in order.
    placed = {}
    for number, words in zip(expected_lines, printed):
        expected_words = [w for _column, text, _font in PAGE[number] for w in text.split()]
        if [w["text"] for w in words] != expected_words:
            e2e.fail("line %d reads %r, expected %r" % (number, [w["text"] for w in words], expected_words))
        at = 0
        for column, text, font in PAGE[number]:
            placed[(number, column)] = (words[at], font)
            at += len(text.split())

    # Line pitch and column widths as printed, checked against the fonts.
    pitch = (placed[(13, 85)][0]["y"] - placed[(2, 3)][0]["y"]) / 11
    check_scale("the line height of bold 10-point Arial", pitch, arial.line_spacing(ARIAL_POINTS))
    width = {
        ARIAL: (placed[(2, 110)][0]["x"] - placed[(2, 3)][0]["x"]) / 107,
        MICR: (placed[(16, 45)][0]["x"] - placed[(16, 10)][0]["x"]) / 35,
    }
    check_scale("a column of bold 10-point Arial", width[ARIAL], arial.average_char_width(ARIAL_POINTS))
    check_scale("a column of the 16-point MICR font", width[MICR], micr.average_char_width(MICR_POINTS))

    for (number, column), (word, font) in sorted(placed.items()):
        what = "%r (line %d, column %d)" % (word["text"], number, column)
        # Line 1 is empty; lines 1 to 15 are Arial lines, so the MICR line
        # starts fifteen Arial lines down.
        check_close(what + " top", word["y"], top + (number - 1) * pitch, POSITION_TOLERANCE)
        check_close(what + " left", word["x"], left + (column - 1) * width[font], POSITION_TOLERANCE)
        font_file, points = metrics[font]
        height = word["bottom"] - word["y"]
        if abs(height - font_file.text_height(points)) > font_file.text_height(points) * 0.02:
            e2e.fail("%s is %.2f pt high: not %d-point %s, which is %.2f pt" %
                     (what, height, points, font, font_file.text_height(points)))


def test(program):
    with PrivateCups(PAGE_SIZE) as cups:
        quillo = e2e.Quillo(program, env=cups.env)
        try:
            quillo.start()
            quillo.focus()
            type_cheque(quillo)
            click_quick_print(quillo)

            box = quillo.wait_window("Quillo")
            if len(quillo.windows()) != 1:
                e2e.fail("Quick Print showed %s; expected only the confirmation box" % quillo.windows())
            quillo.focus(box)
            quillo.key("Return")
            quillo.wait_gone(box, "the confirmation box")

            pdf = cups.wait_printed()
            check_page(pdf, cups)

            quillo.close_and_expect_clean_exit()
        finally:
            quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
