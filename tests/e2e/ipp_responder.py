"""A scripted print service on loopback, in front of the private cupsd, for
the answers a real cupsd will not give on demand: trickled, cut, redirected,
asking for a password, early, for a document not kept, for another request, or
of a job that aborted.

The program under test is pointed at it with CUPS_SERVER=<address>. Each
request is read whole (HTTP, then the IPP message, then any document) and
answered as the script says for its operation; an operation without a
script goes on to the private cupsd unchanged, over its unix socket. Every
request is logged with its operation and job number.

IPP over HTTP: a POST whose body is version, operation or status, request id,
attribute groups (tag; value tag, name length, name, value length, value),
end tag 0x03, then the document.
"""

import getpass
import socket
import socketserver
import struct
import threading
import time

OPERATIONS = {0x0005: "Create-Job", 0x0006: "Send-Document", 0x0008: "Cancel-Job",
              0x0009: "Get-Job-Attributes", 0x000B: "Get-Printer-Attributes", 0x4001: "CUPS-Get-Default"}
OPERATION_TAG, JOB_TAG, END_TAG = 0x01, 0x02, 0x03
INTEGER, ENUM, CHARSET, LANGUAGE, TEXT = 0x21, 0x23, 0x47, 0x48, 0x41
JOB_PENDING, JOB_COMPLETED, JOB_ABORTED = 3, 9, 8
# Job attributes with integer values; the others are enums.
INTEGERS = ("job-id", "job-k-octets", "number-of-documents")
NOT_POSSIBLE = 0x0404


def attribute(tag, name, value):
    return struct.pack(">BH", tag, len(name)) + name.encode() + struct.pack(">H", len(value)) + value


def ipp_message(status, request_id, message=None, job=None):
    """An IPP answer: `job` is {name: number} of integer (INTEGERS) and enum
    attributes."""
    body = struct.pack(">BBHI", 2, 0, status, request_id) + bytes([OPERATION_TAG])
    body += attribute(CHARSET, "attributes-charset", b"utf-8")
    body += attribute(LANGUAGE, "attributes-natural-language", b"en")
    if message:
        body += attribute(TEXT, "status-message", message.encode())
    if job:
        body += bytes([JOB_TAG]) + b"".join(
            attribute(INTEGER if name in INTEGERS else ENUM, name, struct.pack(">i", value))
            for name, value in job.items())
    return body + bytes([END_TAG])


def http_message(status_line, body=b"", headers=()):
    head = ["HTTP/1.1 " + status_line, "Content-Length: %d" % len(body), "Connection: close"] + list(headers)
    return ("\r\n".join(head) + "\r\n\r\n").encode() + body


def read_ipp(read):
    """Reads one IPP message's header and attributes through read(n); returns
    (operation or status, request id, {integer attribute: value}, bytes)."""
    raw = read(8)
    _version, code, request_id = struct.unpack(">HHI", raw)
    integers = {}
    while True:
        tag = read(1)
        raw += tag
        if tag[0] == END_TAG:
            return code, request_id, integers, raw
        if tag[0] < 0x10:
            continue
        head = read(2)
        name = read(struct.unpack(">H", head)[0])
        size = read(2)
        value = read(struct.unpack(">H", size)[0])
        raw += head + name + size + value
        if tag[0] in (INTEGER, ENUM) and name:
            integers[name.decode()] = struct.unpack(">i", value)[0]


class Request:
    """One request as the responder read it, and the connection to answer on."""

    def __init__(self, handler):
        self.handler = handler
        self.connection = handler.request
        lines = []
        while True:
            line = handler.rfile.readline()
            if not line:
                raise EOFError
            if line in (b"\r\n", b"\n"):
                break
            lines.append(line.decode("latin-1").rstrip("\r\n"))
        self.request_line = lines[0]
        self.headers = dict(line.split(":", 1) for line in lines[1:])
        self.headers = {name.strip().lower(): value.strip() for name, value in self.headers.items()}
        self.length = int(self.headers.get("content-length", "0"))
        self.code, self.request_id, self.integers, self.ipp = read_ipp(self.read)
        self.operation = OPERATIONS.get(self.code, "0x%04x" % self.code)
        self.document = b""

    def read(self, n):
        data = self.handler.rfile.read(n)
        if len(data) != n:
            raise EOFError
        return data

    def read_document(self):
        if self.headers.get("expect", "").lower() == "100-continue":
            self.send(b"HTTP/1.1 100 Continue\r\n\r\n")
        self.document = self.read(self.length - len(self.ipp))

    def send(self, data):
        self.connection.sendall(data)

    def answer(self, status=0, message=None, job=None, request_id=None):
        body = ipp_message(status, self.request_id if request_id is None else request_id, message, job)
        return http_message("200 OK", body, ["Content-Type: application/ipp"])


