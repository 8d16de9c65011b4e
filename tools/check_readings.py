#!/usr/bin/env python3
"""Validate data/readings.txt, the 110 reading paragraphs of the program.

Usage: tools/check_readings.py [path] [--ngrams N]

Checks the file format (UTF-8, LF, 110 rows), the characters of every row
(code page 932, two bytes each, 88 to 114 characters, "，" and "。"), the
openings and closings of each block and that no sentence is used twice.
Prints the length of every row.  With --ngrams N it also lists runs of N
characters that occur in more than one row, to spot repeated stock phrases
(informational only).  Exit status 1 when any rule is broken.
"""

import argparse
import collections
import pathlib
import sys

ROWS = 110
MIN_CHARS = 88
MAX_CHARS = 114

NUMBER_ROWS = range(0, 80)
PERSONALITY_ROWS = range(80, 90)
LOVE_ROWS = range(90, 100)
CAREER_ROWS = range(100, 110)

THIS_OPENING = "これは，"
HOLDER_OPENING = "この数を持つ人は，"
HOLDER_NUMBERS = {7, 8, 12, 13, 17, 24, 25, 29, 31, 40, 62, 72, 73, 74}
FIRST_SENTENCE = "これは，ものごとの基礎になる数で，たいへんすぐれた運勢を表しています。"
QUOTED_NUMBERS = {26, 28, 33, 43}
CALM_OPENING = "つねに冷静で感情をあまり表に現しません。"
PARTNER_OPENING = "あなたにふさわしい相手は，"
PARTNER_ROWS_EXPECTED = 4
CAREER_OPENING = "適した職業は，"
CAREER_OPENING_DIGIT_9 = "適した仕事は，"
CAREER_CLOSING = "などです。"

QUOTE_OPEN = "\u201c"
QUOTE_CLOSE = "\u201d"
OTHER_QUOTES = set("「」『』〝〟‘’＂＇《》〈〉【】")
FORBIDDEN_PUNCTUATION = set("、．｡､")
# Continuations of "…の人は，" / "あなたは，" must not start a new subject.
BAD_CONTINUATION_STARTS = ("あなた", "この", "これ", "その", "彼", "人運", "地運", "外運")


def sentences(text):
    """Split a row into sentences, each ending with "。"."""
    parts = []
    start = 0
    for i, ch in enumerate(text):
        if ch == "。":
            parts.append(text[start : i + 1])
            start = i + 1
    if start < len(text):
        parts.append(text[start:])
    return parts


