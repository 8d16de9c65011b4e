#!/usr/bin/env python3
"""Generates data/common-words.txt: common Japanese words whose reading a
whole name (surname and given name said together) could have, for the sound
note 「姓名を続けて読むと『…』と同じ音になります」.

    python3 tools/gen_common_words.py [--check]

Reads the IPA dictionary's source CSV files (EUC-JP) as Debian installs
them with the package mecab-ipadic (`apt-get install mecab-ipadic`, pulled
in by mecab-ipadic-utf8) under /usr/share/mecab/dic/ipadic, or the folder
given with --ipadic; and the committed data/surname-readings.txt,
data/given-names.txt and data/name-kanji.txt. Same inputs, same bytes. The
build does not need the package: the output is committed.

A word is kept when
  - it is a common noun (名詞 一般), a noun taking する (サ変接続), the stem
    of a な-adjective (形容動詞語幹), an adverb, or an adjective in its
    dictionary form;
  - its cost in the dictionary is below COST_LIMIT (the IPA dictionary gives
    frequent words lower costs; the rarest share the default costs above);
  - it is written in hiragana and the kanji of names (常用漢字 and 人名用漢字):
    no katakana, which writes loanwords, the names of species and odd
    mixtures (ラン数) the note would quote;
  - its reading is 4 to 8 morae of hiragana that part into a surname's
    reading of surname-readings.txt and a given name's reading of
    given-names.txt, each at least two kana long: a reading no name has
    needs no note.
One word a reading: the one with the lowest cost, then the first in code
point order.

Output, one row per reading, in code point order of the reading (which is
also code page 932's order, the readings being hiragana):

    READING<TAB>WORD
"""

import argparse
import csv
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
SURNAMES = os.path.join(REPO, "data/surname-readings.txt")
GIVEN_NAMES = os.path.join(REPO, "data/given-names.txt")
NAME_KANJI = os.path.join(REPO, "data/name-kanji.txt")
OUT = os.path.join(REPO, "data/common-words.txt")
IPADIC = "/usr/share/mecab/dic/ipadic"

COST_LIMIT = 5000
# file -> the conjugated form kept (None: the file's words do not conjugate)
SOURCES = {
    "Noun.csv": None,
    "Noun.verbal.csv": None,
    "Noun.adjv.csv": None,
    "Adverb.csv": None,
    "Adj.csv": "基本形",
}
SMALL_KANA = set("ぁぃぅぇぉゃゅょゎ")


def to_hiragana(text):
    return "".join(chr(ord(c) - 0x60) if 0x30A1 <= ord(c) <= 0x30F6 else c for c in text)


def is_hiragana(c):
    return 0x3041 <= ord(c) <= 0x3096


def morae(hiragana):
    return sum(1 for c in hiragana if c not in SMALL_KANA)


def second_column(path):
    with open(path, encoding="utf-8") as f:
        return {line.rstrip("\n").split("\t")[1] for line in f}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--ipadic", default=IPADIC)
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.ipadic, "Noun.csv")):
        sys.exit(f"{args.ipadic}/Noun.csv not found: apt-get install mecab-ipadic")
    surnames = second_column(SURNAMES)
    given = second_column(GIVEN_NAMES)
    with open(NAME_KANJI, encoding="utf-8") as f:
        kanji = set(f.read().strip())

    best = {}
    for name, form in SOURCES.items():
        with open(os.path.join(args.ipadic, name), encoding="euc-jp", newline="") as f:
            for row in csv.reader(f):
                if form and row[9] != form:
                    continue
                word, cost, reading = row[0], int(row[3]), to_hiragana(row[11])
                if cost >= COST_LIMIT:
                    continue
                if not all(is_hiragana(c) or c in kanji for c in word):
                    continue
                if not all(is_hiragana(c) for c in reading):
                    continue
                if not 4 <= morae(reading) <= 8:
                    continue
                if not any(reading[:i] in surnames and reading[i:] in given
                           for i in range(2, len(reading) - 1)):
                    continue
                key = (cost, word)
                if reading not in best or key < best[reading]:
                    best[reading] = key
    text = "".join(f"{reading}\t{best[reading][1]}\n" for reading in sorted(best))

    if args.check:
        with open(OUT, encoding="utf-8") as f:
            if f.read() != text:
                sys.exit(f"{OUT} is not what the generator writes")
        return
    with open(OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print(f"{len(best)} words written to {OUT}")


if __name__ == "__main__":
    main()
