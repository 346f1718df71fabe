#!/usr/bin/env python3
"""Peer timing for playlist_bench: the same 10,000-entry files loaded with Python's
configparser (PLS) and a plain line reader (M3U), each entry resolved and checked for
existence the same way, and saved back with a flushed temporary file and a rename.
Prints one JSON object: operation name -> [median wall ms, median CPU ms]."""
import configparser
import json
import os
import sys

from peer_timing import median_ms


def resolve(line, folder):
    line = line.strip()
    if line.lower().startswith(("http://", "ftp://")) or not line:
        return line
    if os.path.isabs(line):
        return line if os.path.exists(line) else os.path.normpath(line)
    return os.path.normpath(os.path.join(folder, line))


def load_pls(path):
    ini = configparser.RawConfigParser(strict=False, interpolation=None)
    ini.read(path, encoding="utf-8")
    folder = os.path.dirname(path)
    n = ini.getint("playlist", "numberofentries", fallback=0)
    return [(resolve(ini.get("playlist", f"file{k}", fallback=""), folder),
             ini.get("playlist", f"title{k}", fallback=""),
             ini.get("playlist", f"length{k}", fallback="0")) for k in range(1, n + 1)]


def load_m3u(path):
    folder = os.path.dirname(path)
    entries, info = [], None
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            t = line.strip()
            if not t:
                continue
            if t.upper().startswith("#EXTINF:"):
                length, _, title = t[8:].partition(",")
                info = (title, length)
            elif not t.startswith("#"):
                title, length = info or (os.path.splitext(os.path.basename(t))[0], "0")
                entries.append((resolve(t, folder), title, length))
                info = None
    return entries


def replace(path, text):
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def save_pls(entries, path):
    ini = configparser.RawConfigParser(interpolation=None)
    ini.optionxform = str
    if os.path.exists(path):
        ini.read(path, encoding="utf-8")
    if not ini.has_section("playlist"):
        ini.add_section("playlist")
    for k, (file, title, length) in enumerate(entries, 1):
        ini.set("playlist", f"File{k}", file)
        ini.set("playlist", f"Title{k}", title)
        ini.set("playlist", f"Length{k}", length)
    ini.set("playlist", "NumberOfEntries", str(len(entries)))
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        ini.write(f, space_around_delimiters=False)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def save_m3u(entries, path):
    lines = ["#EXTM3U"]
    for file, title, length in entries:
        lines += [f"#EXTINF:{length},{title}", file]
    replace(path, "\r\n".join(lines) + "\r\n")


def main():
    folder = sys.argv[1]
    pls, m3u = os.path.join(folder, "list.pls"), os.path.join(folder, "list.m3u")
    entries = load_pls(pls)
    assert len(entries) == 10000 and len(load_m3u(m3u)) == 10000
    print(json.dumps({
        "BM_LoadPls": median_ms(lambda: load_pls(pls)),
        "BM_LoadM3u": median_ms(lambda: load_m3u(m3u)),
        "BM_SavePls": median_ms(lambda: save_pls(entries, os.path.join(folder, "peer.pls"))),
        "BM_SaveM3u": median_ms(lambda: save_m3u(entries, os.path.join(folder, "peer.m3u"))),
    }))


if __name__ == "__main__":
    main()
