#!/usr/bin/python3
"""Stand-in for the vendor's download server, with faults injected on demand.

Files under --root are served at /download/<name>. Tests choose, per file
name, how a download misbehaves through the /_control/ API; see README.md.
Standard library only.
"""

import argparse
import fcntl
import http.server
import json
import os
import select
import signal
import socket
import socketserver
import ssl
import struct
import sys
import termios
import threading
import time
import urllib.parse

# Kinds that make sense even when the requested file does not exist.
NO_FILE_KINDS = {"status", "redirect301", "redirect302", "redirect-loop", "stall-headers"}
FAULT_KINDS = NO_FILE_KINDS | {
    "chunked", "close", "empty", "empty-close", "truncate", "oversize",
    "stall", "reset", "slow", "huge-length",
}
MOVED_PREFIX = "_moved/"
COPY_CHUNK = 256 * 1024
SENDFILE_CHUNK = 8 * 1024 * 1024


class ClientGone(Exception):
    """The client closed its end while we were waiting on it."""


class Fault:
    def __init__(self, name, kind, times=0, arg=None, after=None):
        self.name, self.kind, self.times, self.arg, self.after = name, kind, times, arg, after

    def as_dict(self):
        return {"name": self.name, "kind": self.kind, "times": self.times,
                "arg": self.arg, "after": self.after}


