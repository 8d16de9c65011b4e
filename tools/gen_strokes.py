#!/usr/bin/env python3
"""Generates data/strokes.txt, the built-in stroke dictionary.

    bash tools/fetch-stroke-sources.sh && python3 tools/gen_strokes.py

The first command unpacks the Debian packages kanjidic-xml, python3-kanjidraw
and unicode-data into tools/.sources/ (git-ignored); the second reads them and
tools/data/joyo-kangxi.tsv, writes data/strokes.txt and prints the fidelity
report kept in data/README.md. Same sources, same bytes: the output depends on
nothing but the inputs (no dictionary or set order leaks into it).

  --check   compare with the committed data/strokes.txt instead of writing it

The exit status is 1 when the committed file differs (--check) or when a
figure that must come out exact does not; the report marks it.

Python 3 standard library only. Not part of the build.

How a count is made (data/README.md has the reasoning):
  新字式  KANJIDIC2 stroke_count (its first value, the accepted count); for JIS
          level 2 the KanjiVG count when KanjiVG has the kanji, as its glyphs
          follow today's printed shapes more closely for the rare kanji; for
          the extension kanji KANJIDIC2 lacks, the radical + residual strokes
          of Unihan kRSAdobe_Japan1_6 (Japanese glyphs).
  本字式  the traditional form's Kangxi radical counted in full plus its
          residual strokes (Unihan kRSKangXi, else kRSUnicode); the
          traditional form is chosen by traditional_form() below.
Non-kanji and the numerals 一 to 十 are fixed by NON_KANJI.
"""

import argparse
import bz2
import gzip
import json
import os
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
SOURCES = os.path.join(HERE, ".sources")
ROOT = os.path.join(SOURCES, "root")
KANJIDIC = os.path.join(ROOT, "usr/share/edict/kanjidic2.xml.gz")
KANJIVG = os.path.join(ROOT, "usr/lib/python3/dist-packages/kanjidraw/data.json")
UNICODE_DIR = os.path.join(ROOT, "usr/share/unicode")
JOYO_TSV = os.path.join(HERE, "data/joyo-kangxi.tsv")
OUTPUT = os.path.join(REPO, "data/strokes.txt")

LINES_PER_STYLE = 30
SHINJI, HONJI = 0, 1

# The characters that are not looked up in the dictionaries, with their counts
# (新字式, 本字式); None: not in that style's lines (the iteration marks of
# 本字式 take the count of the character before them instead). The kanji
# numerals are here because 本字式 counts 四 to 十 by their value; ０ and 〇
# count 13 in 本字式.
NON_KANJI = [
    ("０", 1, 13), ("１", 1, 1), ("２", 1, 2), ("３", 1, 3), ("４", 2, 4),
    ("５", 2, 5), ("６", 1, 6), ("７", 2, 7), ("８", 1, 8), ("９", 1, 9),
    ("〇", 1, 13),
    ("一", 1, 1), ("二", 2, 2), ("三", 3, 3), ("四", 5, 4), ("五", 4, 5),
    ("六", 4, 6), ("七", 2, 7), ("八", 2, 8), ("九", 2, 9), ("十", 2, 10),
    ("ＣＩＯＳＵｃｌｏｓ", 1, 1),
    ("ＪＬＱＶｂｄｅｇｈｎｑｒｕｖ", 1, 2),
    ("Ｚｚ", 1, 3),
    ("Ｗｗ", 1, 4),
    ("ＤＰＴＸａｆｉｊｐｔｘｙ", 2, 2),
    ("ＢＧＮＲＹ", 2, 3),
    ("Ｍ", 2, 4),
    ("ＡＦＨＫｋｍ", 3, 3),
    ("Ｅ", 4, 4),
    ("くしっつのへ", 1, 1),
    ("てひるろん", 1, 2),
    ("ゐ", 1, 3),
    ("ゑ", 1, 5),
    ("ぃいぅうことぺめり", 2, 2),
    ("ぇえすちぴみゅゆょよられゎわ", 2, 3),
    ("ぬね", 2, 4),
    ("ぁあかぐけさじせそづにべもゃや", 3, 3),
    ("ぉおではびふまむを", 3, 4),
    ("ほ", 3, 5),
    ("きごたど", 4, 4),
    ("ずぢなぱぷ", 4, 5),
    ("がげざぜぞ", 5, 5),
    ("ばぶぽ", 5, 6),
    ("ぎだ", 6, 6),
    ("ぼ", 6, 7),
    ("ノフヘレ", 1, 1),
    ("ァアィイカクコスセソトナニヌハヒプペマムメャヤュユラリルヮワンヵ", 2, 2),
    ("ヲ", 2, 3),
    ("ゥウェエォオキケサシタチッツテパピブベミモョヨロヱヶ", 3, 3),
    ("ガグゴズゼゾドネバビホヰ", 4, 4),
    ("ギゲザジダヂヅデポヴ", 5, 5),
    ("ボ", 6, 6),
    ("。．・ー／～’－＆＠○", 1, 1),
    ("：；？！〆＋×＝", 2, 2),
    ("％＊", 3, 3),
    ("＃", 4, 4),
    ("☆★", 5, 5),
    ("仝", 5, 5),
    ("ゝヽ", 1, None),
    ("ゞヾ々", 3, None),
]
NUMERALS = "一二三四五六七八九十"
# 新字式 only; each heads the line of its own value.
CIRCLED = "①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳"
# Also written into a later 新字式 line; the first line still decides.
EXTRA_SHINJI = [("\ufa29", 14)]  # 﨩

