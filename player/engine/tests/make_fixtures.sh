#!/bin/bash
# Makes the engine's sound files: short tones with and without tags, one per format.
set -euo pipefail
out=$1
mkdir -p "$out"
tone() {  # seconds, then ffmpeg output options
    local seconds=$1
    shift
    ffmpeg -nostdin -loglevel error -y -f lavfi \
        -i "sine=frequency=440:sample_rate=44100:duration=$seconds" "$@"
}
mp3() { tone "$1" -ac 2 -c:a libmp3lame -b:a 128k -write_id3v1 0 "${@:2}"; }

mp3 1 -id3v2_version 3 -metadata title="First Song" -metadata artist="Shared" \
    -metadata album="Common" -metadata genre="Rock" -metadata track=1 -metadata date=2001 \
    "$out/first.mp3"
mp3 1 -id3v2_version 3 -metadata title="Second Song" -metadata artist="Other [x] [y]" \
    -metadata album="Common" -metadata genre="Shared" "$out/second.mp3"
mp3 0.5 -map_metadata -1 -id3v2_version 0 "$out/plain.mp3"
# Measured by counting frames: no Xing/Info header; MPEG-2 at 22050 Hz, mono, with an
# ID3v1 block at the end.
tone 0.7 -ac 1 -ar 22050 -c:a libmp3lame -b:a 32k -write_xing 0 -id3v2_version 0 \
    -write_id3v1 1 -metadata title="Counted" -metadata artist="Shared" "$out/counted.mp3"
tone 0.5 -ac 1 -ar 8000 -c:a pcm_u8 "$out/mono8.wav"
tone 0.5 -ac 2 -c:a libvorbis "$out/tone.ogg"
tone 0.5 -ac 2 -c:a wmav2 "$out/tone.wma"

# A four-channel tracker module: one pattern, one note of a square-wave sample; it plays
# 64 rows at speed 6 and 125 beats a minute, 7.68 seconds.
/usr/bin/python3 - "$out/tune.mod" <<'PY'
import struct, sys
samples = struct.pack(">22sHBBHH", b"square", 512, 0, 64, 0, 1)
samples += struct.pack(">22sHBBHH", b"", 0, 0, 0, 0, 1) * 30
pattern = bytearray(64 * 4 * 4)
pattern[0:4] = bytes([0x10 | (214 >> 8), 214 & 0xFF, 0x00, 0x00])  # sample 1, C-3
square = bytes([0x40] * 16 + [0xC0] * 16) * 32
with open(sys.argv[1], "wb") as f:
    f.write(b"zorvan test".ljust(20, b"\0") + samples + bytes([1, 127]) + bytes(128) +
            b"M.K." + bytes(pattern) + square)
PY
