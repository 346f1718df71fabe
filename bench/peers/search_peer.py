#!/usr/bin/python3
"""Peer timing for search_bench: the same search of 10,000 tagged MP3 files done with
python3-mutagen, which reads every file's lyrics (USLT) again on each search, and plain
Python for the titles and paths. Run with the Debian interpreter, which has mutagen.
Prints one JSON object: benchmark name -> [median wall ms, median CPU ms]."""
import glob
import json
import os
import sys

try:
    import mutagen.id3
except ImportError:  # bench/run.sh may start another interpreter than Debian's
    os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)

from peer_timing import median_ms

WORD = "love".casefold()


def lyrics(name):
    try:
        frames = mutagen.id3.ID3(name).getall("USLT")
    except mutagen.MutagenError:
        return ""
    return frames[0].text if frames else ""


def main():
    files = sorted(glob.glob(os.path.join(sys.argv[1], "music", "*.mp3")))
    assert len(files) == 10000, len(files)
    titles = [f"Song number {i}" for i in range(len(files))]

    def by_lyrics():
        return [t for t, f in zip(titles, files) if WORD in lyrics(f).casefold()]

    def by_title():
        return [t for t in titles if WORD in t.casefold()]

    def by_path():
        return [f for f in files if WORD in f.casefold()]

    search = median_ms(by_lyrics, repeats=3)
    print(json.dumps({"FirstLyricsSearch": search, "Keystroke/Lyrics": search,
                      "Keystroke/Title": median_ms(by_title),
                      "Keystroke/FileName": median_ms(by_path)}))


if __name__ == "__main__":
    main()
