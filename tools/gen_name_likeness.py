#!/usr/bin/env python3
"""Generates data/name-likeness.txt: which reading parts the name kanji take
in real given names, how often, where, and for whom.

    python3 tools/gen_name_likeness.py [--check]

Reads only committed files: data/given-names.txt (ENAMDICT's given names),
data/recent-names.txt (names of the newborn rankings of 2010-2024),
data/kanji-readings.txt (KANJIDIC2's 名乗り, 訓 stems and 音 of each name
kanji) and data/name-kanji.txt. Same inputs, same bytes. The engine's
data/given-name-traits.txt follows this file: rebuild, then run
build/tools/soten-given-name-traits.

Each recent name counts as RECENT_WEIGHT names of the dictionary. The
dictionary's names are spread over a century, one entry for each spelling
however many people bear it, so it knows 陽翔 はると as one name among old
ones and 翔 as と at the end of 37 names against 人 in 395; the rankings
list what parents give today, each name borne by hundreds of children a
year. A weight of 30 brings the pairs of today's names up to the common
pairs of the dictionary, which have some tens to hundreds of names at a
position (翔 と last: 37 + 10 recent names = 337, beside 斗 431 and 人 545),
and no further: the dictionary still decides among the spellings the
rankings do not list, and a few ranked names sharing a pair do not bury the
dictionary's other spellings of it.

Every given name written in name kanji (and 々) is aligned with its reading:
each character takes a part of the reading that is

  s  one of its readings (名乗り, 訓 stem, 音), also with 連濁 at a
     non-initial character (さくら → ざくら, ひ → び/ぴ), a small っ for a
     final つ/ち/く/き before another character (いち → いっ) or a long vowel
     written ー (ゆう → ゆー);
  p  部分音訓: a leading part, at least one mora, of a 名乗り or 訓 (or of
     one of its forms above): 心 → ここ, 愛 → あ;
  c  a part learned from the names (名前での慣用): where a name aligns
     except for one character, the rest of its reading is a hypothesis for
     that character (陽葵 ひまり → 葵 まり); it counts once at least
     LEARN_THRESHOLD distinct names of the dictionary give it. A recent
     name that still does not align teaches its character the part of its
     best such alignment by itself: the rankings list a reading because many
     children bear it (蒼 あおい, 翔 かける, whose 訓 the readings keep only
     as stems).

A name takes its best alignment: the fewest parts of class c, then of class
p, then the one whose parts come first in the characters' reading order.
Names that do not align are not counted.

Output, one row per (kanji, part) seen in some name's best alignment, in
code point order of the kanji, then of the part:

    KANJI<TAB>PART<TAB>CLASS<TAB>FIRST<TAB>MIDDLE<TAB>LAST<TAB>ALONE<TAB>GIRLS<TAB>BOYS

CLASS s, p or c (the best class the part can take for that kanji); FIRST,
MIDDLE, LAST: how many names of two or more characters have it at their
first, a middle or their last character; ALONE: one-character names; GIRLS
and BOYS: how many of those names are tagged f (or fm) and m (or fm); a
recent name counts RECENT_WEIGHT times in each.
Compatibility ideographs (U+F900-FAFF) are counted as their unified form.

Also writes data/kanji-folds.txt: "COMPAT<TAB>UNIFIED" for each compatibility
ideograph of the name kanji whose unified form is a name kanji too, so the
search lists the look-alike once.
"""

import argparse
import collections
import os
import sys
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
NAMES = os.path.join(REPO, "data/given-names.txt")
RECENT = os.path.join(REPO, "data/recent-names.txt")
READINGS = os.path.join(REPO, "data/kanji-readings.txt")
NAME_KANJI = os.path.join(REPO, "data/name-kanji.txt")
OUT = os.path.join(REPO, "data/name-likeness.txt")
FOLDS_OUT = os.path.join(REPO, "data/kanji-folds.txt")

LEARN_THRESHOLD = 3
RECENT_WEIGHT = 30
CLASS_RANK = {"s": 0, "p": 1, "c": 2}

SMALL = set("ゃゅょぁぃぅぇぉゎ")
VOICED = {}
for plain, voiced in zip("かきくけこさしすせそたちつてとはひふへほ", "がぎぐげござじずぜぞだぢづでどばびぶべぼ"):
    VOICED.setdefault(plain, []).append(voiced)
for plain, half in zip("はひふへほ", "ぱぴぷぺぽ"):
    VOICED[plain].append(half)
