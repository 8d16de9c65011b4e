#include "analysis/naming/ComposedSpace.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <span>
#include <stdexcept>
#include <unordered_map>

#include "analysis/naming/CandidateReading.h"
#include "analysis/naming/SearchFilters.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/KanaCollation.h"

namespace soten::naming {
namespace {

// The stroke counts a name kanji may have: the search's memo keys keep a
// count in six bits.
constexpr int StrokeBits = 6;
constexpr int MaxKanjiStrokes = (1 << StrokeBits) - 1;

// Concatenates unsigned fields into one number for the memo tables, the
// first field added in the highest bits.
class PackedKey {
public:
    PackedKey& Add(std::uint64_t field, int bits) {
        assert(field < std::uint64_t{1} << bits);
        value_ = value_ << bits | field;
        return *this;
    }
    std::uint64_t Value() const { return value_; }

private:
    std::uint64_t value_ = 0;
};

// One bit per name kanji, by slot: the kanji sorted by stroke count (each
// count's kanji in code order, as the stroke patterns list them), the kanji
// no pattern uses last.
class KanjiSlots {
public:
    explicit KanjiSlots(const std::vector<std::vector<std::uint32_t>>& byStroke,
                        std::size_t kanjiCount)
        : slotOf_(kanjiCount, kanjiCount), begin_(byStroke.size() + 1, 0) {
        std::size_t slot = 0;
        for (std::size_t strokes = 0; strokes < byStroke.size(); ++strokes) {
            begin_[strokes] = slot;
            for (const std::uint32_t kanji : byStroke[strokes]) slotOf_[kanji] = slot++;
        }
        begin_[byStroke.size()] = slot;
        for (std::size_t& s : slotOf_) {
            if (s == kanjiCount) s = slot++;
        }
    }
    std::size_t Count() const { return slotOf_.size(); }
    std::size_t Words() const { return (Count() + 63) / 64; }
    std::size_t Of(std::uint32_t kanji) const { return slotOf_[kanji]; }
    // The slots of the kanji of a stroke count: [Begin, End).
    std::size_t Begin(int strokes) const { return begin_[static_cast<std::size_t>(strokes)]; }
    std::size_t End(int strokes) const { return begin_[static_cast<std::size_t>(strokes) + 1]; }

private:
    std::vector<std::size_t> slotOf_;
    std::vector<std::size_t> begin_;
};

using KanjiBits = std::vector<std::uint64_t>;

// The yomi parts each name kanji is read by in this search, with each
// part's weight at each NamePosition and how many girls' and boys' names
// give it: the parts real names give it (commonOnly), or every dictionary
// reading.
struct PartCounts {
    std::uint32_t girls = 0;
    std::uint32_t boys = 0;
};

struct YomiTable {
    std::vector<std::vector<KanjiYomi>> yomi;
    std::vector<std::vector<std::array<double, 4>>> weights;
    std::vector<std::vector<PartCounts>> counts;
};

YomiTable MakeYomiTable(const NameSearchData& data, bool commonOnly) {
    const NameLikeness& likeness = data.Likeness();
    YomiTable table;
    table.yomi.resize(data.Kanji().size());
    table.weights.resize(data.Kanji().size());
    table.counts.resize(data.Kanji().size());
    for (std::size_t k = 0; k < data.Kanji().size(); ++k) {
        const std::size_t folded = data.FoldedIndex(k);
        auto add = [&](const std::string& kana, YomiKind kind, const LikenessPart* row) {
            std::array<double, 4> weight{};
            for (std::size_t p = 0; p < weight.size(); ++p) {
                weight[p] = likeness.Weight(row, static_cast<NamePosition>(p));
            }
            table.yomi[k].push_back({kana, kind});
            table.weights[k].push_back(weight);
            table.counts[k].push_back(row ? PartCounts{row->girls, row->boys} : PartCounts{});
        };
        if (commonOnly && !likeness.Empty()) {
            for (const LikenessPart& part : likeness.PartsOf(folded)) {
                add(part.kana, YomiKind::Nanori, &part);
            }
        } else {
            for (const KanjiYomi& yomi : data.Yomi(k)) {
                add(yomi.kana, yomi.kind, likeness.Find(folded, yomi.kana));
            }
        }
    }
    return table;
}

bool Test(const KanjiBits& bits, std::size_t slot) {
    return (bits[slot / 64] >> (slot % 64) & 1) != 0;
}

void Mark(KanjiBits& bits, std::size_t slot) {
    bits[slot / 64] |= std::uint64_t{1} << (slot % 64);
}

std::uint64_t CountRange(const KanjiBits& bits, std::size_t begin, std::size_t end) {
    std::uint64_t count = 0;
    for (std::size_t slot = begin; slot < end;) {
        const std::size_t word = slot / 64;
        const std::size_t stop = std::min(end, (word + 1) * 64);
        std::uint64_t w = bits[word] >> (slot % 64);
        if (stop - slot < 64) w &= (std::uint64_t{1} << (stop - slot)) - 1;
        count += static_cast<std::uint64_t>(std::popcount(w));
        slot = stop;
    }
    return count;
}

// Thrown when the yomi filters ask for more work than MaxYomiWork.
struct YomiWorkExceeded {};

// The sets of yomi states that the characters of a name can lead to,
// numbered as they turn up: a name matches when a state of the set before
// its last character reads on to an accepted yomi through that character.
// A set keeps only the states from which the characters still to come can
// reach an accepted yomi, so filters no name can meet leave no sets at all;
// the last character is looked up in a bit set per state (Closing) instead
// of building the sets after it. Every step counts against MaxYomiWork.
// Without yomi filters there is one set that every character keeps.
class YomiSets {
public:
    static constexpr int None = -1;  // no yomi of the characters so far can match

