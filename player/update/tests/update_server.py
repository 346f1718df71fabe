"""A loopback update server for the update tests.

Started as `update_server.py CONFIG.json`; binds 127.0.0.1 on a free port, prints
"PORT <n>" and serves until killed or until config["timeout"] seconds have passed.

Config keys: timeout; tls ({"cert": file, "key": file}: serve https); log (file that
receives one line per request: the path, a tab, the User-Agent); paths: {path: reply}.
A path without a reply gets 404. A reply has:
  body      the bytes, as text (UTF-8) or {"size": n} for n bytes of a counting pattern
  status    the status code (default 200)
  location  a Location header (for redirects)
  length    the Content-Length text to send in place of the body's length; null: none
  send      bytes of the body to send before the end (default all)
  then      "close" (default) or "stall": keep the connection open without sending
  pause     seconds to wait after the first `send` bytes before sending the rest
"""
import json
import socket
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CONFIG = json.load(open(sys.argv[1], encoding="utf-8"))
LOG_LOCK = threading.Lock()


def pattern(size):
    return bytes((i * 7 + i // 251) % 256 for i in range(size))


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        if CONFIG.get("log"):
            with LOG_LOCK, open(CONFIG["log"], "a", encoding="utf-8") as f:
                f.write(self.path + "\t" + self.headers.get("User-Agent", "") + "\n")
        reply = CONFIG.get("paths", {}).get(self.path)
        if reply is None:
            reply = {"status": 404, "body": "not found"}
        body = reply.get("body", "")
        body = pattern(body["size"]) if isinstance(body, dict) else body.encode("utf-8")
        self.send_response_only(reply.get("status", 200))
        if "location" in reply:
            self.send_header("Location", reply["location"])
        length = reply.get("length", str(len(body)))
        if length is not None:
            self.send_header("Content-Length", length)
        self.send_header("Connection", "close")
        self.end_headers()
        sent = reply.get("send", len(body))
        self.wfile.write(body[:sent])
        self.wfile.flush()
        if "pause" in reply:
            time.sleep(reply["pause"])
            self.wfile.write(body[sent:])
            self.wfile.flush()
        if reply.get("then") == "stall":
            time.sleep(CONFIG.get("timeout", 60))
        self.close_connection = True


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if CONFIG.get("tls"):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(CONFIG["tls"]["cert"], CONFIG["tls"]["key"])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT", server.server_address[1], flush=True)
    threading.Timer(CONFIG.get("timeout", 60), server.shutdown).start()
    server.serve_forever()


main()
