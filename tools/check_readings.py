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
Over every (総運, 人運, 地運, 外運) combination that a real name can give, it
fails rows that contradict each other on a trait axis (TRAIT_AXES) and
content words (ECHO_STEMS) that come back in a second paragraph of too many
reports, and prints both rates; it also keeps the rows clear of the lead
sentences' words, of households and partners assumed, of unhedged outcomes in
the favourable texts and of traits in the career texts.  Each of these rules
is broken once on a copy of the rows (SELF_TESTS) and must fail there.
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
MAX_THREE_SENTENCE_ROWS = 60
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


# ---------------------------------------------------------------------------
# Wording rules that the combination of four paragraphs makes necessary.

# The lead of paragraph 1 says "…さんの生涯の総合的な運勢ですが，あなたの総運は…
# です。"; a number text that says 運勢 in its first sentence, or 生涯 at all,
# repeats it.  FIRST_SENTENCE is fixed and exempt.
LEAD_ECHO_FIRST_SENTENCE = "運勢"
LEAD_ECHO_ANYWHERE = "生涯"
# The love lead ends "…判断を加えますと，あなたは，": a love text whose first
# clause is another "…と，" or holds "すると" stacks two conditions.
LOVE_CONDITIONAL_OPENING = re.compile(r"^[^，。]*(?:と，|すると)")
# Family and partner are not assumed: nobody is told about a household they
# may not have, and a love text does not presume a partner already exists.
BANNED_EVERYWHERE = ("家族", "家庭", "身内")
BANNED_IN_LOVE = ("恋人",)
# A lecture, a verdict that nothing works, a trouble that never ends.
BANNED_PHRASES = ("何をしても", "絶えません")
# "…のです" explains and lectures; "ものです" is a plain statement.
LECTURE = re.compile(r"(?<!も)のです")
# "この数を持つ人は，" describes the person: its sentence does not end on the
# number or the fortune ("…運です。") and does not count other people.
HOLDER_BAD_ENDINGS = ("運です。", "数です。")
HOLDER_BAD_PHRASES = ("人も少なく",)
# Favourable (grade 1 and 2) texts describe chances, not certainties: a
# sentence with one of these outcome verbs needs a hedge in the same sentence.
FAVOURABLE_GRADES = ("1", "2")
OUTCOME_VERBS = ("得られます", "得ます", "順調に運びます", "かなう", "かないます",
                 "名を上げます", "手にできます", "手にします", "望めます", "成功します",
                 "成し遂げます", "築けます", "保てます", "続きます", "集まります",
                 "報われます", "ついてきます", "備わっていきます", "返ってきます")
HEDGES = ("やすい", "やすく", "でしょう", "ことも", "ことが", "かもしれ", "ば，", "なら",
          "たら", "ほど")
# A word stem used twice in one row: any run of two kanji, and these stems.
REPEATABLE_BIGRAMS = {"一人", "一つ", "相手", "自分"}
STEM_LIMITS = {"力": 2, "徳": 1, "運": 2}
KANJI_BIGRAM = re.compile(r"(?=([\u4e00-\u9fff々]{2}))")
# The career paragraph says what work suits; the trait belongs to the
# personality paragraph.  Its first clause must not be a trait such as
# "…強さを持ち" or "…明るさがあり".
CAREER_TRAIT_CLAUSE = re.compile(r"(?:を持ち|があり|を備え|が行き届き|られるので|感じるので)$")


