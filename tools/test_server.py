#!/usr/bin/env python3
"""Local HTTP(S) server for the tests and the demo: canned answers, files, redirect chains, slow,
stalling and cut bodies, and a record of every request it saw.

    python3 tools/test_server.py [--routes FILE] [--root DIR] [--https] [--tls-dir DIR] [--log FILE]
                                 [--port N] [--exit-with-parent]

Binds 127.0.0.1 on free ports and prints them as the first line of stdout, as JSON:
    {"http": 40123, "https": 40124}        ("https" is null without --https/--tls-dir)

Routes (a JSON object from --routes, or POSTed to /_control/routes, which merges) map an exact
path (no query) to an answer:
    status        HTTP status (200)
    headers       extra response headers {"Name": "value"}
    content_type  the Content-Type header (text/plain; charset=utf-8, or application/octet-stream
                  for "file" and "generate")
    body          text body (UTF-8)        | body_b64  bytes as Base64
    json          any JSON value, sent compact as application/json
    file          a file's content (streamed) | generate  N bytes of a fixed pattern (byte i = i % 251)
    redirect      Location to redirect to (status 302 unless given)
    gzip          true: send the body gzip-compressed with Content-Encoding: gzip
    delay_ms      wait before the response starts
    chunk, chunk_delay_ms   send the body in pieces of `chunk` bytes with a pause after each
    stall_after   send this many body bytes, then nothing more (Content-Length is the whole body)
                  until the client gives up
    cut_after     send this many body bytes, then close the connection
    sequence      a list of answers: the n-th request gets the n-th, the last one repeats
Built in: /_redirect/N/<path> answers with N redirects in a row before reaching /<path> (the query
is kept). Paths without a route are looked up under --root; otherwise 404 with an HTML page.

Control (never recorded): GET /_control/requests (JSON array of requests, oldest first),
POST /_control/clear (forget them), POST /_control/routes (merge routes).
Each record: seq, connection (one id per TCP connection), method, path, query, headers
([[name, value], ...] in arrival order), body (text, null when not UTF-8), body_b64.
--log FILE also appends every record as one JSON line.
"""
import argparse
import base64
import ctypes
import gzip
import json
import os
import select
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

NOT_FOUND_PAGE = (b"<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>"
                  b"<body><h1>Not Found</h1><p>The requested URL was not found on this server.</p>"
                  b"</body></html>\n")
PATTERN = bytes(i % 251 for i in range(251 * 256))


