#!/usr/bin/python3
"""Side windows end with the program: two browser windows (View, Web Browser)
open at Quillo's home page, the About box (Help, About) is modal, and closing
the cheque-entry window closes every browser window and ends the program,
web engine processes included."""

import os
import sys

import quillo_e2e as e2e

HOME_PAGE_TITLE = "Welcome to Quillo"
ABOUT_CAPTION = "About Quillo"
# The first browser window starts the web engine, which is slow on a loaded
# machine; it never reaches the network (the home page ships inside Quillo).
BROWSER_WAIT = 90


def open_browser(quillo, known):
    """Opens a browser window with View, Web Browser and returns its id once
    it shows the home page. (The window may be re-created while the web
    engine starts, so it is known by its caption only then.)"""
    quillo.focus()
    quillo.key("alt+v")
    quillo.key("w")

    def loaded():
        fresh = [w for w, name in quillo.windows().items() if w not in known and name == HOME_PAGE_TITLE]
        return fresh[0] if fresh else None

    try:
        return e2e.wait_for("a browser window at the home page %r" % HOME_PAGE_TITLE, loaded, BROWSER_WAIT)
    except e2e.E2EFailure as failure:
        e2e.fail("%s; the side windows are %s" % (failure, quillo.windows()))


def test(program):
    quillo = e2e.Quillo(program)
    try:
        quillo.start()
        first = open_browser(quillo, set())
        second = open_browser(quillo, {first})

        quillo.focus()
        quillo.key("alt+h")
        quillo.key("a")
        about = quillo.wait_window(ABOUT_CAPTION)

        # The About box is modal: the cheque-entry window refuses to close
        # while it is up. The close request reaches the program before the
        # key that closes the box, so once the box is gone it has been handled.
        e2e.request_close(quillo.main)
        quillo.focus(about)
        quillo.key("Return")
        quillo.wait_gone(about, "the About box")
        if quillo.main not in e2e.visible_windows(quillo.process.pid) or quillo.process.poll() is not None:
            e2e.fail("the cheque-entry window closed while the modal About box was up")
        if set(quillo.windows()) != {first, second}:
            e2e.fail("after the About box closed, the side windows are %s; expected the two browser windows" %
                     quillo.windows())

        helpers = e2e.descendants(quillo.process.pid)
        if not helpers:
            e2e.fail("the browser windows started no web engine process")
        quillo.focus()
        quillo.close_and_expect_clean_exit("its cheque-entry window was closed with two browser windows open")
        e2e.wait_for("the web engine processes %s to end with Quillo" % helpers,
                     lambda: not any(e2e.running(pid) for pid in helpers))
        if not os.path.exists(e2e.settings_file()):
            e2e.fail("closing the window wrote no placement settings")
    finally:
        quillo.stop()


if __name__ == "__main__":
    sys.exit(e2e.main(test))