class State:
    """Faults, their use counters and the request log, shared by all threads."""

    def __init__(self, log_path):
        self.lock = threading.Lock()
        self.log_file = open(log_path, "a", encoding="utf-8") if log_path else None
        self.reset()

    def reset(self):
        with self.lock:
            self.faults = {}
            self.uses = {}  # (fault name, requested name) -> requests that matched
            self.entries = []
            self.seq = 0
            # Requests still running across a reset must not land in the new log.
            self.generation = getattr(self, "generation", 0) + 1

    def set_fault(self, fault):
        with self.lock:
            self.faults[fault.name] = fault
            self.uses = {k: v for k, v in self.uses.items() if k[0] != fault.name}

    def clear_fault(self, name):
        with self.lock:
            self.uses = {k: v for k, v in self.uses.items() if k[0] != name}
            return self.faults.pop(name, None) is not None

    def begin_request(self):
        with self.lock:
            self.seq += 1
            return self.seq, self.generation

    def take_fault(self, name, have_file):
        """The fault to apply to this request of `name`, or None to serve normally."""
        with self.lock:
            fault = self.faults.get(name)
            # "*" never applies to redirect targets, or "*"=redirect would chain forever.
            if fault is None and not name.startswith(MOVED_PREFIX):
                fault = self.faults.get("*")
            if fault is None or (not have_file and fault.kind not in NO_FILE_KINDS):
                return None
            key = (fault.name, name)
            used = self.uses.get(key, 0)
            if fault.times and used >= fault.times:
                return None
            self.uses[key] = used + 1
            return fault

    def record(self, entry, generation):
        line = json.dumps(entry, separators=(",", ":"))
        with self.lock:
            if generation == self.generation:
                self.entries.append(entry)
            if self.log_file:
                self.log_file.write(line + "\n")
                self.log_file.flush()

    def log_snapshot(self):
        with self.lock:
            return sorted(self.entries, key=lambda e: e["seq"])

    def faults_snapshot(self):
        with self.lock:
            return [f.as_dict() for f in self.faults.values()]

    def close(self):
        with self.lock:
            if self.log_file:
                self.log_file.close()
                self.log_file = None


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VendorServer/1.0"
    disable_nagle_algorithm = True  # slow/stall send small pieces that must go out at once

    def log_message(self, format, *args):
        pass  # the JSON request log covers what the tests need

    def do_GET(self):
        self.route()

    def do_HEAD(self):
        self.route()

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        if length > 0:
            self.rfile.read(length)
        self.route()

    def route(self):
        self.entry = None  # the log entry of the current /download/ request
        url = urllib.parse.urlsplit(self.path)
        if url.path.startswith("/download/") and self.command in ("GET", "HEAD"):
            self.download(urllib.parse.unquote(url.path[len("/download/"):]))
        elif url.path.startswith("/_control/") and self.command in ("GET", "POST"):
            self.control(url.path[len("/_control/"):], urllib.parse.parse_qs(url.query))
        else:
            self.send_html(404, "Not Found")

    # ---- plain responses ----------------------------------------------------

    def send_html(self, code, message, extra_headers=()):
        body = ("<html><head><title>%d %s</title></head><body><h1>%d %s</h1></body></html>\n"
                % (code, message, code, message)).encode()
        self.start(code, len(body), content_type="text/html", extra_headers=extra_headers)
        self.write(body)

    def send_text(self, code, text):
        body = text.encode("utf-8")
        self.send_response(code)
        self.send_header("Content-Type", "text/tab-separated-values; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_json(self, code, value):
        body = (json.dumps(value) + "\n").encode()
        self.start(code, len(body), content_type="application/json")
        self.write(body)

    def start(self, code, length, close=False, content_type="application/octet-stream",
              extra_headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra_headers:
            self.send_header(name, value)
        if close:
            self.send_header("Connection", "close")
        self.end_headers()
        if getattr(self, "entry", None) is not None:
            self.entry["status"] = code

    # ---- control API --------------------------------------------------------

    def control(self, action, query):
        state = self.server.state
        if action == "ping":
            self.send_json(200, {"ok": True})
        elif action == "reset":
            state.reset()
            self.send_json(200, {"ok": True})
        elif action == "fault":
            try:
                fault = parse_fault(query)
            except ValueError as e:
                self.send_json(400, {"ok": False, "error": str(e)})
                return
            state.set_fault(fault)
            self.send_json(200, {"ok": True, "fault": fault.as_dict()})
        elif action == "clear":
            name = query.get("name", [None])[0]
            if not name:
                self.send_json(400, {"ok": False, "error": "missing name"})
                return
            self.send_json(200, {"ok": True, "removed": state.clear_fault(name)})
        elif action == "log":
            self.send_json(200, state.log_snapshot())
        elif action == "log.tsv":
            self.send_text(200, log_as_tsv(state.log_snapshot()))
        elif action == "faults":
            self.send_json(200, state.faults_snapshot())
        else:
            self.send_json(404, {"ok": False, "error": "unknown control action"})

    # ---- downloads ----------------------------------------------------------

    def download(self, name):
        state = self.server.state
        seq, generation = state.begin_request()
        self.entry = {
            "seq": seq, "time": time.time(), "method": self.command, "path": self.path,
            "name": name, "headers": request_headers(self.headers), "fault": None,
            "status": None, "bytes_sent": 0, "completed": False,
        }
        self.file = None
        try:
            path = resolve(self.server.root, name)
            fault = state.take_fault(name, path is not None)
            if path is not None:
                self.file = open(path, "rb")
                self.size = os.fstat(self.file.fileno()).st_size
            if fault is None:
                self.serve_normally()
            else:
                self.entry["fault"] = fault.kind
                getattr(self, "fault_" + fault.kind.replace("-", "_"))(fault, name)
            self.entry["completed"] = True
        except (ClientGone, OSError):  # ssl.SSLError is an OSError too
            self.close_connection = True
        finally:
            if self.file:
                self.file.close()
            state.record(self.entry, generation)

    def serve_normally(self):
        if self.file is None:
            self.send_html(404, "Not Found")
            return
        self.start(200, self.size)
        self.send_body(0, self.size)

    def write(self, data, body_bytes=None):
        """Send raw bytes; `body_bytes` is how many of them count as body (default all)."""
        if self.command == "HEAD":
            return
        self.connection.sendall(data)
        if self.entry is not None:
            self.entry["bytes_sent"] += len(data) if body_bytes is None else body_bytes

    def send_body(self, offset, count):
        """Send `count` bytes of the file starting at `offset`."""
        if self.command == "HEAD" or count <= 0:
            return
        sock, fd = self.connection, self.file.fileno()
        end = offset + count
        if isinstance(sock, ssl.SSLSocket):
            while offset < end:
                data = os.pread(fd, min(COPY_CHUNK, end - offset), offset)
                if not data:
                    raise OSError("file shrank while serving")
                sock.sendall(data)
                offset += len(data)
                self.entry["bytes_sent"] += len(data)
            return
        while offset < end:
            sent = os.sendfile(sock.fileno(), fd, offset, min(SENDFILE_CHUNK, end - offset))
            if sent == 0:
                raise OSError("file shrank while serving")
            offset += sent
            self.entry["bytes_sent"] += sent

    def wait_for_client(self, seconds):
        """Keep the connection idle for `seconds`; raise ClientGone if the client leaves."""
        sock = self.connection
        deadline = time.monotonic() + seconds
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return
            pending = isinstance(sock, ssl.SSLSocket) and sock.pending()
            if pending or select.select([sock], [], [], min(left, 1.0))[0]:
                try:
                    data = sock.recv(4096)  # anything the client sends now is dropped
                except OSError:
                    raise ClientGone()
                if not data:
                    raise ClientGone()

    def abort_connection(self):
        """Close with a TCP reset instead of FIN."""
        sock = self.connection
        # Let what was sent reach the client first: a reset discards unsent data.
        deadline = time.monotonic() + 5
        while unsent_bytes(sock) > 0 and time.monotonic() < deadline:
            time.sleep(0.01)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.rfile.close()  # the makefile() reference would keep the socket open
        sock.close()
        self.close_connection = True

    def half(self, value):
        return self.size // 2 if value is None else max(0, min(value, self.size))

    # ---- faults, one method per kind -----------------------------------------

    def fault_chunked(self, fault, name):
        self.start(200, None, extra_headers=[("Transfer-Encoding", "chunked")])
        offset, step = 0, 0
        while offset < self.size and self.command != "HEAD":
            size = min(1000 * (step % 7 + 1), self.size - offset)
            data = os.pread(self.file.fileno(), size, offset)
            if not data:
                raise OSError("file shrank while serving")
            self.write(b"%x\r\n%s\r\n" % (len(data), data), len(data))
            offset += len(data)
            step += 1
        self.write(b"0\r\n\r\n", 0)

    def fault_close(self, fault, name):
        self.start(200, None, close=True)
        self.send_body(0, self.size)

    def fault_empty(self, fault, name):
        self.start(200, 0)

    def fault_empty_close(self, fault, name):
        self.start(200, None, close=True)

    def fault_status(self, fault, name):
        code = fault.arg or 500
        self.send_html(code, http_reason(code))

    def fault_truncate(self, fault, name):
        self.start(200, self.size)
        self.send_body(0, self.half(fault.arg))
        self.close_connection = True

    def fault_oversize(self, fault, name):
        extra = 1000 if fault.arg is None else fault.arg
        self.start(200, self.size)
        self.send_body(0, self.size)
        while extra > 0 and self.command != "HEAD":
            piece = min(extra, COPY_CHUNK)
            self.write(b"J" * piece)
            extra -= piece
        self.close_connection = True

    def fault_stall(self, fault, name):
        after = self.half(fault.after)
        self.start(200, self.size)
        self.send_body(0, after)
        if self.command != "HEAD":
            self.wait_for_client(3600 if fault.arg is None else fault.arg)
        self.send_body(after, self.size - after)

    def fault_stall_headers(self, fault, name):
        self.wait_for_client(3600 if fault.arg is None else fault.arg)
        self.serve_normally()

    def fault_reset(self, fault, name):
        self.start(200, self.size)
        self.send_body(0, self.half(fault.after))
        self.abort_connection()

    def fault_slow(self, fault, name):
        rate = fault.arg or 20000
        piece = max(1, rate // 10)
        self.start(200, self.size)
        began, offset = time.monotonic(), 0
        while offset < self.size and self.command != "HEAD":
            count = min(piece, self.size - offset)
            self.send_body(offset, count)
            offset += count
            delay = began + offset / rate - time.monotonic()
            if delay > 0 and offset < self.size:
                time.sleep(delay)

    def fault_redirect301(self, fault, name):
        self.redirect(301, "/download/" + MOVED_PREFIX + urllib.parse.quote(name))

    def fault_redirect302(self, fault, name):
        self.redirect(302, "/download/" + MOVED_PREFIX + urllib.parse.quote(name))

    def fault_redirect_loop(self, fault, name):
        self.redirect(302, self.path)

    def redirect(self, code, location):
        self.send_html(code, http_reason(code), extra_headers=[("Location", location)])

    def fault_huge_length(self, fault, name):
        self.start(200, 3000000000 if fault.arg is None else fault.arg)
        self.send_body(0, min(1000, self.size))
        self.close_connection = True


TSV_COLUMNS = ("seq", "method", "name", "status", "fault", "completed", "bytes_sent")
TSV_HEADERS = ("user-agent", "pragma", "cache-control")


def log_as_tsv(entries):
    """The log for clients without a JSON parser: one tab-separated line per
    request, "-" for a missing value."""
    def cell(value):
        if value is None or value == "":
            return "-"
        if isinstance(value, bool):
            return "1" if value else "0"
        return str(value).replace("\t", " ").replace("\n", " ")

    lines = []
    for entry in entries:
        headers = entry.get("headers", {})
        row = [cell(entry.get(column)) for column in TSV_COLUMNS]
        row += [cell(headers.get(header)) for header in TSV_HEADERS]
        lines.append("\t".join(row))
    return "".join(line + "\n" for line in lines)


def parse_fault(query):
    def one(key):
        values = query.get(key)
        return values[0] if values else None

    def number(key):
        text = one(key)
        if text is None or text == "":
            return None
        try:
            value = int(text)
        except ValueError:
            raise ValueError("%s must be an integer" % key)
        if value < 0:
            raise ValueError("%s must not be negative" % key)
        return value

    name, kind = one("name"), one("kind")
    if not name:
        raise ValueError("missing name")
    if kind not in FAULT_KINDS:
        raise ValueError("unknown kind %r; known: %s" % (kind, ", ".join(sorted(FAULT_KINDS))))
    fault = Fault(name, kind, number("times") or 0, number("arg"), number("after"))
    if kind == "status" and fault.arg is not None and not 200 <= fault.arg <= 599:
        raise ValueError("status arg must be 200..599")
    return fault


def resolve(root, name):
    """Path of the file served for `name`, or None if it is unsafe or missing."""
    if name.startswith(MOVED_PREFIX):
        name = name[len(MOVED_PREFIX):]
    parts = name.split("/")
    if (not name or "\\" in name or "\0" in name or ":" in name
            or any(p in ("", ".", "..") for p in parts)):
        return None
    path = os.path.join(root, *parts)
    return path if os.path.isfile(path) else None


def request_headers(message):
    headers = {}
    for key, value in message.items():
        key = key.lower()
        headers[key] = headers[key] + ", " + value if key in headers else value
    return headers


def http_reason(code):
    return http.server.BaseHTTPRequestHandler.responses.get(code, ("Error",))[0]


def unsent_bytes(sock):
    try:
        buf = fcntl.ioctl(sock.fileno(), termios.TIOCOUTQ, b"\0\0\0\0")
        return struct.unpack("i", buf)[0]
    except OSError:
        return 0


class VendorServer(http.server.ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 128

    def __init__(self, address, root, state, tls_context):
        self.root, self.state, self.tls_context = root, state, tls_context
        super().__init__(address, Handler)

    def server_bind(self):
        # HTTPServer.server_bind does a reverse DNS lookup we have no use for.
        socketserver.TCPServer.server_bind(self)
        self.server_name, self.server_port = self.server_address[:2]

    def finish_request(self, request, client_address):
        if self.tls_context is None:
            return super().finish_request(request, client_address)
        # Handshake here, in the connection's own thread, so that a client that
        # never speaks TLS cannot hold up accept().
        request.settimeout(30)
        try:
            tls = self.tls_context.wrap_socket(request, server_side=True)
        except (OSError, ValueError):
            return
        tls.settimeout(None)
        try:
            self.RequestHandlerClass(tls, client_address, self)
        finally:
            self.shutdown_request(tls)

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError, ssl.SSLError)):
            return
        super().handle_error(request, client_address)


def write_ready_file(path, port):
    tmp = "%s.tmp.%d" % (path, os.getpid())
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.replace(tmp, path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Fault-injecting stand-in for the vendor download server.")
    parser.add_argument("--root", required=True, help="folder of the files served under /download/")
    parser.add_argument("--port", type=int, required=True, help="0 picks a free port")
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--log", help="append one JSON line per /download/ request")
    parser.add_argument("--ready-file", help="written with the port once listening")
    parser.add_argument("--tls-cert")
    parser.add_argument("--tls-key")
    args = parser.parse_args(argv)

    if not os.path.isdir(args.root):
        parser.error("--root %s is not a folder" % args.root)
    tls_context = None
    if args.tls_cert or args.tls_key:
        if not (args.tls_cert and args.tls_key):
            parser.error("--tls-cert and --tls-key go together")
        tls_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls_context.load_cert_chain(args.tls_cert, args.tls_key)

    state = State(args.log)
    server = VendorServer((args.bind, args.port), os.path.abspath(args.root), state, tls_context)
    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    threading.Thread(target=server.serve_forever, daemon=True).start()
    if args.ready_file:
        write_ready_file(args.ready_file, server.server_port)

    while not stop.wait(0.5):
        pass
    server.shutdown()
    server.server_close()
    state.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
