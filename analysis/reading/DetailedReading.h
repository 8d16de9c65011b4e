#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"

namespace soten {

// The supplementary analysis of a reading ("詳しい鑑定"): 三才配置, the balance
// of 天運, 人運 and 地運 by the five elements, and 陰陽配列, the odd/even
// pattern of the stroke counts. One common school's rules; the report, the
// panes and the printed page do not use them. All text is code page 932.

// 木, 火, 土, 金, 水, in the order in which each generates the next.
enum class Element : std::uint8_t { Wood, Fire, Soil, Metal, Water };

// 相生 (one generates the other), 比和 (the same), 相剋 (otherwise).
enum class ElementRelation : std::uint8_t { Generating, Same, Clashing };

// 大吉, 吉, 凶, 大凶, best first, so a smaller value is a better verdict.
enum class SansaiVerdict : std::uint8_t { VeryGood, Good, Bad, VeryBad };

// 吉, 注意, 凶, best first.
enum class InyoVerdict : std::uint8_t { Good, Caution, Bad };

// Why a pattern gets its verdict: 全陽, 全陰, 分裂 (凶), 挟み (注意), or none.
enum class InyoShape : std::uint8_t { Mixed, AllYang, AllYin, Split, Sandwiched };

// The element of a number by its last digit: 1, 2 木; 3, 4 火; 5, 6 土; 7, 8 金;
// 9, 0 水.
constexpr Element ElementOf(std::int32_t number) {
    constexpr Element byLastDigit[10] = {
        Element::Water, Element::Wood, Element::Wood,  Element::Fire,  Element::Fire,
        Element::Soil,  Element::Soil, Element::Metal, Element::Metal, Element::Water};
    return byLastDigit[number % 10];
}

constexpr ElementRelation RelationOf(Element from, Element to) {
    if (from == to) return ElementRelation::Same;
    const int a = static_cast<int>(from);
    const int b = static_cast<int>(to);
    if ((a + 1) % 5 == b || (b + 1) % 5 == a) return ElementRelation::Generating;
    return ElementRelation::Clashing;
}

constexpr SansaiVerdict JudgeSansai(ElementRelation upper, ElementRelation lower) {
    const int clashes =
        (upper == ElementRelation::Clashing ? 1 : 0) + (lower == ElementRelation::Clashing ? 1 : 0);
    if (clashes == 2) return SansaiVerdict::VeryBad;
    if (clashes == 1) return SansaiVerdict::Bad;
    if (upper == ElementRelation::Generating && lower == ElementRelation::Generating) {
        return SansaiVerdict::VeryGood;
    }
    return SansaiVerdict::Good;
}

struct SansaiReading {
    std::array<Element, 3> elements{};           // 天運, 人運, 地運
    std::array<ElementRelation, 2> relations{};  // 天→人, 人→地
    SansaiVerdict verdict = SansaiVerdict::VeryBad;
};

constexpr SansaiReading ReadSansai(std::int32_t heaven, std::int32_t person, std::int32_t earth) {
    SansaiReading sansai;
    sansai.elements = {ElementOf(heaven), ElementOf(person), ElementOf(earth)};
    sansai.relations = {RelationOf(sansai.elements[0], sansai.elements[1]),
                        RelationOf(sansai.elements[1], sansai.elements[2])};
    sansai.verdict = JudgeSansai(sansai.relations[0], sansai.relations[1]);
    return sansai;
}

// From the numbers ComputeFortunes set.
inline SansaiReading ReadSansai(const NameRecord& record) {
    return ReadSansai(record.Fortunes[Heaven], record.Fortunes[Person], record.Fortunes[Earth]);
}

// Marks of a whole name, surname first: bit i set when character i (from 0)
// has an odd count (陽).
struct InyoReading {
    std::uint16_t oddMask = 0;
    int surnameChars = 0;
    int givenChars = 0;
    InyoShape shape = InyoShape::Mixed;
    InyoVerdict verdict = InyoVerdict::Good;
};

// The bits of one part's counts (bit k − 1 for character k).
std::uint16_t OddMask(const StrokeCounts& strokes, int chars);

// The verdict of the marks of a surname of `surnameChars` characters and a
// given name of `givenChars`.
InyoReading JudgeInyo(std::uint16_t surnameOdd, int surnameChars, std::uint16_t givenOdd,
                      int givenChars);

// From `Lengths` and `Strokes` of both parts.
InyoReading ReadInyo(const NameRecord& record);

// Names of the values, as the program shows them.
const std::string& ElementName(Element element);
const std::string& RelationName(ElementRelation relation);
const std::string& VerdictName(SansaiVerdict verdict);
const std::string& VerdictName(InyoVerdict verdict);
const std::string& ShapeName(InyoShape shape);          // empty for Mixed
const std::string& StrokeStyleName(StrokeStyle style);  // 新字式, 本字式
// The name of a style in records and files: "shinji" or "honji".
const char* StyleName(StrokeStyle style);
const std::string& InyoMark(bool odd);  // ○ (陽) or ● (陰)

// "○●○○": one mark per character, surname first.
std::string InyoPattern(const InyoReading& inyo);

// "山田 太郎（新字式）", or with the reading of the given name when it is
// known: "佐藤 結衣（ゆい・新字式）".
std::string NameWithStyle(const NameRecord& record, StrokeStyle style,
                          const std::string& givenReading);

// Plain sentences about a result, for the detail window, its printout and
// soten-cli --detail.
std::string RelationSentence(const SansaiReading& sansai, int pair);  // pair 0 天→人, 1 人→地
std::string SansaiVerdictSentence(SansaiVerdict verdict);
std::string InyoVerdictSentence(const InyoReading& inyo);
const std::string& SansaiRuleSentence();
const std::string& InyoRuleSentence();

// The detail of a reading as lines of text: the name and style, 陰陽配列
// character by character, 三才配置, and the five numbers for reference. The
// reading (hiragana) is shown after the name when it is known.
std::vector<std::string> DetailLines(const NameRecord& record, StrokeStyle style,
                                     const std::string& givenReading, const Tables& tables);

}  // namespace soten
