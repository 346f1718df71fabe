#!/usr/bin/env python3
"""Peer timing for library_bench: Debian's audacious, headless in a private session bus
and home, adds the same folder of tagged MP3 files (driven with audtool). The time runs
from the add command until the peer has read the tags and length of every file, and the
CPU time is the peer's own over that span.

The peer lists the files first and reads them afterwards on background threads. Asking
for an entry's length makes the peer read that entry at once, ahead of the others, so a
length that has arrived says nothing about the rest: the end is taken as the moment the
peer's CPU time last moved before it stayed still for IDLE seconds (an idle peer uses
none), by which time it must have made at least one read per file.
Prints one JSON object: benchmark name -> [wall ms, CPU ms]; {} without audacious."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

IDLE = 1.0


def audtool(*args):
    return subprocess.run(["audtool", *args], capture_output=True, text=True).stdout.strip()


def cpu_ms(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


def reads(pid):
    with open(f"/proc/{pid}/io") as f:
        return int(next(line for line in f if line.startswith("syscr:")).split()[1])


def measure(music):
    count = len([n for n in os.listdir(music) if n.endswith(".mp3")])
    home = tempfile.mkdtemp()
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=f"{home}/config",
               XDG_DATA_HOME=f"{home}/data", XDG_CACHE_HOME=f"{home}/cache")
    os.environ.update(env)
    peer = subprocess.Popen(["timeout", "600", "audacious", "-H"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if audtool("version"):
                break
            time.sleep(0.1)
        pid = int(subprocess.run(["pgrep", "-P", str(peer.pid), "audacious"],
                                 capture_output=True, text=True).stdout.split()[0])
        cpu, read = cpu_ms(pid), reads(pid)
        start = time.monotonic()
        audtool("playlist-addurl", music)
        while int(audtool("playlist-length") or 0) < count:
            time.sleep(0.02)
        used, moved = cpu_ms(pid), time.monotonic()
        while time.monotonic() - moved < IDLE:
            time.sleep(0.02)
            now = cpu_ms(pid)
            if now != used:
                used, moved = now, time.monotonic()
        if reads(pid) - read < count:
            sys.exit("library_peer: the peer went idle before reading every file")
        wall = (moved - start) * 1000.0
        return {"AddSources/iterations:1/process_time/real_time": [wall, used - cpu]}
    finally:
        audtool("shutdown")
        peer.wait(timeout=30)
        shutil.rmtree(home, ignore_errors=True)


def main():
    if not shutil.which("audacious") or not shutil.which("audtool"):
        print("{}")
        return
    if len(sys.argv) < 3:  # run again inside a session bus of our own
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, __file__,
                                       sys.argv[1], "in-session"])
    print(json.dumps(measure(os.path.join(sys.argv[1], "music"))))


if __name__ == "__main__":
    main()
