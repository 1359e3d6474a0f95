#!/usr/bin/python3
"""Quick Print sends the cheque to the default printer of a real print server,
and says "Sent" only when the server has taken the job.

The test runs a print server of its own whose default queue writes PDF files,
types a cheque, clicks the "Quick Print " button, waits for the confirmation
and reads the printed page back: one job, one page of the queue's default size,
every caption and value on its line and at its column, the MICR line in the
MICR font. Moved 0.05 inch right in File, Page Setup, the short date no longer
fits, and Quick Print says that the offset is the cause. Columns are as wide as the font's letter-frequency average character
and lines as high as the font's line spacing, both read from the font files.
Printed from File, Print Preview, the page is the same; exported with File,
Export as PDF, it holds the same words at the same places.

Before the first page, the merchant is offered the customer's authorization
record: a sale made by a sales call is asked about, and No prints and records
nothing; filled in as a call the customer made, the record goes into the
register with the draft, and every later print of the cheque finds it there.
File, Print Confirmation Letter then exports and prints the payor's letter,
each recorded in the draft's history.

The merchant then saves the cheque under the suggested name, starts a new one,
opens the file and prints again: the same page, item for item, the amount in
words whole. Then the
server refuses jobs, refuses the user, pauses the printer, is named wrongly in
the user's own settings and in those for everyone, and freezes: each time the
message says what happened, within the time limit and with the window still
painting, and only the paused printer takes a job. A scripted service in
front of the server then answers as a real one will not on demand (a
password asked, a redirection, another request's answer, a success before
the document, a success for a document the service does not keep, a
refused document, an aborted job, a trickle), the server
freezes as the document arrives, and the window is closed while the page is
on its way: "not printed" only where nothing can print, the job cancelled
whenever it exists, and nothing written on Quillo's terminal. Last, the
server loses its default printer and stops. No file ever holds the printed
page on its way."""

import datetime
import getpass
import os
import re
import shutil
import signal
import sys
import threading

import font_metrics
import ipp_responder as scripted
import quillo_e2e as e2e
from ipp_responder import IppResponder
from private_cups import QUEUE, PrivateCups

# Neither A4 (where a printer object starts) nor Letter (the driver's own
# default): the page can only be Legal if the program took the queue's default.
PAGE_SIZE = "Legal"
MICR_FONT_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "micr",
                              "QuilloE13B-Bold.ttf")

# The amount in words is longer than a field of the file, which keeps its
# first 32 characters: "... and 50/1".
CHEQUE = {
    1: "Maria L. Gonzalez",
    2: "1457 Alder Court",
    3: "Fresno, CA 93701",
    4: "Valley Community Bank",
    5: "Fresno, CA",
    6: "2318",
    7: "Sunrise Garden Supply",
    8: "Two hundred forty-seven and 50/100",
    9: "$247.50",
    10: "12/08/2026",
    11: "A021000021A",
    12: "123456789C",
    13: "2318",
    14: "Spring order",
}
FILE_NAME = CHEQUE[1] + ".qlo"

CONFIRMATION = e2e.CONFIRMATION
NOT_ACCEPTING = ('The printer "FILEPDF" is not accepting jobs, so the check was not printed. Let it accept jobs '
                 'again in the system\'s printer settings, or make another printer the default, and try again.')
NO_DEFAULT = ("No default printer is set up, so the check could not be printed. "
              "Set up a printer in the system's printer settings and try again.")
TIME_LIMIT = ("The print service did not answer within 10 seconds, so the check was not printed. Check that the "
              "computer's print service (CUPS) is running, or ask whoever looks after this computer to, and try again.")
GHOST_DEFAULT = ('The default printer "GHOST" in your own printer settings does not exist. Choose a printer that '
                 'exists as your default in the system\'s printer settings, and try again.')
FORBIDDEN = ('The print service does not let you print on "FILEPDF", so the check was not printed. Ask whoever '
             'looks after this computer to allow it, and try again.')
MOVED_PAST_THE_EDGE = ('Quillo did not print the check, because part of it would run past the right edge of the '
                       'paper:\nDate: "12/08/2026" runs 0.01 inch past the right edge with the page moved 0.05 inch '
                       'right in Page Setup.\nMake the offset smaller, or use a shorter text.')
SERVICE_DOWN = ("The print service is not running, so the check was not printed. Start the computer's print "
                "service (CUPS), or ask whoever looks after this computer to, and try again.")
NOWHERE_DEFAULT = ('The default printer "NOWHERE" in the printer settings for everyone on this computer does not '
                   'exist. Choose a printer that exists as your default in the system\'s printer settings, or ask '
                   'whoever looks after this computer to change that default, and try again.')
CHECK_SERVICE = ("Check that the computer's print service (CUPS) is running, or ask whoever looks after this "
                 "computer to, and try again.")
PASSWORD = ('The print service asks for a password to print on "FILEPDF", so the check was not printed. Quillo '
            'does not ask for passwords. Ask whoever looks after this computer to let you print there without '
            'one, and try again.')