    YomiSets(const YomiMatcher& matcher, const YomiTable& table, const KanjiSlots& slots)
        : matcher_(matcher), table_(table), slots_(slots), live_(MaxAllSpaceChars) {
        Intern({matcher.Start()});
        if (!matcher.Active()) {
            all_.assign(slots.Words(), ~std::uint64_t{0});
            return;
        }
        // Each yomi text once, with the kanji read so.
        std::unordered_map<std::string_view, std::size_t> index;
        for (std::uint32_t kanji = 0; kanji < table.yomi.size(); ++kanji) {
            for (const KanjiYomi& yomi : table.yomi[kanji]) {
                auto [it, inserted] = index.try_emplace(yomi.kana, texts_.size());
                if (inserted) texts_.push_back({yomi.kana, KanjiBits(slots.Words(), 0)});
                Mark(texts_[it->second].second, slots.Of(kanji));
            }
        }
        Spend(texts_.size() * slots.Words());
    }

    int Start() const { return 0; }
    std::uint64_t Work() const { return work_; }

    // The set after one more character, Kanji()[kanji], with `left`
    // characters still to come (at least one).
    int Next(int set, std::uint32_t kanji, int left) {
        if (!matcher_.Active()) return set;
        std::vector<YomiMatcher::State> states;
        for (const YomiMatcher::State state : sets_[static_cast<std::size_t>(set)]) {
            for (const KanjiYomi& yomi : table_.yomi[kanji]) {
                Spend(1);
                const auto after = matcher_.Read(state, yomi.kana);
                if (after != YomiMatcher::Dead && Live(after, left)) states.push_back(after);
            }
        }
        return states.empty() ? None : Intern(std::move(states));
    }

    // The slots of the kanji through which a state of the set reads on to an
    // accepted yomi.
    const KanjiBits& Closing(int set) {
        if (!matcher_.Active()) return all_;
        auto [it, inserted] = setClosing_.try_emplace(set);
        if (!inserted) return it->second;
        KanjiBits bits(slots_.Words(), 0);
        for (const YomiMatcher::State state : sets_[static_cast<std::size_t>(set)]) {
            const KanjiBits& closing = StateClosing(state);
            for (std::size_t w = 0; w < bits.size(); ++w) bits[w] |= closing[w];
        }
        Spend(bits.size());
        it->second = std::move(bits);
        return it->second;
    }

    // Counts work against MaxYomiWork: the sets' own, and the counting
    // that runs over them.
    void Spend(std::uint64_t units) {
        work_ += units;
        if (work_ > MaxYomiWork) throw YomiWorkExceeded{};
    }

private:
    const KanjiBits& StateClosing(YomiMatcher::State state) {
        auto [it, inserted] = stateClosing_.try_emplace(state);
        if (!inserted) return it->second;
        KanjiBits bits(slots_.Words(), 0);
        for (const auto& [text, kanji] : texts_) {
            if (!matcher_.Accepts(matcher_.Read(state, text))) continue;
            for (std::size_t w = 0; w < bits.size(); ++w) bits[w] |= kanji[w];
        }
        Spend(texts_.size() + bits.size());
        it->second = std::move(bits);
        return it->second;
    }

    // Whether `left` more characters can take the state to an accepted yomi.
    bool Live(YomiMatcher::State state, int left) {
        if (left == 1) {
            const KanjiBits& closing = StateClosing(state);
            return std::any_of(closing.begin(), closing.end(),
                               [](std::uint64_t w) { return w != 0; });
        }
        auto& known = live_[static_cast<std::size_t>(left)];
        if (const auto found = known.find(state); found != known.end()) return found->second;
        bool live = false;
        for (const auto& text : texts_) {
            Spend(1);
            const auto after = matcher_.Read(state, text.first);
            if (after != YomiMatcher::Dead && Live(after, left - 1)) {
                live = true;
                break;
            }
        }
        known.emplace(state, live);
        return live;
    }

