"""Drives the built Quillo program on a real X server with real input, and
reads what it printed.

Shared by the end-to-end test scripts beside this file, which hold only their
scenarios: starting the program, typing a cheque, Quick Print, the File menu,
message boxes and the printed PDF's words and fonts are all here, once. The
desktop's plumbing (processes, waiting, X) is desktop.py; every name a
scenario needs is reachable from this module.

Each script runs inside tests/run-isolated.sh --xvfb: DISPLAY is a private Xvfb
without a window manager, and HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR are
private folders, so the program's settings land in the sandbox.
"""

import contextlib
import html
import os
import re
import sqlite3
import subprocess
import sys
import time

from desktop import (  # noqa: F401 -- the scenarios reach these through this module
    DEFAULT_WAIT,
    E2EFailure,
    fail,
    wait_for,
    spawn,
    spawn_on_terminal,
    read_terminal,
    stop_process,
    descendants,
    running,
    run,
    terminate_on_signals,
    xdotool,
    visible_windows,
    window_name,
    window_geometry,
    focused_window,
    describe_windows,
    map_characters,
    unicode_keysym,
    clipboard,
    request_close,
    screen_rows,
    save_screenshot,
)

MAIN_CAPTION = re.compile(r".* --Quillo$")
# The designed geometry is in twips: 15 to a pixel at 96 dpi.
TWIPS_PER_PIXEL = 15
# Asked before a draft that the register holds already is printed again.
DUPLICATE_QUESTION = re.compile(r'^Check \d+ on the account ending in \d{4} (was already printed on '
                                r'\d\d/\d\d/\d{4}( \(job \d+ on ".*"\))?|may have been printed on \d\d/\d\d/\d{4} '
                                r'\(the print service did not say(; job \d+ on ".*")?\)|was exported to ".*" on '
                                r'\d\d/\d\d/\d{4})( for [\d.,]+)?( to ".*")?\. Print it again\?$')
CONFIRMATION = "Quillo Has Been Sent To The Printer!"
# Offered before Quick Print of a draft without an authorization record.
AUTHORIZATION = "Authorization --Quillo"
TELEMARKETING_QUESTION = ("This draft pays for a telemarketing sale to a consumer, which federal rules do not "
                          "allow. Print it anyway?")
# From the first text box, Text11 is eleven Tabs on: Text2 to Text10, the logo
# picture, Text11.
TABS_TO_ROUTING = 11


def expect_message(what, message, expected):
    if message != expected:
        fail("%s showed the message\n%r\nexpected\n%r" % (what, message, expected))


# --- what a printed PDF holds ------------------------------------------------


def pdf_words(pdf):
    """The words of a PDF's first page with their boxes, in points from the
    page's top-left corner, as poppler's pdftotext reads them."""
    out = run(["pdftotext", "-bbox", "-f", "1", "-l", "1", pdf, "-"]).stdout
    pattern = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>')
    return [{"x": float(m[0]), "y": float(m[1]), "right": float(m[2]), "bottom": float(m[3]),
             "text": html.unescape(m[4])} for m in pattern.findall(out)]


def pdf_fonts(pdf):
    """{font name without subset tag: embedded?} of the fonts a PDF uses."""
    lines = run(["pdffonts", pdf]).stdout.splitlines()[2:]
    fonts = {}
    for line in lines:
        fields = line.split()
        fonts[re.sub(r"^[A-Z]{6}\+", "", fields[0])] = fields[-5] == "yes"
    return fonts


# --- the program ----------------------------------------------------------


