#!/usr/bin/env python3
"""Generates the data files of the name search (名付け候補) and the surnames' readings.

    bash tools/fetch-stroke-sources.sh && python3 tools/gen_given_names.py

(then python3 tools/gen_name_likeness.py, a rebuild and
build/tools/soten-given-name-traits: data/given-name-traits.txt follows the
names and readings)

The fetch script unpacks the Debian packages enamdict and kanjidic-xml (with
the stroke sources) into tools/.sources/ (git-ignored). This script writes

  data/given-names.txt  the given names of ENAMDICT (EDRDG, CC BY-SA 3.0):
                        one line per written form and reading,
                        "WRITTEN<TAB>READING<TAB>TAG", sorted by reading in
                        dictionary (gojūon) order, then written form (the
                        search's order, GojuonKey in analysis/text/KanaCollation,
                        so loading needs no sort);
                        READING in hiragana (ー kept), TAG f (female), m
                        (male), fm (tagged both) or g (no gender given).
  data/name-kanji.txt   one line: the kanji allowed in given names (KANJIDIC2
                        grades 1-6 and 8 常用漢字, 9 and 10 人名用漢字), in
                        code point order.
  data/kanji-readings.txt
                        one line per name kanji, in code point order:
                        "KANJI<TAB>NANORI<TAB>KUN<TAB>ON", each field the
                        KANJIDIC2 readings of that kind in hiragana, in the
                        dictionary's order, separated by spaces: 名乗り as
                        they are, 訓 as their stems (the part before ".",
                        without "-"), 音 in hiragana without "-". A reading
                        already listed under an earlier kind is not repeated;
                        forms that end in a small っ (いっ, がっ) are left out,
                        as the search makes no such forms. A compatibility
                        kanji without readings of its own takes those of its
                        canonical form (朗 → 朗).
  data/surname-readings.txt
                        one line per surname of ENAMDICT (tag s) that has
                        one clearly dominant reading: "WRITTEN<TAB>READING",
                        in the code page 932 byte order of the written form
                        (the lookup's order), READING in hiragana. See
                        surname_readings for what counts as dominant.

Which ENAMDICT entries are taken: every entry with a given-name tag (f, m or
g) whose written form is made of kanji (and 々) or kana (and ー) only, holds
at most 10 characters and is encodable in code page 932. Two entries with the
same written form and reading are one name; its tag is fm when its entries
give both genders, f or m when they give one, g when none gives a gender.

  --check   compare with the committed files instead of writing them

Python 3 standard library only. Not part of the build; same inputs, same
bytes.
"""

import argparse
import bisect
import gzip
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
ROOT = os.path.join(HERE, ".sources", "root")
ENAMDICT = os.path.join(ROOT, "usr/share/edict/enamdict")
KANJIDIC = os.path.join(ROOT, "usr/share/edict/kanjidic2.xml.gz")
NAMES_OUT = os.path.join(REPO, "data/given-names.txt")
KANJI_OUT = os.path.join(REPO, "data/name-kanji.txt")
READINGS_OUT = os.path.join(REPO, "data/kanji-readings.txt")
SURNAMES_OUT = os.path.join(REPO, "data/surname-readings.txt")

# A surname's reading is taken when the entries that begin with the surname
# (its compounds: 山田町, 山田川, ...) begin with that reading at least this
# often, and at least twice as often as with any other reading of it.
SURNAME_SUPPORT = 3
MAX_SURNAME_CHARS = 4

GIVEN_TAGS = {"f", "m", "g"}
NAME_GRADES = {"1", "2", "3", "4", "5", "6", "8", "9", "10"}
MAX_CHARS = 10
ENTRY = re.compile(r"^(\S+)(?: \[(\S+)\])? /(.*)/$")
TAG_GROUP = re.compile(r"\(([a-z,]+)\)")


def is_kanji(ch):
    cp = ord(ch)
    return ch == "々" or 0x4E00 <= cp <= 0x9FFF or 0xF900 <= cp <= 0xFAFF or 0x3400 <= cp <= 0x4DBF


