#include "analysis/reading/DetailedReading.h"

#include <algorithm>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/ShownText.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

template <std::size_t N>
std::array<std::string, N> Converted(const std::array<const char*, N>& utf8) {
    std::array<std::string, N> out;
    for (std::size_t i = 0; i < N; ++i) out[i] = Cp932Text(utf8[i]);
    return out;
}

// The headings of the detail, converted as they are written (only
// soten-cli --detail and the detail window ask for them).
std::string Text(const char* utf8) {
    return Cp932Text(utf8);
}

}  // namespace

std::uint16_t OddMask(const StrokeCounts& strokes, int chars) {
    unsigned mask = 0;
    const int last = std::min(chars, MaxPartChars);
    for (int k = last; k >= 1; --k) {
        mask = mask << 1 | (static_cast<unsigned>(strokes[static_cast<std::size_t>(k)]) & 1u);
    }
    return static_cast<std::uint16_t>(mask);
}

InyoReading JudgeInyo(std::uint16_t surnameOdd, int surnameChars, std::uint16_t givenOdd,
                      int givenChars) {
    InyoReading inyo;
    inyo.surnameChars = surnameChars;
    inyo.givenChars = givenChars;
    inyo.oddMask = static_cast<std::uint16_t>(surnameOdd | givenOdd << surnameChars);
    const int chars = surnameChars + givenChars;
    const unsigned all = (1u << chars) - 1;
    const unsigned surnameAll = (1u << surnameChars) - 1;
    const unsigned givenAll = (1u << givenChars) - 1;
    const unsigned mask = inyo.oddMask;
    const auto odd = [&](int i) { return (mask >> i & 1u) != 0; };
    if (chars >= 2 && (mask == all || mask == 0)) {
        inyo.shape = mask == 0 ? InyoShape::AllYin : InyoShape::AllYang;
    } else if (surnameChars >= 2 && givenChars >= 2 &&
               ((surnameOdd == surnameAll && givenOdd == 0) ||
                (surnameOdd == 0 && givenOdd == givenAll))) {
        inyo.shape = InyoShape::Split;
    } else if (chars >= 4 && odd(0) == odd(chars - 1)) {
        // The inner marks, all of the other kind.
        const unsigned inner = (mask >> 1) & ((1u << (chars - 2)) - 1);
        const unsigned innerAll = (1u << (chars - 2)) - 1;
        if (inner == (odd(0) ? 0u : innerAll)) inyo.shape = InyoShape::Sandwiched;
    }
    switch (inyo.shape) {
        case InyoShape::Mixed:
            inyo.verdict = InyoVerdict::Good;
            break;
        case InyoShape::Sandwiched:
            inyo.verdict = InyoVerdict::Caution;
            break;
        default:
            inyo.verdict = InyoVerdict::Bad;
    }
    return inyo;
}

InyoReading ReadInyo(const NameRecord& record) {
    const int m = record.Lengths[Surname];
    const int n = record.Lengths[GivenName];
    return JudgeInyo(OddMask(record.Strokes[Surname], m), m, OddMask(record.Strokes[GivenName], n),
                     n);
}

const std::string& ElementName(Element element) {
    static const auto names = Converted<5>({"木", "火", "土", "金", "水"});
    return names[static_cast<std::size_t>(element)];
}

const std::string& RelationName(ElementRelation relation) {
    static const auto names = Converted<3>({"相生", "比和", "相剋"});
    return names[static_cast<std::size_t>(relation)];
}

const std::string& VerdictName(SansaiVerdict verdict) {
    static const auto names = Converted<4>({"大吉", "吉", "凶", "大凶"});
    return names[static_cast<std::size_t>(verdict)];
}

const std::string& VerdictName(InyoVerdict verdict) {
    static const auto names = Converted<3>({"吉", "注意", "凶"});
    return names[static_cast<std::size_t>(verdict)];
}

const std::string& ShapeName(InyoShape shape) {
    static const auto names = Converted<5>({"", "全陽", "全陰", "分裂", "挟み"});
    return names[static_cast<std::size_t>(shape)];
}

const char* StyleName(StrokeStyle style) {
    return style == StrokeStyle::Honji ? "honji" : "shinji";
}

const std::string& StrokeStyleName(StrokeStyle style) {
    static const auto names = Converted<2>({"新字式", "本字式"});
    return names[style == StrokeStyle::Honji ? 1 : 0];
}

const std::string& InyoMark(bool odd) {
    static const auto marks = Converted<2>({"●", "○"});
    return marks[odd ? 1 : 0];
}

std::string InyoPattern(const InyoReading& inyo) {
    std::string out;
    for (int i = 0; i < inyo.surnameChars + inyo.givenChars; ++i) {
        out += InyoMark((inyo.oddMask >> i & 1u) != 0);
    }
    return out;
}

std::string NameWithStyle(const NameRecord& record, StrokeStyle style,
                          const std::string& givenReading) {
    static const std::string open = Cp932Text("（");
    static const std::string dot = Cp932Text("・");
    static const std::string close = Cp932Text("）");
    std::string text = record.Names[Surname] + ' ' + record.Names[GivenName] + open;
    if (!givenReading.empty()) text += givenReading + dot;
    return text + StrokeStyleName(style) + close;
}

