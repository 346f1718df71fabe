#!/usr/bin/python3
"""Peer timing for songmeta_bench: the same 3,000 MP3 files read with python3-mutagen's
ID3 (which also merges the ID3v1 block). Run with the Debian interpreter, which has
mutagen. Prints one JSON object: benchmark name -> [median wall ms, median CPU ms]."""
import glob
import json
import os
import sys

try:
    import mutagen.id3
except ImportError:  # bench/run.sh may start another interpreter than Debian's
    os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)

from peer_timing import median_ms


def main():
    files = sorted(glob.glob(os.path.join(sys.argv[1], "*.mp3")))
    assert len(files) == 3000, len(files)

    def read_all():
        for name in files:
            mutagen.id3.ID3(name)

    print(json.dumps({"BM_GetSongInformation": median_ms(read_all, repeats=5)}))


if __name__ == "__main__":
    main()