def is_kana(ch):
    cp = ord(ch)
    return 0x3041 <= cp <= 0x3096 or 0x30A1 <= cp <= 0x30FA or ch == "ー"


def to_hiragana(text):
    return "".join(chr(ord(c) - 0x60) if 0x30A1 <= ord(c) <= 0x30F6 else c for c in text)


def encodable(text):
    try:
        text.encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


def given_names(path):
    names = {}
    with open(path, "rb") as source:
        for raw in source:
            line = raw.decode("euc_jp", errors="strict").rstrip("\n")
            match = ENTRY.match(line)
            if not match:
                continue
            written, reading, glosses = match.groups()
            tags = set()
            for group in TAG_GROUP.findall(glosses):
                tags.update(group.split(","))
            given = tags & GIVEN_TAGS
            if not given:
                continue
            if len(written) > MAX_CHARS or not encodable(written):
                continue
            if all(is_kana(c) for c in written):
                reading = written
            elif not all(is_kanji(c) or is_kana(c) for c in written):
                continue
            elif not any(is_kanji(c) for c in written):
                continue
            if reading is None or not all(is_kana(c) for c in reading):
                continue
            reading = to_hiragana(reading)
            if not encodable(reading):
                continue
            key = (written, reading)
            names[key] = names.get(key, set()) | (given & {"f", "m"})
    return {key: "".join(sorted(genders, key="fm".index)) or "g" for key, genders in names.items()}


def surname_readings(path):
    """The one reading of each surname that has a clearly dominant one.

    ENAMDICT has no frequencies and lists rare readings of common surnames
    (佐藤 さいとう, さとあ, ...); how many entries begin with the written form
    and the reading stands in for how common the reading is."""
    surnames = {}
    entries = []
    with open(path, "rb") as source:
        for raw in source:
            match = ENTRY.match(raw.decode("euc_jp", errors="strict").rstrip("\n"))
            if not match or match.group(2) is None:
                continue
            written, reading, glosses = match.groups()
            reading = to_hiragana(reading)
            entries.append((written, reading))
            tags = set()
            for group in TAG_GROUP.findall(glosses):
                tags.update(group.split(","))
            if "s" in tags:
                surnames.setdefault(written, set()).add(reading)
    entries.sort()
    starts = [written for written, _ in entries]

    def support(written, reading):
        at = bisect.bisect_left(starts, written)
        count = 0
        while at < len(entries) and entries[at][0].startswith(written):
            count += entries[at][1].startswith(reading)
            at += 1
        return count

    chosen = {}
    for written, readings in surnames.items():
        if not 1 <= len(written) <= MAX_SURNAME_CHARS or not all(is_kanji(c) for c in written):
            continue
        if not encodable(written):
            continue
        ranked = sorted(((support(written, r), r) for r in readings), reverse=True)
        best, reading = ranked[0]
        if best < SURNAME_SUPPORT or (len(ranked) > 1 and best < 2 * ranked[1][0]):
            continue
        if not is_hiragana(reading) or not encodable(reading):
            continue
        chosen[written] = reading
    return chosen


SMALL_KANA = str.maketrans("ぁぃぅぇぉっゃゅょゎ", "あいうえおつやゆよわ")
VOWEL_ROWS = ["あかさたなはまやらわ", "いきしちにひみりゐ", "うくすつぬふむゆる", "えけせてねへめれゑ", "おこそとのほもよろを"]
VOWEL_OF = {kana: row[0] for row in VOWEL_ROWS for kana in row}


def gojuon_key(reading):
    """Dictionary order of a hiragana reading, as GojuonKey in
    analysis/text/KanaCollation.cpp: the plain sound first (が as か, っ as つ, ー as
    the vowel before it), then the code page 932 order of the reading."""
    plain = []
    for ch in reading:
        base = unicodedata.normalize("NFD", ch)[0].translate(SMALL_KANA)
        if ch == "ー" and plain and plain[-1] in VOWEL_OF:
            base = VOWEL_OF[plain[-1]]
        elif not "ぁ" <= ch <= "ん" and ch != "ー":
            base = ch
        plain.append(base)
    return ("".join(plain).encode("cp932"), reading.encode("cp932"))