class State:
    def __init__(self, root, log_path):
        self.lock = threading.Lock()
        self.routes = {}
        self.hits = {}
        self.requests = []
        self.seq = 0
        self.connections = 0
        self.root = root
        self.log_path = log_path
        self.stopping = threading.Event()

    def next_connection(self):
        with self.lock:
            self.connections += 1
            return self.connections

    def merge_routes(self, routes):
        if not isinstance(routes, dict):
            raise ValueError("routes must be a JSON object")
        with self.lock:
            for path, route in routes.items():
                self.routes[path] = route
                self.hits.pop(path, None)

    def route_for(self, path):
        with self.lock:
            route = self.routes.get(path)
            if route is None:
                return None
            sequence = route.get("sequence")
            if sequence:
                n = self.hits.get(path, 0)
                self.hits[path] = n + 1
                return sequence[min(n, len(sequence) - 1)]
            return route

    def record(self, entry):
        with self.lock:
            self.seq += 1
            entry["seq"] = self.seq
            self.requests.append(entry)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as f:
                    f.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def recorded(self):
        with self.lock:
            return list(self.requests)

    def clear(self):
        with self.lock:
            self.requests.clear()


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # Clients that hang up mid-answer are part of the tests; nobody reads stderr after start.
        pass


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "webinst-test-server"
    state = None  # set by main

    def setup(self):
        super().setup()
        self.connection_id = self.state.next_connection()

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        self.answer()

    do_POST = do_PUT = do_DELETE = do_PATCH = do_OPTIONS = do_GET

    def do_HEAD(self):
        self.answer(head=True)

    # -- request side --
    def read_body(self):
        if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
            data = b""
            while True:
                size = int(self.rfile.readline().split(b";")[0].strip() or b"0", 16)
                if size == 0:
                    while self.rfile.readline() not in (b"\r\n", b"\n", b""):
                        pass
                    return data
                data += self.rfile.read(size)
                self.rfile.readline()
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def answer(self, head=False):
        url = urllib.parse.urlsplit(self.path)
        path, query = url.path, url.query
        body = self.read_body()
        if path.startswith("/_control/"):
            return self.control(path, body)
        try:
            text = body.decode("utf-8")
        except UnicodeDecodeError:
            text = None
        self.state.record({
            "connection": self.connection_id, "method": self.command, "path": path, "query": query,
            "headers": [[k, v] for k, v in self.headers.items()], "body": text,
            "body_b64": base64.b64encode(body).decode("ascii"), "time": time.time(),
        })
        route = self.state.route_for(path)
        if route is None and path.startswith("/_redirect/"):
            route = self.redirect_chain(path, query)
        if route is None:
            route = self.static_file(path)
        self.respond(route, head)

    def redirect_chain(self, path, query):
        parts = path.split("/", 3)  # "", "_redirect", N, rest
        try:
            n = int(parts[2])
        except (IndexError, ValueError):
            return None
        rest = parts[3] if len(parts) > 3 else ""
        target = f"/_redirect/{n - 1}/{rest}" if n > 1 else f"/{rest}"
        return {"redirect": target + (f"?{query}" if query else "")}

    def static_file(self, path):
        if self.state.root:
            rel = os.path.normpath(urllib.parse.unquote(path)).lstrip("/")
            full = os.path.join(self.state.root, rel)
            if not rel.startswith("..") and os.path.isfile(full):
                return {"file": full}
        return {"status": 404, "body_bytes": NOT_FOUND_PAGE, "content_type": "text/html; charset=utf-8"}

    # -- response side --
    def respond(self, route, head):
        status = int(route.get("status", 302 if "redirect" in route else 200))
        content_type = route.get("content_type")
        body, source = None, None
        if "body_bytes" in route:
            body = route["body_bytes"]
        elif "body" in route:
            body = route["body"].encode("utf-8")
        elif "body_b64" in route:
            body = base64.b64decode(route["body_b64"])
        elif "json" in route:
            body = json.dumps(route["json"], ensure_ascii=False, separators=(",", ":")).encode("utf-8")
            content_type = content_type or "application/json"
        elif "file" in route:
            source = open(route["file"], "rb")  # streamed: packages can be large
            content_type = content_type or "application/octet-stream"
        elif "generate" in route:
            content_type = content_type or "application/octet-stream"
        else:
            body = b""
        # The body as its length and a reader of the piece at (offset, n); pieces go out in order.
        if source is not None:
            length, piece = os.fstat(source.fileno()).st_size, lambda offset, n: source.read(n)
        elif body is None:
            length, piece = int(route["generate"]), self.pattern_bytes
        if route.get("gzip"):
            body = gzip.compress(piece(0, length) if body is None else body)
        if body is not None:
            length, piece = len(body), lambda offset, n: body[offset:offset + n]
        try:
            self.send_answer(route, head, status, content_type, length, piece, None if body is not None else source)
        finally:
            if source is not None:
                source.close()

    def send_answer(self, route, head, status, content_type, length, piece, source=None):
        if route.get("delay_ms"):
            time.sleep(route["delay_ms"] / 1000.0)
        self.send_response(status)
        self.send_header("Content-Type", content_type or "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(length))
        if route.get("gzip"):
            self.send_header("Content-Encoding", "gzip")
        if "redirect" in route:
            self.send_header("Location", route["redirect"])
        for name, value in (route.get("headers") or {}).items():
            self.send_header(name, value)
        self.end_headers()
        if head:
            return
        limit = length
        if "stall_after" in route:
            limit = min(length, int(route["stall_after"]))
        if "cut_after" in route:
            limit = min(length, int(route["cut_after"]))
        try:
            plain = not any(k in route for k in ("chunk", "chunk_delay_ms", "stall_after", "cut_after"))
            if source is not None and plain and not self.is_tls():
                # A whole file as fast as the kernel moves it, so download benchmarks measure the
                # client and not this server.
                self.wfile.flush()
                self.connection.sendfile(source, 0, length)
            else:
                self.send_body(piece, limit, int(route.get("chunk") or 0), route.get("chunk_delay_ms") or 0)
            if "stall_after" in route:
                self.stall()
            if "stall_after" in route or "cut_after" in route:
                self.close_connection = True
                self.connection.shutdown(socket.SHUT_RDWR)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            self.close_connection = True

    def is_tls(self):
        return isinstance(self.connection, ssl.SSLSocket)

    @staticmethod
    def pattern_bytes(offset, n):
        out = bytearray()
        while len(out) < n:
            start = (offset + len(out)) % len(PATTERN)
            out += PATTERN[start:start + (n - len(out))]
        return bytes(out)

    def send_body(self, piece, limit, chunk, delay_ms):
        step = chunk if chunk > 0 else 64 * 1024
        sent = 0
        while sent < limit:
            n = min(step, limit - sent)
            self.wfile.write(piece(sent, n))
            self.wfile.flush()
            sent += n
            if chunk > 0 and delay_ms and sent < limit:
                time.sleep(delay_ms / 1000.0)

    def stall(self):
        """Sends nothing more until the client closes the connection (or the server stops)."""
        self.wfile.flush()
        sock = self.connection
        while not self.state.stopping.is_set():
            readable, _, _ = select.select([sock], [], [], 0.2)
            if readable:
                try:
                    # Read (and drop) what arrives: peeking would find the same bytes readable
                    # again at once and spin. The connection is closed after the stall anyway.
                    data = sock.recv(4096)
                except (ssl.SSLWantReadError, BlockingIOError):
                    continue
                except OSError:
                    return
                if not data:
                    return

    def control(self, path, body):
        try:
            if path == "/_control/requests":
                payload = self.state.recorded()
            elif path == "/_control/clear":
                self.state.clear()
                payload = {"ok": True}
            elif path == "/_control/routes":
                self.state.merge_routes(json.loads(body.decode("utf-8") or "{}"))
                payload = {"ok": True}
            else:
                raise ValueError(f"unknown control path {path}")
            data, status = json.dumps(payload, ensure_ascii=False).encode("utf-8"), 200
        except (ValueError, json.JSONDecodeError) as e:
            data, status = json.dumps({"error": str(e)}).encode("utf-8"), 400
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    if not (os.path.exists(cert) and os.path.exists(key)):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                        "-out", cert, "-days", "2", "-subj", "/CN=localhost",
                        "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def end_with_parent():
    """A test that dies without stopping its server takes the server with it."""
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
        if os.getppid() == 1:
            sys.exit(0)
    except (OSError, AttributeError):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--routes", help="JSON file of routes")
    parser.add_argument("--root", help="folder served for paths without a route")
    parser.add_argument("--https", action="store_true", help="also serve HTTPS with a self-signed certificate")
    parser.add_argument("--tls-dir", help="folder for the certificate (made when missing); implies --https")
    parser.add_argument("--log", help="append every request as a JSON line to this file")
    parser.add_argument("--port", type=int, default=0, help="HTTP port (0: a free one)")
    parser.add_argument("--exit-with-parent", action="store_true", help="stop when the starting process ends")
    args = parser.parse_args()
    if args.exit_with_parent:
        end_with_parent()

    state = State(args.root, args.log)
    if args.routes:
        with open(args.routes, encoding="utf-8") as f:
            state.merge_routes(json.load(f))
    Handler.state = state

    servers = []
    http = Server(("127.0.0.1", args.port), Handler)
    servers.append(http)
    https_port = None
    temp_dir = None
    if args.https or args.tls_dir:
        folder = args.tls_dir or tempfile.mkdtemp(prefix="webinst-tls-")
        temp_dir = None if args.tls_dir else folder
        cert, key = make_certificate(folder)
        tls = Server(("127.0.0.1", 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        tls.socket = context.wrap_socket(tls.socket, server_side=True)
        servers.append(tls)
        https_port = tls.server_address[1]

    for s in servers:
        threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True).start()

    signal.signal(signal.SIGTERM, lambda *_: state.stopping.set())
    signal.signal(signal.SIGINT, lambda *_: state.stopping.set())
    print(json.dumps({"http": http.server_address[1], "https": https_port}), flush=True)
    while not state.stopping.wait(1.0):
        pass
    for s in servers:
        s.shutdown()
    if temp_dir:
        shutil.rmtree(temp_dir, ignore_errors=True)


if __name__ == "__main__":
    main()