    int Intern(std::vector<YomiMatcher::State> states) {
        std::sort(states.begin(), states.end());
        states.erase(std::unique(states.begin(), states.end()), states.end());
        std::string key(reinterpret_cast<const char*>(states.data()),
                        states.size() * sizeof(YomiMatcher::State));
        Spend(states.size());
        const auto [it, inserted] =
            ids_.try_emplace(std::move(key), static_cast<int>(sets_.size()));
        if (inserted) {
            Spend(states.size());
            sets_.push_back(std::move(states));
        }
        return it->second;
    }

    const YomiMatcher& matcher_;
    const YomiTable& table_;
    const KanjiSlots& slots_;
    std::uint64_t work_ = 0;
    std::vector<std::pair<std::string_view, KanjiBits>> texts_;
    KanjiBits all_;
    std::unordered_map<YomiMatcher::State, KanjiBits> stateClosing_;
    std::vector<std::unordered_map<YomiMatcher::State, bool>> live_;  // by characters left
    std::vector<std::vector<YomiMatcher::State>> sets_;
    std::unordered_map<std::string, int> ids_;
    std::unordered_map<int, KanjiBits> setClosing_;
};

// One position of a stroke pattern: every usable name kanji with that stroke
// count, or the one kanji pinned there (stroke 0 in the pattern's key).
struct StrokePattern {
    int score = 0;
    int totalGrade = 0;
    SansaiVerdict sansai = SansaiVerdict::VeryGood;
    InyoVerdict inyo = InyoVerdict::Good;
    int chars = 0;
    int sortValue = 0;
    std::array<int, MaxAllSpaceChars> strokes{};
    std::uint64_t count = 0;
};

// Counts and lists the names of the stroke patterns: Ways(pattern, i, set,
// mask) is the number of ways to fill positions i.. so that the yomi sets
// end in an accepted yomi and the required characters outside `mask` turn
// up; characters that lead to the same set and place the same required
// character are counted as one group, and the last position is counted from
// the set's Closing bits.
class PatternNames {
public:
    PatternNames(const std::vector<std::vector<std::uint32_t>>& byStroke,
                 const std::array<std::optional<std::uint32_t>, MaxAllSpaceChars>& pinned,
                 const std::vector<std::uint32_t>& anywhere, const KanjiSlots& slots,
                 YomiSets& sets, bool yomi)
        : byStroke_(byStroke),
          pinned_(pinned),
          anywhere_(anywhere),
          slots_(slots),
          sets_(sets),
          yomi_(yomi),
          full_((std::size_t{1} << anywhere.size()) - 1) {}

    std::uint64_t Count(const StrokePattern& pattern) { return Ways(pattern, 0, sets_.Start(), 0); }

    // The kanji of the name of 0-based rank `rank` in code order.
    std::vector<std::uint32_t> Name(const StrokePattern& pattern, std::uint64_t rank) {
        std::vector<std::uint32_t> name;
        int set = sets_.Start();
        std::size_t mask = 0;
        for (int i = 0; i + 1 < pattern.chars; ++i) {
            const Groups& groups = GroupsAt(pattern, i, set);
            const auto choices = Choices(pattern, i);
            for (std::size_t c = 0; c < choices.size(); ++c) {
                const std::uint32_t g = groups.ofChoice[c];
                if (g == NoGroup) continue;
                const Group& group = groups.groups[g];
                const std::uint64_t ways = Ways(pattern, i + 1, group.set, mask | group.bit);
                if (rank < ways) {
                    name.push_back(choices[c]);
                    set = group.set;
                    mask |= group.bit;
                    break;
                }
                rank -= ways;
            }
        }
        const KanjiBits& closing = sets_.Closing(set);
        for (const std::uint32_t kanji : Choices(pattern, pattern.chars - 1)) {
            if (!Test(closing, slots_.Of(kanji)) || (mask | Bit(kanji)) != full_) continue;
            if (rank == 0) {
                name.push_back(kanji);
                break;
            }
            --rank;
        }
        return name;
    }

