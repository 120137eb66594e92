#!/usr/bin/env python3
"""Serves the browser zip's folder on 127.0.0.1 only, and prints the address to open.

tools/serve_web.py FOLDER [PORT]   (PORT 0, the default, takes any free port)

Any static web server will do for the folder; this one only makes sure of the MIME type
application/wasm for quenmarsh.wasm, without which browsers compile it more slowly (and of the
web app manifest's)."""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".data": "application/octet-stream",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, format, *args):
        pass  # quiet: the address is what the player needs


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A page that goes away mid-download (a reload, a closed tab) is no error of the server's.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 0
    handler = functools.partial(Handler, directory=sys.argv[1])
    with Server(("127.0.0.1", port), handler) as server:
        print(f"Quenmarsh: open http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops the server)",
              flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
