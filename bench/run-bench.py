#!/usr/bin/python3
"""Runs Quillo's benchmarks and prints the table (Markdown).

    run-bench.py <bench build folder>

Every row runs Quillo and its bare baseline in the same run, alternating them
(in turn, the order reversed every other round, after one warm-up run of
each), and compares their medians. The programs run on Xvfb servers of their
own, each run on a session bus of its own, in a private home, settings and
runtime folder, without a print server.
The table also goes to <build>/performance.md.
"""
import datetime
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

RUNS = 11
# Start-up runs are short and vary the most with what else the machine does.
STARTUP_RUNS = 21
LOAD_BEFORE = "%.2f" % os.getloadavg()[0]
MIB = 1024.0


class Xvfb:
    """An X server on a free display, for as long as the block runs."""

    def __enter__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            # -noreset: a server that resets when its last client leaves
            # refuses the next program for a moment.
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.display = ":" + pipe.readline().strip()
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


class SessionBus:
    """A D-Bus session bus of its own (dbus-launch) for one program run, ended
    with the block. Without one, a program on an X display starts a bus for
    that display, which nothing ends."""

    def __init__(self, env):
        self.env = env

    def __enter__(self):
        out = subprocess.run(["dbus-launch", "--sh-syntax"], env=self.env, stdin=subprocess.DEVNULL,
                             capture_output=True, text=True, check=True).stdout
        found = dict(re.findall(r"^(DBUS_SESSION_BUS_\w+)='?([^';]*)'?;", out, re.M))
        self.address = found["DBUS_SESSION_BUS_ADDRESS"]
        self.pid = int(found["DBUS_SESSION_BUS_PID"])
        return self

    def __exit__(self, *exc):
        try:
            os.kill(self.pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        # The bus is not a child of this script: wait until it has gone.
        deadline = time.monotonic() + 10
        while os.path.exists("/proc/%d" % self.pid) and time.monotonic() < deadline:
            time.sleep(0.01)


class Bench:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.sandbox = tempfile.mkdtemp(prefix="quillo-bench.")
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "QTWEBENGINE_", "XDG_", "DBUS_"))}
        for name in ("home", "config", "cache", "data", "runtime", "tmp"):
            os.makedirs(os.path.join(self.sandbox, name), mode=0o700)
        env.update({
            "HOME": os.path.join(self.sandbox, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.sandbox, "config"),
            "XDG_CACHE_HOME": os.path.join(self.sandbox, "cache"),
            "XDG_DATA_HOME": os.path.join(self.sandbox, "data"),
            "XDG_RUNTIME_DIR": os.path.join(self.sandbox, "runtime"),
            "TMPDIR": os.path.join(self.sandbox, "tmp"),
            # Printing goes to PDF files only; nothing asks a real print server.
            "CUPS_SERVER": os.path.join(self.sandbox, "no-cups-server"),
            # As the tests run the web engine: no GPU (Xvfb has none), no network.
            "QTWEBENGINE_CHROMIUM_FLAGS": "--disable-gpu --disable-background-networking "
                                          "--disable-component-update --no-first-run",
        })
        if os.geteuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        self.env = env

    def close(self):
        shutil.rmtree(self.sandbox, ignore_errors=True)

    def run(self, program, mode, display, timeout=120):
        """Runs one bench program once, on a session bus of its own; returns its key=value report."""
        env = dict(self.env, DISPLAY=display)
        with SessionBus(env) as bus, tempfile.TemporaryFile(mode="w+") as out, \
                tempfile.TemporaryFile(mode="w+") as err:
            env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
            spawned = time.clock_gettime_ns(time.CLOCK_BOOTTIME)
            process = subprocess.Popen([os.path.join(self.build, program), mode], env=env, stdout=out,
                                       stderr=err, stdin=subprocess.DEVNULL, start_new_session=True)
            try:
                status = process.wait(timeout=timeout)
            finally:
                # The web engine's helper processes go with the program.
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            out.seek(0)
            err.seek(0)
            if status != 0:
                sys.exit("%s %s failed (%d):\n%s" % (program, mode, status, err.read()[-3000:]))
            report = {"spawn_ns": spawned}
            for line in out.read().splitlines():
                key, _, value = line.partition("=")
                try:
                    report[key] = float(value)
                except ValueError:
                    report[key] = value
            return report

    def alternate(self, programs, display, runs=RUNS):
        """Runs each of `programs` (functions of the display) `runs` times, in turn and in
        alternating order (ABC, CBA, ...) after one warm-up run each; returns a list of
        reports per program."""
        for program in programs:
            program(display)
        reports = [[] for _ in programs]
        for i in range(runs):
            order = range(len(programs)) if i % 2 == 0 else reversed(range(len(programs)))
            for k in order:
                reports[k].append(programs[k](display))
        return reports

    def at_once(self, runs):
        """Runs several (program, mode) pairs at the same time, each on an X server of its own."""
        reports = [None] * len(runs)
        servers = [Xvfb().__enter__() for _ in runs]
        try:
            def one(k):
                reports[k] = self.run(runs[k][0], runs[k][1], servers[k].display)

            threads = [threading.Thread(target=one, args=(k,)) for k in range(len(runs))]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        finally:
            for server in servers:
                server.__exit__()
        if None in reports:
            sys.exit("an idle run failed")
        return reports