def check_wording(rows, fail, grades):
    for r, row in enumerate(rows):
        for word in BANNED_EVERYWHERE:
            if word in row:
                fail(r, f"assumes a household ({word!r})")
        for phrase in BANNED_PHRASES:
            if phrase in row:
                fail(r, f"uses {phrase!r} (a lecture or a verdict)")
        if LECTURE.search(row):
            fail(r, "uses 'のです' (a lecture)")
        counts = collections.Counter(KANJI_BIGRAM.findall(row))
        for bigram, n in counts.items():
            if n > 1 and bigram not in REPEATABLE_BIGRAMS:
                fail(r, f"says {bigram!r} {n} times")
        for stem, limit in STEM_LIMITS.items():
            if row.count(stem) > limit:
                fail(r, f"says {stem!r} {row.count(stem)} times, at most {limit}")
    for r in NUMBER_ROWS:
        if r >= len(rows):
            break
        row = rows[r]
        first = sentences(row.replace(FIRST_SENTENCE, "", 1) if r == 0 else row)[0]
        if r != 0 and LEAD_ECHO_FIRST_SENTENCE in first:
            fail(r, f"says {LEAD_ECHO_FIRST_SENTENCE!r} in the first sentence, "
                 "right after the lead's '総合的な運勢ですが'")
        if LEAD_ECHO_ANYWHERE in row:
            fail(r, f"says {LEAD_ECHO_ANYWHERE!r}, which the lead has just said")
        if row.startswith(HOLDER_OPENING):
            opening = sentences(row)[0]
            if opening.endswith(HOLDER_BAD_ENDINGS):
                fail(r, "'この数を持つ人は，' sentence ends on the number or the fortune: "
                     f"…{opening[-8:]}")
            for phrase in HOLDER_BAD_PHRASES:
                if phrase in row:
                    fail(r, f"'この数を持つ人は，' text counts other people ({phrase!r})")
        if r < len(grades) and grades[r] in FAVOURABLE_GRADES:
            for sentence in sentences(row):
                verb = next((v for v in OUTCOME_VERBS if v in sentence), None)
                if verb and not any(h in sentence for h in HEDGES):
                    fail(r, f"promises an outcome ({verb!r}) without a hedge")
    for r in LOVE_ROWS:
        if r >= len(rows):
            break
        if LOVE_CONDITIONAL_OPENING.search(rows[r]):
            fail(r, "love text opens with '…と，' or 'すると' right after '…加えますと，'")
        for word in BANNED_IN_LOVE:
            if word in rows[r]:
                fail(r, f"love text presumes a partner ({word!r})")
    for r in CAREER_ROWS:
        if r >= len(rows):
            break
        clause = re.split("[，。]", rows[r], maxsplit=1)[0]
        if CAREER_TRAIT_CLAUSE.search(clause):
            fail(r, f"career text opens with a trait ('{clause}'); open with the work")


# ---------------------------------------------------------------------------
# The combinations one report holds.
#
# A report joins the number text of 総運 with the digit texts of 人運, 地運
# and 外運.  For a surname of m and a given name of n characters (1 to 3
# each) with stroke counts from the stroke table, write a for the surname
# without its last character (1 for a one-character surname), x for the last
# surname character, y for the first given-name character and b for the given
# name without it (1 for a one-character given name).  Then
#   人運 = x + y,  地運 = y + b,  外運 = a + b,
#   総運 = a + x + y + b − (the one-character extras),
# so 総運, 人運 and 外運 are tied: not every quadruple occurs.  The rates
# below count each reachable quadruple (総運 row, 人運 digit, 地運 digit,
# 外運 digit) once.

STROKES = pathlib.Path(__file__).resolve().parent.parent / "data" / "strokes.txt"
NAME_LENGTHS = (1, 2, 3)


def part_sums(length, counts):
    """Sums of a name part without its joining character, and its extra."""
    if length == 1:
        return {1}, 1
    sums = {0}
    for _ in range(length - 1):
        sums = {s + c for s in sums for c in counts}
    return sums, 0


def reachable_combinations(counts):
    quads = set()
    for m in NAME_LENGTHS:
        surname, extra_s = part_sums(m, counts)
        for n in NAME_LENGTHS:
            given, extra_g = part_sums(n, counts)
            outer = {(a + b - extra_s - extra_g, b % 10, (a + b) % 10)
                     for a in surname for b in given}
            with_y = {((t + y) % 80, (y + bd) % 10, o, y % 10)
                      for t, bd, o in outer for y in counts}
            for t, e, o, yd in with_y:
                for x in counts:
                    quads.add(((t + x - 1) % 80, (x + yd) % 10, e, o))
    return sorted(quads)


def stroke_counts():
    lines = STROKES.read_text(encoding="utf-8").splitlines()
    return sorted({i % 30 + 1 for i, line in enumerate(lines) if line})


def report_rows(quad):
    total_row, person, earth, outer = quad
    return (total_row, PERSONALITY_ROWS.start + person, LOVE_ROWS.start + earth,
            CAREER_ROWS.start + outer)


