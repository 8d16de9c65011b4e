#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/naming/Kana.h"
#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/RegistryCheck.h"
#include "analysis/naming/YomiFilter.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"

namespace soten {

// Where the name search looks: the given names of the name dictionary, or
// every name of one to three kanji allowed in given names.
enum class SearchSpace { Names, All };

// Female lists the names given to girls and those given to both; Male the
// same for boys. A name with no gender given whose yomi's parts lean to girls
// or boys (LeanOf) is listed under that gender as inferred; the other names
// with no gender given come with Any, and with a gender only when asked for
// (includeUnspecified). In the all-names space a gender leaves out the names
// whose yomi's parts lean the other way.
enum class GenderFilter { Any, Female, Male };

// What the whole result is sorted by. Score is the default order (below);
// the others sort by that column and fall back to the default order on ties.
// Fortunes sort best grade first, then by number; Strokes by the given name's
// stroke sum. Name and Yomi sort the whole result in the names space and
// only the page in the all-names space. Common: the most name-like first
// (NameLikeness), then the default order.
enum class SortKey { Score, Heaven, Person, Earth, Outer, Total, Strokes, Name, Yomi, Common };

// A character the given name must hold: at `position` (1 = first character),
// or anywhere when `position` is 0. Code page 932.
struct RequiredCharacter {
    std::string character;
    int position = 0;
};

inline constexpr int DefaultSearchLimit = 100;
inline constexpr int MaxSearchLimit = 10000;
inline constexpr int MaxRequiredCharacters = 3;
inline constexpr int MaxAllSpaceChars = 3;
// The most work the all-names space may spend on the yomi filters: matcher
// reads, states kept, bit-set words built and counting steps over the sets
// (about ten million a second). Filters that need more are refused as too
// complex, so that every search answers within about a second.
inline constexpr std::uint64_t MaxYomiWork = 8'000'000;
// The most names of the all-names space that are put in order by their
// name-likeness: the whole result for SortKey::Common, else each run of names
// the order cannot tell apart otherwise (longer runs keep code order).
inline constexpr std::uint64_t MaxLikenessSorted = 100'000;
// The most names of the all-names space a gender filter weighs one by one
// (their lean depends on the parts of each name's yomi, about a million a
// second); more are refused.
inline constexpr std::uint64_t MaxGenderWeighed = 1'000'000;

// The filters of one search. Text is code page 932.
struct NameSearchFilters {
    std::string surname;
    StrokeStyle style = StrokeStyle::Shinji;
    SearchSpace space = SearchSpace::Names;
    GenderFilter gender = GenderFilter::Any;
    bool includeUnspecified = false;    // names with no gender given, with a gender
    bool includeUnregistrable = false;  // names a registry office refuses
    bool includeAvoided = false;        // names holding a kanji of the avoid list
    // The all-names space: only names whose every (kanji, yomi part) a real
    // given name has (NameSearchData::Likeness); off reads every character
    // by all of its dictionary readings.
    bool commonOnly = true;
    int chars = 0;     // 0: any number of characters
    YomiFilters yomi;  // hiragana or katakana
    std::vector<RequiredCharacter> required;
    std::vector<std::string> excluded;  // characters the name must not hold
    // The worst grade accepted for each number (indexed by FortuneKind; 4
    // accepts all, 1 only ◎). 天運 depends on the surname alone and is not
    // filtered.
    std::array<int, FortuneCount> worstGrade{4, 4, 4, 4, 4};
    int minScore = 0;
    // The worst 三才配置 verdict accepted (VeryBad accepts all), and whether
    // a 陰陽配列 of 凶 is left out (注意 passes).
    SansaiVerdict worstSansai = SansaiVerdict::VeryBad;
    bool inyoOk = false;
    SortKey sort = SortKey::Score;
    bool reversed = false;           // the sort key's order turned round
    int limit = DefaultSearchLimit;  // names per page, capped at MaxSearchLimit
    std::uint64_t page = 1;          // from 1
};

// What the numbers of a name say beyond themselves: the keywords of the
// five, the score (人運 + 地運 + 外運 + 総運 points, see GradePoints), and the
// verdicts of 三才配置 and 陰陽配列.
struct NameJudgement {
    std::array<Keyword, FortuneCount> keywords;
    int score = 0;
    SansaiReading sansai;
    InyoReading inyo;
};

// The judgement of a record whose numbers are computed.
// The score of a name: the points of the grades of 人運, 地運, 外運 and 総運
// (`keywords` indexed by FortuneKind).
int NameScore(const std::array<Keyword, FortuneCount>& keywords);

NameJudgement JudgeName(const NameRecord& record, const Tables& tables);

// A name found, with everything a reading of it would show.
inline constexpr std::size_t MaxShownYomi = 8;

struct NameCandidate : NameJudgement {
    std::string given;  // code page 932
    std::string yomi;   // hiragana: the one matching the filters, or the first
    // At most MaxShownYomi yomi that match the filters. A real name has its
    // one yomi; a composed name the concatenations of its characters' yomi,
    // 名乗り before 訓 before 音. Empty when its kanji have none.
    std::vector<std::string> yomis;
    NameGender gender = NameGender::None;  // None in the all-names space
    // Female or Male read from `lean` for a name the dictionary gives no gender.
    bool genderInferred = false;
    // Whom the parts of `yomi` lean to, from how many girls' and boys' names
    // of the dictionary give them: in the names space its parts as CheckYomi
    // aligns them, in the all-names space the parts it is composed of.
    GenderLean lean = GenderLean::Neither;
    std::uint64_t girls = 0;
    std::uint64_t boys = 0;
    // False when a character is outside the registrable set (listed in
    // unregistrable, each once).
    bool registrable = true;
    std::vector<std::string> unregistrable;
    // The kanji of the avoid list the given name holds (only a search with
    // includeAvoided lists such a name).
    std::vector<AvoidedKanjiEntry> avoided;
    NameRecord record;  // Names, Lengths, Strokes, SpiritOne and Fortunes set
    // `yomi` checked against the characters (the 2025 rule) and weighed.
    YomiCheck yomiCheck;
};

struct NameSearchResult {
    // The program's own message when the surname is refused; nothing else is
    // then set.
    std::optional<Refusal> refusal;
    // Why nothing can match (contradictory or impossible filters); empty when
    // the filters are usable.
    std::string problem;
    // Remarks such as a capped limit.
    std::vector<std::string> notes;
    std::uint64_t count = 0;     // every matching name, not only this page
    std::uint64_t yomiWork = 0;  // what the yomi filters cost, at most MaxYomiWork
    int limit = DefaultSearchLimit;
    std::vector<NameCandidate> candidates;
};

// The gender cell of a candidate (code page 932): "男性", "男性（推定）" when
// inferred; empty in the all-names space.
std::string CandidateGenderLabel(const NameCandidate& candidate);
// The 戸籍 verdict of a candidate: its characters and the check of `yomi`.
RegistryVerdict CandidateRegistry(const NameCandidate& candidate);

// Points of a grade: ◎ 3, ○ 2, △ 1, × 0.
int GradePoints(int grade);

// Runs one search. The default order: score (人運 + 地運 + 外運 + 総運 points,
// highest first), then 総運's grade (best first), then 三才配置's and
// 陰陽配列's verdicts (best first), then the name-likeness of the yomi shown
// (highest first); in the names space then the yomi in dictionary order
// (GojuonKey) and the written form; in the all-names space then fewer
// characters first, then the stroke counts of the first, second and third
// character (ascending), then the characters in code page 932 order. The all-names space is never
// enumerated: the work depends on the stroke patterns, the characters whose yomi can take part in
// the yomi asked for, and the page, not on the billions of names behind them.
NameSearchResult SearchNames(const NameSearchFilters& filters, const Tables& tables,
                             const NameSearchData& data);

}  // namespace soten