# Code page 932 kanji, by Shift-JIS code: JIS level 1, level 2 (with the two
# kanji added in 1990), the IBM extension kanji.
KANJI_RANGES = [
    ("JIS level 1", 0x889F, 0x9872),
    ("JIS level 2", 0x989F, 0xEAA4),
    ("extension", 0xFA5C, 0xFC4B),
]

# Strokes of the 214 Kangxi radicals: the Kangxi dictionary orders them by
# stroke count, so each count begins at a radical number.
RADICAL_STROKES_FROM = [
    (1, 1), (7, 2), (30, 3), (61, 4), (95, 5), (118, 6), (147, 7), (167, 8),
    (176, 9), (187, 10), (195, 11), (201, 12), (205, 13), (209, 14), (211, 15),
    (212, 16), (214, 17),
]

# The figures the dictionary is measured against.
STATED_LINES = {
    SHINJI: [72, 117, 122, 132, 174, 214, 333, 457, 496, 573, 619, 619, 567,
             461, 462, 395, 316, 219, 180, 139, 116, 72, 51, 40, 18, 12, 9, 7,
             4, 2],
    HONJI: [37, 106, 127, 135, 159, 177, 247, 358, 435, 510, 554, 586, 563,
            520, 506, 453, 356, 271, 231, 179, 155, 120, 68, 52, 26, 14, 13, 5,
            7, 2],
}
STATED_DISTINCT = {SHINJI: 6997, HONJI: 6972}
STATED_DIFFERENT, STATED_MORE, STATED_FEWER = 2171, 2028, 143
# Kanji counts that must come out exactly: (kanji, 新字式, 本字式).
STATED_KANJI = [
    ("村", 7, 7), ("池", 6, 7), ("花", 7, 10), ("阿", 8, 13), ("那", 7, 11),
    ("性", 8, 9), ("指", 9, 10), ("球", 11, 12), ("胸", 10, 12), ("神", 9, 10),
    ("近", 7, 11), ("広", 5, 15), ("沢", 7, 17), ("庁", 5, 25), ("佐", 7, 7),
    ("木", 4, 4),
    ("山", 3, 3), ("田", 5, 5), ("太", 4, 4), ("郎", 9, 14),
    ("渡", 12, 13), ("辺", 5, 22), ("子", 3, 3),
    ("奈", 8, 8),
    ("孤", 9, 8), ("泰", 10, 9), ("雅", 13, 12), ("\ufa29", 13, 18),
]
AIM = {SHINJI: 15, HONJI: 45}


# ---------------------------------------------------------------- sources

def read_kanjidic(path):
    """literal -> (stroke counts, variant pointers as (type, value))."""
    entries = {}
    header = {}
    with gzip.open(path) as f:
        for _, element in ET.iterparse(f):
            if element.tag in ("file_version", "database_version", "date_of_creation"):
                header[element.tag] = element.text
            elif element.tag == "character":
                literal = element.findtext("literal")
                strokes = [int(e.text) for e in element.findall("misc/stroke_count")]
                variants = [(e.get("var_type"), e.text) for e in element.findall("misc/variant")]
                entries[literal] = (strokes, variants)
                element.clear()
    return entries, header


