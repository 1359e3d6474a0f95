"""The desktop under an end-to-end test: waiting, processes, and the X server.

Everything here uses the Python standard library and the X tools of the build
machine (xdotool); the one X request xdotool cannot make, the window
manager's close request, is sent through libX11 with ctypes, as is reading
the screen's pixels. Nothing here knows Quillo: quillo_e2e.py drives the
program on top of it.
"""

import ctypes
import ctypes.util
import fcntl
import os
import re
import signal
import struct
import subprocess
import sys
import termios
import time
import zlib

# Long enough for a loaded two-core CI machine, short enough that a hung
# program fails the test well before CTest's own time-out.
DEFAULT_WAIT = 30.0
POLL_INTERVAL = 0.05


class E2EFailure(Exception):
    """A check of an end-to-end test failed; the message says what was seen."""


def fail(message):
    raise E2EFailure(message)


def wait_for(what, probe, timeout=DEFAULT_WAIT):
    """Polls probe() until it returns something truthy, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            fail("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(POLL_INTERVAL)


def _die_with_parent():
    # Children of a test never outlive it, even when CTest kills the test
    # without a chance to clean up: the kernel sends them SIGTERM.
    libc = ctypes.CDLL(None, use_errno=True)
    PR_SET_PDEATHSIG = 1
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def spawn(argv, env=None, stdout=None, stderr=None):
    return subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=stdout or subprocess.DEVNULL,
                            stderr=stderr or subprocess.DEVNULL, preexec_fn=_die_with_parent)


def spawn_on_terminal(argv, env=None, stdout=None, stderr=None):
    """Starts a program as if from a terminal: a pseudo-terminal is its
    standard input and its controlling terminal (/dev/tty), so whatever it
    would ask or tell a person there can be read. Returns the process and the
    terminal's other end, which the caller reads and closes."""
    terminal, program_side = os.openpty()

    def become_terminal_program():
        _die_with_parent()
        fcntl.ioctl(0, termios.TIOCSCTTY, 0)

    try:
        process = subprocess.Popen(argv, env=env, stdin=program_side, stdout=stdout or subprocess.DEVNULL,
                                   stderr=stderr or subprocess.DEVNULL, start_new_session=True,
                                   preexec_fn=become_terminal_program)
    finally:
        os.close(program_side)
    os.set_blocking(terminal, False)
    return process, terminal


def read_terminal(terminal):
    """What a program wrote to its terminal so far."""
    written = b""
    while True:
        try:
            chunk = os.read(terminal, 4096)
        except (BlockingIOError, OSError):  # nothing more; EIO once the program has gone
            return written
        if not chunk:
            return written
        written += chunk


