#!/usr/bin/env python3
"""Creates a small demo UT2003 installation: the game's sub-folders, a System\\UT2003.exe stand-in,
and a Cache folder with cache.ini and a dozen cached files covering every file type; one entry's
cached file is missing, and one cached file has no line in cache.ini (the fixer window shows both).
Usage: make-demo-game.py GAME_FOLDER"""
import hashlib
import os
import sys

FOLDERS = ["System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"]

# Real name, size in bytes; None: the index names it but its cached file is missing.
FILES = [
    ("DM-Morvane-Docks.ut2", 412_000),
    ("CTF-Glacier-Run.ut2", 268_500),
    ("MorvaneWeapons.u", 96_000),
    ("MorvaneWeapons.int", 1_200),
    ("GlacierRock.utx", 731_000),
    ("HarbourAmbience.uax", 154_000),
    ("DocksTheme.ogg", 2_048_000),
    ("MenuLoop.umx", 88_000),
    ("CraneParts.usx", 57_300),
    ("SeagullRig.ukx", 33_000),
    ("Checkpoint.uvx", 4_096),
    ("ReadMe-Docks.txt", 2_100),
    ("BR-Lost-Signal.ut2", None),
]

# A cached file that cache.ini does not name, as a crash of the game can leave one behind.
STRAY = ("DM-Morvane-Stray.ut2", 150_000)


def key(name):
    return hashlib.md5(name.encode()).hexdigest().upper()


def main(game):
    for f in FOLDERS:
        os.makedirs(os.path.join(game, f), exist_ok=True)
    with open(os.path.join(game, "System", "UT2003.exe"), "wb") as f:
        f.write(b"MZ demo stand-in for the game's executable\r\n")
    lines = ["[Cache]"]
    for name, size in FILES + [STRAY]:
        k = key(name)
        if (name, size) != STRAY:
            lines.append(f"{k}={name}")
        if size is not None:
            with open(os.path.join(game, "Cache", k + "-1.uxx"), "wb") as f:
                f.write((name.encode() + b"\0") * (size // (len(name) + 1)) + b"\0" * (size % (len(name) + 1)))
    with open(os.path.join(game, "Cache", "cache.ini"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


if __name__ == "__main__":
    main(sys.argv[1])
