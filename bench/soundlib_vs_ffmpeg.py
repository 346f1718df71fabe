#!/usr/bin/python3
"""Decoding through Zorvan's sound library against the ffmpeg tool on the same files, in
the same run: for each format, the best of a few rounds of `soundlib_bench decode FILE`
(the mixer, unpaced) and of `ffmpeg -i FILE -f null -`, and their ratio. Then the time to
measure the length of a 5-minute MP3 with a LAME header, and the library's CPU load while
an MP3 plays in real time (SDL's dummy output unless SDL_AUDIODRIVER says otherwise).

    /usr/bin/python3 bench/soundlib_vs_ffmpeg.py [--bench build/bin/soundlib_bench]
                                                 [--seconds 60] [--rounds 3]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

FORMATS = [
    ("mp3", ["-c:a", "libmp3lame", "-b:a", "192k"]),
    ("mp2", ["-c:a", "mp2", "-b:a", "192k"]),
    ("ogg", ["-c:a", "libvorbis", "-q:a", "5"]),
    ("wma", ["-c:a", "wmav2", "-b:a", "128k"]),
    ("wav", ["-c:a", "pcm_s16le"]),
]


def make(path, seconds, codec):
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    f"anoisesrc=sample_rate=44100:duration={seconds}:seed=1:amplitude=0.3",
                    "-ac", "2", *codec, path], check=True)


def best(rounds, run):
    return min(run() for _ in range(rounds))


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def ours(bench, path):
    out = subprocess.run([bench, "decode", path], check=True, capture_output=True, text=True)
    return float(out.stdout)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", default="build/bin/soundlib_bench")
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        print(f"{'format':8}{'soundlib s':>12}{'ffmpeg s':>12}{'ratio':>8}")
        for name, codec in FORMATS:
            path = os.path.join(folder, f"noise.{name}")
            make(path, args.seconds, codec)
            mine = best(args.rounds, lambda: ours(args.bench, path))
            # The whole ffmpeg process, as the library's time includes opening the file.
            peer = best(args.rounds, lambda: timed(
                ["ffmpeg", "-nostdin", "-loglevel", "error", "-i", path, "-f", "null", "-"]))
            print(f"{name:8}{mine:12.3f}{peer:12.3f}{mine / peer:8.2f}")
        long_mp3 = os.path.join(folder, "long.mp3")
        make(long_mp3, 300, ["-c:a", "libmp3lame", "-b:a", "128k"])
        micros = subprocess.run([args.bench, "length", long_mp3, "2000"], check=True,
                                capture_output=True, text=True).stdout.strip()
        print(f"length of a 5-minute MP3 with a LAME header: {micros} us per open+length+free")
        env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
        load = subprocess.run([args.bench, "cpu", long_mp3, "5"], check=True,
                              capture_output=True, text=True, env=env).stdout.strip()
        print(f"BASS_GetCPU while an MP3 plays in real time: {load} % of one core")
    return 0


if __name__ == "__main__":
    sys.exit(main())