def is_hiragana(text):
    return text != "" and all("ぁ" <= c <= "ん" for c in text)


def kanji_readings(element):
    """The 名乗り, 訓 stems and 音 of one KANJIDIC2 character, in hiragana."""
    nanori = [n.text for n in element.iter("nanori")]
    kun = [r.text.split(".")[0].replace("-", "")
           for r in element.iter("reading") if r.get("r_type") == "ja_kun"]
    on = [to_hiragana(r.text.replace("-", ""))
          for r in element.iter("reading") if r.get("r_type") == "ja_on"]
    seen = set()
    kinds = []
    for readings in (nanori, kun, on):
        kept = []
        for reading in readings:
            usable = is_hiragana(reading) and encodable(reading) and not reading.endswith("っ")
            if usable and reading not in seen:
                seen.add(reading)
                kept.append(reading)
        kinds.append(kept)
    return kinds


def name_kanji(path):
    kanji = {}
    readings = {}
    with gzip.open(path) as source:
        for _, element in ET.iterparse(source):
            if element.tag != "character":
                continue
            literal = element.findtext("literal")
            grade = element.findtext("misc/grade")
            readings[literal] = kanji_readings(element)
            if grade in NAME_GRADES and len(literal) == 1 and encodable(literal):
                kanji[literal] = readings[literal]
            element.clear()
    for literal, kinds in kanji.items():
        canonical = unicodedata.normalize("NFC", literal)
        if not any(kinds) and canonical in readings:
            kanji[literal] = readings[canonical]
    return dict(sorted(kanji.items()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    for path in (ENAMDICT, KANJIDIC):
        if not os.path.exists(path):
            sys.exit(f"{path} is missing: run tools/fetch-stroke-sources.sh first")

    names = given_names(ENAMDICT)
    order = sorted(names, key=lambda wr: (gojuon_key(wr[1]), wr[0].encode("cp932")))
    rows = [f"{w}\t{r}\t{names[(w, r)]}\n" for (w, r) in order]
    kanji = name_kanji(KANJIDIC)
    readings = ["\t".join([k] + [" ".join(kind) for kind in kinds]) + "\n"
                for k, kinds in kanji.items()]
    surnames = surname_readings(ENAMDICT)
    surname_rows = [f"{w}\t{surnames[w]}\n"
                    for w in sorted(surnames, key=lambda w: w.encode("cp932"))]
    outputs = {NAMES_OUT: "".join(rows), KANJI_OUT: "".join(kanji) + "\n",
               READINGS_OUT: "".join(readings), SURNAMES_OUT: "".join(surname_rows)}

    forms = len({w for (w, _) in names})
    tags = {t: sum(1 for v in names.values() if v == t) for t in ("f", "m", "fm", "g")}
    print(f"given names: {len(rows)} (written form + reading), {forms} written forms; "
          + ", ".join(f"{t} {n}" for t, n in tags.items()))
    counts = [sum(len(kinds[i]) for kinds in kanji.values()) for i in range(3)]
    print(f"name kanji: {len(kanji)}; readings: 名乗り {counts[0]}, 訓 {counts[1]}, 音 {counts[2]}; "
          f"without any: {sum(1 for kinds in kanji.values() if not any(kinds))}")

    print(f"surname readings: {len(surname_rows)}")

    status = 0
    for path, text in outputs.items():
        if args.check:
            with open(path, encoding="utf-8") as committed:
                if committed.read() != text:
                    print(f"{os.path.relpath(path, REPO)} differs from the sources")
                    status = 1
        else:
            with open(path, "w", encoding="utf-8", newline="\n") as out:
                out.write(text)
    return status


if __name__ == "__main__":
    sys.exit(main())
