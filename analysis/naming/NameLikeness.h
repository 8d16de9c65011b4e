#pragma once

// How much a spelling looks like a real given name, and whether its yomi is
// one the registry accepts (the 2025 rule for 氏名の振り仮名), both from the
// reading parts the name kanji take in the name dictionary and the recent
// newborn rankings (data/name-likeness.txt, by tools/gen_name_likeness.py).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace soten {

class NameSearchData;

// How a yomi part belongs to its kanji, best first: one of its readings (音,
// 訓 with or without okurigana, 名乗り, also with 連濁, a small っ or a long
// vowel), 部分音訓 (a leading part of a reading), a part many real names give
// it (名前での慣用), or no alignment at all (要確認).
enum class YomiClass : std::uint8_t { Standard, Partial, Customary, Unverified };

// "standard", "partial", "customary", "unverified".
std::string_view YomiClassKey(YomiClass kind);
// 一般の読み, 部分音訓, 名前での慣用, 要確認 (code page 932).
const std::string& YomiClassLabel(YomiClass kind);

// Where a character stands in a name: first, middle or last of a name of two
// or more characters, or alone.
enum class NamePosition : std::uint8_t { First, Middle, Last, Alone };
NamePosition PositionIn(std::size_t index, std::size_t chars);

// One (kanji, part) of the table: in how many names (a recent ranked one
// counts many times) it stands at each position, and how many are girls'/boys'.
struct LikenessPart {
    std::string kana;  // hiragana, code page 932
    YomiClass kind = YomiClass::Standard;
    std::array<std::uint32_t, 4> at{};  // by NamePosition
    std::uint32_t girls = 0;
    std::uint32_t boys = 0;
    std::uint32_t Names() const { return at[0] + at[1] + at[2] + at[3]; }
};

// How many girls' and boys' names the parts of the table count in all. The
// name dictionary holds about four girls' names to one boy's, so a lean
// weighs each side's count against its own total, not the counts alone.
struct GenderBalance {
    std::uint64_t girls = 1;
    std::uint64_t boys = 1;
};

// Whom the parts of a name lean to: girls when their share of the girls'
// names is at least twice their share of the boys' (counting one boy's name
// more), g·B ≥ 2(b + 1)·G with G and B the balance's totals; boys the other
// way round; else neither.
enum class GenderLean : std::uint8_t { Neither, Girls, Boys };
GenderLean LeanOf(std::uint64_t girls, std::uint64_t boys, const GenderBalance& balance);
// 女の子に多い, 男の子に多い, どちらにも (code page 932).
const std::string& GenderLeanLabel(GenderLean lean);

class NameLikeness {
public:
    NameLikeness() = default;
    // The rows "KANJI<TAB>PART<TAB>CLASS<TAB>FIRST<TAB>MIDDLE<TAB>LAST<TAB>ALONE
    // <TAB>GIRLS<TAB>BOYS" in code page 932, for the kanji of `kanji` (code
    // order); rows of other kanji are skipped. Throws std::invalid_argument
    // on a malformed row.
    NameLikeness(std::string_view cp932, const std::vector<std::string>& kanji);

    bool Empty() const { return rows_ == 0; }
    // The parts of Kanji()[index], in code order of the kana.
    const std::vector<LikenessPart>& PartsOf(std::size_t index) const { return parts_.at(index); }
    const LikenessPart* Find(std::size_t index, std::string_view kana) const;

    // The weight of a part at a position, a smoothed log-probability:
    //   ln((n_pos + n / 4 + 1/2) / (N_pos + N / 4 + V / 2))
    // n_pos: names with the part at that position, n: at any position;
    // N_pos, N: all parts counted there and anywhere; V: the rows of the
    // table. A part no name gives (nullptr) has n_pos = n = 0.
    double Weight(const LikenessPart* part, NamePosition position) const;
    // The girls' and boys' names the parts count; {1, 1} without either.
    const GenderBalance& Balance() const { return balance_; }

private:
    std::vector<std::vector<LikenessPart>> parts_;
    std::array<double, 4> total_{};
    double all_ = 0;
    std::size_t rows_ = 0;
    GenderBalance balance_;
};

// A given name's yomi as the registry would read it: the best class any
// alignment of the yomi with its characters reaches, that alignment's parts
// ((character, kana) in code page 932; empty when unverified) and its
// name-likeness (the sum of its parts' weights; for an unaligned yomi each
// character weighs as a part no name gives).
struct YomiCheck {
    YomiClass kind = YomiClass::Unverified;
    std::vector<std::pair<std::string, std::string>> parts;
    double likeness = 0;
    std::uint64_t girls = 0;
    std::uint64_t boys = 0;
};

// Aligns `yomi` (hiragana, code page 932) with the characters of `written`
// (々 repeats the character before it). Among the alignments of the best
// class the most name-like is taken.
YomiCheck CheckYomi(std::string_view written, std::string_view yomi, const NameSearchData& data);

}  // namespace soten
