#!/usr/bin/env python3
"""sox running a chain comparable to our full effect chain (nine equalizer bands,
chorus, compand, overdrive, echo, flanger, tremolo, reverb) over the input that
effects_bench wrote (raw float stereo 44.1 kHz). Prints {name: [wall ms, cpu ms]} per
second of audio, in the form bench/run.sh reads."""
import json
import os
import resource
import subprocess
import sys
import time

folder = sys.argv[1]
source = os.path.join(folder, "input.f32")
seconds = os.path.getsize(source) / (4 * 2 * 44100)

chain = []
for centre, gain in zip([80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000],
                        [2, 5, 1, -1, -1, 1, 2, 4, 4]):
    chain += ["equalizer", str(centre), "1.5o", str(gain)]
chain += ["chorus", "0.5", "0.9", "25", "0.4", "1.1", "2", "-s",
          "compand", "0.01,0.2", "6:-20,-20,0,-13.3", "0", "-90", "0.004",
          "overdrive", "15", "20",
          "echo", "0.8", "0.7", "500", "0.5",
          "flanger", "2", "2", "-50", "50", "0.25", "sine",
          "tremolo", "20", "100",
          "reverb", "50", "50", "100"]
command = ["sox", "-q", "-t", "f32", "-r", "44100", "-c", "2", source, "-t", "f32",
           os.devnull] + chain

before = resource.getrusage(resource.RUSAGE_CHILDREN)
start = time.perf_counter()
subprocess.run(command, check=True)
wall = (time.perf_counter() - start) * 1000 / seconds
after = resource.getrusage(resource.RUSAGE_CHILDREN)
cpu = ((after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)) * 1000 / seconds
print(json.dumps({"BM_FullChainPerSecond": [wall, cpu]}))