REDIRECTED = ('The print service sent Quillo to another address (HTTP 302), so the check was not printed. Quillo '
              'prints only through the print service this computer is set up for. Ask whoever looks after this '
              'computer to check the computer\'s print settings, and try again.')
UNREADABLE = ("The print service gave an answer that Quillo could not read, so the check was not printed. " +
              CHECK_SERVICE)
EARLY = "The print service answered before it had the whole check, so the check was not printed. " + CHECK_SERVICE
STOPPED = "The print service stopped answering, so the check was not printed. " + CHECK_SERVICE
NOT_TAKEN = 'The printer "FILEPDF" did not take the check, so it was not printed. Check the printer and try again.'
DOCUMENT_LIMIT = ("The print service did not answer within 30 seconds, so the check was not printed. " +
                  CHECK_SERVICE)
UNCERTAIN = ('Quillo could not find out whether the check was printed: the print service did not answer within 30 '
             'seconds, and Quillo could not cancel the job: the print service did not answer within 5 seconds. Before '
             'printing it again, look at the print queue of "FILEPDF" (job %d), so that the customer\'s account is not '
             'drawn twice.')
NOT_A_PDF = ' The print service\'s own words: "The document is not a PDF."'
CANCELLED = ('The print service took the check as job %d on "FILEPDF", but Quillo could not find out what became of '
             'it: %s. Quillo canceled the job, so the check was not printed. %s')
UNKEPT = ('Quillo could not find out whether the check was printed: the print service said it had the check, '
          'then showed the job without it. Before printing it again, look at the print queue of "FILEPDF" (job %d), '
          'so that the customer\'s account is not drawn twice.')

PAYOR_PHONE = "(559) 555-0142"
MERCHANT = {"alt+n": "Sunrise Garden Supply", "alt+a": "88 Orchard Road\nFresno, CA 93702", "alt+p": "(559) 555-0100",
            "alt+r": "Call us within 30 days of the check's date and we refund it in full."}
# What the letter says, line by line: literal, but for the two dates of today.
LETTER = [
    "Sunrise Garden Supply", "88 Orchard Road", "Fresno, CA 93702", "(559) 555-0100", "{today}",
    "Maria L. Gonzalez", "1457 Alder Court", "Fresno, CA 93701", "Confirmation of your authorization",
    "Dear Maria L. Gonzalez,", "On {today} you authorized Sunrise Garden Supply to draw a check on your account",
    "ending in 6789 at Valley Community Bank for $247.50 payable to Sunrise Garden Supply, dated",
    "12/08/2026, check number 2318.",
    "Your authorization covers one draft.",
    "If you have any questions about this check, call us at (559) 555-0100.",
    "Refund procedure: Call us within 30 days of the check's date and we refund it in full.",
    "Sincerely,", "Sunrise Garden Supply",
]
LETTER_EXPORTED = 'The confirmation letter was exported to "%s".'
LETTER_PRINTED = "The confirmation letter has been sent to the printer."