def check(path, ngram):
    errors = []

    def fail(row, message):
        where = f"row {row}" if row is not None else "file"
        errors.append(f"{where}: {message}")

    raw = pathlib.Path(path).read_bytes()
    if raw.startswith(b"\xef\xbb\xbf"):
        fail(None, "starts with a byte-order mark")
    if b"\r" in raw:
        fail(None, "contains CR; line ends must be LF")
    if not raw.endswith(b"\n") or raw.endswith(b"\n\n"):
        fail(None, "must end with exactly one LF after the last row")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        print(f"file: not UTF-8: {e}")
        return 1
    rows = text.split("\n")
    if rows and rows[-1] == "":
        rows.pop()
    if len(rows) != ROWS:
        fail(None, f"has {len(rows)} rows, expected {ROWS}")

    lengths = []
    for r, row in enumerate(rows):
        lengths.append(len(row))
        if not row:
            fail(r, "is empty")
            continue
        if not MIN_CHARS <= len(row) <= MAX_CHARS:
            fail(r, f"has {len(row)} characters, expected {MIN_CHARS}-{MAX_CHARS}")
        for ch in row:
            try:
                encoded = ch.encode("cp932")
            except UnicodeEncodeError:
                fail(r, f"character {ch!r} (U+{ord(ch):04X}) is not in code page 932")
                continue
            if len(encoded) != 2:
                fail(r, f"character {ch!r} is not full-width ({len(encoded)} byte)")
            if ch in FORBIDDEN_PUNCTUATION:
                fail(r, f"uses {ch!r}; use '，' and '。'")
            if ch in OTHER_QUOTES:
                fail(r, f"uses the quotation mark {ch!r}")
        if len(row.encode("cp932", errors="replace")) % 2:
            fail(r, "has an odd byte length in code page 932")
        if not row.endswith("。"):
            fail(r, "does not end with '。'")
        if "。，" in row or "，。" in row or "，，" in row:
            fail(r, "has misplaced punctuation")

        has_quotes = QUOTE_OPEN in row or QUOTE_CLOSE in row
        number = r + 1
        if r in NUMBER_ROWS:
            count = len(sentences(row))
            if not 2 <= count <= 4:
                fail(r, f"number text has {count} sentences, expected 2-4")
            expected = HOLDER_OPENING if number in HOLDER_NUMBERS else THIS_OPENING
            if not row.startswith(expected):
                fail(r, f"number {number} must open with {expected!r}")
            if number == 1 and not row.startswith(FIRST_SENTENCE):
                fail(r, "number 1 must open with its fixed sentence")
            if number in QUOTED_NUMBERS:
                opens = row.count(QUOTE_OPEN)
                closes = row.count(QUOTE_CLOSE)
                if opens != 1 or closes != 1:
                    fail(r, "must name exactly one fortune in “…”")
                else:
                    a, b = row.index(QUOTE_OPEN), row.index(QUOTE_CLOSE)
                    inner = row[a + 1 : b]
                    if b < a or not inner.endswith("運") or len(inner) < 2:
                        fail(r, f"quoted text {inner!r} must name a fortune ending in 運")
            elif has_quotes:
                fail(r, "must not contain quotation marks")
        else:
            if has_quotes:
                fail(r, "must not contain quotation marks")
            if row.startswith(BAD_CONTINUATION_STARTS):
                fail(r, "must continue the lead sentence, not start a new subject")
        if r == 81 and not row.startswith(CALM_OPENING):
            fail(r, f"personality text for digit 1 must open with {CALM_OPENING!r}")
        if r not in LOVE_ROWS and PARTNER_OPENING in row:
            fail(r, "only love texts describe the partner")
        if r in CAREER_ROWS:
            parts = sentences(row)
            opening = CAREER_OPENING_DIGIT_9 if r == 109 else CAREER_OPENING
            other = CAREER_OPENING if r == 109 else CAREER_OPENING_DIGIT_9
            if len(parts) != 2:
                fail(r, f"career text has {len(parts)} sentences, expected 2")
            else:
                last = parts[1]
                if not last.startswith(opening) or not last.endswith(CAREER_CLOSING):
                    fail(r, f"second sentence must be {opening!r} … {CAREER_CLOSING!r}")
                else:
                    items = last[len(opening) : -len(CAREER_CLOSING)].split("，")
                    if len(items) < 2 or any(not item for item in items):
                        fail(r, "occupations must be a list separated by '，'")
                if other in row or opening in parts[0]:
                    fail(r, "the list sentence must appear once, at the end")

    partner_rows = []
    for r in LOVE_ROWS:
        if r >= len(rows):
            break
        row = rows[r]
        if PARTNER_OPENING in row:
            last = sentences(row)[-1]
            if last.startswith(PARTNER_OPENING) and last.endswith("です。"):
                partner_rows.append(r)
            else:
                fail(r, "the partner sentence must be the last and end with 'です。'")
            if row.count(PARTNER_OPENING) != 1:
                fail(r, "describes the partner more than once")
    if len(partner_rows) != PARTNER_ROWS_EXPECTED:
        fail(None, f"{len(partner_rows)} love texts describe the partner, expected "
             f"{PARTNER_ROWS_EXPECTED}")

    seen = {}
    for r, row in enumerate(rows):
        for sentence in sentences(row):
            if sentence in seen:
                fail(r, f"repeats the sentence of row {seen[sentence]}: {sentence}")
            else:
                seen[sentence] = r

    holders = sum(1 for r in NUMBER_ROWS if r < len(rows) and rows[r].startswith(HOLDER_OPENING))
    these = sum(1 for r in NUMBER_ROWS if r < len(rows) and rows[r].startswith(THIS_OPENING))

    print("lengths:")
    for start in range(0, len(lengths), 10):
        cells = " ".join(f"{r:3d}:{n:3d}" for r, n in enumerate(lengths[start:start + 10], start))
        print("  " + cells)
    if lengths:
        print(f"min {min(lengths)}  max {max(lengths)}  rows {len(rows)}")
    print(f"openings: これは， {these}  この数を持つ人は， {holders}  "
          f"partner sentences {len(partner_rows)} (rows {partner_rows})")

    if ngram:
        where = collections.defaultdict(set)
        for r, row in enumerate(rows):
            for i in range(len(row) - ngram + 1):
                where[row[i : i + ngram]].add(r)
        shared = {g: sorted(rs) for g, rs in where.items() if len(rs) > 1}
        print(f"{ngram}-character runs in more than one row: {len(shared)}")
        for g, rs in sorted(shared.items(), key=lambda item: item[1]):
            print(f"  {g}  rows {rs}")

    for e in errors:
        print("ERROR " + e)
    print("OK" if not errors else f"{len(errors)} error(s)")
    return 1 if errors else 0


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "data" / "readings.txt"
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("path", nargs="?", default=str(default))
    parser.add_argument("--ngrams", type=int, default=0, metavar="N",
                        help="list N-character runs shared by several rows")
    args = parser.parse_args()
    return check(args.path, args.ngrams)


if __name__ == "__main__":
    sys.exit(main())