# --- what a script can do with a request -------------------------------------


def answer(status=0, message=None, job=None, request_id_offset=0):
    """An IPP answer of the responder's own, to a request whose id is
    `request_id_offset` past the one asked."""
    return lambda request, service: request.send(
        request.answer(status, message, job, request.request_id + request_id_offset))


def trickle(status=0, job=None, interval=0.1):
    """An IPP answer of the responder's own, one byte at a time."""

    def act(request, service):
        for byte in request.answer(status, job=job):
            request.send(bytes([byte]))
            time.sleep(interval)
    return act


def http(status_line, *headers):
    """An HTTP answer with no IPP message: a redirection, a password asked."""
    return lambda request, service: request.send(http_message(status_line, headers=headers))


def cut(after=0.0):
    """No answer: the connection is closed, `after` seconds on."""

    def act(request, service):
        service.holding.set()
        time.sleep(after)
        request.connection.shutdown(socket.SHUT_RDWR)
    return act


def hold(release):
    """No answer until `release` (a threading.Event) is set; then the
    connection is closed."""

    def act(request, service):
        service.holding.set()
        release.wait()
        request.connection.shutdown(socket.SHUT_RDWR)
    return act


def job_state(job, state):
    """The state `state` for the job `job`; no answer for any other job (the
    connection closed), so that nothing else is settled."""

    def act(request, service):
        if request.integers.get("job-id") == job:
            request.send(request.answer(job={"job-id": job, "job-state": state}))
        else:
            request.connection.shutdown(socket.SHUT_RDWR)
    return act


def early(request, service):
    """A success before the document: no "100 Continue", and the document
    never read."""
    request.send(request.answer())


def unkept(request, service):
    """A success for a document the service does not keep: "100 Continue",
    then the answer before the document's last byte is read, so that the
    program under test has written all of it and reads a plain success."""
    request.send(b"HTTP/1.1 100 Continue\r\n\r\n")
    request.read(request.length - len(request.ipp) - 1)
    request.send(request.answer())
    request.read(1)


unkept.reads_itself = True
early.reads_itself = True


def forward(before=None):
    """The private cupsd's answer, after before() (which may freeze it)."""

    def act(request, service):
        if before:
            before()
        request.send(service.ask_cupsd(request))
    return act


class IppResponder(socketserver.ThreadingMixIn, socketserver.TCPServer):
    """The scripted service. `script` maps an operation's name to what is
    done with it; `log` holds (operation, job-id) of every request read."""

    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, cups):
        super().__init__(("127.0.0.1", 0), _Handler)
        self.cups = cups
        self.script = {}
        self.log = []
        self.holding = threading.Event()
        self.address = "127.0.0.1:%d" % self.server_address[1]

    def __enter__(self):
        threading.Thread(target=self.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.shutdown()
        self.server_close()

    def run(self, script):
        """Answers as `script` says from now on."""
        self.script = dict(script)
        self.holding.clear()

    def ask_cupsd(self, request):
        # Over its unix socket, cupsd knows the user from the socket itself.
        head = [request.request_line, "Host: localhost", "Content-Length: %d" % request.length,
                "Connection: close", "Authorization: PeerCred " + getpass.getuser()]
        head += ["%s: %s" % (name, value) for name, value in request.headers.items()
                 if name not in ("host", "content-length", "connection", "expect", "authorization")]
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as upstream:
            upstream.connect(self.cups.socket)
            upstream.sendall(("\r\n".join(head) + "\r\n\r\n").encode() + request.ipp + request.document)
            reply = upstream.makefile("rb")
            status_line = reply.readline().decode("latin-1").strip().split(" ", 1)[1]
            headers = {}
            for line in iter(reply.readline, b"\r\n"):
                name, value = line.decode("latin-1").split(":", 1)
                headers[name.strip().lower()] = value.strip()
            if headers.get("transfer-encoding", "").lower() == "chunked":
                body = b""
                for size in iter(lambda: int(reply.readline().strip(), 16), 0):
                    body += reply.read(size)
                    reply.readline()
            else:
                body = reply.read(int(headers.get("content-length", "0")))
        kept = ["Content-Type: " + headers["content-type"]] if "content-type" in headers else []
        return http_message(status_line, body, kept)


class _Handler(socketserver.StreamRequestHandler):
    def handle(self):
        service = self.server
        try:
            request = Request(self)
        except (EOFError, ValueError, struct.error):
            return
        service.log.append((request.operation, request.integers.get("job-id")))
        act = service.script.get(request.operation, forward())
        try:
            if not getattr(act, "reads_itself", False):
                request.read_document()
            act(request, service)
        except OSError:
            pass  # the program under test gave up the request