# Trait axes.  A row asserts a pole when it holds one of the pole's phrases.
# Two rows of one report must not assert opposite poles of one axis, unless
# one of them limits the trait to a field of life: a love text speaks of love
# only, and a phrase in a sentence that names love or work is scoped to it.
TRAIT_AXES = {
    # How readily the person opens up to others.
    "sociability": {
        "reserved": ("物静か", "控えめ", "打ち解けるまでに時間", "人見知り",
                     "感情をあまり表に", "孤独を感じ", "一人を好"),
        "outgoing": ("初対面の相手とも", "社交", "話し上手", "明るく活発",
                     "気負わずに話せ", "場を盛り上げ", "誰とでも"),
    },
    # Whether the person keeps at a thing.
    "persistence": {
        "persistent": ("粘り強", "やり抜", "やり遂げる粘り", "根気強", "深く掘り下げ",
                       "あきらめない", "地道な努力を苦にしない", "こつこつ"),
        "fickle": ("飽きっぽ", "粘りや決断が足りず", "途中で気が変わ", "やり遂げにく",
                   "根気が続かず", "冷めやす", "投げ出"),
    },
    # Whether the person pushes their own view or gives way.
    "assertiveness": {
        "assertive": ("はっきり言", "我を通", "信念を曲げない", "押しが強", "負けず嫌い",
                      "意志が固", "張り合", "強情"),
        "yielding": ("押しが弱", "断れず", "人に合わせ", "流されやす", "押しの強さには欠け",
                     "消極的", "頼りすぎ", "決めきれず"),
    },
    # Whether the person's mood and course hold steady.
    "steadiness": {
        "steady": ("つねに冷静", "軽はずみな行動をしない", "ぶれない", "動じない"),
        "changeable": ("気分にむら", "気持ちが揺れ", "熱しやす", "移り気", "心が定まりにく"),
    },
}
SCOPE_MARKERS = {"love": ("恋",), "work": ("仕事で", "職場", "仕事に")}


def row_traits(r, row):
    """The (axis, pole, scope) triples a row asserts; scope is None for all of life."""
    found = set()
    for sentence in sentences(row):
        scope = "love" if r in LOVE_ROWS else None
        if scope is None:
            for name, markers in SCOPE_MARKERS.items():
                if any(marker in sentence for marker in markers):
                    scope = name
                    break
        for axis, poles in TRAIT_AXES.items():
            for pole, phrases in poles.items():
                if any(p in sentence for p in phrases):
                    found.add((axis, pole, scope))
    return found


def clashes(traits_a, traits_b):
    out = []
    for axis_a, pole_a, scope_a in traits_a:
        for axis_b, pole_b, scope_b in traits_b:
            if axis_a == axis_b and pole_a != pole_b and scope_a == scope_b:
                out.append((axis_a, pole_a, pole_b))
    return out


# Content words that must not come back in a second paragraph of more than
# ECHO_LIMIT of the reachable reports.
ECHO_STEMS = ("信頼", "育て", "粘り", "時間をかけ", "穏やか", "落ち着", "誠実", "輝",
              "花開", "信用", "実り", "支え", "積み重ね", "着実", "堅実", "地道", "安心",
              "頼り", "温か", "思いやり", "慎重", "明る", "才能", "努力", "焦らず",
              "大切", "人望", "豊か", "ゆっくり", "じっくり", "深め", "磨")
ECHO_LIMIT = 0.03