def read_kanjivg(path):
    """kanji -> stroke count. data.json groups the kanji by their count."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    return {kanji: int(count) for count, group in data.items() for kanji in group}


UNIHAN_FIELDS = {
    "kRSKangXi", "kRSUnicode", "kRSAdobe_Japan1_6", "kKangXi", "kJoyoKanji",
    "kJinmeiyoKanji", "kTraditionalVariant", "kZVariant", "kCompatibilityVariant",
}


def read_unihan(directory):
    fields = {name: {} for name in UNIHAN_FIELDS}
    version = None
    for name in sorted(os.listdir(directory)):
        if not (name.startswith("Unihan_") and name.endswith(".txt.bz2")):
            continue
        with bz2.open(os.path.join(directory, name), "rt", encoding="utf-8") as f:
            for line in f:
                if line.startswith("# Unicode version:"):
                    version = line.split(":", 1)[1].strip()
                if line.startswith("#") or not line.strip():
                    continue
                code, field, value = line.rstrip("\n").split("\t")
                if field in fields:
                    fields[field][chr(int(code[2:], 16))] = value
    return fields, version


def read_joyo(path):
    """常用漢字表: today's form -> its traditional forms, as listed."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            today, old = line.rstrip("\n").split("\t")
            table[today] = old.split()
    return table


def read_versions():
    path = os.path.join(SOURCES, "versions.txt")
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip()]


def code_point(text):
    """'U+6A9C<kFenn' -> '檜'"""
    return chr(int(text.split("<")[0][2:], 16))


def jis_character(kind, kuten):
    """A KANJIDIC2 variant pointer (JIS plane-row-cell) as a character."""
    plane, row, cell = (int(x) for x in kuten.split("-"))
    euc = bytes([0xA0 + row, 0xA0 + cell])
    if kind == "jis212" or (kind == "jis213" and plane == 2):
        euc = b"\x8f" + euc
    try:
        return euc.decode("euc_jis_2004" if kind == "jis213" else "euc_jp")
    except UnicodeDecodeError:
        return None


# ---------------------------------------------------------------- code page 932

def cp932_kanji():
    """[(range name, Shift-JIS code, character)] in code order."""
    kanji = []
    for name, first, last in KANJI_RANGES:
        for code in range(first, last + 1):
            lead, trail = code >> 8, code & 0xFF
            if 0xA0 <= lead <= 0xDF or trail < 0x40 or trail == 0x7F or trail > 0xFC:
                continue  # not a double-byte code
            try:
                char = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue  # unassigned
            kanji.append((name, code, char))
    return kanji


def cp932_encodable(char):
    try:
        encoded = char.encode("cp932")
    except UnicodeEncodeError:
        return False
    return len(encoded) == 2


# ---------------------------------------------------------------- counting

