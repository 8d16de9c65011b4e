#!/usr/bin/env python3
"""Validate data/readings.txt, the 110 reading paragraphs of the program.

Usage: tools/check_readings.py [path] [--ngrams N]

Checks the file format (UTF-8, LF, 110 rows), the characters of every row
(code page 932, two bytes each, 88 to 114 characters, "，" and "。"), the
openings and closings of each block and that no sentence is used twice.
It also checks the editorial rules that keep the texts from reading as one
template: one spelling per word (SPELLINGS), caps on stock openings, closings
and words, no promises and varied closings in the unfavourable (×) number
texts, love texts that speak of love only, and occupations from OCCUPATIONS.
Phrases an editor struck (STRUCK) stay out, the sentence after "これは，" says
what the number is (NUMBER_PREDICATE), the texts keep one advice voice, stock
turns such as "ただ，" and "でしょう" are capped, and the career texts keep a
short first sentence and a list of three to five.
Prints the length of every row.  With --ngrams N it also lists runs of N
characters that occur in more than one row, to spot repeated stock phrases
(informational only).  Exit status 1 when any rule is broken.
"""

import argparse
import collections
import pathlib
import re
import sys

# One spelling per word: the form the texts use, then the forms it replaces.
# The fixed sentences (FIRST_SENTENCE, CALM_OPENING) keep their own spelling.
SPELLINGS = [
    ("必ず", ("かならず",)),
    ("蓄え", ("貯え",)),
    ("任され", ("まかされ",)),
    ("一人", ("ひとり",)),
    ("一つ", ("ひとつ",)),
    ("優れ", ("すぐれ",)),
    ("物事", ("ものごと",)),
    ("素早く", ("すばやく",)),
    ("遂げ", ("とげ",)),
    ("差し伸べ", ("差しのべ",)),
    ("つきあ", ("付き合", "付きあ")),
    ("寂し", ("さびし", "淋し")),
    ("いっそう", ("一層",)),
    ("見極め", ("見きわめ",)),
    ("大吉の", ("大吉数",)),
]
# "とき" is the word for "when"; 時 appears only inside a compound (時期, 時間).
LONE_TIME = re.compile(r"(?<![\u4e00-\u9fff々])時(?![\u4e00-\u9fff々])")

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

# Stock phrasing: how many rows may share it.
FIRST_SENTENCE_ENDINGS = {"数です。": 28, "やすい数です。": 3, "運勢です。": 12}
CLOSING_ENDINGS = {"でしょう。": 20}
# Stock turns anywhere in a row: how many rows may use them.
STOCK_TURNS = {"ただ，": 10, "でしょう": 20, "ことも": 18}
# Most texts have three sentences; this many at most, so that the rhythm varies.
MAX_THREE_SENTENCE_ROWS = 90
STOCK_WORDS = {"恵まれ": 6, "財": 12, "周囲": 6, "周り": 9, "運勢": 20}

# Unfavourable (grade 4 in data/keywords.txt) number texts: no promises, and
# closings that vary.
KEYWORDS = pathlib.Path(__file__).resolve().parent.parent / "data" / "keywords.txt"
UNFAVOURABLE_GRADE = "4"
PROMISES = ("必ず", "かならず", "きっと", "間違いなく", "約束され", "保証")
# A last sentence of the form "〜すれば，…ます" (a remedy with its result).
REMEDY = re.compile(r"(ば|たら|なら|ると)，")
MAX_REMEDY_CLOSINGS = 8
CLOSING_TAIL = 6  # characters, with the "。"
MAX_SHARED_CLOSING = 3

# No row promises health or assumes a family business.
NEVER_SAID = ("健やか", "健康", "長生き", "家業")

# Phrases an editor struck, with the reason; none may come back.
STRUCK = {
    "選び違え": "write 選び間違え",
    "数の一つに数え": "数 … 数える",
    "身を立てる立身": "tautology",
    "決め手をつかみ": "決め手を欠く, or say it plainly",
    "大きな地位": "write 高い地位",
    "名実ともに実り": "実 … 実り",
    "本領があり": "本領を発揮する",
    "の名にふさわしく": "stock opening of the calm numbers",
    "の名のとおり": "stock opening of the calm numbers",
    "子孫": "lineage as the norm",
    "子や孫": "lineage as the norm",
    "家運": "household as the norm",
    "次の世代": "lineage as the norm",
    "結婚を視野": "marriage as the norm",
    "職場でも家庭でも": "household as the norm",
    "思いのまま": "promise",
    "誰にも好かれ": "promise",
    "同時に手にします": "promise",
    "一生を通じて": "promise",
    "どこへ行っても": "absolute trait that other paragraphs contradict",
    "争うことを好みません": "absolute trait that other paragraphs contradict",
}
# The keyword is shown beside the number; the prose does not restate the
# harshest ones.
SENSITIVE_KEYWORDS = ("障害", "中絶", "短命", "滅亡", "破滅", "悲惨", "絶望", "衰絶")
# One advice voice ("…ましょう"); these others are not used.
OTHER_VOICES = ("たいもの", "たいところ", "ください", "勧め")

