#!/usr/bin/python3
"""Reads the tags of a few thousand generated MP3 files with libSongmeta.so
(GetSongInformation, called through ctypes, so the call overhead counts against it) and
with python3-mutagen (ID3, which also merges an ID3v1 block), in the same run, and prints
the time per file of each and their ratio.

    /usr/bin/python3 bench/songmeta_vs_mutagen.py [--lib build/bin/libSongmeta.so]
                                                  [--files 3000] [--rounds 3]
"""
import argparse
import ctypes
import os
import random
import struct
import sys
import tempfile
import time

import mutagen.id3

FIELDS = ("TagPresent TagVersion TagSize Title Artist Album Track Year Genre Comment "
          "Composer Encoder Copyright Language Link Lyrics").split()


class SongInformation(ctypes.Structure):
    _fields_ = [(name, ctypes.c_char_p) for name in FIELDS]


def syncsafe(n):
    return bytes(((n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F))


def text_frame(frame_id, text):
    try:
        data = b"\x00" + text.encode("latin-1")
    except UnicodeEncodeError:
        data = b"\x01" + text.encode("utf-16")  # with a byte-order mark
    return frame_id.encode() + struct.pack(">I", len(data)) + b"\x00\x00" + data


def comment_frame(text):
    data = b"\x00eng\x00" + text.encode("latin-1")
    return b"COMM" + struct.pack(">I", len(data)) + b"\x00\x00" + data


def song_bytes(rng, i):
    title = rng.choice(["Song", "Песня", "Chanson d'été", "Lied"]) + " %d" % i
    frames = b"".join([
        text_frame("TIT2", title),
        text_frame("TPE1", rng.choice(["Artist", "Исполнитель", "Björk"]) + " %d" % (i % 97)),
        text_frame("TALB", "Album %d" % (i % 31)),
        text_frame("TRCK", "%d/12" % (i % 12 + 1)),
        text_frame("TYER", str(1960 + i % 60)),
        text_frame("TCON", rng.choice(["Rock", "Pop", "(17)Rock", "Jazz"])),
        text_frame("TENC", "encoder 1.0"),
        comment_frame("generated file %d" % i),
    ])
    padding = b"\x00" * rng.choice([0, 256, 1024])
    tag = b"ID3\x03\x00\x00" + syncsafe(len(frames) + len(padding)) + frames + padding
    audio = bytes(rng.getrandbits(8) for _ in range(64)) * 64  # 4 KiB stand-in
    v1 = bytearray(128)
    v1[0:3] = b"TAG"
    v1[3:3 + len(title.encode("latin-1", "replace")[:30])] = title.encode("latin-1", "replace")[:30]
    v1[127] = 17
    return tag + audio + bytes(v1)


def best_of(rounds, read_all):
    best = None
    for _ in range(rounds):
        start = time.perf_counter()
        read_all()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lib", default=os.path.join(os.path.dirname(__file__), "..", "build",
                                                      "bin", "libSongmeta.so"))
    parser.add_argument("--files", type=int, default=3000)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()

    lib = ctypes.CDLL(os.path.abspath(args.lib))
    lib.GetSongInformation.argtypes = [ctypes.POINTER(SongInformation), ctypes.c_char_p]
    lib.GetSongInformation.restype = None

    rng = random.Random(4)
    with tempfile.TemporaryDirectory() as folder:
        names = []
        for i in range(args.files):
            name = os.path.join(folder, "song%05d.mp3" % i)
            with open(name, "wb") as f:
                f.write(song_bytes(rng, i))
            names.append(name)
        encoded = [n.encode() for n in names]

        # Both readers must see the same titles, or the comparison is meaningless.
        info = SongInformation()
        lib.GetSongInformation(ctypes.byref(info), encoded[1])
        peer = mutagen.id3.ID3(names[1])
        assert info.Title.decode() == str(peer["TIT2"]), (info.Title, peer["TIT2"])

        def read_songmeta():
            for name in encoded:
                lib.GetSongInformation(ctypes.byref(SongInformation()), name)

        def read_mutagen():
            for name in names:
                mutagen.id3.ID3(name)

        ours = best_of(args.rounds, read_songmeta)
        theirs = best_of(args.rounds, read_mutagen)
    per_file = lambda t: t / args.files * 1e6
    print("files: %d, best of %d rounds" % (args.files, args.rounds))
    print("libSongmeta GetSongInformation: %8.1f us per file" % per_file(ours))
    print("python3-mutagen ID3:            %8.1f us per file" % per_file(theirs))
    print("ratio (mutagen / libSongmeta):  %8.1f x" % (theirs / ours))
    return 0


if __name__ == "__main__":
    sys.exit(main())
