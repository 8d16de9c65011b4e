#include "analysis/naming/YomiFilter.h"

#include <algorithm>
#include <deque>
#include <unordered_set>

#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// ぁぃぅぇぉ, ゃゅょ and ゎ in code page 932: they join the kana before them.
bool IsSmallKana(unsigned code) {
    return (code >= 0x829F && code <= 0x82A7 && code % 2 == 1) ||
           (code >= 0x82E1 && code <= 0x82E5 && code % 2 == 1) || code == 0x82EC;
}

std::vector<unsigned> Codes(std::string_view kana) {
    std::vector<unsigned> codes;
    for (std::size_t i = 0; i + 1 < kana.size(); i += 2)
        codes.push_back(UnitCode(kana.substr(i, 2)));
    return codes;
}

// The state's fields, eight bits each: no field counts past the filter it
// follows, and the search refuses filters beyond MaxYomiKana.
constexpr unsigned FieldBits = 8;
static_assert(MaxYomiKana < (1 << FieldBits));
enum Field : unsigned {
    PrefixField = 0,
    SuffixField = FieldBits,
    ContainsField = 2 * FieldBits,
    KanaField = 3 * FieldBits,
    MoraField = 4 * FieldBits
};
static_assert(MoraField + FieldBits <= 64, "the fields fill one State");
constexpr YomiMatcher::State FieldMask = (YomiMatcher::State{1} << FieldBits) - 1;

std::size_t Get(YomiMatcher::State state, Field field) {
    return static_cast<std::size_t>(state >> field & FieldMask);
}

YomiMatcher::State Set(YomiMatcher::State state, Field field, std::size_t value) {
    return (state & ~(FieldMask << field)) | static_cast<YomiMatcher::State>(value) << field;
}

}  // namespace

int CountMorae(std::string_view yomi) {
    int morae = 0;
    for (const unsigned code : Codes(yomi)) morae += IsSmallKana(code) ? 0 : 1;
    return morae;
}

YomiMatcher::Pattern YomiMatcher::MakePattern(std::string_view kana) {
    Pattern pattern{Codes(kana), {}};
    pattern.fail.assign(pattern.codes.size(), 0);
    for (std::size_t i = 1, k = 0; i < pattern.codes.size(); ++i) {
        while (k > 0 && pattern.codes[i] != pattern.codes[k]) k = pattern.fail[k - 1];
        if (pattern.codes[i] == pattern.codes[k]) ++k;
        pattern.fail[i] = k;
    }
    return pattern;
}

std::size_t YomiMatcher::Advance(const Pattern& pattern, std::size_t matched, unsigned code) {
    if (matched == pattern.codes.size() && matched > 0) matched = pattern.fail[matched - 1];
    while (matched > 0 && pattern.codes[matched] != code) matched = pattern.fail[matched - 1];
    if (pattern.codes[matched] == code) ++matched;
    return matched;
}

YomiMatcher::YomiMatcher(const YomiFilters& filters)
    : active_(filters.Active()),
      prefix_(Codes(filters.exact.empty() ? filters.prefix : filters.exact)),
      suffix_(MakePattern(filters.suffix)),
      contains_(MakePattern(filters.contains)),
      length_(filters.exact.empty() ? filters.length : static_cast<int>(filters.exact.size() / 2)),
      morae_(filters.morae) {}

YomiMatcher::State YomiMatcher::Step(State state, unsigned code) const {
    if (state == Dead) return Dead;
    if (const std::size_t p = Get(state, PrefixField); p < prefix_.size()) {
        if (prefix_[p] != code) return Dead;
        state = Set(state, PrefixField, p + 1);
    }
    if (!suffix_.codes.empty()) {
        state = Set(state, SuffixField, Advance(suffix_, Get(state, SuffixField), code));
    }
    if (const std::size_t c = Get(state, ContainsField); c < contains_.codes.size()) {
        state = Set(state, ContainsField, Advance(contains_, c, code));
    }
    if (length_ != 0) {
        const std::size_t kana = Get(state, KanaField) + 1;
        if (kana > static_cast<std::size_t>(length_)) return Dead;
        state = Set(state, KanaField, kana);
    }
    if (morae_ != 0 && !IsSmallKana(code)) {
        const std::size_t morae = Get(state, MoraField) + 1;
        if (morae > static_cast<std::size_t>(morae_)) return Dead;
        state = Set(state, MoraField, morae);
    }
    return state;
}

YomiMatcher::State YomiMatcher::Read(State state, std::string_view kana) const {
    for (std::size_t i = 0; i + 1 < kana.size() && state != Dead; i += 2) {
        state = Step(state, UnitCode(kana.substr(i, 2)));
    }
    return state;
}

bool YomiMatcher::Accepts(State state) const {
    return state != Dead && Get(state, PrefixField) == prefix_.size() &&
           Get(state, SuffixField) == suffix_.codes.size() &&
           Get(state, ContainsField) == contains_.codes.size() &&
           (length_ == 0 || Get(state, KanaField) == static_cast<std::size_t>(length_)) &&
           (morae_ == 0 || Get(state, MoraField) == static_cast<std::size_t>(morae_));
}

bool YomiMatcher::Satisfiable() const {
    // The kana of the texts, and one other kana of each kind (small or not):
    // every other kana reads as one of those two.
    std::vector<unsigned> alphabet = prefix_;
    alphabet.insert(alphabet.end(), suffix_.codes.begin(), suffix_.codes.end());
    alphabet.insert(alphabet.end(), contains_.codes.begin(), contains_.codes.end());
    for (const bool small : {false, true}) {
        for (unsigned code = 0x829F; code <= 0x82F1; ++code) {
            if (IsSmallKana(code) == small &&
                std::find(alphabet.begin(), alphabet.end(), code) == alphabet.end()) {
                alphabet.push_back(code);
                break;
            }
        }
    }
    std::sort(alphabet.begin(), alphabet.end());
    alphabet.erase(std::unique(alphabet.begin(), alphabet.end()), alphabet.end());
    std::unordered_set<State> seen = {Start()};
    std::deque<State> queue = {Start()};
    while (!queue.empty()) {
        const State state = queue.front();
        queue.pop_front();
        if (Accepts(state)) return true;
        for (const unsigned code : alphabet) {
            const State next = Step(state, code);
            if (next == Dead || !seen.insert(next).second) continue;
            if (seen.size() > MaxSearchedStates) return true;
            queue.push_back(next);
        }
    }
    return false;
}

}  // namespace soten
