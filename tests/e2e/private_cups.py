"""A print server of the test's own: cupsd with every folder in a temporary
directory, listening only on a unix socket there, with one queue that writes
each job as a PDF file through the generic PDF driver. The system's CUPS
configuration, queues and default printer are never touched.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile

import quillo_e2e as e2e

QUEUE = "FILEPDF"
DRIVER = "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"


class PrivateCups:
    def __init__(self, page_size):
        self.page_size = page_size
        self.root = None
        self.process = None

    def __enter__(self):
        for tool in ("cupsd", "lpadmin", "lpstat"):
            if not shutil.which(tool) and not os.path.exists("/usr/sbin/" + tool):
                e2e.fail("%s is not installed (scripts/install-deps.sh installs cups)" % tool)
        # Not inside the test's private 0700 sandbox: cupsd runs its filters
        # as the user lp, which must reach the spool and temporary folders.
        self.root = tempfile.mkdtemp(prefix="quillo-e2e-cups.")
        os.chmod(self.root, 0o755)
        for folder in ("conf", "state", "cache", "spool", "log"):
            os.mkdir(self.path(folder), 0o755)
        os.mkdir(self.path("tmp"))
        os.chmod(self.path("tmp"), 0o1777)
        self.socket = self.path("cups.sock")
        self.output = self.path("printed.pdf")
        self._write("cups-files.conf", [
            "ServerRoot " + self.path("conf"),
            "StateDir " + self.path("state"),
            "CacheDir " + self.path("cache"),
            "RequestRoot " + self.path("spool"),
            "TempDir " + self.path("tmp"),
            "AccessLog " + self.path("log", "access_log"),
            "ErrorLog " + self.path("log", "error_log"),
            "PageLog " + self.path("log", "page_log"),
            "Printcap " + self.path("state", "printcap"),
            "FileDevice Yes",
            "SystemGroup root",
        ])
        self._write("cupsd.conf", [
            "Listen " + self.socket,
            "Browsing No",
            "BrowseLocalProtocols none",
            "DefaultShared No",
            "WebInterface No",
            "LogLevel info",
            "<Location />", "  Order allow,deny", "  Allow all", "</Location>",
            "<Location /admin>", "  Order allow,deny", "  Allow all", "</Location>",
        ])
        self.env = dict(os.environ)
        self.env["CUPS_SERVER"] = self.socket
        # Only the server's own default printer may decide where the job goes.
        for variable in ("PRINTER", "LPDEST"):
            self.env.pop(variable, None)

        self.process = e2e.spawn(["cupsd", "-f", "-c", self.path("cupsd.conf"), "-s", self.path("cups-files.conf")],
                                 env=self.env)
        e2e.wait_for("the private cupsd to run", self._running, timeout=20)

        self.lp(["lpadmin", "-p", QUEUE, "-v", "file://" + self.output, "-E", "-m", DRIVER])
        self.lp(["lpadmin", "-p", QUEUE, "-o", "PageSize=" + self.page_size])
        self.lp(["lpadmin", "-d", QUEUE])
        default = self.lp(["lpstat", "-d"]).stdout
        if QUEUE not in default:
            e2e.fail("the private server's default printer is not %s: %r" % (QUEUE, default))
        return self

    def __exit__(self, *exc):
        self.stop()
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)

    def stop(self):
        """Stops the server, as when the print service goes down."""
        self.resume()
        e2e.stop_process(self.process)

    def pause(self):
        """Freezes the server (SIGSTOP): it takes connections but answers nothing."""
        os.kill(self.process.pid, signal.SIGSTOP)

    def resume(self):
        if self.process.poll() is None:
            os.kill(self.process.pid, signal.SIGCONT)

    def jobs(self):
        """Every job the queue has ever taken, done or not, one line each."""
        listing = self.lp(["lpstat", "-W", "all", "-o", QUEUE]).stdout
        return [line for line in listing.split("\n") if line.strip()]

    def wait_idle(self, timeout=60):
        """Waits until the queue has no job left to print."""
        e2e.wait_for("the queue to have no job left (%s)" % self.lp(["lpstat", "-o", QUEUE]).stdout.strip(),
                     lambda: not self.lp(["lpstat", "-o", QUEUE]).stdout.strip(), timeout)

    def forget_output(self):
        """Removes the last printed file, so that the next one can be told apart."""
        if os.path.exists(self.output):
            os.remove(self.output)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def _write(self, name, lines):
        with open(self.path(name), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")

    def _running(self):
        if self.process.poll() is not None:
            e2e.fail("cupsd ended (exit %d): %s" % (self.process.returncode, self.log()))
        result = subprocess.run(["lpstat", "-r"], env=self.env, capture_output=True, text=True, timeout=10)
        return "scheduler is running" in result.stdout

    def lp(self, argv):
        return e2e.run(argv, env=self.env)

    def log(self):
        try:
            with open(self.path("log", "error_log"), encoding="utf-8", errors="replace") as f:
                return f.read()[-3000:]
        except OSError:
            return "(no cupsd log)"

    def ppd(self):
        with open(self.path("conf", "ppd", QUEUE + ".ppd"), encoding="latin-1") as f:
            return f.read()

    def imageable_area(self):
        """Left, bottom, right, top of the printable area of the default page
        size, in points from the bottom-left corner, as the queue's driver says."""
        ppd = self.ppd()
        default = re.search(r"^\*DefaultPageSize:\s*(\S+)", ppd, re.M)
        if not default or default.group(1) != self.page_size:
            e2e.fail("the queue's default page size is %s, not %s" %
                     (default and default.group(1), self.page_size))
        area = re.search(r'^\*ImageableArea %s(?:/[^:]*)?:\s*"([\d.\s]+)"' % re.escape(self.page_size), ppd, re.M)
        paper = re.search(r'^\*PaperDimension %s(?:/[^:]*)?:\s*"([\d.\s]+)"' % re.escape(self.page_size), ppd, re.M)
        if not area or not paper:
            e2e.fail("the queue's driver gives no printable area for %s" % self.page_size)
        return [float(v) for v in area.group(1).split()], [float(v) for v in paper.group(1).split()]

    def wait_printed(self, timeout=60):
        """Waits until the queue has no job left and its output file is a
        complete PDF, and returns the file's path."""

        def done():
            if self.process.poll() is not None:
                e2e.fail("cupsd ended while printing: %s" % self.log())
            pending = subprocess.run(["lpstat", "-o", QUEUE], env=self.env, capture_output=True, text=True,
                                     timeout=10).stdout.strip()
            if pending:
                return False
            try:
                with open(self.output, "rb") as f:
                    data = f.read()
            except OSError:
                return False
            # The driver wraps the PDF in printer job language; the PDF inside
            # is complete once its end-of-file marker is there.
            return b"%PDF-" in data and b"%%EOF" in data

        try:
            e2e.wait_for("the printed PDF in %s" % self.output, done, timeout)
        except e2e.E2EFailure as failure:
            e2e.fail("%s\ncupsd log:\n%s" % (failure, self.log()))
        return self.output
