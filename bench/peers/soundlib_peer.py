#!/usr/bin/env python3
"""The ffmpeg tool decoding the files soundlib_bench made (`ffmpeg -i FILE -f null -`),
best of three. Prints {name: [wall ms, cpu ms]} per decode, in the form bench/run.sh
reads, under the names of soundlib_bench's decoding benchmarks."""
import glob
import json
import os
import resource
import subprocess
import sys
import time

results = {}
for path in sorted(glob.glob(os.path.join(sys.argv[1], "decode.*"))):
    best = None
    for _ in range(3):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-i", path, "-f", "null", "-"],
                       check=True)
        wall = (time.perf_counter() - start) * 1000
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = ((after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)) * 1000
        if best is None or cpu < best[1]:
            best = [wall, cpu]
    results["BM_DecodeThroughMixer/" + path.rsplit(".", 1)[1]] = best
print(json.dumps(results))
