#pragma once

// The parts of the name search both spaces share: what the filters ask of a
// name and of its numbers, and which names make the page asked for.

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/naming/NameSearch.h"

namespace soten::naming {

inline constexpr int MaxScore = 12;
inline constexpr std::array<FortuneKind, 4> ScoredKinds = {Person, Earth, Outer, Total};

// One of the search's fixed sentences (UTF-8 in, code page 932 out),
// converted once.
const std::string& Message(const char* utf8);

// Why the filters cannot be used or cannot all hold, or an empty text.
std::string FilterProblem(const NameSearchFilters& filters, const NameSearchData& data,
                          int surnameChars);

// The filters' yomi texts in hiragana.
YomiFilters HiraganaYomi(const YomiFilters& yomi);

bool HoldsCharacter(std::string_view name, const RequiredCharacter& required);
bool HoldsAnyOf(std::string_view name, const std::vector<std::string>& characters);
// Whether a name of the dictionary passes the gender filter: its tag, or for
// a name with no gender given the gender its lean says (GenderOfLean) or
// includeUnspecified.
bool GenderPasses(const NameSearchFilters& filters, NameGender gender, GenderLean lean);
// Whether a composed name passes the gender filter: it does not lean the
// other way.
bool LeanPasses(const NameSearchFilters& filters, GenderLean lean);
// The gender a lean says: Female, Male, or Unspecified for Neither.
NameGender GenderOfLean(GenderLean lean);

// The numbers and grades a given name of `chars` characters whose first
// character counts `first` and whose counts sum to `sum` gives after the
// surname, computed by the program's own ComputeFortunes and LookupKeyword,
// and whether they pass the filters of grades, score and 三才配置.
struct Evaluation {
    std::array<int, FortuneCount> fortunes{};
    std::array<int, FortuneCount> grades{};
    int score = 0;
    SansaiVerdict sansai = SansaiVerdict::VeryGood;
    bool passes = false;
};

class Evaluator {
public:
    Evaluator(const NameRecord& surname, const NameSearchFilters& filters, const Tables& tables)
        : surname_(surname), filters_(filters), tables_(tables) {}

    // Judged once for each (chars, first, sum).
    const Evaluation& Evaluate(int chars, int first, int sum);

private:
    // (chars, first, sum) in one number. A given name has at most
    // MaxPartChars characters, and its first count and sum fit the stroke
    // pattern the names are kept with.
    class Key {
    public:
        static constexpr int CountBits = 24;
        static_assert(MaxPartChars < (1 << (64 - 2 * CountBits)));
        static_assert(std::numeric_limits<decltype(GivenStrokePattern::first)>::max() <
                      (1 << CountBits));
        static_assert(std::numeric_limits<decltype(GivenStrokePattern::sum)>::max() <
                      (1 << CountBits));

        Key(int chars, int first, int sum)
            : value_(static_cast<std::uint64_t>(chars) << (2 * CountBits) |
                     static_cast<std::uint64_t>(Count(first)) << CountBits | Count(sum)) {}
        int Chars() const { return static_cast<int>(value_ >> (2 * CountBits)); }
        int First() const { return static_cast<int>(value_ >> CountBits & CountMask); }
        int Sum() const { return static_cast<int>(value_ & CountMask); }
        std::uint64_t Value() const { return value_; }

    private:
        static constexpr std::uint64_t CountMask = (std::uint64_t{1} << CountBits) - 1;
        static std::uint64_t Count(int count) {
            return static_cast<std::uint64_t>(static_cast<std::uint32_t>(count)) & CountMask;
        }
        std::uint64_t value_;
    };

    const NameRecord& surname_;
    const NameSearchFilters& filters_;
    const Tables& tables_;
    std::unordered_map<std::uint64_t, Evaluation> memo_;
};

// Where a name stands in a sort by a numeric key, lower first: fortunes best
// grade first and then by number, strokes by the given name's sum.
int NumericSortValue(SortKey key, const Evaluation& evaluation, int strokeSum);

// The offset of the first name of the page, or nothing when the page lies
// beyond the last name.
std::optional<std::uint64_t> PageStart(std::uint64_t page, int limit, std::uint64_t count);

}  // namespace soten::naming