# The scripted service's answers, each with its message and the requests the
# service saw after the printer was looked up: (operation, job-id).
ANSWERS = [
    ("a password asked for", {"Create-Job": scripted.http("401 Unauthorized", 'WWW-Authenticate: Basic realm="CUPS"')},
     PASSWORD, [("Create-Job", None)]),
    ("a redirection", {"Create-Job": scripted.http("302 Found", "Location: http://127.0.0.1:9/printers/FILEPDF")},
     REDIRECTED, [("Create-Job", None)]),
    ("the answer to another request", {"Create-Job": scripted.answer(job={"job-id": 900}, request_id_offset=1)},
     UNREADABLE, [("Create-Job", None)]),
    ("a success before the document", {"Create-Job": scripted.answer(job={"job-id": 901}),
                                       "Send-Document": scripted.early, "Cancel-Job": scripted.answer()},
     EARLY, [("Create-Job", None), ("Send-Document", 901), ("Cancel-Job", 901)]),
    ("a refused document", {"Create-Job": scripted.answer(job={"job-id": 902}),
                            "Send-Document": scripted.answer(0x040A, "The document is not a PDF."),
                            "Cancel-Job": scripted.answer()},
     NOT_TAKEN + NOT_A_PDF,
     [("Create-Job", None), ("Send-Document", 902), ("Cancel-Job", 902)]),
    # A job read back as aborted cannot print, whether or not its cancel is answered.
    ("a job that aborted", {"Create-Job": scripted.answer(job={"job-id": 903}), "Send-Document": scripted.answer(),
                            "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_ABORTED}),
                            "Cancel-Job": scripted.cut()},
     NOT_TAKEN, [("Create-Job", None), ("Send-Document", 903), ("Get-Job-Attributes", 903), ("Cancel-Job", 903)]),
    # The cancel is refused, as for a job that has ended: its state says how.
    ("a refused document of a job that aborted",
     {"Create-Job": scripted.answer(job={"job-id": 906}),
      "Send-Document": scripted.answer(0x040A, "The document is not a PDF."),
      "Cancel-Job": scripted.answer(scripted.NOT_POSSIBLE),
      "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_ABORTED})},
     NOT_TAKEN + NOT_A_PDF,
     [("Create-Job", None), ("Send-Document", 906), ("Cancel-Job", 906), ("Get-Job-Attributes", 906)]),
    # A success for a document the service did not keep: the job then shows
    # none, and its cancel, confirmed or not, comes from a service that
    # contradicted itself.
    ("a success for a document not kept",
     {"Create-Job": scripted.answer(job={"job-id": 907}), "Send-Document": scripted.unkept,
      "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_PENDING, "job-k-octets": 0,
                                                 "number-of-documents": 0}),
      "Cancel-Job": scripted.answer()},
     UNKEPT % 907, [("Create-Job", None), ("Send-Document", 907), ("Get-Job-Attributes", 907), ("Cancel-Job", 907)]),
    ("a pending job that says nothing of its document",
     {"Create-Job": scripted.answer(job={"job-id": 908}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_PENDING}),
      "Cancel-Job": scripted.answer()},
     UNKEPT % 908, [("Create-Job", None), ("Send-Document", 908), ("Get-Job-Attributes", 908), ("Cancel-Job", 908)]),
    ("a job that counts its document but not its size",
     {"Create-Job": scripted.answer(job={"job-id": 909}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_PENDING, "job-k-octets": 0,
                                                 "number-of-documents": 1})},
     CONFIRMATION, [("Create-Job", None), ("Send-Document", 909), ("Get-Job-Attributes", 909)]),
    ("a job that gives its size alone",
     {"Create-Job": scripted.answer(job={"job-id": 910}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.answer(job={"job-state": scripted.JOB_PENDING, "job-k-octets": 1})},
     CONFIRMATION, [("Create-Job", None), ("Send-Document", 910), ("Get-Job-Attributes", 910)]),
    # Each step's failure is told as that step's, with what it means for the check.
    ("an internal error naming the default printer",
     {"CUPS-Get-Default": scripted.answer(0x0500, "The check WAS printed.")},
     "Quillo could not look up the default printer: the print service did not answer Quillo's question about the "
     "printer. The check was not sent. " + CHECK_SERVICE + ' The print service\'s own words: "The check WAS printed."',
     []),
    ("a printer look-up forbidden", {"Get-Printer-Attributes": scripted.http("403 Forbidden")},
     'Quillo could not look up the printer "FILEPDF": the print service did not let Quillo look up the printer. The '
     'check was not sent. Ask whoever looks after this computer to allow it, and try again.', []),
    ("a question about the job refused as too large",
     {"Create-Job": scripted.answer(job={"job-id": 911}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.http("413 Request Entity Too Large"), "Cancel-Job": scripted.answer()},
     CANCELLED % (911, "the print service refused Quillo's question about the job as too large",
                  "Ask whoever looks after this computer to raise the print service's size limit, and try again."),
     [("Create-Job", None), ("Send-Document", 911), ("Get-Job-Attributes", 911), ("Cancel-Job", 911)]),
    ("a question about the job forbidden",
     {"Create-Job": scripted.answer(job={"job-id": 912}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.http("403 Forbidden"), "Cancel-Job": scripted.answer()},
     CANCELLED % (912, "the print service did not let Quillo ask about the job",
                  "Ask whoever looks after this computer to allow it, and try again."),
     [("Create-Job", None), ("Send-Document", 912), ("Get-Job-Attributes", 912), ("Cancel-Job", 912)]),
    ("a job the service no longer knows",
     {"Create-Job": scripted.answer(job={"job-id": 913}), "Send-Document": scripted.answer(),
      "Get-Job-Attributes": scripted.answer(0x0406, "Job #913 does not exist."),
      "Cancel-Job": scripted.answer(0x0406)},
     'Quillo could not find out whether the check was printed: the print service no longer knew the job, and '
     'Quillo could not cancel the job: the print service no longer knew the job. Before printing it again, look at '
     'the print queue of "FILEPDF" (job 913), so that the customer\'s account is not drawn twice.',
     [("Create-Job", None), ("Send-Document", 913), ("Get-Job-Attributes", 913), ("Cancel-Job", 913),
      ("Get-Job-Attributes", 913)]),
    ("a refused document whose cancel is cut",
     {"Create-Job": scripted.answer(job={"job-id": 914}),
      "Send-Document": scripted.answer(0x040A, "The document is not a PDF."), "Cancel-Job": scripted.cut()},
     'Quillo could not find out whether the check was printed: the printer did not take the check, and Quillo could '
     'not cancel the job: the print service stopped answering. Before printing it again, look at the print queue of '
     '"FILEPDF" (job 914), so that the customer\'s account is not drawn twice.' + NOT_A_PDF,
     [("Create-Job", None), ("Send-Document", 914), ("Cancel-Job", 914)]),
    ("a job without a number", {"Create-Job": scripted.answer()},
     'Quillo could not find out whether the check was printed: the print service gave the job no number. Before '
     'printing it again, look at the print queue of "FILEPDF", so that the customer\'s account is not drawn twice.',
     [("Create-Job", None)]),
    # Each request's limit counts from its start, however the answer trickles.
    ("a trickled answer", {"Create-Job": scripted.trickle(job={"job-id": 904})}, TIME_LIMIT, [("Create-Job", None)]),
]
LOOK_UP = ("CUPS-Get-Default", "Get-Printer-Attributes")

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


def print_page(quillo, cups, keep_as, again=False, offered=None):
    """Quick Print on a queue that takes jobs: the confirmation, exactly one
    new job, and its printed page, kept under `keep_as`."""
    jobs = cups.jobs()
    cups.forget_output()
    e2e.expect_message("Quick Print", quillo.quick_print(again, offered), CONFIRMATION)
    pdf = cups.wait_printed()
    if len(cups.jobs()) != len(jobs) + 1:
        e2e.fail("Quick Print made the jobs %s out of %s; expected one new job" % (cups.jobs(), jobs))
    shutil.copyfile(pdf, keep_as)
    return keep_as


def telemarketing_declined(quillo, cups):
    """A record of a sale made by a sales call: the offer asks before it
    closes, No (the default) leaves it open as it was filled in, and Cancel
    then prints nothing and records nothing."""
    jobs = cups.jobs()
    quillo.click_quick_print()
    dialog = quillo.authorize(PAYOR_PHONE, given=2, sale=2, closes=False)
    e2e.expect_message("Quick Print of a telemarketing sale", quillo.answer(), e2e.TELEMARKETING_QUESTION)
    if dialog not in quillo.windows():
        e2e.fail("after No to a telemarketing sale, the authorization dialog closed")
    quillo.focus(dialog)
    quillo.key("Escape")
    quillo.wait_gone(dialog, "the authorization dialog")
    if cups.jobs() != jobs or e2e.register_events() or quillo.windows():
        e2e.fail("after No to a telemarketing sale, the jobs are %s (before %s), the register holds %s, and Quillo "
                 "shows %s" % (cups.jobs(), jobs, e2e.register_events(), quillo.windows()))


def authorized(quillo):
    """The record of the first print: a recorded call, the customer's call."""
    quillo.authorize(PAYOR_PHONE, given=2, sale=1)


def turned_off(quillo):
    quillo.print_without_record(turn_off=True)


def check_authorized(what, drafts):
    """Every draft in the register went with the record of the first print:
    a recorded call (the second choice), the customer's call (the first),
    for the typed amount and payee, one draft, the payor's name sealed."""
    rows = e2e.register_authorizations()
    if [row[0] for row in rows] != drafts or len({row[1] for row in rows}) != 1:
        e2e.fail("after %s, the register holds the authorizations %s; expected one for the drafts %s" %
                 (what, rows, drafts))
    kept = rows[-1][2:7]
    if kept != ("recorded-call", "customer-called", "$247.50", "Sunrise Garden Supply", 1):
        e2e.fail("after %s, the authorization is kept as %s" % (what, kept))
    if b"Gonzalez" in rows[-1][7]:
        e2e.fail("the register keeps the payor's name of the authorization in clear")


def group_letter_lines(words):
    """The letter's lines as (left, top, text), top to bottom."""
    lines = {}
    for word in words:
        lines.setdefault(round(word["y"], 1), []).append(word)
    return [(min(w["x"] for w in line), top, " ".join(w["text"] for w in sorted(line, key=lambda w: w["x"])))
            for top, line in sorted(lines.items())]


def check_letter(pdf):
    """The letter's words, line by line, each line 1 inch (72 points) from
    the sheet's left edge, the first 1 inch from its top and the lines of
    the 11-point text 12.65 points apart."""
    today = datetime.date.today()
    expected = [line.format(today="%s %d, %d" % (today.strftime("%B"), today.day, today.year)) for line in LETTER]
    lines = group_letter_lines(e2e.pdf_words(pdf))
    if [text for _, _, text in lines] != expected:
        e2e.fail("the letter reads\n%s\nexpected\n%s" % ("\n".join(t for _, _, t in lines), "\n".join(expected)))
    for left, top, text in lines:
        check_close("the left edge of the letter's line %r" % text, left, 72.0, POSITION_TOLERANCE)
    check_close("the top of the letter's heading", lines[0][1], 72.0, 2.0)
    body = [top for _, top, text in lines if text.startswith(("On ", "ending in"))]
    check_close("the distance between two lines of the letter", body[1] - body[0], 12.65, POSITION_TOLERANCE)


def confirmation_letter(quillo, cups, path, exported):
    """File, Merchant Details, then File, Print Confirmation Letter: exported
    as PDF and printed from its preview, each recorded as a letter sent in
    the history of the draft sent last, the one exported to `exported`."""
    quillo.file_menu("d")
    dialog = quillo.wait_window("Merchant Details --Quillo")
    quillo.focus(dialog)
    for key, text in MERCHANT.items():
        quillo.key(key)
        for k, line in enumerate(text.split("\n")):
            if k:
                quillo.key("Return")
            quillo.type(line)
    quillo.key("alt+p", "Return")
    quillo.wait_gone(dialog, "Merchant Details")

    quillo.file_menu("c")
    preview = quillo.wait_window("Confirmation Letter --Quillo")
    quillo.focus(preview)
    quillo.key("alt+e")
    quillo.answer_file_dialog("Save As", path)
    e2e.expect_message("Export of the confirmation letter", quillo.read_message(), LETTER_EXPORTED % path)
    quillo.wait_gone(preview, "the letter's preview")
    check_letter(path)
    # An export's path is sealed: the file shows none.
    check_recorded("the letter's export", [(3, "pdf", "", "letter-sent", "")])

    jobs = cups.jobs()
    cups.forget_output()
    quillo.file_menu("c")
    preview = quillo.wait_window("Confirmation Letter --Quillo")
    quillo.focus(preview)
    quillo.key("alt+p")
    e2e.expect_message("Print of the confirmation letter", quillo.read_message(), LETTER_PRINTED)
    quillo.wait_gone(preview, "the letter's preview")
    check_letter(cups.wait_printed())
    if len(cups.jobs()) != len(jobs) + 1:
        e2e.fail("printing the letter made the jobs %s out of %s" % (cups.jobs(), jobs))
    check_recorded("the letter's print", [(3, "pdf", "", "letter-sent", job_number(cups.jobs()[-1]))])


def save_new_open(quillo, folder):
    """Saves under the suggested name (in `folder`), starts a new cheque and
    opens the file again, as a merchant does with the keyboard."""
    path = os.path.join(folder, FILE_NAME)
    # The 34-character amount in words is kept whole: the save says nothing,
    # and Ctrl+N below works only with no message box over the window.
    quillo.save_in(folder)
    quillo.wait_caption("(%s) --Quillo" % FILE_NAME)
    if os.listdir(folder) != [FILE_NAME]:
        e2e.fail("the save dialog wrote %s, not the suggested %r" % (os.listdir(folder), FILE_NAME))

    quillo.focus()
    quillo.key("ctrl+n")
    quillo.wait_caption(" (New File) --Quillo")
    quillo.open_file(path)
    quillo.wait_caption("(%s) --Quillo" % FILE_NAME)


def check_same_places(typed_pdf, reopened_pdf, tolerance=0.01):
    """The reopened cheque prints every word where the typed one printed it."""
    typed, reopened = e2e.pdf_words(typed_pdf), e2e.pdf_words(reopened_pdf)
    if len(typed) != len(reopened):
        e2e.fail("the reopened cheque prints %d words, the typed one %d:\n%s\n%s" %
                 (len(reopened), len(typed), [w["text"] for w in reopened], [w["text"] for w in typed]))
    for before, after in zip(typed, reopened):
        text = before["text"]
        if (after["text"] != text or abs(after["x"] - before["x"]) > tolerance or
                abs(after["y"] - before["y"]) > tolerance):
            e2e.fail("the reopened cheque prints %r at (%.2f, %.2f); typed, %r was at (%.2f, %.2f)" %
                     (after["text"], after["x"], after["y"], before["text"], before["x"], before["y"]))


def print_from_preview(quillo, cups, typed, keep_as):
    """File, Print Preview; its Print button prints the page that Quick Print
    prints, and the preview closes."""
    jobs = cups.jobs()
    cups.forget_output()
    quillo.file_menu("v")
    preview = quillo.wait_window("Print Preview --Quillo")
    quillo.focus(preview)
    quillo.key("alt+p")
    quillo.print_again()
    e2e.expect_message("Print in the preview", quillo.read_message(), CONFIRMATION)
    quillo.wait_gone(preview, "the preview")
    shutil.copyfile(cups.wait_printed(), keep_as)
    if len(cups.jobs()) != len(jobs) + 1:
        e2e.fail("the preview's Print made the jobs %s out of %s" % (cups.jobs(), jobs))
    check_same_places(typed, keep_as)


def export_pdf(quillo, typed, path):
    """File, Export as PDF writes the printed page: the same words at the same
    places, every font embedded."""
    quillo.file_menu("e")
    quillo.answer_file_dialog("Save As", path)
    quillo.print_again()
    e2e.expect_message("Export as PDF", quillo.read_message(), 'The check was exported to "%s".' % path)
    check_same_places(typed, path, tolerance=0.5)
    if e2e.pdf_fonts(path) != e2e.pdf_fonts(typed) or not all(e2e.pdf_fonts(path).values()):
        e2e.fail("the exported PDF uses the fonts %s; the printed page %s" % (e2e.pdf_fonts(path), e2e.pdf_fonts(typed)))


def move_right(quillo, inches):
    """File, Page Setup: from the checked place of the bank line, past the
    code's check box, to the right offset, which takes the value typed."""
    quillo.file_menu("g")
    dialog = quillo.wait_window("Page Setup --Quillo")
    quillo.key("Tab", "Tab", "ctrl+a")
    quillo.type(inches)
    quillo.key("Return")
    quillo.wait_gone(dialog, "Page Setup")
    quillo.focus()


def moved_past_the_edge(quillo, cups):
    """An offset that alone puts the date past the edge is named in the refusal; nothing prints."""
    jobs = cups.jobs()
    move_right(quillo, "0.05")
    e2e.expect_message("Quick Print moved 0.05 inch right", quillo.quick_print(again=True), MOVED_PAST_THE_EDGE)
    if cups.jobs() != jobs:
        e2e.fail("a refused page made the jobs %s, before %s" % (cups.jobs(), jobs))
    move_right(quillo, "0")


def refusals(quillo, cups):
    """Every way the print server can fail the job, each with its own message."""
    jobs = cups.jobs()
    cups.lp(["cupsreject", QUEUE])
    e2e.expect_message("Quick Print to a queue that refuses jobs", quillo.quick_print(again=True), NOT_ACCEPTING)
    if cups.jobs() != jobs:
        e2e.fail("a queue that refuses jobs holds the jobs %s, before %s" % (cups.jobs(), jobs))
    cups.lp(["cupsaccept", QUEUE])

    cups.lp(["lpadmin", "-p", QUEUE, "-u", "deny:" + getpass.getuser()])
    e2e.expect_message("Quick Print to a queue that refuses the user", quillo.quick_print(again=True), FORBIDDEN)
    if cups.jobs() != jobs:
        e2e.fail("a queue that refuses the user holds the jobs %s, before %s" % (cups.jobs(), jobs))
    cups.lp(["lpadmin", "-p", QUEUE, "-u", "allow:all"])

    # A paused printer takes the job and keeps it until it is resumed.
    cups.lp(["cupsdisable", QUEUE])
    e2e.expect_message("Quick Print to a paused printer", quillo.quick_print(again=True), CONFIRMATION)
    waiting = cups.lp(["lpstat", "-o", QUEUE]).stdout.split("\n")
    if len([line for line in waiting if line.strip()]) != 1:
        e2e.fail("the paused printer holds the jobs %r; expected the one just sent" % waiting)

    # The user's own default printer does not exist.
    options = os.path.join(os.environ["HOME"], ".cups", "lpoptions")
    os.makedirs(os.path.dirname(options), exist_ok=True)
    with open(options, "w", encoding="utf-8") as f:
        f.write("Default GHOST\n")
    e2e.expect_message("Quick Print to a default that does not exist", quillo.quick_print(again=True), GHOST_DEFAULT)
    # The user's own default comes before the one for everyone, which comes
    # before the print service's.
    everyone = os.path.join(quillo.env["CUPS_SERVERROOT"], "lpoptions")
    with open(everyone, "w", encoding="utf-8") as f:
        f.write("Default NOWHERE\n")
    e2e.expect_message("Quick Print with a default for everyone too", quillo.quick_print(again=True), GHOST_DEFAULT)
    os.remove(options)
    e2e.expect_message("Quick Print to a default for everyone that does not exist", quillo.quick_print(again=True),
                       NOWHERE_DEFAULT)
    os.remove(everyone)

    # A frozen service: the window keeps painting, and the wait ends at its limit.
    jobs = cups.jobs()
    cups.pause()
    quillo.click_quick_print()
    quillo.print_again()
    check_paints_while_waiting(quillo)
    e2e.expect_message("Quick Print to a frozen print service", quillo.read_message(), TIME_LIMIT)
    # Closed while Quillo still looks for the printer, the window goes at
    # once: nothing has been sent that the merchant would need to hear of.
    quillo.click_quick_print()
    quillo.print_again()
    e2e.request_close(quillo.main)
    code = quillo.wait_exit("the window was closed while Quick Print looked for the printer", timeout=5)
    if code != 0:
        e2e.fail("Quillo ended with exit status %d after a close during Quick Print\n%s" % (code, quillo.output()))
    cups.resume()
    if cups.jobs() != jobs:
        e2e.fail("a frozen print service was left the jobs %s, before %s" % (cups.jobs(), jobs))
    quillo.start()
    quillo.focus()


def no_service(quillo, cups):
    """The print service without a printer, then without the service."""
    cups.lp(["lpadmin", "-x", QUEUE])
    e2e.expect_message("Quick Print without a default printer", quillo.quick_print(), NO_DEFAULT)

    cups.stop()
    e2e.expect_message("Quick Print with the print service stopped", quillo.quick_print(), SERVICE_DOWN)


def answers(program, cups, env):
    """The print service's answers, scripted by a service in front of the
    private cupsd, with Quillo started from a terminal: each with its message,
    a job that may exist always cancelled, and nothing ever asked or written
    on the terminal."""
    # The job the paused printer kept prints first, so that nothing else will.
    cups.lp(["cupsenable", QUEUE])
    cups.wait_printed()
    cups.forget_output()
    with IppResponder(cups) as service:
        quillo = e2e.Quillo(program, env=dict(env, CUPS_SERVER=service.address), terminal=True)
        try:
            quillo.start()
            quillo.focus()
            for k, (what, script, message, seen) in enumerate(ANSWERS):
                start = len(service.log)
                service.run(script)
                # The empty cheque has no authorization: the merchant turns the offer off at the first.
                offered = None if k else turned_off
                e2e.expect_message("Quick Print with " + what, quillo.quick_print(offered=offered), message)
                requests = [entry for entry in service.log[start:] if entry[0] not in LOOK_UP]
                if requests != seen:
                    e2e.fail("with %s, the service saw the requests %s; expected %s" % (what, requests, seen))
            if quillo.terminal_output():
                e2e.fail("Quillo wrote %r on its terminal" % quillo.terminal_output())
            uncertain = frozen_at_the_document(quillo, cups, service)
            closed_while_sending(quillo, service)
            killed_while_sending(program, env, service)
            return uncertain
        finally:
            quillo.stop()


def frozen_at_the_document(quillo, cups, service):
    """cupsd freezes as the document arrives and goes on once Quillo has told
    the merchant: "not printed" only for a job whose cancel was confirmed,
    which then never prints; otherwise the uncertain message names the job."""
    start = len(service.log)
    service.run({"Send-Document": scripted.forward(before=cups.pause)})
    quillo.click_quick_print()
    message = quillo.read_message(timeout=60)
    cups.resume()
    job = int(cups.jobs()[-1].split()[0].rsplit("-", 1)[1])
    requests = [entry for entry in service.log[start:] if entry[0] not in LOOK_UP]
    if requests != [("Create-Job", None), ("Send-Document", job), ("Cancel-Job", job)]:
        e2e.fail("a service frozen at the document saw the requests %s" % requests)
    cups.wait_idle()
    if message == DOCUMENT_LIMIT:
        if os.path.exists(cups.output):
            e2e.fail("Quillo said %r, and job %d printed when the service went on" % (message, job))
        job = None
    else:
        e2e.expect_message("Quick Print to a service frozen at the document", message, UNCERTAIN % job)
        check_recorded("an uncertain print", [(e2e.register_events()[-1][0], "printer", QUEUE, "uncertain", str(job))])
        # A later look-up may find it printed only if its page came out.
        job = (str(job), os.path.exists(cups.output))
    cups.forget_output()
    return job


def closed_while_sending(quillo, service):
    """Closed while the page is on its way, the window stays until the
    merchant has heard what became of it, then Quillo ends."""
    start = len(service.log)
    service.run({"Create-Job": scripted.answer(job={"job-id": 905}), "Send-Document": scripted.cut(after=3),
                 "Cancel-Job": scripted.answer()})
    quillo.click_quick_print()
    e2e.wait_for("the service to hold the document", service.holding.is_set, timeout=10)
    e2e.request_close(quillo.main)
    e2e.expect_message("Quick Print closed while sending", quillo.read_message(), STOPPED)
    code = quillo.wait_exit("the window was closed while Quick Print sent the page", timeout=10)
    if code != 0:
        e2e.fail("Quillo ended with exit status %d after a close while sending\n%s" % (code, quillo.output()))
    requests = [entry for entry in service.log[start:] if entry[0] not in LOOK_UP]
    if requests != [("Create-Job", None), ("Send-Document", 905), ("Cancel-Job", 905)]:
        e2e.fail("a page closed on its way saw the requests %s" % requests)


def killed_while_sending(program, env, service):
    """Killed (SIGKILL) after the service gave the job its number and while
    it holds the document, Quillo leaves an Uncertain draft that names its
    printer and job; started again, it asks the service about that job and
    records that it printed. The service tells of no other job: the print
    left uncertain before stays so, for the test's own restart."""
    release = threading.Event()
    completed = scripted.job_state(915, scripted.JOB_COMPLETED)
    service.run({"Create-Job": scripted.answer(job={"job-id": 915}), "Send-Document": scripted.hold(release),
                 "Cancel-Job": scripted.answer(), "Get-Job-Attributes": completed})
    quillo = e2e.Quillo(program, env=dict(env, CUPS_SERVER=service.address))
    try:
        quillo.start()
        quillo.focus()
        quillo.click_quick_print()
        e2e.wait_for("the service to hold the document", service.holding.is_set, timeout=30)
        quillo.process.send_signal(signal.SIGKILL)
        quillo.process.wait()
        release.set()
        draft = e2e.register_events()[-1][0]
        check_recorded("a kill while the document was on its way", [(draft, "printer", QUEUE, "uncertain", "915")])

        service.run({"Get-Job-Attributes": completed})
        quillo = e2e.Quillo(program, env=dict(env, CUPS_SERVER=service.address))
        quillo.start()
        e2e.wait_for("the register to record that job 915 printed",
                     lambda: e2e.register_events()[-1] == (draft, "printer", QUEUE, "printed", "915"), timeout=30)
        check_recorded("the start after the kill", [(draft, "printer", QUEUE, "uncertain", "915"),
                                                    (draft, "printer", QUEUE, "printed", "915")])
        quillo.close_and_expect_clean_exit("it was started again after a kill")
    finally:
        release.set()
        quillo.stop()


def job_number(line):
    """The number of a job as lpstat lists it: FILEPDF-12 ..."""
    return line.split()[0].rsplit("-", 1)[1]


def check_recorded(what, expected):
    """The draft register's history ends in `expected`."""
    events = e2e.register_events()
    if events[-len(expected):] != expected:
        e2e.fail("after %s, the register's history ends in %s; expected %s" % (what, events[-len(expected):], expected))


def declined(quillo, cups):
    """No to the question before a draft is printed again: nothing is sent,
    nothing recorded, and no message follows."""
    jobs, events = cups.jobs(), e2e.register_events()
    quillo.click_quick_print()
    quillo.print_again(yes=False)
    if cups.jobs() != jobs or e2e.register_events() != events or quillo.windows():
        e2e.fail("after No to printing again, the jobs are %s (before %s), the register holds %s (before %s), and "
                 "Quillo shows %s" % (cups.jobs(), jobs, e2e.register_events(), events, quillo.windows()))


def check_paints_while_waiting(quillo):
    """Widens the window while Quick Print waits: the program paints the new
    part, which a frozen program would leave as the screen had it."""
    x, y, width, height = e2e.window_geometry(quillo.main)
    strip = (x + width + 20, y + 60, 60, 60)
    before = e2e.screen_rows(*strip)
    e2e.xdotool("windowsize", quillo.main, width + 150, height)
    e2e.wait_for("the window to paint its new part while Quick Print waits",
                 lambda: e2e.screen_rows(*strip) != before, timeout=5)
    e2e.xdotool("windowsize", quillo.main, width, height)


def check_no_print_file(folders):
    """The printed page never went through a file of its own."""
    for folder in folders:
        for root, _dirs, files in os.walk(folder):
            left = [f for f in files if f.endswith(".pdf") or f.startswith("quillo-check")]
            if left:
                e2e.fail("printing left %s in %s" % (left, root))


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
    fonts = e2e.pdf_fonts(pdf)
    if fonts != {arial_name: True, micr_name: True}:
        e2e.fail("the page uses the fonts %s; expected %s (bold Arial here) and %s, both embedded" %
                 (fonts, arial_name, micr_name))
    arial = font_metrics.TrueTypeFont(arial_file)
    micr = font_metrics.TrueTypeFont(MICR_FONT_FILE)
    metrics = {ARIAL: (arial, ARIAL_POINTS), MICR: (micr, MICR_POINTS)}

    printed = group_lines(e2e.pdf_words(pdf))
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
    folder = os.path.join(e2e.sandbox(), "checks")
    os.makedirs(folder)
    temporary = os.path.join(e2e.sandbox(), "tmp")
    os.makedirs(temporary)
    # CUPS's server folder, where the printer settings for everyone are.
    server_root = os.path.join(e2e.sandbox(), "cups-server")
    os.makedirs(server_root)
    with PrivateCups(PAGE_SIZE) as cups:
        env = dict(cups.env, TMPDIR=temporary, CUPS_SERVERROOT=server_root)
        quillo = e2e.Quillo(program, env=env)
        try:
            quillo.start()
            quillo.focus()
            quillo.type_cheque([CHEQUE[number] for number in range(1, 15)])
            telemarketing_declined(quillo, cups)
            typed = print_page(quillo, cups, os.path.join(folder, "..", "typed.pdf"), offered=authorized)
            check_recorded("the first Quick Print", [(1, "printer", QUEUE, "printed", job_number(cups.jobs()[-1]))])
            check_authorized("the first Quick Print", [1])
            check_page(typed, cups)
            print_from_preview(quillo, cups, typed, os.path.join(folder, "..", "previewed.pdf"))
            check_recorded("the preview's Print", [(2, "preview", QUEUE, "printed", job_number(cups.jobs()[-1]))])
            exported = os.path.join(e2e.sandbox(), "exported.pdf")
            export_pdf(quillo, typed, exported)
            check_recorded("Export as PDF", [(3, "pdf", "", "exported", "")])
            confirmation_letter(quillo, cups, os.path.join(e2e.sandbox(), "letter.pdf"), exported)
            declined(quillo, cups)
            moved_past_the_edge(quillo, cups)

            save_new_open(quillo, folder)
            reopened = print_page(quillo, cups, os.path.join(folder, "..", "reopened.pdf"), again=True)
            check_same_places(typed, reopened)
            # Opened from its file, the cheque goes with the record the register holds for it.
            check_authorized("the reopened cheque's print", [1, 2, 3, 4])

            refusals(quillo, cups)
            quillo.close_and_expect_clean_exit()
            uncertain = answers(program, cups, env)
            quillo.start()
            quillo.focus()
            if uncertain:
                # Started again, Quillo asks the print service about the print it could not be sure of.
                job, came_out = uncertain
                e2e.wait_for("the register to record what became of job %s" % job,
                             lambda: e2e.register_events()[-1][3:] in (("printed", job), ("not-printed", job)))
                if e2e.register_events()[-1][3] == "printed" and not came_out:
                    e2e.fail("the register found job %s printed, and nothing came out of the queue" % job)
            no_service(quillo, cups)
            check_no_print_file([temporary, os.environ["HOME"]])
            quillo.close_and_expect_clean_exit()
        finally:
            quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