std::string RelationSentence(const SansaiReading& sansai, int pair) {
    static const auto pairs = Converted<2>({"天運と人運", "人運と地運"});
    static const auto sentences = Converted<3>({
        "は，一方がもう一方を生み出す「相生」の間柄で，力が素直に流れます。",
        "は，同じ五行どうしの「比和」で，よくなじみ安定しますが，変化は少なめです。",
        "は，一方がもう一方を抑える「相剋」の間柄で，ぶつかりやすい組み合わせです。",
    });
    static const std::string open = Cp932Text("（");
    static const std::string dot = Cp932Text("・");
    static const std::string close = Cp932Text("）");
    const auto p = static_cast<std::size_t>(pair);
    return pairs[p] + open + ElementName(sansai.elements[p]) + dot +
           ElementName(sansai.elements[p + 1]) + close +
           sentences[static_cast<std::size_t>(sansai.relations[p])];
}

std::string SansaiVerdictSentence(SansaiVerdict verdict) {
    static const auto sentences = Converted<4>({
        "二つとも相生で，天・人・地の流れがよく整った配置です。",
        "相剋がなく，天・人・地がおだやかに調和した配置です。",
        "相剋が一つあり，運の流れがそこで滞りやすい配置です。",
        "二つとも相剋で，天・人・地が互いにぶつかりやすい配置です。",
    });
    return sentences[static_cast<std::size_t>(verdict)];
}

std::string InyoVerdictSentence(const InyoReading& inyo) {
    static const auto sentences = Converted<5>({
        "陽と陰がほどよく混じり，釣り合いのとれた並びです。",
        "すべての字が陽で，陰の支えがない偏った並びとされます。",
        "すべての字が陰で，陽の勢いがない偏った並びとされます。",
        "姓と名で陰陽がきっぱり分かれる「分裂」で，まとまりを欠く並びとされます。",
        "最初と最後の字が同じ印で間の字をはさむ「挟み」で，気をつけたい並びとされます。",
    });
    return sentences[static_cast<std::size_t>(inyo.shape)];
}

const std::string& SansaiRuleSentence() {
    static const std::string sentence = Cp932Text(
        "天運・人運・地運の末尾の数字から五行（1・2は木，3・4は火，5・6は土，7・8は金，"
        "9・0は水）を出し，天と人，人と地の間柄を見ます。");
    return sentence;
}

const std::string& InyoRuleSentence() {
    static const std::string sentence =
        Cp932Text("画数が奇数の字を陽（○），偶数の字を陰（●）として，姓から名へ並べて見ます。");
    return sentence;
}

std::vector<std::string> DetailLines(const NameRecord& record, StrokeStyle style,
                                     const std::string& givenReading, const Tables& tables) {
    static const std::string indent = Cp932Text("　");
    static const std::string gap = Cp932Text("　");
    static const std::string stroke = Cp932Text("画");
    static const std::string open = Cp932Text("（");
    static const std::string close = Cp932Text("）");
    static const std::string arrow = Cp932Text("→");
    static const auto marks = Converted<2>({"●陰", "○陽"});
    static const std::string bracketClose = Cp932Text("］");

    std::vector<std::string> lines;
    lines.push_back(Text("【詳しい鑑定】（補足：三才配置と陰陽配列は一般的な一流派の見方です）"));
    lines.push_back(NameWithStyle(record, style, givenReading));

    const InyoReading inyo = ReadInyo(record);
    lines.push_back(Text("［陰陽配列］"));
    lines.push_back(indent + InyoRuleSentence());
    for (const NamePart part : {Surname, GivenName}) {
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            const std::int32_t strokes = record.Strokes[part][static_cast<std::size_t>(k)];
            lines.push_back(
                indent + std::string(Unit(record.Names[part], static_cast<std::size_t>(k))) + gap +
                PaddedNumber(strokes, 2) + stroke + gap + marks[strokes % 2 != 0]);
        }
    }
    std::string verdict = indent + Text("配列　") + InyoPattern(inyo) + gap + Text("判定　") +
                          VerdictName(inyo.verdict);
    if (inyo.shape != InyoShape::Mixed) verdict += open + ShapeName(inyo.shape) + close;
    lines.push_back(verdict);
    lines.push_back(indent + InyoVerdictSentence(inyo));

    const SansaiReading sansai = ReadSansai(record);
    lines.push_back(Text("［三才配置］"));
    lines.push_back(indent + SansaiRuleSentence());
    for (const FortuneKind kind : {Heaven, Person, Earth}) {
        lines.push_back(indent + FortuneLabels()[kind] + gap +
                        PaddedNumber(record.Fortunes[static_cast<std::size_t>(kind)], 3) + gap +
                        ElementName(sansai.elements[static_cast<std::size_t>(kind)]));
    }
    for (int pair = 0; pair < 2; ++pair) {
        const auto p = static_cast<std::size_t>(pair);
        lines.push_back(indent + FortuneLabels()[pair] + arrow + FortuneLabels()[pair + 1] + gap +
                        ElementName(sansai.elements[p]) + arrow +
                        ElementName(sansai.elements[p + 1]) + gap +
                        RelationName(sansai.relations[p]));
        lines.push_back(indent + indent + RelationSentence(sansai, pair));
    }
    lines.push_back(indent + Text("判定　") + VerdictName(sansai.verdict));
    lines.push_back(indent + SansaiVerdictSentence(sansai.verdict));

    lines.push_back(Text("［五運（参考）］"));
    for (int position = 0; position < FortuneCount; ++position) {
        const FortuneKind kind = ListedFortune(position);
        const std::int32_t number = record.Fortunes[static_cast<std::size_t>(kind)];
        lines.push_back(indent + FortuneLabels()[kind] + FortuneValueText(number) +
                        GradeText(LookupKeyword(tables, number)) + bracketClose);
    }
    return lines;
}

}  // namespace soten