def stop_process(process, grace=10.0):
    """Ends a process this test started: SIGTERM, then SIGKILL."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def descendants(pid):
    """The processes started by a process, and theirs, by id."""
    found = []
    pending = [pid]
    while pending:
        parent = pending.pop()
        try:
            tasks = os.listdir("/proc/%d/task" % parent)
        except OSError:
            continue
        for task in tasks:
            try:
                with open("/proc/%d/task/%s/children" % (parent, task)) as f:
                    children = [int(c) for c in f.read().split()]
            except OSError:
                continue
            found += children
            pending += children
    return found


def running(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def run(argv, env=None, check=True, timeout=30):
    result = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            timeout=timeout)
    if check and result.returncode != 0:
        fail("%s failed (exit %d): %s" % (" ".join(argv), result.returncode, result.stderr.strip()))
    return result


def terminate_on_signals():
    """Turns SIGTERM and SIGINT into an exception, so that finally blocks run."""

    def handler(signum, _frame):
        raise E2EFailure("stopped by signal %d" % signum)

    signal.signal(signal.SIGTERM, handler)
    signal.signal(signal.SIGINT, handler)


# --- X --------------------------------------------------------------------


def xdotool(*args, check=True):
    return run(["xdotool"] + [str(a) for a in args], check=check, timeout=30)


def visible_windows(pid=None):
    """Ids of the mapped top-level windows, of one process when pid is given."""
    args = ["search", "--onlyvisible"]
    args += ["--pid", pid] if pid else ["--name", ""]
    result = xdotool(*args, check=False)
    return [int(w) for w in result.stdout.split()]


def window_name(window):
    result = xdotool("getwindowname", window, check=False)
    return result.stdout.rstrip("\n") if result.returncode == 0 else None


def window_geometry(window):
    """(x, y, width, height) of a window on the screen, in pixels."""
    out = xdotool("getwindowgeometry", window).stdout
    position = re.search(r"Position: (-?\d+),(-?\d+)", out)
    size = re.search(r"Geometry: (\d+)x(\d+)", out)
    if not position or not size:
        fail("cannot read the geometry of window %d: %r" % (window, out))
    return tuple(int(v) for v in position.groups() + size.groups())


def focused_window():
    result = xdotool("getwindowfocus", check=False)
    return int(result.stdout.strip()) if result.returncode == 0 and result.stdout.strip().isdigit() else None


def describe_windows():
    lines = []
    for window in visible_windows():
        name = window_name(window)
        if name:  # the root window has no name
            lines.append("  %d %r %s" % (window, name, window_geometry(window)))
    return "\n".join(lines) or "  (no visible window)"


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


def _xlib():
    path = ctypes.util.find_library("X11")
    if not path:
        fail("libX11 is not installed")
    x = ctypes.cdll.LoadLibrary(path)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_XEvent)]
    x.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    x.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
    x.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.c_int]
    x.XFree.argtypes = [ctypes.c_void_p]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XGetImage.restype = ctypes.POINTER(_XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    return x


_mapped_characters = set()


def map_characters(text):
    """Gives every non-ASCII character of a text a key of its own on the X
    server's keyboard, for good. (xdotool maps a spare key only while it
    types such a character and puts the key back at once; a program that
    reads the changed keyboard map a moment late then sees no character.)"""
    chars = sorted({c for c in text if ord(c) > 0x7E} - _mapped_characters)
    if not chars:
        return
    x = _xlib()
    display = x.XOpenDisplay(None)
    if not display:
        fail("cannot open the X display %r" % os.environ.get("DISPLAY"))
    try:
        first, last = ctypes.c_int(), ctypes.c_int()
        x.XDisplayKeycodes(display, ctypes.byref(first), ctypes.byref(last))
        per_key = ctypes.c_int()
        count = last.value - first.value + 1
        keymap = x.XGetKeyboardMapping(display, first.value, count, ctypes.byref(per_key))
        free = [first.value + k for k in range(count)
                if not any(keymap[k * per_key.value + i] for i in range(per_key.value))]
        x.XFree(keymap)
        if len(free) < len(chars):
            fail("the X keyboard has %d free keys for the %d characters %r" % (len(free), len(chars), chars))
        for keycode, char in zip(free, chars):
            keysym = unicode_keysym(char)
            x.XChangeKeyboardMapping(display, keycode, 2, (ctypes.c_ulong * 2)(keysym, keysym), 1)
            _mapped_characters.add(char)
        x.XSync(display, 0)
    finally:
        x.XCloseDisplay(display)


def unicode_keysym(char):
    return 0x1000000 + ord(char)


def clipboard(target):
    """The clipboard's content as `target`, as bytes; b"" when it holds none."""
    return subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", target], stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=30).stdout


def request_close(window):
    """Asks a window to close the way a window manager's close box does: the
    WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. There is no window
    manager on the test's X server, so the test sends it itself."""
    x = _xlib()
    display = x.XOpenDisplay(None)
    if not display:
        fail("cannot open the X display %r" % os.environ.get("DISPLAY"))
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not x.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
            fail("the close request to window %d could not be sent" % window)
        x.XFlush(display)
    finally:
        x.XCloseDisplay(display)


def screen_rows(x=0, y=0, width=None, height=None):
    """The screen's pixels in a rectangle (the whole screen by default), as
    rows of RGB bytes; None when the display cannot be read."""
    xlib = _xlib()
    display = xlib.XOpenDisplay(None)
    if not display:
        return None
    try:
        width = width or xlib.XDisplayWidth(display, 0) - x
        height = height or xlib.XDisplayHeight(display, 0) - y
        image = xlib.XGetImage(display, xlib.XDefaultRootWindow(display), x, y, width, height, 0xFFFFFFFF, 2)
        if not image or image.contents.bits_per_pixel != 32:
            return None
        raw = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * height)
        stride = image.contents.bytes_per_line
    finally:
        xlib.XCloseDisplay(display)
    rows = []
    for row in range(height):
        line = raw[row * stride:row * stride + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(bytes(rgb))
    return rows


def save_screenshot(path):
    """Writes the whole screen as a PNG, for looking at a failed test."""
    rows = screen_rows()
    if not rows:
        return
    width, height = len(rows[0]) // 3, len(rows)
    rows = [b"\0" + row for row in rows]

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b""))
