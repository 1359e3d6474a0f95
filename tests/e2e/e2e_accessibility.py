#!/usr/bin/python3
"""What a screen reader reads: the built program on a private accessibility
bus, its windows read through AT-SPI as a screen reader reads them. Every
push button, text box, combo box and picture of the cheque-entry window, the
About box, the help viewer and a browser window has a name, and the icon-only
toolbar buttons are named by their keys and described by their tooltips. The
browser's page reads as its title inside a "Web page", and the address box's
list as "Visited addresses".

A routing number typed with a wrong check digit is described with the reason
of its mark; the draft still prints, on a print server of the test's own, and
correcting the number clears the description.

The test starts its own session bus (dbus-launch) and accessibility bus
(at-spi-bus-launcher) and stops both, and everything they started, at its end.
"""

import os
import re
import signal
import sys
import time

import quillo_e2e as e2e
from private_cups import PrivateCups

ABOUT_CAPTION = "About Quillo"
HELP_CAPTION = "Quillo Help"
HOME_PAGE_TITLE = "Welcome to Quillo"
# The first browser window starts the web engine, which is slow on a loaded
# machine; the home page ships inside Quillo, so no network is reached.
BROWSER_WAIT = 90

ROUTING_BOX = "9 Digit Routing No."
WRONG_ROUTING = "A021000020A"
WRONG_DIGIT = "The check digit should be 1 for 02100002_: the routing number is probably mistyped."
# From the first text box: Text2 to Text10, the logo picture, Text11.

MAIN_TOOLBAR = ["New", "Open", "Save", "Print", "Cut", "Copy", "Paste"]
BROWSER_TOOLBAR = ["Back", "Forward", "Stop", "Refresh", "Home", "Search"]


class AccessibilityBus:
    """A session bus of its own (dbus-launch) with the accessibility bus on it
    (at-spi-bus-launcher), for as long as the block runs."""

    def __enter__(self):
        out = e2e.run(["dbus-launch", "--sh-syntax"]).stdout
        found = dict(re.findall(r"^(DBUS_SESSION_BUS_\w+)='?([^';]*)'?;", out, re.M))
        if "DBUS_SESSION_BUS_ADDRESS" not in found or "DBUS_SESSION_BUS_PID" not in found:
            e2e.fail("dbus-launch gave no session bus: %r" % out)
        self.address = found["DBUS_SESSION_BUS_ADDRESS"]
        self.bus_pid = int(found["DBUS_SESSION_BUS_PID"])
        self.env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.address)
        self.env.pop("AT_SPI_BUS_ADDRESS", None)
        self.launcher = e2e.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=self.env)
        e2e.wait_for("the accessibility bus", self._bus_ready)
        return self

    def _bus_ready(self):
        if self.launcher.poll() is not None:
            e2e.fail("at-spi-bus-launcher ended (exit %d)" % self.launcher.returncode)
        reply = e2e.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                         "org.a11y.Bus.GetAddress"], env=self.env, check=False)
        return reply.returncode == 0 and "unix:" in reply.stdout

    def __exit__(self, *exc):
        # The launcher's own bus, the registry it activated and whatever the
        # session bus started go with the two buses.
        started = e2e.descendants(self.launcher.pid) + e2e.descendants(self.bus_pid) + [self.bus_pid]
        e2e.stop_process(self.launcher)
        for pid in started:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        e2e.wait_for("the buses of the test to end", lambda: not any(e2e.running(pid) for pid in started))


# --- reading the tree -----------------------------------------------------


def describe(node):
    return "%s %r" % (node.getRoleName(), node.name)


def children(node):
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            found.append(child)
    return found


def walk(node, path=()):
    """Every node under `node`, with the path of roles and names that leads to it."""
    path = path + (describe(node),)
    yield node, path
    for child in children(node):
        yield from walk(child, path)


def top_level(app, name, timeout=e2e.DEFAULT_WAIT):
    """The application's window whose accessible name matches `name` (a
    regular expression), once it is there."""

    def probe():
        for window in children(app):
            if re.fullmatch(name, window.name or ""):
                return window
        return None

    try:
        return e2e.wait_for("a window read as %r" % name, probe, timeout)
    except e2e.E2EFailure as failure:
        e2e.fail("%s; the application's windows read %s" % (failure, [describe(w) for w in children(app)]))


def unnamed_controls(window, roles):
    """The controls of `roles` under `window` that read with an empty name, as paths."""
    return [" / ".join(path) for node, path in walk(window)
            if node.getRole() in roles and not node.name.strip()]


def buttons_of(toolbar):
    """The buttons on show: Qt's button for buttons that do not fit is hidden."""
    import pyatspi
    return [child for child in children(toolbar)
            if child.getRoleName() == "push button" and child.getState().contains(pyatspi.STATE_SHOWING)]


def check_toolbar(window, keys, problems, where):
    """The toolbar's buttons read as their keys, described by their tooltips."""
    toolbars = [node for node, _ in walk(window) if node.getRoleName() == "tool bar"]
    for toolbar in toolbars:
        buttons = buttons_of(toolbar)
        if [b.name for b in buttons] == keys:
            described = [b.description for b in buttons]
            if described != keys:
                problems.append("%s: the toolbar buttons are described as %s, not by their tooltips %s" % (
                    where, described, keys))
            return
    problems.append("%s: no toolbar whose buttons read %s; the toolbars read %s" % (
        where, keys, [[b.name for b in buttons_of(t)] for t in toolbars]))