class Sources:
    def __init__(self):
        for path in (KANJIDIC, KANJIVG, UNICODE_DIR):
            if not os.path.exists(path):
                sys.exit(f"{path} is missing: run bash tools/fetch-stroke-sources.sh first")
        self.kanjidic, self.kanjidic_header = read_kanjidic(KANJIDIC)
        self.kanjivg = read_kanjivg(KANJIVG)
        self.unihan, self.unicode_version = read_unihan(UNICODE_DIR)
        self.joyo_table = read_joyo(JOYO_TSV)
        # kJoyoKanji names the 2,136 常用 kanji (and for four of them the
        # code page 932 shape that stands in for the official one).
        self.joyo = set(self.unihan["kJoyoKanji"])
        # kJinmeiyoKanji "2010:U+XXXX" marks a character as the listed variant
        # of the standard character XXXX.
        self.jinmeiyo_standard = {}
        for char, value in self.unihan["kJinmeiyoKanji"].items():
            self.jinmeiyo_standard[char] = [code_point(e.split(":")[1])
                                            for e in value.split() if ":" in e]

    # 新字式 ------------------------------------------------------------

    def adobe_strokes(self, char):
        value = self.unihan["kRSAdobe_Japan1_6"].get(char)
        if not value:
            return None
        entries = value.split()
        # C+ entries describe the glyph the CID shares with Unicode's.
        chosen = next((e for e in entries if e.startswith("C+")), entries[0])
        _, radical_strokes, residual = chosen.split("+")[2].split(".")
        return int(radical_strokes) + int(residual)

    def shinji(self, level, char):
        if level == "JIS level 2" and char in self.kanjivg:
            return self.kanjivg[char]
        if char in self.kanjidic:
            return self.kanjidic[char][0][0]
        count = self.adobe_strokes(char)
        if count is None:
            sys.exit(f"no 新字式 count for {char} U+{ord(char):04X}")
        return count

    # 本字式 ------------------------------------------------------------

    def radical_and_residual(self, char):
        value = self.unihan["kRSKangXi"].get(char) or self.unihan["kRSUnicode"].get(char)
        if not value:
            sys.exit(f"no radical for {char} U+{ord(char):04X}")
        radical, residual = value.split()[0].split(".")
        return int(radical.rstrip("'")), int(residual)

    def kangxi_strokes(self, char):
        radical, residual = self.radical_and_residual(char)
        return radical_strokes(radical) + residual

    def is_kangxi_head(self, char):
        # kKangXi "page.position" with a final 0 means the Kangxi dictionary
        # has the character itself; 1 only tells where it would stand.
        value = self.unihan["kKangXi"].get(char, "")
        return any(e.endswith("0") for e in value.split())

    def variant_pointers(self, char):
        """The candidate traditional forms per source family, in the
        sources' own order: jinmeiyō, KANJIDIC2, Unihan traditional, Unihan
        same-character variants."""
        kanjidic = []
        for kind, value in self.kanjidic.get(char, ([], []))[1]:
            if kind in ("jis208", "jis212", "jis213"):
                target = jis_character(kind, value)
            elif kind == "ucs":
                target = chr(int(value, 16))
            else:
                continue
            if target:
                kanjidic.append(target)

        def unihan(*fields):
            return [code_point(e) for f in fields
                    for e in self.unihan[f].get(char, "").split()]

        return [
            ("jinmeiyo", self.jinmeiyo_standard.get(char, [])),
            ("kanjidic", kanjidic),
            ("traditional", unihan("kTraditionalVariant")),
            ("same", unihan("kZVariant", "kCompatibilityVariant")),
        ]

    def traditional_form(self, char):
        """The form 本字式 counts; data/README.md states this rule."""
        # 1. The 常用漢字表 decides for its own kanji: the form it gives in
        #    parentheses (弁 has three; the first, 辨, is taken), else the
        #    kanji itself.
        if char in self.joyo_table:
            return self.joyo_table[char][0]
        if char in self.joyo:
            return char
        # 2. Other kanji: a candidate named by a variant pointer must be a
        #    Kangxi head entry and must not count fewer strokes than the kanji
        #    (a traditional form is never the shorter one).
        own = self.kangxi_strokes(char)
        votes, first_seen = {}, {}
        for rank, (family, targets) in enumerate(self.variant_pointers(char)):
            for position, target in enumerate(targets):
                if target == char or not self.is_kangxi_head(target):
                    continue
                if self.kangxi_strokes(target) < own:
                    continue
                votes.setdefault(target, set()).add(family)
                first_seen.setdefault(target, (rank, position))
        if not votes:
            return char
        best = min(votes, key=lambda t: (-len(votes[t]), first_seen[t]))
        # 3. A kanji that is itself a Kangxi head entry stays as it is unless
        #    the jinmeiyō list, KANJIDIC2 and Unihan's traditional variant
        #    all name the same form (村 stays 村, 島 stays 島; 祢 becomes 禰).
        if self.is_kangxi_head(char):
            if not {"jinmeiyo", "kanjidic", "traditional"} <= votes[best]:
                return char
        return best

    def honji(self, char):
        return self.kangxi_strokes(self.traditional_form(char))


def radical_strokes(radical):
    if not 1 <= radical <= 214:
        sys.exit(f"radical {radical} out of range")
    return max(strokes for first, strokes in RADICAL_STROKES_FROM if radical >= first)


# ---------------------------------------------------------------- the dictionary

def build(sources):
    """Returns the 60 lines (lists of characters) and the per-kanji counts."""
    lines = [[] for _ in range(2 * LINES_PER_STYLE)]

    def put(style, count, char):
        if not 1 <= count <= LINES_PER_STYLE:
            sys.exit(f"{char} counts {count} in style {style}")
        lines[LINES_PER_STYLE * style + count - 1].append(char)

    for n, char in enumerate(CIRCLED, start=1):
        put(SHINJI, n, char)
    for chars, shinji, honji in NON_KANJI:
        for char in chars:
            if char in NUMERALS:
                continue  # written with the kanji, in code order
            put(SHINJI, shinji, char)
            if honji is not None:
                put(HONJI, honji, char)
    numeral_counts = {char: (s, h) for chars, s, h in NON_KANJI
                      for char in chars if char in NUMERALS}

    counts = {}  # kanji -> (range name, 新字式, 本字式)
    for level, _, char in cp932_kanji():
        if char in numeral_counts:
            shinji, honji = numeral_counts[char]
        else:
            shinji, honji = sources.shinji(level, char), sources.honji(char)
        counts[char] = (level, shinji, honji)
        put(SHINJI, shinji, char)
        put(HONJI, honji, char)
    for char, count in EXTRA_SHINJI:
        put(SHINJI, count, char)
    return lines, counts


