#!/usr/bin/env python3
"""Writes names for timing soten-cli --batch: one "SURNAME GIVEN" per line.

The characters are the kanji of the 新字式 half of data/strokes.txt, so every
name makes a reading. Surnames have 2 to 3 characters, given names 1 to 3.
The same seed always gives the same lines.

    python3 tools/gen_batch_names.py [COUNT] [--seed N] > names.txt
"""
import argparse
import pathlib
import random
import sys


def dictionary_kanji(path):
    lines = path.read_text(encoding="utf-8").splitlines()
    # Lines 0-29 are 新字式; keep the CJK ideographs, not kana or symbols.
    return sorted({c for line in lines[:30] for c in line if "\u4e00" <= c <= "\u9fff"})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int, nargs="?", default=20000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    kanji = dictionary_kanji(root / "data" / "strokes.txt")
    rng = random.Random(args.seed)
    out = sys.stdout
    for _ in range(args.count):
        surname = "".join(rng.choice(kanji) for _ in range(rng.randint(2, 3)))
        given = "".join(rng.choice(kanji) for _ in range(rng.randint(1, 3)))
        out.write(f"{surname} {given}\n")


if __name__ == "__main__":
    main()