    // Visits the kanji of every name of the pattern in rank order.
    template <typename Visit>
    void Each(const StrokePattern& pattern, Visit&& visit) {
        std::vector<std::uint32_t> name;
        auto walk = [&](auto& self, int position, int set, std::size_t mask) -> void {
            if (position + 1 == pattern.chars) {
                const KanjiBits& closing = sets_.Closing(set);
                for (const std::uint32_t kanji : Choices(pattern, position)) {
                    if (!Test(closing, slots_.Of(kanji)) || (mask | Bit(kanji)) != full_) continue;
                    name.push_back(kanji);
                    visit(name);
                    name.pop_back();
                }
                return;
            }
            const Groups& groups = GroupsAt(pattern, position, set);
            const auto choices = Choices(pattern, position);
            for (std::size_t c = 0; c < choices.size(); ++c) {
                const std::uint32_t g = groups.ofChoice[c];
                if (g == NoGroup) continue;
                const Group group = groups.groups[g];
                if (Ways(pattern, position + 1, group.set, mask | group.bit) == 0) continue;
                name.push_back(choices[c]);
                self(self, position + 1, group.set, mask | group.bit);
                name.pop_back();
            }
        };
        walk(walk, 0, sets_.Start(), 0);
    }

private:
    static constexpr std::uint32_t NoGroup = ~std::uint32_t{0};
    struct Group {
        int set;
        std::size_t bit;
        std::uint64_t count;
    };
    // The groups of the choices at a position after a set, and each choice's
    // group (NoGroup when no yomi of it can match).
    struct Groups {
        std::vector<Group> groups;
        std::vector<std::uint32_t> ofChoice;
    };

    std::span<const std::uint32_t> Choices(const StrokePattern& pattern, int position) const {
        const auto p = static_cast<std::size_t>(position);
        if (pinned_[p]) return {&*pinned_[p], 1};
        return byStroke_[static_cast<std::size_t>(pattern.strokes[p])];
    }

    std::size_t Bit(std::uint32_t kanji) const {
        for (std::size_t r = 0; r < anywhere_.size(); ++r) {
            if (anywhere_[r] == kanji) return std::size_t{1} << r;
        }
        return 0;
    }

    const Groups& GroupsAt(const StrokePattern& pattern, int position, int set) {
        // The choices at a position: the kanji pinned there, or a stroke
        // count; and the characters still to come after it.
        const auto p = static_cast<std::size_t>(position);
        const int left = pattern.chars - position - 1;
        constexpr int LeftBits = 2;
        static_assert(MaxAllSpaceChars <= (1 << StrokeBits) && MaxAllSpaceChars < (1 << LeftBits));
        const std::uint64_t key =
            PackedKey()
                .Add(static_cast<std::uint64_t>(left), LeftBits)
                .Add(pinned_[p] ? 1 : 0, 1)
                .Add(pinned_[p] ? p : static_cast<std::size_t>(pattern.strokes[p]), StrokeBits)
                .Add(static_cast<std::uint32_t>(set), 32)
                .Value();
        auto [it, inserted] = groups_.try_emplace(key);
        if (!inserted) return it->second;
        Groups& groups = it->second;
        // Each group's index by its set and required character.
        std::unordered_map<std::uint64_t, std::uint32_t> index;
        for (const std::uint32_t kanji : Choices(pattern, position)) {
            const int next = sets_.Next(set, kanji, left);
            if (next == YomiSets::None) {
                groups.ofChoice.push_back(NoGroup);
                continue;
            }
            const std::size_t bit = Bit(kanji);
            const std::uint64_t groupKey =
                PackedKey().Add(static_cast<std::uint32_t>(next), 32).Add(bit, 32).Value();
            const auto [found, added] =
                index.try_emplace(groupKey, static_cast<std::uint32_t>(groups.groups.size()));
            groups.ofChoice.push_back(found->second);
            if (added) {
                groups.groups.push_back({next, bit, 1});
            } else {
                ++groups.groups[found->second].count;
            }
        }
        return groups;
    }

    // The names of the last position after a set.
    std::uint64_t LastWays(const StrokePattern& pattern, int set, std::size_t mask) {
        const KanjiBits& closing = sets_.Closing(set);
        const auto last = static_cast<std::size_t>(pattern.chars - 1);
        if (pinned_[last]) {
            const std::uint32_t kanji = *pinned_[last];
            return Test(closing, slots_.Of(kanji)) && (mask | Bit(kanji)) == full_ ? 1 : 0;
        }
        const int strokes = pattern.strokes[last];
        const std::size_t begin = slots_.Begin(strokes);
        const std::size_t end = slots_.End(strokes);
        std::uint64_t others = CountRange(closing, begin, end);
        std::uint64_t ways = 0;
        for (const std::uint32_t kanji : anywhere_) {
            const std::size_t slot = slots_.Of(kanji);
            if (slot < begin || slot >= end || !Test(closing, slot)) continue;
            --others;
            if ((mask | Bit(kanji)) == full_) ++ways;
        }
        return mask == full_ ? ways + others : ways;
    }