def median(reports, key, scale=1.0):
    return statistics.median(r[key] * scale for r in reports)


def spread(reports, key, scale=1.0):
    values = [r[key] * scale for r in reports]
    return min(values), max(values)


class Table:
    def __init__(self):
        self.rows = []

    def add(self, measure, ours, theirs, unit, target=None, note="", ours_range=None, theirs_range=None,
            precision=1):
        fmt = "%%.%df" % precision

        def show(value, span):
            text = (fmt % value) + " " + unit
            if span:
                text += " (" + fmt % span[0] + "–" + fmt % span[1] + ")"
            return text

        ratio = ours / theirs if theirs else None
        result = ""
        if target is not None and ratio is not None:
            result = "met" if ratio <= target else "**missed**"
        self.rows.append((measure, show(ours, ours_range), show(theirs, theirs_range) if theirs is not None else "–",
                          "%.2f×" % ratio if ratio is not None else "–",
                          ("≤ %.1f×" % target) if target is not None else note, result))

    def add_absolute(self, measure, ours, theirs, target_text, met):
        self.rows.append((measure, ours, theirs, "–", target_text, "met" if met else "**missed**"))

    def markdown(self):
        lines = ["| Measure | Quillo | Baseline | Ratio | Target | Result |",
                 "|---|---|---|---|---|---|"]
        lines += ["| " + " | ".join(row) + " |" for row in self.rows]
        return "\n".join(lines)


