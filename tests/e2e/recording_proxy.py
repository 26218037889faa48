"""A recording HTTP proxy on loopback for end-to-end tests.

The browser engine is started with --proxy-server pointing here, so every request it
makes arrives as an absolute address ("GET http://host/path?query"). Each one is
recorded and answered with a small page, or with the test's own page for that address;
nothing is forwarded anywhere. Secure connections (CONNECT) are refused.
"""

import http.server
import threading
import time

PAGE = b"""<!DOCTYPE html><html><head><meta charset="utf-8"><title>proxied</title></head>
<body><p>recorded</p></body></html>"""


class RecordingProxy:
    def __init__(self, refuse=False, pages=None):
        """pages maps an address (or a prefix ending in "*") to (content type, body,
        extra headers)."""
        self.requests = []  # (monotonic time, method, absolute address)
        self.pages = pages or {}
        self._cond = threading.Condition()
        proxy = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def _record(self):
                with proxy._cond:
                    proxy.requests.append((time.monotonic(), self.command, self.path))
                    proxy._cond.notify_all()

            def do_GET(self):
                self._record()
                if refuse:
                    self.close_connection = True
                    return
                kind, body, headers = proxy.page_for(self.path)
                self.send_response(200 if body else 404)
                for name, value in dict(headers, **{"Content-Type": kind,
                                                    "Content-Length": str(len(body)),
                                                    "Cache-Control": "no-store"}).items():
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(body)

            do_POST = do_HEAD = do_GET

            def do_CONNECT(self):
                self._record()
                self.send_response(403)
                self.send_header("Content-Length", "0")
                self.end_headers()
                self.close_connection = True

        class Server(http.server.ThreadingHTTPServer):
            daemon_threads = True

            def handle_error(self, request, client_address):
                pass  # the engine drops idle connections; that is no test failure

        self.server = Server(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        self._thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()

    def page_for(self, address):
        for key, (kind, body, headers) in self.pages.items():
            if address == key or (key.endswith("*") and address.startswith(key[:-1])):
                return kind, body.encode() if isinstance(body, str) else body, headers
        if address.endswith("/favicon.ico"):
            return "text/html", b"", {}
        return "text/html; charset=utf-8", PAGE, {}

    def addresses(self, since=0):
        """Absolute addresses of the GET requests from index `since` on, favicons left out."""
        with self._cond:
            return [a for (_, m, a) in self.requests[since:]
                    if m == "GET" and not a.endswith("/favicon.ico")]

    def count(self):
        with self._cond:
            return len(self.requests)

    def wait_for(self, predicate, timeout=20.0, since=0):
        """Waits until predicate(addresses) is true; returns the addresses."""
        with self._cond:
            self._cond.wait_for(lambda: predicate(self.addresses(since)), timeout)
            return self.addresses(since)

    def time_of(self, address, since=0):
        with self._cond:
            return next((t for (t, _, a) in self.requests[since:] if a == address), None)