    std::uint64_t Ways(const StrokePattern& pattern, int position, int set, std::size_t mask) {
        // The positions still to fill decide the answer with the set and
        // mask: the set, the required characters placed (a bit each), how
        // many positions are left, their counts (0 where a kanji is pinned
        // and past the last) and the position. Every field has its fixed
        // place, so that keys of names of different lengths never meet.
        constexpr int PositionBits = 2;
        static_assert(MaxAllSpaceChars < (1 << PositionBits));
        static_assert(
            32 + MaxRequiredCharacters + 2 * PositionBits + MaxAllSpaceChars * StrokeBits <= 64);
        PackedKey key;
        key.Add(static_cast<std::uint32_t>(set), 32)
            .Add(mask, MaxRequiredCharacters)
            .Add(static_cast<std::uint64_t>(pattern.chars - position), PositionBits);
        for (int p = position; p < position + MaxAllSpaceChars; ++p) {
            const auto index = static_cast<std::size_t>(p);
            const bool counted = p < pattern.chars && !pinned_[index];
            key.Add(counted ? static_cast<unsigned>(pattern.strokes[index]) : 0u, StrokeBits);
        }
        key.Add(static_cast<std::uint64_t>(position), PositionBits);
        if (yomi_) sets_.Spend(1);
        if (const auto found = ways_.find(key.Value()); found != ways_.end()) return found->second;
        std::uint64_t ways = 0;
        if (position + 1 == pattern.chars) {
            ways = LastWays(pattern, set, mask);
        } else {
            for (const Group& group : GroupsAt(pattern, position, set).groups) {
                ways += group.count * Ways(pattern, position + 1, group.set, mask | group.bit);
            }
        }
        ways_.emplace(key.Value(), ways);
        return ways;
    }

    const std::vector<std::vector<std::uint32_t>>& byStroke_;
    const std::array<std::optional<std::uint32_t>, MaxAllSpaceChars>& pinned_;
    const std::vector<std::uint32_t>& anywhere_;
    const KanjiSlots& slots_;
    YomiSets& sets_;
    bool yomi_;  // whether the yomi is filtered, and the counting counts as its work
    std::size_t full_;
    std::unordered_map<std::uint64_t, Groups> groups_;
    std::unordered_map<std::uint64_t, std::uint64_t> ways_;
};

// The yomi of a name of kanji: the concatenations of its characters' yomi
// that pass the matcher, at most MaxShownYomi, the most name-like first (the
// sum of the parts' weights at their positions), then the ones made of 名乗り
// first (the sum of the kinds, 名乗り 0, 訓 1, 音 2), then in the order of the
// first character's yomi, then the second's; and the best sum, with the
// girls' and boys' names that give the parts of the first of those yomi.
struct ComposedYomi {
    std::vector<std::string> yomis;
    double likeness = 0;
    std::uint64_t girls = 0;
    std::uint64_t boys = 0;
    GenderLean Lean(const GenderBalance& balance) const { return LeanOf(girls, boys, balance); }
};

ComposedYomi ComposeYomi(const std::vector<std::uint32_t>& name, const YomiTable& table,
                         const YomiMatcher& matcher, bool keepTexts) {
    struct Found {
        double likeness;
        int kinds;
        std::string text;
    };
    ComposedYomi composed;
    if (!matcher.Active() && !keepTexts) {
        // Every composition is read: the best one takes each character's best
        // part, of those the one of the fewest kinds, of those the first.
        for (std::size_t position = 0; position < name.size(); ++position) {
            const auto where = static_cast<std::size_t>(PositionIn(position, name.size()));
            const auto& weights = table.weights[name[position]];
            const auto& yomi = table.yomi[name[position]];
            if (weights.empty()) return {};
            std::size_t best = 0;
            for (std::size_t y = 1; y < weights.size(); ++y) {
                if (weights[y][where] > weights[best][where] ||
                    (weights[y][where] == weights[best][where] && yomi[y].kind < yomi[best].kind)) {
                    best = y;
                }
            }
            composed.likeness += weights[best][where];
            composed.girls += table.counts[name[position]][best].girls;
            composed.boys += table.counts[name[position]][best].boys;
        }
        return composed;
    }
    std::vector<Found> found;
    std::string text;
    bool any = false;
    int bestKinds = 0;
    std::vector<PartCounts> chosen;
    auto compose = [&](auto& self, std::size_t position, YomiMatcher::State state, int kinds,
                       double likeness) -> void {
        if (position == name.size()) {
            if (matcher.Active() && !matcher.Accepts(state)) return;
            // The first of the best, as the stable sort below puts it first.
            if (!any || likeness > composed.likeness ||
                (likeness == composed.likeness && kinds < bestKinds)) {
                composed.likeness = likeness;
                bestKinds = kinds;
                composed.girls = composed.boys = 0;
                for (const PartCounts& counts : chosen) {
                    composed.girls += counts.girls;
                    composed.boys += counts.boys;
                }
            }
            any = true;
            if (keepTexts) found.push_back({likeness, kinds, text});
            return;
        }
        const auto& yomi = table.yomi[name[position]];
        const auto& weights = table.weights[name[position]];
        const auto where = static_cast<std::size_t>(PositionIn(position, name.size()));
        for (std::size_t y = 0; y < yomi.size(); ++y) {
            YomiMatcher::State next = state;
            if (matcher.Active()) {
                next = matcher.Read(state, yomi[y].kana);
                if (next == YomiMatcher::Dead) continue;
            }
            const std::size_t size = text.size();
            text += yomi[y].kana;
            chosen.push_back(table.counts[name[position]][y]);
            self(self, position + 1, next, kinds + static_cast<int>(yomi[y].kind),
                 likeness + weights[y][where]);
            chosen.pop_back();
            text.resize(size);
        }
    };
    compose(compose, 0, matcher.Start(), 0, 0.0);
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.likeness != b.likeness) return a.likeness > b.likeness;
        return a.kinds < b.kinds;
    });
    for (Found& f : found) {
        if (composed.yomis.size() == MaxShownYomi) break;
        if (std::find(composed.yomis.begin(), composed.yomis.end(), f.text) ==
            composed.yomis.end()) {
            composed.yomis.push_back(std::move(f.text));
        }
    }
    return composed;
}

}  // namespace