def machine_facts():
    facts = {}
    try:
        for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
            key, _, value = line.partition(":")
            facts[key.strip()] = value.strip()
    except OSError:
        pass
    with open("/proc/meminfo") as meminfo:
        memory_kb = int(meminfo.readline().split()[1])
    system = platform.system()
    try:
        with open("/etc/os-release") as release:
            for line in release:
                if line.startswith("PRETTY_NAME="):
                    system = line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    where = "a %s virtual machine" % facts["Hypervisor vendor"] if "Hypervisor vendor" in facts else "bare metal"
    return "%s, %s CPUs (%s), %.0f GiB memory, %s, Linux %s" % (
        facts.get("Model name", platform.processor()), facts.get("CPU(s)", os.cpu_count()), where,
        memory_kb / 1024 / 1024, system, platform.release())


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    bench = Bench(sys.argv[1])
    table = Table()
    began = time.monotonic()

    def program(name, mode):
        return lambda display: bench.run(name, mode, display)

    try:
        # Idle: one run of 30 s each, all at once (they are idle), each on an X server of its own.
        print("Idle cost (30 s) ...", file=sys.stderr, flush=True)
        idle_active, idle_inactive, idle_bare = bench.at_once(
            [("quillo-bench", "idle"), ("quillo-bench", "idle-inactive"), ("bare-bench", "idle")])

        with Xvfb() as x:
            print("Start-up ...", file=sys.stderr, flush=True)
            start_q, start_b, start_t = bench.alternate(
                [program("quillo-bench", "startup"), program("bare-bench", "startup"),
                 program("bare-bench", "startup-text")], x.display, runs=STARTUP_RUNS)
            steps = [bench.run("quillo-bench", "steps", x.display) for _ in range(RUNS)]
            print("Quick Print ...", file=sys.stderr, flush=True)
            print_q, print_b, print_2 = bench.alternate(
                [program("quillo-bench", "print"), program("bare-bench", "print"),
                 program("bare-bench", "print-two-fonts")], x.display)
            print("Print preview ...", file=sys.stderr, flush=True)
            previews = [bench.run("quillo-bench", "preview", x.display) for _ in range(RUNS)]
            print("File commands ...", file=sys.stderr, flush=True)
            files = [bench.run("quillo-bench", "files", x.display) for _ in range(RUNS)]
            print("Checks after a keystroke ...", file=sys.stderr, flush=True)
            checks = [bench.run("quillo-bench", "checks", x.display) for _ in range(RUNS)]
            # The first run makes the register of 100,000 drafts; the others reuse it.
            print("Draft register with 100,000 drafts ...", file=sys.stderr, flush=True)
            registers = [bench.run("register-bench", "register", x.display, timeout=900) for _ in range(RUNS)]
            # One run: it copies that register to a server of its own first, then repeats inside.
            print("Office register on PostgreSQL ...", file=sys.stderr, flush=True)
            office = bench.run("register-bench", "office", x.display, timeout=900)
            print("Start-up with that register, and with the keyring locked ...", file=sys.stderr, flush=True)
            start_r, start_l, start_t2 = bench.alternate(
                [program("quillo-bench", "startup-register"), program("quillo-bench", "startup-locked"),
                 program("bare-bench", "startup-text")], x.display)
            print("First browser window ...", file=sys.stderr, flush=True)
            web_q, web_b = bench.alternate([program("quillo-bench", "browser"), program("bare-browser", "browser")],
                                           x.display)
    finally:
        bench.close()

    for r in start_q + start_b + start_t + start_r + start_l + start_t2 + web_b:
        r["startup_ms"] = (r["paint_ns"] - r["spawn_ns"]) / 1e6
        r["loading_ms"] = (r["main_ns"] - r["spawn_ns"]) / 1e6

    def row(measure, ours, theirs, key, target=None, unit="ms", scale=1.0, precision=1, note="", theirs_key=None):
        theirs_key = theirs_key or key
        table.add(measure, median(ours, key, scale), median(theirs, theirs_key, scale), unit, target, note=note,
                  ours_range=spread(ours, key, scale), theirs_range=spread(theirs, theirs_key, scale),
                  precision=precision)

    row("Start-up to first paint, against a bare window showing one line of text", start_q, start_t, "startup_ms",
        1.3, precision=0)
    row("… against a bare empty window", start_q, start_b, "startup_ms", precision=0, note="reference")
    row("… with a register of 100,000 drafts", start_r, start_t2, "startup_ms", 1.3, precision=0)
    row("… with that register and the keyring locked until 2 s after it is asked", start_l, start_t2, "startup_ms",
        1.3, precision=0)
    row("Peak memory after start-up", start_q, start_b, "peak_rss_kb", 1.5, unit="MiB", scale=1 / MIB)
    row("Quick Print, first in a run", print_q, print_b, "print_first_ms", 1.5)
    row("Quick Print, again (median of 15)", print_q, print_b, "print_repeated_ms", 1.5, precision=2)
    row("… against sixteen lines in two fonts", print_q, print_2, "print_repeated_ms", precision=2, note="reference")
    row("File, Print Preview to its first paint, first in a run", previews, print_q, "preview_first_ms",
        theirs_key="print_first_ms", note="against Quick Print")
    row("File, Print Preview to its first paint, again (median of 15)", previews, print_q, "preview_repeated_ms",
        theirs_key="print_repeated_ms", precision=2, note="against Quick Print")
    row("First browser window to load finished", web_q, web_b, "browser_ms", 1.2, precision=0)
    row("… of which until the window is up", web_q, web_b, "browser_window_ms", precision=0, note="reported")
    row("Peak memory with a browser window: program", web_q, web_b, "peak_rss_kb", unit="MiB", scale=1 / MIB,
        note="reported")
    row("… and the web engine's helper processes", web_q, web_b, "children_rss_kb", unit="MiB", scale=1 / MIB,
        note="reported")

    def idle_text(report):
        return "%.3f %% (%.1f ms CPU, %d switches)" % (report["idle_cpu_percent"], report["idle_cpu_ms"],
                                                      report["idle_context_switches"])

    table.add_absolute("Idle 30 s, window active (caret blinking)", idle_text(idle_active), idle_text(idle_bare),
                       "< 0.1 % of a core", idle_active["idle_cpu_percent"] < 0.1)
    table.add_absolute("Idle 30 s, window inactive", idle_text(idle_inactive), idle_text(idle_bare),
                       "< 0.1 % of a core", idle_inactive["idle_cpu_percent"] < 0.1)
    row("File, Save (per operation)", files, files, "save_ms", theirs_key="bare_save_ms", precision=3,
        note="reported")
    row("File, Open (per operation)", files, files, "open_ms", theirs_key="bare_open_ms", precision=3,
        note="reported")

    slowest_cpu = max(r["checks_cpu_slowest_ms"] for r in checks)
    table.add_absolute("All checks after one keystroke: CPU time of the slowest of %d" % (400 * len(checks)),
                       "%.3f ms" % slowest_cpu, "–", "< 16 ms, one frame", slowest_cpu < 16)

    def register_row(measure, key, limit):
        value = median(registers, key)
        low, high = spread(registers, key)
        table.add_absolute(measure, "%.2f ms (%.2f–%.2f)" % (value, low, high), "–", "≤ %g ms" % limit,
                           value <= limit)

    def opening_row(measure, runs, key, limit=None):
        value = median(runs, key)
        low, high = spread(runs, key)
        text = "%.1f ms (%.1f–%.1f)" % (value, low, high)
        if limit is None:
            table.rows.append((measure, text, "–", "–", "reported", ""))
        else:
            table.add_absolute(measure, text, "–", "≤ %g ms" % limit, value <= limit)

    opening_row("Start-up with a register of 100,000 drafts: the register open, after the first paint", start_r,
                "register_open_ms")
    opening_row("… the longest a key press waited meanwhile", start_r, "longest_stall_ms", 50)
    opening_row("… with the keyring locked for 2 s: the register open, after the first paint", start_l,
                "register_open_ms")
    opening_row("… the longest a key press waited meanwhile", start_l, "longest_stall_ms", 50)
    register_row("Register of 100,000 drafts: View, Register to the first rows painted", "window_ms", 300)
    register_row("… the same when the command opens the register first (its key from the keyring, page check)",
                 "window_first_ms", 300)
    register_row("… one search keystroke to the table repainted", "search_ms", 50)
    register_row("… the same typed while the list is still fetched and opened (the slice under way included)",
                 "search_loading_ms", 50)
    register_row("… recording one print: its draft, then its outcome, each flushed to disk", "record_ms", 20)
    register_row("… the duplicate question's look-up (and the same-amount one)", "lookup_ms", 5)
    table.add_absolute("Office register of 100,000 drafts on PostgreSQL: View, Register to the first rows painted",
                       "%.2f ms" % office["office_window_ms"], "–", "≤ 300 ms", office["office_window_ms"] <= 300)
    table.add_absolute("… four seats printing at once, 250 Quick Prints each, half of them on one account all four "
                       "share: one print's checked record and its outcome, p50 and p99",
                       "%.2f ms, %.2f ms" % (office["office_record_p50_ms"], office["office_record_p99_ms"]), "–",
                       "≤ 20 ms each", max(office["office_record_p50_ms"], office["office_record_p99_ms"]) <= 20)

    step_names = [key for key in steps[0] if key.startswith("step_")]
    breakdown = ", ".join("%s %.1f ms" % (key[5:].replace("_", " "), median(steps, key)) for key in step_names)

    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    text = "\n".join([
        "Measured %s on %s; load average %s before the run, %.2f after (other work on the machine "
        "slows the runs it overlaps)." % (now, machine_facts(), LOAD_BEFORE, os.getloadavg()[0]),
        "Medians of %d runs each (start-up: %d; min–max in brackets); baselines are bare Qt programs." % (
            RUNS, STARTUP_RUNS),
        "",
        table.markdown(),
        "",
        "- Start-up, loading the program before main(): Quillo %.1f ms, bare window %.1f ms." % (
            median(start_q, "loading_ms"), median(start_b, "loading_ms")),
        "- Start-up step by step (medians): %s." % breakdown,
        "- The bare browser program links the web engine: loading it before main() takes %.1f ms and its "
        "window's first paint comes %.0f ms after its start (the bare window: %.1f ms and %.0f ms). Quillo "
        "loads the engine with its first browser window instead." % (
            median(web_b, "loading_ms"), median(web_b, "startup_ms"), median(start_b, "loading_ms"),
            median(start_b, "startup_ms")),
        "- All checks after one keystroke, from the key press to the marks shown: median %.3f ms, slowest "
        "%.3f ms (the slowest includes waiting for a core that other work held)." % (
            median(checks, "checks_ms"), max(r["checks_slowest_ms"] for r in checks)),
        "- Register: made once, %.0f s for 100,000 drafts (%.0f MiB); the rest of the list fetched and "
        "its payors opened in the background in %.0f ms after the first rows; slowest search keystroke "
        "%.1f ms (typed during loading: %.1f ms), slowest recording %.1f ms, slowest look-up %.2f ms; the first keystroke at once after the "
        "first paint %.1f ms." % (
            registers[0].get("generate_ms", 0) / 1000, registers[-1]["register_bytes"] / MIB / MIB,
            median(registers, "background_ms"), max(r["search_slowest_ms"] for r in registers),
            max(r["search_loading_slowest_ms"] for r in registers),
            max(r["record_slowest_ms"] for r in registers), max(r["lookup_slowest_ms"] for r in registers),
            median(registers, "search_first_ms")),
        "- Office register on PostgreSQL: %d drafts copied from the register file in %.0f s; View, Register "
        "when the command opens the register first %.1f ms; slowest of the %d prints %.1f ms; p99 of the "
        "prints on the shared account %.1f ms, on the seats' own %.1f ms." % (
            office["office_drafts"], office["office_copy_ms"] / 1000, office["office_window_first_ms"],
            office["office_prints"], office["office_record_slowest_ms"], office["office_record_shared_p99_ms"],
            office["office_record_own_p99_ms"]),
        "- Idle, what woke Quillo with its window active: %s." % (idle_active.get("idle_events") or "nothing"),
        "- Idle, what woke Quillo with its window inactive: %s." % (idle_inactive.get("idle_events") or "nothing"),
        "- Idle, what woke the bare window: %s." % (idle_bare.get("idle_events") or "nothing"),
        "- PDF sizes: Quillo's cheque %d bytes, the baseline's sixteen lines %d bytes." % (
            print_q[-1]["pdf_bytes"], print_b[-1]["pdf_bytes"]),
        "- Home page title: Quillo \"%s\", baseline \"%s\"." % (web_q[-1]["browser_title"],
                                                            web_b[-1]["browser_title"]),
        "- Whole run: %.0f s." % (time.monotonic() - began),
    ])
    print(text)
    with open(os.path.join(bench.build, "performance.md"), "w") as out:
        out.write(text + "\n")


if __name__ == "__main__":
    main()