VOICED["ち"].append("じ")
VOICED["つ"].append("ず")
VOWEL_ROWS = {
    "あ": "あかさたなはまやらわがざだばぱ",
    "い": "いきしちにひみりぎじぢびぴ",
    "う": "うくすつぬふむゆるぐずづぶぷゅ",
    "え": "えけせてねへめれげぜでべぺ",
    "お": "おこそとのほもよろごぞどぼぽょ",
}
VOWEL_OF = {kana: vowel for vowel, row in VOWEL_ROWS.items() for kana in row}


def fold(ch):
    if 0xF900 <= ord(ch) <= 0xFAFF:
        return unicodedata.normalize("NFC", ch)
    return ch


def morae(text):
    """The text split into morae (a small kana joins the one before)."""
    out = []
    for ch in text:
        if ch in SMALL and out:
            out[-1] += ch
        else:
            out.append(ch)
    return out


def long_forms(reading):
    """The reading with a vowel-lengthening kana written ー (こう → こー)."""
    forms = []
    for i in range(1, len(reading)):
        ch, before = reading[i], VOWEL_OF.get(reading[i - 1])
        if before is None:
            continue
        if ch == before or (ch == "う" and before == "お") or (ch == "い" and before == "え"):
            forms.append(reading[:i] + "ー" + reading[i + 1 :])
    return forms


def surface_forms(reading, initial, final):
    """The standard surface forms of one reading at a position."""
    forms = {reading}
    if not initial and reading[0] in VOICED:
        forms.update(v + reading[1:] for v in VOICED[reading[0]])
    if not final and len(reading) >= 2 and reading[-1] in "つちくき":
        forms.update(f[:-1] + "っ" for f in list(forms))
    for f in list(forms):
        forms.update(long_forms(f))
    return forms


def load_readings():
    readings = {}
    with open(READINGS, encoding="utf-8") as f:
        for line in f:
            kanji, nanori, kun, on = line.rstrip("\n").split("\t")
            readings[fold(kanji)] = (nanori.split(), kun.split(), on.split())
    return readings


class Parts:
    """The parts each kanji can take at a position, with their class."""

    def __init__(self, readings, learned):
        self.readings = readings
        self.learned = learned  # kanji -> set of parts
        self.cache = {}

    def at(self, kanji, initial, final):
        key = (kanji, initial, final)
        if key in self.cache:
            return self.cache[key]
        parts = {}
        nanori, kun, on = self.readings[kanji]
        order = 0
        for kind, group in ((0, nanori), (1, kun), (2, on)):
            for reading in group:
                for form in sorted(surface_forms(reading, initial, final)):
                    parts.setdefault(form, ("s", order))
                    order += 1
        for kind, group in ((0, nanori), (1, kun)):
            for reading in group:
                for form in sorted(surface_forms(reading, initial, True)):
                    m = morae(form)
                    for n in range(1, len(m)):
                        parts.setdefault("".join(m[:n]), ("p", order))
                        order += 1
        for part in sorted(self.learned.get(kanji, ())):
            parts.setdefault(part, ("c", order))
            order += 1
        self.cache[key] = parts
        return parts


def alignments(chars, reading, parts, wildcard=None):
    """Every alignment of the characters with the reading, as lists of
    (part, class, order); the character at `wildcard` takes any non-empty
    rest (class None)."""
    n = len(chars)
    out = []

    def walk(i, at, acc):
        if i == n:
            if at == len(reading):
                out.append(list(acc))
            return
        if len(out) > 64:
            return
        if i == wildcard:
            for end in range(at + 1, len(reading) + 1):
                acc.append((reading[at:end], None, 0))
                walk(i + 1, end, acc)
                acc.pop()
            return
        options = parts.at(chars[i], i == 0, i == n - 1)
        for part, (cls, order) in options.items():
            if reading.startswith(part, at):
                acc.append((part, cls, order))
                walk(i + 1, at + len(part), acc)
                acc.pop()

    walk(0, 0, [])
    return out


def best_key(a):
    classes = [CLASS_RANK[c] for _, c, _ in a]
    return (classes.count(2), classes.count(1), [o for _, _, o in a], [p for p, _, _ in a])


def best(aligned):
    return min(aligned, key=best_key) if aligned else None


def expand(written):
    """The characters with 々 replaced by the one before; None if the name
    holds a character other than name kanji."""
    chars = []
    for ch in written:
        if ch == "々" and chars:
            chars.append(chars[-1])
        else:
            chars.append(fold(ch))
    return chars


