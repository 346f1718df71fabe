"""Loopback servers for the internet-stream tests.

Started as `stream_server.py '<json config>'`; binds 127.0.0.1 on a free port, prints
"PORT <n>" and serves until killed or until config["timeout"] seconds have passed.

Config keys: mode (icy, http10, file, redirect, status, silent, noaudio, garbage,
oversized, stall, trickle, ftp), body (file of audio bytes; default a counting pattern of
body_size bytes), loop (repeat the body forever), total (audio bytes to send before
closing), metaint, titles ([{"at": audio offset, "text": ..., "encoding": ...}]: the
title sent at the first metadata point at or after "at"), repeat_titles (send the
current title at every point, not only on changes), rate (audio bytes per second),
headers (extra header lines), header_encoding, status, log (file that receives the
request headers), dir (ftp root), every (trickle: seconds between single audio
bytes).
"""
import json
import os
import signal
import socket
import socketserver
import sys
import threading
import time


def pattern(size):
    return bytes((i * 7 + i // 251) % 256 for i in range(size))


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.cfg = self.server.cfg
        self.request.settimeout(30)

    def read_request(self):
        data = b""
        while b"\r\n\r\n" not in data and len(data) < 65536:
            chunk = self.request.recv(4096)
            if not chunk:
                break
            data += chunk
        head = data.split(b"\r\n\r\n")[0].decode("latin-1")
        if self.cfg.get("log"):
            with open(self.cfg["log"], "a", encoding="latin-1") as f:
                f.write(head + "\n\n")
        lines = head.split("\r\n")
        path = lines[0].split(" ")[1] if len(lines[0].split(" ")) > 1 else "/"
        headers = {}
        for line in lines[1:]:
            if ":" in line:
                k, v = line.split(":", 1)
                headers[k.strip().lower()] = v.strip()
        return path, headers

    def send_head(self, status_line, lines):
        enc = self.cfg.get("header_encoding", "utf-8")
        out = status_line.encode("latin-1") + b"\r\n"
        for line in lines + self.cfg.get("headers", []):
            out += line.encode(enc) + b"\r\n"
        self.request.sendall(out + b"\r\n")

    def body(self):
        if "body" in self.cfg:
            with open(self.cfg["body"], "rb") as f:
                return f.read()
        return pattern(self.cfg.get("body_size", 65536))

    def audio_chunks(self):
        """Yields the audio bytes to send, looped and cut as configured."""
        data = self.body()
        total = self.cfg.get("total")
        if total is None and not self.cfg.get("loop"):
            total = len(data)
        sent = 0
        pos = 0
        while total is None or sent < total:
            n = 4096 if total is None else min(4096, total - sent)
            chunk = data[pos:pos + n]
            if len(chunk) < n:
                chunk += data[:n - len(chunk)]
            pos = (pos + n) % len(data)
            sent += n
            yield chunk

    def title_block(self, audio_offset, last):
        text = None
        for t in self.cfg.get("titles", []):
            if t["at"] <= audio_offset:
                text = t["text"].encode(t.get("encoding", "utf-8"))
        if text is None or (text == last and not self.cfg.get("repeat_titles")):
            return b"\0", last
        text += b"\0" * (-len(text) % 16)
        return bytes([len(text) // 16]) + text, text.rstrip(b"\0")

    def stream(self, metaint):
        rate = self.cfg.get("rate", 0)
        start = time.monotonic()
        sent = 0
        since_meta = 0
        last = None
        for chunk in self.audio_chunks():
            out = []
            while chunk:
                if metaint:
                    take = min(len(chunk), metaint - since_meta)
                else:
                    take = len(chunk)
                out.append(chunk[:take])
                chunk = chunk[take:]
                sent += take
                since_meta += take
                if metaint and since_meta == metaint:
                    block, last = self.title_block(sent, last)
                    out.append(block)
                    since_meta = 0
            self.request.sendall(b"".join(out))
            if rate:
                ahead = sent / rate - (time.monotonic() - start)
                if ahead > 0:
                    time.sleep(ahead)

    def radio(self, status_line, extra):
        _, headers = self.read_request()
        metaint = self.cfg.get("metaint", 0) if headers.get("icy-metadata") == "1" else 0
        lines = ["Content-Type: audio/mpeg"] + extra
        if metaint:
            lines.append("icy-metaint:%d" % metaint)
        self.send_head(status_line, lines)
        self.stream(metaint)

    def file(self, headers):
        data = self.body()
        rng = headers.get("range", "")
        if rng.startswith("bytes=") and not self.cfg.get("ignore_range"):
            first = int(rng[6:].split("-")[0])
            part = data[first:]
            self.send_head("HTTP/1.1 206 Partial Content", [
                "Content-Type: audio/mpeg", "Content-Length: %d" % len(part),
                "Content-Range: bytes %d-%d/%d" % (first, len(data) - 1, len(data)),
                "Connection: close"])
        else:
            part = data
            self.send_head("HTTP/1.1 200 OK", [
                "Content-Type: audio/mpeg", "Content-Length: %d" % len(part),
                "Accept-Ranges: bytes", "Connection: close"])
        self.request.sendall(part)

    def handle(self):
        mode = self.cfg["mode"]
        try:
            if mode == "icy":
                self.radio("ICY 200 OK", ["icy-name:Loop Radio", "icy-genre:Test",
                                          "icy-url:http://radio.test/", "icy-pub:0"])
            elif mode == "http10":
                self.radio("HTTP/1.0 200 OK", ["icy-name:Loop Station",
                                               "icy-description:Loopback test stream",
                                               "icy-url:http://127.0.0.1/", "icy-pub:0"])
            elif mode == "file":
                self.file(self.read_request()[1])
            elif mode == "redirect":
                path, headers = self.read_request()
                if path == "/target":
                    self.file(headers)
                else:
                    hops = int(path[1:] or "0") if path[1:].isdigit() else 0
                    where = "/target" if hops <= 1 else "/%d" % (hops - 1)
                    self.send_head("HTTP/1.1 302 Found", [
                        "Location: " + where, "Content-Length: 0"])
            elif mode == "status":
                self.read_request()
                self.send_head("HTTP/1.1 %d Error" % self.cfg.get("status", 404), [
                    "Content-Type: text/html", "Content-Length: 9", "Connection: close"])
                self.request.sendall(b"not found")
            elif mode == "silent":
                self.read_request()
                time.sleep(self.cfg.get("timeout", 30))
            elif mode == "noaudio":
                self.read_request()
                self.send_head("HTTP/1.0 200 OK", ["Content-Type: audio/mpeg"])
                time.sleep(self.cfg.get("timeout", 30))
            elif mode == "stall":
                self.radio("HTTP/1.0 200 OK", ["icy-name:Stalling"])
                time.sleep(self.cfg.get("timeout", 30))
            elif mode == "trickle":
                self.read_request()
                self.send_head("HTTP/1.0 200 OK", ["Content-Type: audio/mpeg"])
                for byte in self.body():
                    self.request.sendall(bytes([byte]))
                    time.sleep(self.cfg.get("every", 4))
            elif mode == "garbage":
                self.read_request()
                self.send_head("HTTP/1.0 200 OK", ["Content-Type: audio/mpeg"])
                seed = 12345
                while True:
                    out = bytearray()
                    for _ in range(4096):
                        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
                        out.append(seed >> 16 & 0xFF)
                    self.request.sendall(bytes(out))
                    time.sleep(0.01)
            elif mode == "oversized":
                self.read_request()
                self.request.sendall(b"HTTP/1.0 200 OK\r\n")
                for i in range(100000):
                    self.request.sendall(b"X-Filler-%d: %s\r\n" % (i, b"x" * 200))
        except (BrokenPipeError, ConnectionResetError, socket.timeout, OSError):
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve_ftp(cfg):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer
    import logging
    logging.disable(logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(cfg["dir"])
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(timeout=0.5)


def main():
    cfg = json.loads(sys.argv[1])
    signal.signal(signal.SIGALRM, lambda *_: os._exit(0))
    signal.alarm(int(cfg.get("timeout", 30)) + 5)
    if cfg["mode"] == "ftp":
        serve_ftp(cfg)
        return
    server = Server(("127.0.0.1", 0), Handler)
    server.cfg = cfg
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