# After "これは，" the first sentence says what the number is or shows, not
# what the person does: it ends with one of these predicates, or it names the
# number ("…の数で，") on the way.
NUMBER_PREDICATE = re.compile(
    r"(?:(?:数|運勢|数の一つ)です"
    r"|(?:表|示|暗示)し(?:ます|ています)"
    r"|(?:もたらします|導きます|授けます|宿しています|含んでいます|持っています|はらんでいます))。$")
NAMES_THE_NUMBER = "数で，"

# Love texts follow "…から恋愛運に関して判断を加えますと，あなたは，".
LOVE_FRAME_ECHO = "恋愛"
# Career texts: a short first sentence and a list of three to five.
CAREER_FIRST_MAX_CHARS = 55
CAREER_FIRST_MAX_COMMAS = 2
CAREER_ITEMS = range(3, 6)
# Continuations of "…の人は，" do not say 人 again in their first clause.
LONE_PERSON = re.compile(r"(?<![\u4e00-\u9fff々])人")

# Love texts describe behaviour in love, not the whole character, and say
# "あなた" at most in the partner sentence (the lead already ends "あなたは，").
LOVE_FORBIDDEN = ("恋愛にも", "感じやす")
SECOND_TOPIC = "のは，"

# Occupations a career text may list: current, gender-neutral job names (no
# industries); the digit 9 text lists kinds of work.
OCCUPATIONS = {
    "研究者", "技術者", "翻訳者", "プログラマー", "学芸員",
    "公認会計士", "税理士", "銀行員", "裁判官", "薬剤師",
    "看護師", "保育士", "介護福祉士", "カウンセラー",
    "営業職", "販売員", "アナウンサー", "司会者", "広報担当者", "旅行会社の企画担当者",
    "広告プランナー",
    "デザイナー", "作家", "音楽家", "美容師", "写真家",
    "公務員", "不動産鑑定士", "建築士", "司法書士", "農業経営者",
    "教師", "医師", "社会福祉士", "人事担当者", "栄養士",
    "警察官", "消防士", "自衛官", "海上保安官", "経営者",
    "職人", "料理人", "スポーツ選手", "外科医", "起業家",
    "システムエンジニア", "図書館司書", "品質管理担当者", "新聞の校閲者", "航空管制官",
    "キャリアコンサルタント", "インテリアコーディネーター", "ツアーコンダクター",
    "客室乗務員", "グラフィックデザイナー", "小説家", "作曲家", "映像クリエイター",
    "地方公務員", "一級建築士", "スポーツ指導者", "建設現場の監督", "旅客機のパイロット",
    "プロジェクトマネージャー", "家具職人", "プロスポーツ選手",
}
KINDS_OF_WORK = {"商品企画", "編集", "書籍の編集", "報道", "ニュース報道", "市場調査", "貿易実務"}

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


def without_fixed_sentences(text):
    """The row with the fixed sentences removed: they keep their own spelling."""
    return text.replace(FIRST_SENTENCE, "").replace(CALM_OPENING, "")