class Quillo:
    """One run of the program under test."""

    def __init__(self, program, env=None, terminal=False):
        self.program = program
        self.env = dict(env or os.environ)
        self.log_path = os.path.join(sandbox(), "quillo-%d.log" % time.monotonic_ns())
        self.process = None
        self.main = None
        # Started from a terminal: what the program writes to it, or asks
        # there, is kept apart from its output.
        self.on_terminal = terminal
        self.terminal = None
        self.written_to_terminal = b""

    def start(self):
        if not os.access(self.program, os.X_OK):
            fail("the program %s is not built" % self.program)
        self.log = open(self.log_path, "wb")
        if not self.on_terminal:
            self.process = spawn([self.program], env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        else:
            self.process, self.terminal = spawn_on_terminal([self.program], env=self.env, stdout=self.log,
                                                            stderr=subprocess.STDOUT)
        self.main = wait_for("the cheque-entry window", self._main_window)
        return self.main

    def terminal_output(self):
        """Everything the program has written to its terminal."""
        if self.terminal is not None:
            self.written_to_terminal += read_terminal(self.terminal)
        return self.written_to_terminal

    def _main_window(self):
        if self.process.poll() is not None:
            fail("Quillo ended (exit %d) before its window showed" % self.process.returncode)
        for window in visible_windows(self.process.pid):
            name = window_name(window)
            if name and MAIN_CAPTION.match(name):
                return window
        return None

    def windows(self):
        """The program's visible windows other than the main one, by id: name."""
        return {w: window_name(w) for w in visible_windows(self.process.pid) if w != self.main}

    def wait_window(self, name, timeout=DEFAULT_WAIT):
        """Waits for a new visible window of the program with exactly this caption."""

        def probe():
            if self.process.poll() is not None:
                fail("Quillo ended (exit %d) while a window %r was awaited" % (self.process.returncode, name))
            for window, caption in self.windows().items():
                if caption == name:
                    return window
            return None

        return wait_for("a window captioned %r" % name, probe, timeout)

    def wait_gone(self, window, what, timeout=DEFAULT_WAIT):
        wait_for("%s to close" % what, lambda: window not in visible_windows(self.process.pid), timeout)

    def caption(self):
        return window_name(self.main)

    def wait_caption(self, expected, timeout=DEFAULT_WAIT):
        wait_for("the caption %r (it is %r)" % (expected, self.caption()), lambda: self.caption() == expected,
                 timeout)

    def focus(self, window=None):
        """Gives a window the keyboard focus, as a window manager would on a
        click, and waits until the X server reports it."""
        window = window or self.main
        xdotool("windowfocus", "--sync", window)
        wait_for("window %d to take the keyboard focus" % window, lambda: focused_window() == window)

    def key(self, *keys):
        xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        """Types a text key by key. ASCII goes through xdotool type; every
        other character is pressed on a key of its own (map_characters)."""
        map_characters(text)
        for run in re.findall(r"[\x20-\x7e]+|[^\x20-\x7e]", text):
            if ord(run[0]) > 0x7E:
                xdotool("key", "--clearmodifiers", "0x%x" % unicode_keysym(run))
            else:
                # "--" lets a text begin with a dash.
                xdotool("type", "--clearmodifiers", "--delay", "8", "--", run)

    def read_message(self, caption="Quillo", timeout=DEFAULT_WAIT):
        """Waits for a message box, reads its text and closes it with Enter.
        The text is what Ctrl+C in the box puts on the clipboard: the caption,
        the message and the buttons between lines of dashes; the message alone
        is returned."""
        return self.answer(caption, timeout, "Return")

    def answer(self, caption="Quillo", timeout=DEFAULT_WAIT, key="Return"):
        """Reads a message box or question as read_message does and answers it
        with `key`: Return takes the default button (a question's No), alt+y
        a question's Yes."""
        box = self.wait_window(caption, timeout)
        self.focus(box)
        # Each copy takes the clipboard anew, with a time stamp of its own.
        before = clipboard("TIMESTAMP")
        self.key("ctrl+c")
        wait_for("the message box's text on the clipboard", lambda: clipboard("TIMESTAMP") not in (b"", before))
        copied = clipboard("UTF8_STRING").decode("utf-8", "replace")
        parts = [p.strip() for p in re.split(r"^-{10,}$", copied, flags=re.M) if p.strip()]
        if len(parts) < 3 or parts[0] != caption:
            fail("the message box %r copied %r" % (caption, copied))
        self.key(key)
        self.wait_gone(box, "the message box")
        return parts[1]

    def print_again(self, yes=True):
        """Answers the question that comes before a draft the register holds
        already is printed again; returns the question."""
        question = self.answer(key="alt+y" if yes else "Return")
        if not DUPLICATE_QUESTION.match(question):
            fail("before printing a draft again, Quillo asked %r" % question)
        return question

    def authorize(self, phone, given, sale, closes=True):
        """Fills in the authorization record that Quick Print offers and
        accepts it: the payor's phone, and the `given`-th way the customer
        authorized the draft and the `sale`-th way the sale was made as the
        dialog lists them (1 the first); the rest stays as filled from the
        draft. A telemarketing sale is asked about before the dialog closes:
        `closes` False returns with the dialog open and the question showing.
        Returns the dialog."""
        dialog = self.wait_window(AUTHORIZATION)
        self.focus(dialog)
        # The focus starts on how it was given, which a new record lacks.
        self.key(*["Down"] * given)
        self.key("alt+s", *["Down"] * sale)
        self.key("alt+h")
        self.type(phone)
        self.key("Return")
        if closes:
            self.wait_gone(dialog, "the authorization dialog")
        return dialog

    def print_without_record(self, turn_off=False):
        """Answers the authorization record's offer with "Print Without
        Record"; `turn_off` unticks the offer first, so that no later draft is
        offered one."""
        dialog = self.wait_window(AUTHORIZATION)
        self.focus(dialog)
        if turn_off:
            self.key("alt+f")
        self.key("alt+w")
        self.wait_gone(dialog, "the authorization dialog")

    def save_in(self, folder):
        """Ctrl+S on a new cheque: the save dialog suggests a name, which is
        accepted with `folder` put in front of it."""
        self.focus()
        self.key("ctrl+s")
        dialog = self.wait_window("Save As")
        self.focus(dialog)
        self.key("Home")
        self.type(folder + "/")
        self.key("Return")
        self.wait_gone(dialog, "the save dialog")

    def open_file(self, path):
        """Ctrl+O, with `path` typed into the open dialog."""
        self.focus()
        self.key("ctrl+o")
        self.answer_file_dialog("Open", path)

    def answer_file_dialog(self, caption, path):
        """Types `path` over the name in the file dialog captioned `caption`
        and accepts it."""
        dialog = self.wait_window(caption)
        self.focus(dialog)
        self.key("ctrl+a")
        self.type(path)
        self.key("Return")
        self.wait_gone(dialog, "the dialog %r" % caption)

    def type_cheque(self, values):
        """Types Text1 to Text14, from the first box on, with Tab after each:
        the focus ends on the "Quick Print " button."""
        for number, value in enumerate(values, start=1):
            self.type(value)
            self.key("Tab")
            if number == 10:
                self.key("Tab")  # the logo picture between Text10 and Text11

    def file_menu(self, key):
        """Opens the File menu and chooses the item whose access key is `key`."""
        self.focus()
        self.key("alt+f")
        self.key(key)

    def click_quick_print(self):
        """Clicks the middle of the "Quick Print " button, found from the designed
        layout: the frame at 120, 480 twips in the client area (below the menu
        bar), the button at 6840, 4080 in the frame, 1095 x 495 twips large."""
        x, y, width, height = window_geometry(self.main)
        menu_bar = height - round(6075 / TWIPS_PER_PIXEL)
        self.click(x + round((120 + 6840 + 1095 / 2) / TWIPS_PER_PIXEL),
                   y + menu_bar + round((480 + 4080 + 495 / 2) / TWIPS_PER_PIXEL))

    def quick_print(self, again=False, offered=None):
        """Clicks "Quick Print " and returns the text of the message box it
        shows; `again` for a draft printed before, whose question is answered
        Yes; `offered` answers the offer of an authorization record (a
        function of this object)."""
        self.click_quick_print()
        if again:
            self.print_again()
        if offered:
            offered(self)
        message = self.read_message()
        if self.windows():
            fail("after Quick Print's message, Quillo still shows %s" % self.windows())
        return message

    def click(self, x, y):
        # mousemove --sync waits for the pointer to move, which takes 15 s to
        # give up when the pointer is there already (a second click on a button).
        here = re.search(r"x:(-?\d+) y:(-?\d+)", xdotool("getmouselocation").stdout)
        if not here or (int(here.group(1)), int(here.group(2))) != (x, y):
            xdotool("mousemove", "--sync", x, y)
        xdotool("click", "1")

    def wait_exit(self, what, timeout=DEFAULT_WAIT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            fail("Quillo still runs %.0f s after %s; its windows:\n%s" % (timeout, what, describe_windows()))

    def close_and_expect_clean_exit(self, what="its window was closed"):
        """Closes the cheque-entry window as its close box does and expects
        the program to end with status 0."""
        request_close(self.main)
        code = self.wait_exit(what)
        if code != 0:
            fail("Quillo ended with exit status %d\n%s" % (code, self.output()))

    def output(self):
        try:
            with open(self.log_path, "rb") as log:
                return log.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def stop(self):
        if sys.exc_info()[0] is not None:
            # The test is failing: show what the screen held before the
            # program goes away.
            diagnose(sys.exc_info()[1], self)
        stop_process(self.process)
        if getattr(self, "log", None):
            self.log.close()
        if self.terminal is not None:
            self.terminal_output()
            os.close(self.terminal)
            self.terminal = None


def register_events():
    """The draft register's history, oldest first, as (draft, destination kind,
    destination, event, job) rows: what anyone can read of the file without
    its key."""
    path = os.path.join(os.environ["XDG_DATA_HOME"], "Quillo", "Quillo", "register.sqlite")
    with contextlib.closing(sqlite3.connect("file:%s?mode=ro" % path, uri=True)) as db:
        return db.execute("SELECT d.id, d.destination_kind, d.destination, e.kind, e.job_id FROM draft_events e "
                          "JOIN drafts d ON d.id = e.draft_id ORDER BY e.id").fetchall()


def register_authorizations():
    """The authorizations the drafts went with, by draft, as (draft,
    authorization, how given, how sold, amount, payee, drafts authorized,
    payor's name as stored) rows."""
    path = os.path.join(os.environ["XDG_DATA_HOME"], "Quillo", "Quillo", "register.sqlite")
    with contextlib.closing(sqlite3.connect("file:%s?mode=ro" % path, uri=True)) as db:
        return db.execute("SELECT draft_id, authorization_id, given, sale, amount, payee, drafts_authorized, "
                          "authorized_by FROM draft_authorizations ORDER BY draft_id").fetchall()


def sandbox():
    """The test's private folder, made by run-isolated.sh."""
    folder = os.environ.get("QUILLO_TEST_SANDBOX")
    if not folder or not os.path.isdir(folder):
        fail("QUILLO_TEST_SANDBOX is not set: run this test through tests/run-isolated.sh --xvfb")
    return folder


def settings_file():
    return os.path.join(os.environ["XDG_CONFIG_HOME"], "Quillo", "Quillo.conf")


_diagnosed = False


def diagnose(failure, quillo=None):
    """Prints the failure, the visible windows and what the program wrote, and
    leaves a screenshot in QUILLO_E2E_ARTIFACTS, once per failing test."""
    global _diagnosed
    if _diagnosed:
        return
    _diagnosed = True
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    print("FAIL %s: %s" % (name, failure), file=sys.stderr)
    try:
        print("Visible windows:\n" + describe_windows(), file=sys.stderr)
        if quillo is not None and quillo.output():
            print("Quillo's output:\n" + quillo.output()[-3000:], file=sys.stderr)
        artifacts = os.environ.get("QUILLO_E2E_ARTIFACTS")
        if artifacts:
            os.makedirs(artifacts, exist_ok=True)
            shot = os.path.join(artifacts, name + "-failure.png")
            save_screenshot(shot)
            print("Screenshot: " + shot, file=sys.stderr)
    except Exception as error:  # the diagnostics must not hide the failure
        print("(no diagnostics: %s)" % error, file=sys.stderr)


def main(test):
    """Runs test(program) and turns its outcome into an exit status and a
    clear message."""
    terminate_on_signals()
    if len(sys.argv) != 2:
        print("usage: %s <path of the quillo program>" % sys.argv[0], file=sys.stderr)
        return 2
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    try:
        test(os.path.abspath(sys.argv[1]))
    except E2EFailure as failure:
        diagnose(failure)
        return 1
    print("PASS %s" % name)
    return 0