def check_combinations(rows, fail, quads, verbose):
    if len(rows) < ROWS:
        return
    traits = [row_traits(r, row) for r, row in enumerate(rows)]
    blocks = (NUMBER_ROWS, PERSONALITY_ROWS, LOVE_ROWS, CAREER_ROWS)
    # Every pair of rows from two blocks that some report holds.
    pairs = set()
    for quad in quads:
        chosen = report_rows(quad)
        for i in range(4):
            for j in range(i + 1, 4):
                pairs.add((chosen[i], chosen[j]))
    bad_pairs = {}
    for a, b in sorted(pairs):
        found = clashes(traits[a], traits[b])
        if found:
            bad_pairs[(a, b)] = found
    for (a, b), found in bad_pairs.items():
        axis, pole_a, pole_b = found[0]
        fail(a, f"{pole_a} ({axis}) clashes with row {b} ({pole_b}) in reachable reports")
    contradicting = 0
    echo_counts = collections.Counter()
    stems_in = [{s for s in ECHO_STEMS if s in row} for row in rows]
    for quad in quads:
        chosen = report_rows(quad)
        if any((chosen[i], chosen[j]) in bad_pairs
               for i in range(4) for j in range(i + 1, 4)):
            contradicting += 1
        seen = collections.Counter()
        for r in chosen:
            seen.update(stems_in[r])
        for stem, n in seen.items():
            if n > 1:
                echo_counts[stem] += 1
    total = len(quads)
    for stem in ECHO_STEMS:
        share = echo_counts[stem] / total
        if share > ECHO_LIMIT:
            fail(None, f"{stem!r} comes back in a second paragraph of {share:.1%} of "
                 f"reachable reports, at most {ECHO_LIMIT:.0%}")
    if verbose:
        any_echo = sum(1 for q in quads
                       if len(set().union(*(stems_in[r] for r in report_rows(q))))
                       < sum(len(stems_in[r]) for r in report_rows(q)))
        print(f"reachable reports: {total}  contradiction rate "
              f"{contradicting / total:.2%}  with any listed echo {any_echo / total:.1%}")
        ranked = sorted(ECHO_STEMS, key=lambda s: -echo_counts[s])
        print("echo rates: " + "  ".join(f"{s} {echo_counts[s] / total:.1%}"
                                         for s in ranked if echo_counts[s]))


# Each rule above, broken once on a copy of the rows: the copy must fail with
# the rule's message, so that no rule can silently stop working.
SELF_TESTS = (
    ("trait clash", lambda rows: rows.__setitem__(103, rows[103] + "初対面の相手とも気負わずに話せます。"),
     "clashes with row"),
    ("echo", lambda rows: [rows.__setitem__(r, rows[r] + "信頼") for r in (*PERSONALITY_ROWS, *LOVE_ROWS)],
     "'信頼' comes back"),
    ("運勢 after the lead", lambda rows: rows.__setitem__(2, rows[2].replace("これは，", "これは，運勢の", 1)),
     "in the first sentence"),
    ("生涯", lambda rows: rows.__setitem__(5, rows[5] + "生涯にわたります。"), "'生涯'"),
    ("love conditional", lambda rows: rows.__setitem__(92, "人を好きになると，" + rows[92]),
     "love text opens with"),
    ("家族", lambda rows: rows.__setitem__(85, rows[85] + "家族を大事にします。"), "assumes a household"),
    ("恋人", lambda rows: rows.__setitem__(95, rows[95] + "恋人を大事にします。"), "presumes a partner"),
    ("stem twice", lambda rows: rows.__setitem__(10, rows[10] + "地位と地位。"), "'地位' 2 times"),
    ("holder ending", lambda rows: rows.__setitem__(6, HOLDER_OPENING + "独立の運です。" + rows[6]),
     "ends on the number"),
    ("人も少なく", lambda rows: rows.__setitem__(7, rows[7] + "そういう人も少なくありません。"),
     "counts other people"),
    ("unhedged outcome", lambda rows: rows.__setitem__(4, rows[4] + "名声が得られます。"),
     "without a hedge"),
    ("のです", lambda rows: rows.__setitem__(3, rows[3] + "それでよいのです。"), "'のです'"),
    ("何をしても", lambda rows: rows.__setitem__(3, rows[3] + "何をしても同じです。"), "'何をしても'"),
    ("絶えません", lambda rows: rows.__setitem__(3, rows[3] + "苦労が絶えません。"), "'絶えません'"),
    ("career trait", lambda rows: rows.__setitem__(104, "粘り強さを持ち，" + rows[104]),
     "career text opens with a trait"),
)


def self_test(rows, grades, quads):
    """Names of the rules that a broken copy did not trip."""
    missed = []
    for name, change, expected in SELF_TESTS:
        copy = list(rows)
        change(copy)
        messages = []

        def collect(row, message):
            messages.append(message)

        check_wording(copy, collect, grades)
        check_combinations(copy, collect, quads, verbose=False)
        if not any(expected in m for m in messages):
            missed.append(name)
    return missed



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
    grades = [line[:1] for line in KEYWORDS.read_text(encoding="utf-8").splitlines()]
    check_wording(rows, fail, grades)
    quads = reachable_combinations(stroke_counts())
    check_combinations(rows, fail, quads, verbose=True)
    for name in self_test(rows, grades, quads):
        fail(None, f"self-test: a copy that breaks the rule '{name}' passed")

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