def check_editorial(rows, fail):
    """Rules that keep the texts varied, consistent and honest."""
    for r, row in enumerate(rows):
        free = without_fixed_sentences(row)
        for chosen, variants in SPELLINGS:
            for variant in variants:
                if variant in free:
                    fail(r, f"write {chosen!r}, not {variant!r}")
        if LONE_TIME.search(free):
            fail(r, "write 'とき' for the word; '時' only inside a compound")
        for phrase in NEVER_SAID:
            if phrase in row:
                fail(r, f"must not say {phrase!r} (no health promises, no family business)")
        for phrase, reason in STRUCK.items():
            if phrase in row:
                fail(r, f"uses the struck phrase {phrase!r} ({reason})")
        for keyword in SENSITIVE_KEYWORDS:
            if keyword in row:
                fail(r, f"restates the keyword {keyword!r}; the report shows it already")
        for voice in OTHER_VOICES:
            if voice in row:
                fail(r, f"advises with {voice!r}; use '…ましょう' or a plain statement")
        for promise in PROMISES:
            if promise in row:
                fail(r, f"promises an outcome ({promise!r})")

    number_rows = [rows[r] for r in NUMBER_ROWS if r < len(rows)]
    firsts = [sentences(row)[0] for row in number_rows]
    for ending, cap in FIRST_SENTENCE_ENDINGS.items():
        count = sum(first.endswith(ending) for first in firsts)
        if count > cap:
            fail(None, f"{count} number texts end their first sentence with {ending!r}, "
                 f"at most {cap}")
    for ending, cap in CLOSING_ENDINGS.items():
        count = sum(row.endswith(ending) for row in rows)
        if count > cap:
            fail(None, f"{count} rows end with {ending!r}, at most {cap}")
    for turn, cap in STOCK_TURNS.items():
        count = sum(turn in row for row in rows)
        if count > cap:
            fail(None, f"{count} rows use {turn!r}, at most {cap}")
    three = sum(len(sentences(row)) == 3 for row in rows)
    if three > MAX_THREE_SENTENCE_ROWS:
        fail(None, f"{three} rows have three sentences, at most {MAX_THREE_SENTENCE_ROWS}")
    for r in NUMBER_ROWS:
        if r >= len(rows) or not rows[r].startswith(THIS_OPENING):
            continue
        first = sentences(rows[r])[0]
        if NAMES_THE_NUMBER not in first and not NUMBER_PREDICATE.search(first):
            fail(r, "after 'これは，' the first sentence must say what the number is or "
                 f"shows, not what the person does: …{first[-12:]}")
    for r in list(PERSONALITY_ROWS) + list(CAREER_ROWS):
        if r < len(rows):
            clause = re.split("[，。]", rows[r], maxsplit=1)[0]
            if LONE_PERSON.search(clause):
                fail(r, "repeats 人 right after '…の人は，'")
    for word, cap in STOCK_WORDS.items():
        count = sum(word in row for row in rows)
        if count > cap:
            fail(None, f"{count} rows use {word!r}, at most {cap}")

    grades = [line[:1] for line in KEYWORDS.read_text(encoding="utf-8").splitlines()]
    unfavourable = [r + 1 for r, grade in enumerate(grades) if grade == UNFAVOURABLE_GRADE]
    closings = collections.Counter()
    remedies = []
    for number in unfavourable:
        if number > len(rows):
            continue
        row = rows[number - 1]
        last = sentences(row)[-1]
        closings[last[-CLOSING_TAIL:]] += 1
        if REMEDY.search(last):
            remedies.append(number)
    if len(remedies) > MAX_REMEDY_CLOSINGS:
        fail(None, f"{len(remedies)} unfavourable texts close with a remedy "
             f"'…ば，…' (numbers {remedies}), at most {MAX_REMEDY_CLOSINGS}")
    for tail, count in closings.items():
        if count > MAX_SHARED_CLOSING:
            fail(None, f"{count} unfavourable texts close with '…{tail}', "
                 f"at most {MAX_SHARED_CLOSING}")

    # "…の人は，" and "あなたは，" already give the topic: a continuation that
    # opens with "…のは，" would give the sentence a second one.
    for r in range(PERSONALITY_ROWS.start, CAREER_ROWS.stop):
        if r < len(rows) and SECOND_TOPIC in sentences(rows[r])[0]:
            fail(r, f"first sentence has a second topic {SECOND_TOPIC!r}")

    for r in LOVE_ROWS:
        if r >= len(rows):
            break
        row = rows[r]
        for phrase in LOVE_FORBIDDEN:
            if phrase in row:
                fail(r, f"love text uses {phrase!r}; speak of behaviour in love")
        if row.replace(PARTNER_OPENING, "").count("あなた"):
            fail(r, "love text says 'あなた' outside the partner sentence opening")
        if row.startswith(LOVE_FRAME_ECHO):
            fail(r, f"opens with {LOVE_FRAME_ECHO!r}, which the lead sentence has just said")

    for r in CAREER_ROWS:
        if r >= len(rows):
            break
        parts = sentences(rows[r])
        opening = CAREER_OPENING_DIGIT_9 if r == 109 else CAREER_OPENING
        last = parts[-1]
        if not (last.startswith(opening) and last.endswith(CAREER_CLOSING)):
            continue
        first = parts[0]
        if len(first) > CAREER_FIRST_MAX_CHARS or first.count("，") > CAREER_FIRST_MAX_COMMAS:
            fail(r, f"career first sentence has {len(first)} characters and "
                 f"{first.count('，') + 1} clauses; at most {CAREER_FIRST_MAX_CHARS} and "
                 f"{CAREER_FIRST_MAX_COMMAS + 1}")
        if "では，" in first:
            fail(r, "career first sentence changes its subject ('…では，'); keep the person")
        allowed = KINDS_OF_WORK if r == 109 else OCCUPATIONS
        items = last[len(opening) : -len(CAREER_CLOSING)].split("，")
        if len(items) not in CAREER_ITEMS:
            fail(r, f"lists {len(items)} occupations, expected "
                 f"{CAREER_ITEMS.start}-{CAREER_ITEMS.stop - 1}")
        for item in items:
            if item not in allowed:
                fail(r, f"{item!r} is not in the checker's list of "
                     f"{'kinds of work' if r == 109 else 'occupations'}")


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

    check_editorial(rows, fail)

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