def check_web_page(browser):
    """The page reads as its title, inside a "Web page"; the engine names it
    once it has read the page, a little after the caption."""
    import pyatspi

    def pages():
        return [(node.name, path) for node, path in walk(browser) if node.getRole() == pyatspi.ROLE_DOCUMENT_WEB]

    def named():
        found = pages()
        return found if [name for name, _ in found] == [HOME_PAGE_TITLE] else None

    try:
        found = e2e.wait_for("the page read as its title", named)
    except e2e.E2EFailure:
        return ["browser window: the pages read %s, not one %r" % ([" / ".join(p) for _, p in pages()],
                                                                   HOME_PAGE_TITLE)]
    if "filler 'Web page'" not in found[0][1]:
        return ["browser window: the page is not inside a \"Web page\": %s" % " / ".join(found[0][1])]
    return []


def described(node, expected):
    """Waits until a control's description reads `expected`, and says what it read instead."""

    def probe():
        node.clearCache()
        return node.description == expected

    try:
        e2e.wait_for("the description %r" % expected, probe)
    except e2e.E2EFailure:
        e2e.fail("the %s is described as %r, not %r" % (describe(node), node.description, expected))


def check_routing_mark(quillo, main, cups, pyatspi):
    """A wrong check digit is described with its reason, the marked draft
    prints as typed, and the corrected number is described with nothing."""
    boxes = [node for node, _ in walk(main)
             if node.getRole() in (pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT) and node.name == ROUTING_BOX]
    if len(boxes) != 1:
        e2e.fail("%d text boxes read as %r" % (len(boxes), ROUTING_BOX))
    routing = boxes[0]
    quillo.focus()
    quillo.key(*["Tab"] * e2e.TABS_TO_ROUTING)
    quillo.type(WRONG_ROUTING)
    described(routing, WRONG_DIGIT)

    e2e.expect_message("Quick Print of a marked draft", quillo.quick_print(offered=e2e.Quillo.print_without_record),
                       e2e.CONFIRMATION)
    printed = [word["text"] for word in e2e.pdf_words(cups.wait_printed())]
    if WRONG_ROUTING not in printed:
        e2e.fail("the marked draft prints %s, without the routing number %s as typed" % (printed, WRONG_ROUTING))

    # Back from the Quick Print button: Text14, Text13, Text12, Text11.
    quillo.key(*["shift+Tab"] * 4, "End", "BackSpace", "BackSpace")
    quillo.type("1A")
    described(routing, "")


def test(program):
    with AccessibilityBus() as bus, PrivateCups("Letter") as cups:
        # The bus must be known before pyatspi first reaches for it.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.address
        import pyatspi

        checked_roles = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_COMBO_BOX,
                         pyatspi.ROLE_IMAGE}
        env = dict(bus.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", CUPS_SERVER=cups.socket)
        for variable in ("PRINTER", "LPDEST"):
            env.pop(variable, None)
        quillo = e2e.Quillo(program, env=env)
        try:
            began = time.monotonic()
            quillo.start()
            desktop = pyatspi.Registry.getDesktop(0)
            app = e2e.wait_for("Quillo on the accessibility bus", lambda: next(
                (a for a in children(desktop) if a.name == "Quillo"), None))
            problems = []

            main = top_level(app, e2e.MAIN_CAPTION.pattern)
            problems += unnamed_controls(main, checked_roles)
            check_toolbar(main, MAIN_TOOLBAR, problems, "cheque-entry window")
            check_routing_mark(quillo, main, cups, pyatspi)

            quillo.focus()
            quillo.key("alt+h")
            quillo.key("a")
            about_window = quillo.wait_window(ABOUT_CAPTION)
            about = top_level(app, re.escape(ABOUT_CAPTION))
            problems += unnamed_controls(about, checked_roles)
            if not any(node.getRole() == pyatspi.ROLE_IMAGE for node, _ in walk(about)):
                problems.append("About box: its picture is not read at all")
            quillo.focus(about_window)
            quillo.key("Return")
            quillo.wait_gone(about_window, "the About box")

            quillo.focus()
            quillo.key("alt+h")
            quillo.key("c")
            help_window = quillo.wait_window(HELP_CAPTION)
            problems += unnamed_controls(top_level(app, re.escape(HELP_CAPTION)), checked_roles)
            e2e.request_close(help_window)
            quillo.wait_gone(help_window, "the help viewer")

            quillo.focus()
            quillo.key("alt+v")
            quillo.key("w")
            quillo.wait_window(HOME_PAGE_TITLE, BROWSER_WAIT)
            browser = top_level(app, re.escape(HOME_PAGE_TITLE))
            check_toolbar(browser, BROWSER_TOOLBAR, problems, "browser window")
            address = [node for node, _ in walk(browser) if node.getRole() == pyatspi.ROLE_COMBO_BOX]
            if [node.name for node in address] != ["Address"]:
                problems.append("browser window: the combo boxes read %s, not one \"Address\"" % [
                    describe(node) for node in address])
            else:
                fields = [describe(c) for c in children(address[0]) if c.getRole() == pyatspi.ROLE_TEXT]
                if fields != ["text 'Address'"]:
                    problems.append("browser window: the address box's text field reads %s" % fields)
                lists = [describe(c) for c in children(address[0]) if c.getRole() == pyatspi.ROLE_LIST]
                if lists != ["list 'Visited addresses'"]:
                    problems.append("browser window: the address box's list reads %s" % lists)
            problems += unnamed_controls(browser, checked_roles)
            problems += check_web_page(browser)

            if problems:
                e2e.fail("%d faults in what a screen reader reads:\n  %s" % (
                    len(problems), "\n  ".join(problems)))
            quillo.close_and_expect_clean_exit()
            print("read every window in %.1f s" % (time.monotonic() - began))
        finally:
            quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
