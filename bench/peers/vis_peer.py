#!/usr/bin/env python3
"""ffmpeg's own displays of the audio that vis_bench wrote (raw float stereo 44.1 kHz),
drawn at the same size (537 x 290): showfreqs for the spectrum, showwaves for the
waveform, avectorscope in polar form for the circles. Prints {name: [wall ms, cpu ms]}
per frame drawn, in the form bench/run.sh reads. ffmpeg's time includes reading the
audio and its transform; ours is the drawing alone, from the FFT the sound library gives."""
import json
import os
import re
import resource
import subprocess
import sys
import time

folder = sys.argv[1]
source = os.path.join(folder, "input.f32")
peers = {
    "BM_SpectrumBarsFrame": "showfreqs=s=537x290:mode=bar:win_size=1024:overlap=0",
    "BM_SpectrumLinesFrame": "showfreqs=s=537x290:mode=line:win_size=1024:overlap=0",
    "BM_OcilloScopeFrame/0": "showwaves=s=537x290:mode=p2p:rate=20",
    "BM_OcilloScopeFrame/1": "showwaves=s=537x290:mode=line:rate=20",
    "BM_OcilloScopeFrame/3": "showwaves=s=537x290:mode=cline:rate=20",
    "BM_CircleScopeFrame/0": "avectorscope=s=537x290:mode=polar:draw=line:rate=20",
}
results = {}
for name, graph in peers.items():
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-progress", "pipe:1",
               "-f", "f32le", "-ar", "44100", "-ac", "2", "-i", source,
               "-filter_complex", f"[0:a]{graph}[v]", "-map", "[v]", "-f", "null", "-"]
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    wall = (time.perf_counter() - start) * 1000
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = ((after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)) * 1000
    frames = int(re.findall(r"^frame=(\d+)", out, re.M)[-1])
    results[name] = [wall / frames, cpu / frames]
print(json.dumps(results))
