#!/usr/bin/env python3
"""Writes a large "Default.pls" and "AllMusik.aml" into a folder, as a long-used player
holds them: `entries` songs spread over `artists` artists (three albums each, a dozen
genres). The files named need not exist: both lists are read without opening them.
   big_library.py FOLDER ENTRIES ARTISTS"""
import os
import sys

GENRES = ["Rock", "Pop", "Jazz", "Blues", "Folk", "Metal",
          "Punk", "Soul", "Funk", "Disco", "House", "Trance"]


def main():
    folder, entries, artists = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    songs = []
    for i in range(entries):
        artist = f"Artist {i % artists}"
        album = f"{artist} Album {(i // artists) % 3}"
        path = f"/home/user/Music/{artist}/{album}/track{i:05}.mp3"
        songs.append((path, f"Song {i}", 180000 + (i * 7919) % 120000, artist, album,
                      GENRES[i % len(GENRES)]))

    with open(os.path.join(folder, "Default.pls"), "w") as pls:
        pls.write("[playlist]\n")
        for n, (path, title, length, *_) in enumerate(songs, 1):
            pls.write(f"File{n}={path}\nTitle{n}={title}\nLength{n}={length}\n")
        pls.write(f"NumberOfEntries={len(songs)}\nVersion=2\n")

    sections = {}  # section name -> lines, in first-seen order
    names = {"Artist": [], "Album": [], "Genre": []}

    def enter(kind, name, section, path, title=None, length=None):
        lines = sections.setdefault(section, [])
        if not lines:
            names[kind].append(name)
        k = counts[section][1] + 1 if section in counts else 1
        lines.append(f"File{k}={path}")
        if title is not None:
            lines.append(f"FileTit{k}={title}")
            lines.append(f"FileLen{k}={length}")
        counts[section] = (name, k)

    counts = {}
    for path, title, length, artist, album, genre in songs:
        enter("Artist", artist, artist, path, title, length)
        enter("Album", album, "A" + album, path)
        enter("Genre", genre, genre, path)

    with open(os.path.join(folder, "AllMusik.aml"), "w") as aml:
        aml.write("[AllMusik]\n")
        for kind in ("Artist", "Album", "Genre"):
            aml.write(f"Total{kind}={len(names[kind])}\n")
            for n, name in enumerate(names[kind], 1):
                aml.write(f"{kind}{n}={name}\n")
        for section, lines in sections.items():
            name, k = counts[section]
            aml.write(f"[{section}]\n" + "\n".join(lines) + f"\nNumber{name}={k}\n")


if __name__ == "__main__":
    main()