void SearchComposedNames(const NameSearchFilters& filters, const Tables& tables,
                         const NameSearchData& data, const NameRecord& surname,
                         NameSearchResult& result) {
    const auto& kanji = data.Kanji();
    auto indexOf = [&](const std::string& character) {
        return static_cast<std::uint32_t>(std::lower_bound(kanji.begin(), kanji.end(), character) -
                                          kanji.begin());
    };
    auto strokesOf = [&](std::uint32_t index) {
        return CountUnit(kanji[index], 1, 0, filters.style, tables.dictionary);
    };
    // The usable name kanji grouped by their count in this style, each group
    // in code order.
    // A compatibility ideograph that stands for a listed kanji is left out:
    // it would spell the same-looking name twice.
    const YomiTable table = MakeYomiTable(data, filters.commonOnly);
    const bool commonOnly = filters.commonOnly && !data.Likeness().Empty();
    const GenderBalance& balance = data.Likeness().Balance();
    std::vector<std::vector<std::uint32_t>> byStroke;
    for (std::uint32_t index = 0; index < kanji.size(); ++index) {
        if (data.FoldedIndex(index) != index) continue;
        if (commonOnly && table.yomi[index].empty()) continue;
        const int strokes = strokesOf(index);
        if (strokes <= 0 || HoldsAnyOf(kanji[index], filters.excluded)) continue;
        if (!filters.includeAvoided && BuiltInAvoidedKanji().Holds(kanji[index])) continue;
        if (strokes > MaxKanjiStrokes) throw std::out_of_range("a name kanji has too many strokes");
        if (static_cast<std::size_t>(strokes) >= byStroke.size()) {
            byStroke.resize(static_cast<std::size_t>(strokes) + 1);
        }
        byStroke[static_cast<std::size_t>(strokes)].push_back(index);
    }

    std::array<std::optional<std::uint32_t>, MaxAllSpaceChars> pinned{};
    std::vector<std::uint32_t> anywhere;
    for (const RequiredCharacter& required : filters.required) {
        const auto index =
            static_cast<std::uint32_t>(data.FoldedIndex(indexOf(required.character)));
        if (required.position > 0) {
            pinned[static_cast<std::size_t>(required.position - 1)] = index;
        } else if (std::find(anywhere.begin(), anywhere.end(), index) == anywhere.end()) {
            anywhere.push_back(index);
        }
    }

    const YomiMatcher matcher(HiraganaYomi(filters.yomi));
    const KanjiSlots slots(byStroke, kanji.size());
    YomiSets sets(matcher, table, slots);
    PatternNames names(byStroke, pinned, anywhere, slots, sets, matcher.Active());
    const int surnameChars = surname.Lengths[Surname];
    const std::uint16_t surnameOdd = OddMask(surname.Strokes[Surname], surnameChars);
    const int fewest = filters.chars != 0 ? filters.chars : 1;
    const int most = std::min(filters.chars != 0 ? filters.chars : MaxAllSpaceChars,
                              MaxTotalChars - surnameChars);
    Evaluator evaluator(surname, filters, tables);
    std::vector<StrokePattern> patterns;
    const int maxStroke = static_cast<int>(byStroke.size()) - 1;

    // The yomi sets are built as the patterns are counted and the page is
    // composed; filters that would need more than MaxYomiWork are refused.
    auto countAndCompose = [&] {
        for (int chars = fewest; chars <= most; ++chars) {
            // A pin beyond the name's last character leaves nothing of this length.
            bool pinsFit = true;
            for (int p = chars; p < MaxAllSpaceChars; ++p)
                pinsFit = pinsFit && !pinned[static_cast<std::size_t>(p)];
            if (!pinsFit) continue;
            StrokePattern pattern;
            pattern.chars = chars;
            // Walks every stroke tuple of this length (at most maxStroke³).
            auto walk = [&](auto& self, int position) -> void {
                if (position == chars) {
                    int sum = 0;
                    for (int p = 0; p < chars; ++p)
                        sum += pattern.strokes[static_cast<std::size_t>(p)];
                    const Evaluation& evaluation =
                        evaluator.Evaluate(chars, pattern.strokes[0], sum);
                    if (!evaluation.passes) return;
                    std::uint16_t givenOdd = 0;
                    for (int p = 0; p < chars; ++p) {
                        if (pattern.strokes[static_cast<std::size_t>(p)] % 2 != 0) {
                            givenOdd = static_cast<std::uint16_t>(givenOdd | 1u << p);
                        }
                    }
                    pattern.inyo = JudgeInyo(surnameOdd, surnameChars, givenOdd, chars).verdict;
                    if (filters.inyoOk && pattern.inyo == InyoVerdict::Bad) return;
                    pattern.count = names.Count(pattern);
                    if (pattern.count == 0) return;
                    pattern.sansai = evaluation.sansai;
                    pattern.score = evaluation.score;
                    pattern.totalGrade = evaluation.grades[Total];
                    pattern.sortValue = NumericSortValue(filters.sort, evaluation, sum);
                    if (filters.reversed) pattern.sortValue = -pattern.sortValue;
                    patterns.push_back(pattern);
                    return;
                }
                const auto p = static_cast<std::size_t>(position);
                if (pinned[p]) {
                    pattern.strokes[p] = strokesOf(*pinned[p]);
                    self(self, position + 1);
                    return;
                }
                for (int s = 1; s <= maxStroke; ++s) {
                    if (byStroke[static_cast<std::size_t>(s)].empty()) continue;
                    pattern.strokes[p] = s;
                    self(self, position + 1);
                }
            };
            walk(walk, 0);
        }

        std::sort(patterns.begin(), patterns.end(),
                  [](const StrokePattern& a, const StrokePattern& b) {
                      if (a.sortValue != b.sortValue) return a.sortValue < b.sortValue;
                      if (a.score != b.score) return a.score > b.score;
                      if (a.totalGrade != b.totalGrade) return a.totalGrade < b.totalGrade;
                      if (a.sansai != b.sansai) return a.sansai < b.sansai;
                      if (a.inyo != b.inyo) return a.inyo < b.inyo;
                      if (a.chars != b.chars) return a.chars < b.chars;
                      return a.strokes < b.strokes;
                  });
        for (const StrokePattern& pattern : patterns) result.count += pattern.count;

        // A name's lean follows from the parts of its own yomi, which the
        // patterns do not tell: with a gender every name is weighed.
        const bool byGender = filters.gender != GenderFilter::Any;
        auto genderPasses = [&](const std::vector<std::uint32_t>& name) {
            return LeanPasses(filters, ComposeYomi(name, table, matcher, false).Lean(balance));
        };
        if (byGender) {
            if (result.count > MaxGenderWeighed) {
                result.problem =
                    Message("候補が多すぎて、性別では絞れません。読みか文字数で絞ってください");
                result.count = 0;
                return;
            }
            result.count = 0;
            for (StrokePattern& pattern : patterns) {
                std::uint64_t kept = 0;
                names.Each(pattern, [&](const std::vector<std::uint32_t>& name) {
                    if (genderPasses(name)) ++kept;
                });
                pattern.count = kept;
                result.count += kept;
            }
            std::erase_if(patterns, [](const StrokePattern& p) { return p.count == 0; });
        }

        if (filters.sort == SortKey::Common && result.count > MaxLikenessSorted) {
            result.problem = Message(
                "候補が多すぎて、よく使われる順には並べられません。読みか文字数で絞ってください");
            result.count = 0;
            return;
        }
        auto offset = PageStart(filters.page, result.limit, result.count);
        if (!offset) return;
        auto full = [&] { return static_cast<int>(result.candidates.size()) >= result.limit; };
        auto add = [&](const std::vector<std::uint32_t>& name, ComposedYomi yomi) {
            std::string given;
            for (const std::uint32_t index : name) given += kanji[index];
            auto candidate = MakeCandidate(filters, tables, std::move(given));
            if (!candidate) return;
            candidate->girls = yomi.girls;
            candidate->boys = yomi.boys;
            candidate->lean = yomi.Lean(balance);
            candidate->yomis = std::move(yomi.yomis);
            if (!candidate->yomis.empty()) candidate->yomi = candidate->yomis.front();
            result.candidates.push_back(std::move(*candidate));
        };
        // Runs of patterns the order cannot tell apart but by the names'
        // likeness (the whole result for SortKey::Common).
        auto sameRun = [&](const StrokePattern& a, const StrokePattern& b) {
            return filters.sort == SortKey::Common ||
                   (a.sortValue == b.sortValue && a.score == b.score &&
                    a.totalGrade == b.totalGrade && a.sansai == b.sansai && a.inyo == b.inyo);
        };
        for (std::size_t first = 0; first < patterns.size() && !full();) {
            std::size_t last = first + 1;
            std::uint64_t runCount = patterns[first].count;
            while (last < patterns.size() && sameRun(patterns[first], patterns[last])) {
                runCount += patterns[last++].count;
            }
            if (*offset >= runCount) {
                *offset -= runCount;
                first = last;
                continue;
            }
            if (runCount <= MaxLikenessSorted) {
                // Every name of the run, most name-like first; equal ones keep
                // the patterns' order.
                struct Ranked {
                    double likeness;
                    std::array<std::uint32_t, MaxAllSpaceChars> kanji;
                    std::uint8_t chars;
                };
                std::vector<Ranked> run;
                run.reserve(runCount);
                for (std::size_t p = first; p < last; ++p) {
                    names.Each(patterns[p], [&](const std::vector<std::uint32_t>& name) {
                        const ComposedYomi composed = ComposeYomi(name, table, matcher, false);
                        if (byGender && !LeanPasses(filters, composed.Lean(balance))) return;
                        Ranked ranked{
                            composed.likeness, {}, static_cast<std::uint8_t>(name.size())};
                        std::copy(name.begin(), name.end(), ranked.kanji.begin());
                        run.push_back(ranked);
                    });
                }
                std::stable_sort(run.begin(), run.end(), [](const Ranked& a, const Ranked& b) {
                    return a.likeness > b.likeness;
                });
                for (std::uint64_t i = *offset; i < run.size() && !full(); ++i) {
                    const std::vector<std::uint32_t> name(run[i].kanji.begin(),
                                                          run[i].kanji.begin() + run[i].chars);
                    add(name, ComposeYomi(name, table, matcher, true));
                }
            } else {
                for (std::size_t p = first; p < last && !full(); ++p) {
                    const StrokePattern& pattern = patterns[p];
                    if (*offset >= pattern.count) {
                        *offset -= pattern.count;
                        continue;
                    }
                    if (byGender) {
                        // The ranks count every name of the pattern; the
                        // filtered ones are walked to.
                        std::uint64_t skip = *offset;
                        names.Each(pattern, [&](const std::vector<std::uint32_t>& name) {
                            if (full() || !genderPasses(name)) return;
                            if (skip > 0) {
                                --skip;
                                return;
                            }
                            add(name, ComposeYomi(name, table, matcher, true));
                        });
                        *offset = 0;
                        continue;
                    }
                    for (std::uint64_t rank = *offset; rank < pattern.count && !full(); ++rank) {
                        const std::vector<std::uint32_t> name = names.Name(pattern, rank);
                        add(name, ComposeYomi(name, table, matcher, true));
                    }
                    *offset = 0;
                }
            }
            *offset = 0;
            first = last;
        }
    };
    try {
        countAndCompose();
    } catch (const YomiWorkExceeded&) {
        result.problem = Message("読みの指定の組み合わせが複雑すぎて数えられません");
        result.count = 0;
        result.candidates.clear();
    }
    result.yomiWork = sets.Work();
    if (!result.problem.empty()) return;

    // Name and yomi order: the page's own.
    if (filters.sort == SortKey::Name || filters.sort == SortKey::Yomi) {
        auto key = [&](const NameCandidate& c) {
            return filters.sort == SortKey::Name ? c.given : GojuonKey(c.yomi);
        };
        std::stable_sort(result.candidates.begin(), result.candidates.end(),
                         [&](const NameCandidate& a, const NameCandidate& b) {
                             return filters.reversed ? key(b) < key(a) : key(a) < key(b);
                         });
    }
}

}  // namespace soten::naming