def render(lines):
    return "".join("".join(line) + "\n" for line in lines).encode("utf-8")


# ---------------------------------------------------------------- fidelity

def first_counts(lines):
    """character -> count per style, the first line deciding."""
    found = [{}, {}]
    for index, line in enumerate(lines):
        style, count = divmod(index, LINES_PER_STYLE)
        for char in line:
            found[style].setdefault(char, count + 1)
    return found


def report(lines, counts, sources):
    out = []
    say = out.append
    failures = []

    def check(ok, what):
        if not ok:
            failures.append(what)
        return "exact" if ok else "**differs**"

    say("Sources: " + "; ".join(read_versions() or ["(versions.txt missing)"]))
    header = sources.kanjidic_header
    say(f"KANJIDIC2 database {header.get('database_version')} of "
        f"{header.get('date_of_creation')}; Unihan {sources.unicode_version}; "
        f"KanjiVG counts {len(sources.kanjivg)} kanji")
    say("")

    found = first_counts(lines)
    say("Per line, distinct characters (ours / stated):")
    say("")
    say("| n | 新字式 ours | 新字式 stated | 本字式 ours | 本字式 stated |")
    say("|---|---|---|---|---|")
    distance = {}
    ours = {}
    for style in (SHINJI, HONJI):
        ours[style] = [len(set(lines[LINES_PER_STYLE * style + n])) for n in range(LINES_PER_STYLE)]
        distance[style] = sum(abs(a - b) for a, b in zip(ours[style], STATED_LINES[style])) / 2
    for n in range(LINES_PER_STYLE):
        say(f"| {n + 1} | {ours[SHINJI][n]} | {STATED_LINES[SHINJI][n]} | "
            f"{ours[HONJI][n]} | {STATED_LINES[HONJI][n]} |")
    say("")

    say("| figure | ours | stated | |")
    say("|---|---|---|---|")
    for style, name in ((SHINJI, "新字式"), (HONJI, "本字式")):
        d = distance[style]
        d_text = f"{d:g}"
        mark = "within aim" if d <= AIM[style] else "**over aim**"
        if d > AIM[style]:
            failures.append(f"{name} distance {d_text} over {AIM[style]}")
        say(f"| {name}: half the L1 distance of the per-line lists | {d_text} | ≤ {AIM[style]} (aim) | {mark} |")
    for style, name in ((SHINJI, "新字式"), (HONJI, "本字式")):
        n = len(found[style])
        say(f"| {name}: distinct characters | {n} | {STATED_DISTINCT[style]} | "
            f"{check(n == STATED_DISTINCT[style], name + ' distinct')} |")

    compared = [(s, h) for char, (_, s, h) in counts.items() if char not in NUMERALS]
    more = sum(1 for s, h in compared if h > s)
    fewer = sum(1 for s, h in compared if h < s)
    more_by = [h - s for s, h in compared if h > s]
    fewer_by = [s - h for s, h in compared if h < s]
    say(f"| kanji (numerals aside) counted differently in the styles | {more + fewer} | {STATED_DIFFERENT} | |")
    say(f"| … more strokes in 本字式 (by) | {more} ({min(more_by)} to {max(more_by)}) | {STATED_MORE} (up to 20) | |")
    say(f"| … fewer strokes in 本字式 (by) | {fewer} ({min(fewer_by)} to {max(fewer_by)}) | {STATED_FEWER} (1 to 3) | |")

    by_level = {}
    for level, _, _ in counts.values():
        by_level[level] = by_level.get(level, 0) + 1
    total = len(counts)
    both = sum(1 for char in counts if char in found[SHINJI] and char in found[HONJI])
    say(f"| kanji of code page 932 (level 1 / level 2 / extension) | {total} "
        f"({by_level.get('JIS level 1')} / {by_level.get('JIS level 2')} / {by_level.get('extension')}) "
        f"| 6715 (2965 / 3390 / 360) | "
        f"{check((total, by_level.get('JIS level 1'), by_level.get('JIS level 2'), by_level.get('extension')) == (6715, 2965, 3390, 360), 'kanji coverage')} |")
    say(f"| … of them in both styles | {both} | 6715 | {check(both == 6715, 'kanji in both styles')} |")

    def group(name, chars, in_honji, stated):
        present = sum(1 for c in chars if c in found[SHINJI]
                      and (c in found[HONJI]) == in_honji)
        say(f"| {name} | {present} | {stated} | {check(present == stated == len(chars), name)} |")

    hiragana = [chr(c) for c in range(ord("ぁ"), ord("ん") + 1)]
    katakana = [chr(c) for c in range(ord("ァ"), ord("ヶ") + 1)]
    digits = [chr(c) for c in range(ord("０"), ord("９") + 1)]
    latin = [chr(c) for c in range(ord("Ａ"), ord("Ｚ") + 1)] + \
            [chr(c) for c in range(ord("ａ"), ord("ｚ") + 1)]
    symbols = list("。．・：；？！〆ー／～’＋－×＝％＃＆＊＠☆★○")
    group("〇 and 仝, both styles", list("〇仝"), True, 2)
    group("hiragana ぁ–ん, both styles", hiragana, True, 83)
    group("katakana ァ–ヶ, both styles", katakana, True, 86)
    group("digits ０–９, both styles", digits, True, 10)
    group("Latin Ａ–Ｚ ａ–ｚ, both styles", latin, True, 52)
    group("symbols, both styles", symbols, True, 24)
    group("circled ①–⑳, 新字式 only", list(CIRCLED), False, 20)
    group("iteration marks ゝヽゞヾ々, 新字式 only", list("ゝヽゞヾ々"), False, 5)
    say("")

    say("Stated counts (新字式 / 本字式, ours then stated):")
    say("")
    say("| character | ours | stated | |")
    say("|---|---|---|---|")
    stated = list(STATED_KANJI)
    stated += [(c, s, h) for chars, s, h in NON_KANJI for c in chars]
    stated += [(c, n, None) for n, c in enumerate(CIRCLED, start=1)]
    stated += [(c, None, None) for c in "　、，「」（）゛゜…―"]
    for char, s, h in stated:
        got = (found[SHINJI].get(char), found[HONJI].get(char))
        ok = got == (s, h)
        if char in dict.fromkeys(c for c, _, _ in STATED_KANJI) or not ok:
            label = "U+3000 (full-width space)" if char == "　" else char
            fmt = lambda v: "–" if v is None else str(v)
            say(f"| {label} | {fmt(got[0])} / {fmt(got[1])} | {fmt(s)} / {fmt(h)} | {check(ok, char)} |")
    non_kanji_ok = all((found[SHINJI].get(c), found[HONJI].get(c)) == (s, h)
                       for c, s, h in stated[len(STATED_KANJI):])
    say(f"| the whole non-kanji table, ①–⑳ and the uncounted characters | "
        f"{'as stated' if non_kanji_ok else 'see above'} | | {check(non_kanji_ok, 'non-kanji table')} |")
    say("")

    names = [("山田 太郎", SHINJI, [3, 5, 4, 9]), ("山田 太郎", HONJI, [3, 5, 4, 14]),
             ("渡辺 花子", SHINJI, [12, 5, 7, 3]), ("渡辺 花子", HONJI, [13, 22, 10, 3]),
             ("池田", SHINJI, [6, 5]), ("池田", HONJI, [7, 5])]
    say("Names: " + "; ".join(
        f"{text} {'新字式' if style == SHINJI else '本字式'} "
        f"{[found[style].get(c) for c in text.replace(' ', '')]} "
        f"{check([found[style].get(c) for c in text.replace(' ', '')] == want, text)}"
        for text, style, want in names))

    # Every character is encodable, double-byte, and in range.
    bad = [c for line in lines for c in line if not cp932_encodable(c)]
    say(f"Characters outside code page 932 or not double-byte: {len(bad)} "
        f"{check(not bad, 'encodable')}")
    return out, failures


# ---------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with data/strokes.txt instead of writing it")
    args = parser.parse_args()

    sources = Sources()
    lines, counts = build(sources)
    data = render(lines)

    out, failures = report(lines, counts, sources)
    print("\n".join(out))

    if args.check:
        with open(OUTPUT, "rb") as f:
            same = f.read() == data
        print(f"\n{os.path.relpath(OUTPUT, REPO)} {'is up to date' if same else 'DIFFERS from the generated text'}")
        if not same:
            return 1
    else:
        with open(OUTPUT, "wb") as f:
            f.write(data)
        print(f"\nwrote {os.path.relpath(OUTPUT, REPO)} ({len(data)} bytes)")
    if failures:
        print("NOT AS STATED: " + ", ".join(failures), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
