#!/usr/bin/env python3
"""Peer timing for library_bench: Debian's audacious, headless in a private session bus
and home, adds the same folder of tagged MP3 files (driven with audtool). The time runs
from the add command until the playlist lists every file and the last one has its length
(the peer reads tags and lengths in the background). CPU time is the peer's own.
Prints one JSON object: benchmark name -> [wall ms, CPU ms]; {} without audacious."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time


def audtool(*args):
    return subprocess.run(["audtool", *args], capture_output=True, text=True).stdout.strip()


def cpu_ms(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


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
        cpu = cpu_ms(pid)
        start = time.monotonic()
        audtool("playlist-addurl", music)
        while int(audtool("playlist-length") or 0) < count:
            time.sleep(0.02)
        while int(audtool("playlist-song-length-frames", str(count)) or 0) <= 0:
            time.sleep(0.02)
        wall = (time.monotonic() - start) * 1000.0
        return {"AddSources/iterations:1/process_time/real_time": [wall, cpu_ms(pid) - cpu]}
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