def load_recent(readings):
    """The recent names in name kanji, as (chars, reading, tag)."""
    names = []
    with open(RECENT, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            if len(fields) != 4 or fields[2] not in ("f", "m"):
                sys.exit(f"data/recent-names.txt:{number}: malformed line")
            chars = expand(fields[0])
            if not all(c in readings for c in chars):
                sys.exit(f"data/recent-names.txt:{number}: {fields[0]} is not in name kanji")
            names.append((chars, fields[1], fields[2]))
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    readings = load_readings()
    names = []
    with open(NAMES, encoding="utf-8") as f:
        for line in f:
            written, reading, tag = line.rstrip("\n").split("\t")
            chars = expand(written)
            if all(c in readings for c in chars):
                names.append((chars, reading, tag, 1))
    recent = load_recent(readings)
    names += [(chars, reading, tag, RECENT_WEIGHT) for chars, reading, tag in recent]

    plain = Parts(readings, {})
    hypotheses = collections.defaultdict(set)
    unaligned = []
    for index, (chars, reading, _, weight) in enumerate(names):
        if weight != 1 or alignments(chars, reading, plain):
            continue
        unaligned.append(index)
        for w in range(len(chars)):
            for a in alignments(chars, reading, plain, wildcard=w):
                hypotheses[(chars[w], a[w][0])].add(index)
    learned = collections.defaultdict(set)
    for (kanji, part), who in hypotheses.items():
        if len(who) >= LEARN_THRESHOLD:
            learned[kanji].add(part)

    # A recent name that still does not align teaches the one part its best
    # alignment with a free character needs.
    dictionary_parts = Parts(readings, learned)
    from_rankings = set()
    for chars, reading, _, weight in names:
        if weight == 1 or alignments(chars, reading, dictionary_parts):
            continue
        options = []
        for w in range(len(chars)):
            for a in alignments(chars, reading, dictionary_parts, wildcard=w):
                options.append(([(p, c or "c", o) for p, c, o in a], w))
        if options:
            a, w = min(options, key=lambda option: best_key(option[0]))
            learned[chars[w]].add(a[w][0])
            from_rankings.add((chars[w], a[w][0]))

    parts = Parts(readings, learned)
    counts = collections.defaultdict(lambda: [0] * 6)
    classes = {}
    aligned = 0
    recent_aligned = 0
    for chars, reading, tag, weight in names:
        a = best(alignments(chars, reading, parts))
        if a is None:
            continue
        aligned += 1
        if weight != 1:
            recent_aligned += 1
        n = len(chars)
        for i, (part, cls, _) in enumerate(a):
            key = (chars[i], part)
            row = counts[key]
            slot = 3 if n == 1 else 0 if i == 0 else 2 if i == n - 1 else 1
            row[slot] += weight
            if tag in ("f", "fm"):
                row[4] += weight
            if tag in ("m", "fm"):
                row[5] += weight
            rank = CLASS_RANK[cls]
            if key not in classes or rank < CLASS_RANK[classes[key]]:
                classes[key] = cls

    lines = []
    for (kanji, part) in sorted(counts):
        row = counts[(kanji, part)]
        lines.append("\t".join([kanji, part, classes[(kanji, part)]] + [str(v) for v in row]))
    text = "\n".join(lines) + "\n"
    with open(NAME_KANJI, encoding="utf-8") as f:
        listed = f.read().strip()
    folds = "".join(
        f"{c}\t{fold(c)}\n" for c in listed if fold(c) != c and fold(c) in listed
    )
    learned_rows = sum(1 for k in counts if classes[k] == "c")
    print(
        f"{len(names) - len(recent)} dictionary and {len(recent)} recent names in name kanji, "
        f"{aligned - recent_aligned} and {recent_aligned} aligned (a recent one weighs "
        f"{RECENT_WEIGHT}), {len(unaligned)} without a plain alignment; {len(lines)} (kanji, part) "
        f"rows, {learned_rows} learned (threshold {LEARN_THRESHOLD} names; "
        f"{len(from_rankings)} from a recent name: {' '.join(k + p for k, p in sorted(from_rankings))})",
        file=sys.stderr,
    )
    differ = False
    for path, content in ((OUT, text), (FOLDS_OUT, folds)):
        if args.check:
            with open(path, encoding="utf-8") as f:
                if f.read() != content:
                    print(f"{os.path.relpath(path, REPO)} differs", file=sys.stderr)
                    differ = True
        else:
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.write(content)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
