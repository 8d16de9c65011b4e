#include "analysis/naming/NameSearch.h"

#include <algorithm>
#include <limits>
#include <map>
#include <mutex>
#include <span>
#include <unordered_map>

#include "analysis/reading/Reading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/KanaCollation.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

constexpr int MaxScore = 12;
constexpr int MaxReadingKana = 40;
constexpr std::array<FortuneKind, 4> ScoredKinds = {Person, Earth, Outer, Total};

const std::string& Message(const char* utf8) {
    // The few fixed sentences of the search, converted once each.
    static std::mutex mutex;
    static std::unordered_map<const char*, std::string> converted;
    const std::lock_guard lock(mutex);
    auto [it, inserted] = converted.try_emplace(utf8);
    if (inserted) it->second = Cp932Text(utf8);
    return it->second;
}

// The numbers and grades a given name of `chars` characters whose first
// character counts `first` and whose counts sum to `sum` gives after the
// surname, computed by the program's own ComputeFortunes and LookupKeyword.
struct Evaluation {
    std::array<int, FortuneCount> fortunes{};
    std::array<int, FortuneCount> grades{};
    int score = 0;
    bool passes = false;
};

class Evaluator {
public:
    Evaluator(const NameRecord& surname, const NameSearchFilters& filters, const Tables& tables)
        : surname_(surname), filters_(filters), tables_(tables) {}

    const Evaluation& Evaluate(int chars, int first, int sum) {
        const std::uint64_t key = static_cast<std::uint64_t>(chars) << 48 |
                                  static_cast<std::uint64_t>(static_cast<std::uint32_t>(first))
                                      << 24 |
                                  static_cast<std::uint32_t>(sum);
        auto [it, inserted] = memo_.try_emplace(key);
        if (!inserted) return it->second;
        NameRecord record;
        record.Lengths[Surname] = surname_.Lengths[Surname];
        record.Strokes[Surname] = surname_.Strokes[Surname];
        record.Lengths[GivenName] = chars;
        record.Strokes[GivenName][1] = first;
        if (chars >= 2) {
            // Any split of the rest gives the same numbers; each count is at
            // least 1 as in a real name.
            record.Strokes[GivenName][2] = sum - first - (chars - 2);
            for (int k = 3; k <= chars; ++k) record.Strokes[GivenName][k] = 1;
        }
        ComputeFortunes(record);
        Evaluation& evaluation = it->second;
        evaluation.passes = true;
        evaluation.fortunes = record.Fortunes;
        for (int kind = 0; kind < FortuneCount; ++kind) {
            evaluation.grades[static_cast<std::size_t>(kind)] =
                LookupKeyword(tables_, record.Fortunes[static_cast<std::size_t>(kind)]).grade;
        }
        for (const FortuneKind kind : ScoredKinds) {
            const int grade = evaluation.grades[kind];
            evaluation.score += GradePoints(grade);
            if (grade > filters_.worstGrade[kind]) evaluation.passes = false;
        }
        if (evaluation.score < filters_.minScore) evaluation.passes = false;
        if (ReadSansai(record).verdict > filters_.worstSansai) evaluation.passes = false;
        return evaluation;
    }

private:
    const NameRecord& surname_;
    const NameSearchFilters& filters_;
    const Tables& tables_;
    std::unordered_map<std::uint64_t, Evaluation> memo_;
};

// Makes the candidate exactly as a reading of the name would: the entry
// dialog's checks and lookup, then ComputeFortunes and LookupKeyword.
std::optional<NameCandidate> MakeCandidate(const NameSearchFilters& filters, const Tables& tables,
                                           std::string given) {
    auto counted = CountName({filters.surname, given}, filters.style, tables);
    auto* record = std::get_if<NameRecord>(&counted);
    if (!record) return std::nullopt;
    NameCandidate candidate;
    static_cast<NameJudgement&>(candidate) = JudgeName(*record, tables);
    candidate.given = std::move(given);
    candidate.record = std::move(*record);
    return candidate;
}

bool HoldsCharacter(std::string_view name, const RequiredCharacter& required) {
    const int chars = static_cast<int>(name.size() / 2);
    if (required.position > 0) {
        return required.position <= chars &&
               Unit(name, static_cast<std::size_t>(required.position)) == required.character;
    }
    for (int k = 1; k <= chars; ++k) {
        if (Unit(name, static_cast<std::size_t>(k)) == required.character) return true;
    }
    return false;
}

bool HoldsAnyOf(std::string_view name, const std::vector<std::string>& characters) {
    return std::any_of(characters.begin(), characters.end(), [&](const std::string& character) {
        return HoldsCharacter(name, {character, 0});
    });
}

// Where a name stands in a sort by a numeric key, lower first: fortunes best
// grade first and then by number, strokes by the given name's sum.
int NumericSortValue(SortKey key, const Evaluation& evaluation, int strokeSum) {
    switch (key) {
        case SortKey::Heaven:
        case SortKey::Person:
        case SortKey::Earth:
        case SortKey::Outer:
        case SortKey::Total: {
            const auto kind = static_cast<std::size_t>(static_cast<int>(key) - 1);
            return evaluation.grades[kind] * 1000 + evaluation.fortunes[kind];
        }
        case SortKey::Strokes:
            return strokeSum;
        default:
            return 0;
    }
}

// The filters' reading text in hiragana.
ReadingFilters HiraganaReading(const ReadingFilters& reading) {
    ReadingFilters hiragana = reading;
    for (std::string* text :
         {&hiragana.exact, &hiragana.prefix, &hiragana.suffix, &hiragana.contains}) {
        *text = ToHiragana(*text);
    }
    return hiragana;
}

// The offset of the first name of the page, or nothing when the page lies
// beyond the last name.
std::optional<std::uint64_t> PageStart(std::uint64_t page, int limit, std::uint64_t count) {
    if (page < 1) return std::nullopt;
    const auto perPage = static_cast<std::uint64_t>(limit);
    if (page - 1 >= (count + perPage - 1) / perPage) return std::nullopt;
    return (page - 1) * perPage;
}

// ---- The names space ----

bool GenderPasses(const NameSearchFilters& filters, NameGender gender) {
    if (filters.gender == GenderFilter::Any) return true;
    if (gender == NameGender::Unspecified) return filters.includeUnspecified;
    if (gender == NameGender::Both) return true;
    return gender ==
           (filters.gender == GenderFilter::Female ? NameGender::Female : NameGender::Male);
}

void SearchGivenNames(const NameSearchFilters& filters, const Tables& tables,
                      const NameSearchData& data, const NameRecord& surname,
                      NameSearchResult& result) {
    const auto& patterns = data.Patterns(filters.style, tables.dictionary);
    const int surnameChars = surname.Lengths[Surname];
    const std::uint16_t surnameOdd = OddMask(surname.Strokes[Surname], surnameChars);
    // 0 not judged yet, 1 passes, 2 陰陽配列 凶.
    std::vector<std::uint8_t> inyoKnown;
    if (filters.inyoOk) inyoKnown.assign(std::size_t{MaxPartChars + 1} << MaxPartChars, 0);
    const ReadingMatcher matcher(HiraganaReading(filters.reading));
    Evaluator evaluator(surname, filters, tables);
    const bool sorted = filters.sort != SortKey::Score;
    const std::vector<std::uint32_t>* writtenOrder =
        filters.sort == SortKey::Name ? &data.WrittenOrder() : nullptr;

    // Default order: one bucket per (score, 総運 grade) in result order; the
    // names come in reading order already, so the buckets need no sorting.
    // Another key: (key, bucket, name index) packed into one number per name.
    std::array<std::vector<std::uint32_t>, (MaxScore + 1) * 4> buckets;
    std::vector<std::uint64_t> keys;
    for (std::size_t i = 0; i < data.NameCount(); ++i) {
        const GivenStrokePattern& pattern = patterns[i];
        if (!pattern.ok()) continue;
        const int chars = pattern.chars;
        if (filters.chars != 0 && chars != filters.chars) continue;
        if (surnameChars + chars > MaxTotalChars) continue;
        const GivenNameView entry = data.Name(i);
        if (!entry.registrable && !filters.includeUnregistrable) continue;
        if (!GenderPasses(filters, entry.gender)) continue;
        if (matcher.Active() && !matcher.Matches(entry.reading)) continue;
        if (!filters.excluded.empty() && HoldsAnyOf(entry.written, filters.excluded)) continue;
        const bool holdsAll = std::all_of(
            filters.required.begin(), filters.required.end(),
            [&](const RequiredCharacter& r) { return HoldsCharacter(entry.written, r); });
        if (!holdsAll) continue;
        const Evaluation& evaluation = evaluator.Evaluate(chars, pattern.first, pattern.sum);
        if (!evaluation.passes) continue;
        if (filters.inyoOk) {
            // The verdict of each (length, marks) of the given name, judged once.
            std::uint8_t& known =
                inyoKnown[static_cast<std::size_t>(chars) << MaxPartChars | pattern.oddMask];
            if (known == 0) {
                const bool bad =
                    JudgeInyo(surnameOdd, surnameChars, pattern.oddMask, chars).verdict ==
                    InyoVerdict::Bad;
                known = bad ? 2 : 1;
            }
            if (known != 1) continue;
        }
        const auto bucket = static_cast<std::size_t>((MaxScore - evaluation.score) * 4 +
                                                     evaluation.grades[Total] - 1);
        if (!sorted) {
            buckets[bucket].push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        std::int64_t primary = 0;
        if (filters.sort == SortKey::Name) {
            primary = (*writtenOrder)[i];
        } else if (filters.sort == SortKey::Reading) {
            primary = static_cast<std::int64_t>(i);
        } else {
            primary = NumericSortValue(filters.sort, evaluation, pattern.sum);
        }
        if (filters.reversed) primary = -primary;
        keys.push_back(static_cast<std::uint64_t>(primary + (std::int64_t{1} << 21)) << 42 |
                       static_cast<std::uint64_t>(bucket) << 36 | i);
    }

    std::vector<std::uint32_t> page;
    if (sorted) {
        result.count = keys.size();
        const auto offset = PageStart(filters.page, result.limit, result.count);
        if (!offset) return;
        // Only the page itself is put in order.
        const auto first = keys.begin() + static_cast<std::ptrdiff_t>(*offset);
        const auto last =
            keys.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(
                               *offset + static_cast<std::uint64_t>(result.limit), keys.size()));
        std::nth_element(keys.begin(), first, keys.end());
        std::partial_sort(first, last, keys.end());
        for (auto key = first; key != last; ++key) {
            page.push_back(static_cast<std::uint32_t>(*key & 0xFFFFFFFFu));
        }
    } else {
        for (const auto& bucket : buckets) result.count += bucket.size();
        auto offset = PageStart(filters.page, result.limit, result.count);
        if (!offset) return;
        for (const auto& bucket : buckets) {
            if (*offset >= bucket.size()) {
                *offset -= bucket.size();
                continue;
            }
            for (auto index = bucket.begin() + static_cast<std::ptrdiff_t>(*offset);
                 index != bucket.end() && static_cast<int>(page.size()) < result.limit; ++index) {
                page.push_back(*index);
            }
            *offset = 0;
            if (static_cast<int>(page.size()) >= result.limit) break;
        }
    }
    for (const std::uint32_t index : page) {
        const GivenNameView entry = data.Name(index);
        auto candidate = MakeCandidate(filters, tables, std::string(entry.written));
        if (!candidate) continue;
        candidate->reading = entry.reading;
        candidate->readings = {std::string(entry.reading)};
        candidate->gender = entry.gender;
        candidate->registrable = entry.registrable;
        if (!entry.registrable) {
            candidate->unregistrable = UnregistrableCharacters(entry.written, data.Kanji());
        }
        result.candidates.push_back(std::move(*candidate));
    }
}

// ---- The all-names space ----

// The sets of reading states that the characters of a name can lead to,
// numbered as they turn up: a name matches when the set after its last
// character holds an accepting state. Without reading filters there is one
// set that every character keeps.
class ReadingSets {
public:
    static constexpr int None = -1;  // no reading of the characters so far can match

    ReadingSets(const ReadingMatcher& matcher, const NameSearchData& data)
        : matcher_(matcher), data_(data) {
        Intern({matcher.Start()});
    }

    int Start() const { return 0; }
    bool Accepts(int set) const {
        const auto& states = sets_[static_cast<std::size_t>(set)];
        return std::any_of(states.begin(), states.end(),
                           [&](ReadingMatcher::State s) { return matcher_.Accepts(s); });
    }

    // The set after one more character, Kanji()[kanji].
    int Next(int set, std::uint32_t kanji) {
        if (!matcher_.Active()) return set;
        const std::uint64_t key = static_cast<std::uint64_t>(set) << 32 | kanji;
        if (const auto found = next_.find(key); found != next_.end()) return found->second;
        std::vector<ReadingMatcher::State> states;
        for (const ReadingMatcher::State state : sets_[static_cast<std::size_t>(set)]) {
            for (const KanjiReading& reading : data_.Readings(kanji)) {
                const auto after = matcher_.Read(state, reading.kana);
                if (after != ReadingMatcher::Dead) states.push_back(after);
            }
        }
        const int next = states.empty() ? None : Intern(std::move(states));
        next_.emplace(key, next);
        return next;
    }

private:
    int Intern(std::vector<ReadingMatcher::State> states) {
        std::sort(states.begin(), states.end());
        states.erase(std::unique(states.begin(), states.end()), states.end());
        std::string key(reinterpret_cast<const char*>(states.data()),
                        states.size() * sizeof(ReadingMatcher::State));
        const auto [it, inserted] =
            ids_.try_emplace(std::move(key), static_cast<int>(sets_.size()));
        if (inserted) sets_.push_back(std::move(states));
        return it->second;
    }

    const ReadingMatcher& matcher_;
    const NameSearchData& data_;
    std::vector<std::vector<ReadingMatcher::State>> sets_;
    std::unordered_map<std::string, int> ids_;
    std::unordered_map<std::uint64_t, int> next_;
};

// One position of a stroke pattern: every usable name kanji with that stroke
// count, or the one kanji pinned there (stroke 0 in the pattern's key).
struct StrokePattern {
    int score = 0;
    int totalGrade = 0;
    int chars = 0;
    int sortValue = 0;
    std::array<int, MaxAllSpaceChars> strokes{};
    std::uint64_t count = 0;
};

// Counts and lists the names of the stroke patterns: Ways(pattern, i, set,
// mask) is the number of ways to fill positions i.. so that the reading sets
// end in an accepting one and the required characters outside `mask` turn
// up; characters that lead to the same set and place the same required
// character are counted as one group.
class PatternNames {
public:
    PatternNames(const std::vector<std::vector<std::uint32_t>>& byStroke,
                 const std::array<std::optional<std::uint32_t>, MaxAllSpaceChars>& pinned,
                 const std::vector<std::uint32_t>& anywhere, ReadingSets& sets)
        : byStroke_(byStroke),
          pinned_(pinned),
          anywhere_(anywhere),
          sets_(sets),
          full_((std::size_t{1} << anywhere.size()) - 1) {}

    std::uint64_t Count(const StrokePattern& pattern) { return Ways(pattern, 0, sets_.Start(), 0); }

    // The kanji of the name of 0-based rank `rank` in code order.
    std::vector<std::uint32_t> Name(const StrokePattern& pattern, std::uint64_t rank) {
        std::vector<std::uint32_t> name;
        int set = sets_.Start();
        std::size_t mask = 0;
        for (int i = 0; i < pattern.chars; ++i) {
            for (const std::uint32_t kanji : Choices(pattern, i)) {
                const int next = sets_.Next(set, kanji);
                if (next == ReadingSets::None) continue;
                const std::size_t nextMask = mask | Bit(kanji);
                const std::uint64_t ways = Ways(pattern, i + 1, next, nextMask);
                if (rank < ways) {
                    name.push_back(kanji);
                    set = next;
                    mask = nextMask;
                    break;
                }
                rank -= ways;
            }
        }
        return name;
    }

private:
    struct Group {
        int set;
        std::size_t bit;
        std::uint64_t count;
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

    const std::vector<Group>& Groups(const StrokePattern& pattern, int position, int set) {
        const auto p = static_cast<std::size_t>(position);
        const std::uint64_t key = (pinned_[p] ? (std::uint64_t{1} << 8 | p)
                                              : static_cast<std::uint64_t>(pattern.strokes[p]))
                                      << 32 |
                                  static_cast<std::uint32_t>(set);
        auto [it, inserted] = groups_.try_emplace(key);
        if (!inserted) return it->second;
        std::vector<Group>& groups = it->second;
        for (const std::uint32_t kanji : Choices(pattern, position)) {
            const int next = sets_.Next(set, kanji);
            if (next == ReadingSets::None) continue;
            const std::size_t bit = Bit(kanji);
            const auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
                return g.set == next && g.bit == bit;
            });
            if (same != groups.end()) {
                ++same->count;
            } else {
                groups.push_back({next, bit, 1});
            }
        }
        return groups;
    }

    std::uint64_t Ways(const StrokePattern& pattern, int position, int set, std::size_t mask) {
        if (position == pattern.chars) return mask == full_ && sets_.Accepts(set) ? 1 : 0;
        // The positions still to fill decide the answer with the set and mask.
        std::uint64_t key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(set));
        key = key << 3 | mask;
        key = key << 2 | static_cast<std::uint64_t>(pattern.chars - position);
        for (int p = position; p < pattern.chars; ++p) {
            const auto index = static_cast<std::size_t>(p);
            key = key << 6 | (pinned_[index] ? 0u : static_cast<unsigned>(pattern.strokes[index]));
        }
        key = key << 2 | static_cast<std::uint64_t>(position);
        if (const auto found = ways_.find(key); found != ways_.end()) return found->second;
        std::uint64_t ways = 0;
        for (const Group& group : Groups(pattern, position, set)) {
            ways += group.count * Ways(pattern, position + 1, group.set, mask | group.bit);
        }
        ways_.emplace(key, ways);
        return ways;
    }

    const std::vector<std::vector<std::uint32_t>>& byStroke_;
    const std::array<std::optional<std::uint32_t>, MaxAllSpaceChars>& pinned_;
    const std::vector<std::uint32_t>& anywhere_;
    ReadingSets& sets_;
    std::size_t full_;
    std::unordered_map<std::uint64_t, std::vector<Group>> groups_;
    std::unordered_map<std::uint64_t, std::uint64_t> ways_;
};

// The readings of a name of kanji: the concatenations of its characters'
// readings that pass the matcher, at most MaxShownReadings, the ones made of
// 名乗り first (the sum of the kinds, 名乗り 0, 訓 1, 音 2), then in the order
// of the first character's readings, then the second's.
std::vector<std::string> ComposedReadings(const std::vector<std::uint32_t>& name,
                                          const NameSearchData& data,
                                          const ReadingMatcher& matcher) {
    std::vector<std::pair<int, std::string>> found;
    std::string text;
    auto compose = [&](auto& self, std::size_t position, int kinds) -> void {
        if (position == name.size()) {
            if (!matcher.Active() || matcher.Matches(text)) found.emplace_back(kinds, text);
            return;
        }
        for (const KanjiReading& reading : data.Readings(name[position])) {
            const std::size_t size = text.size();
            text += reading.kana;
            self(self, position + 1, kinds + static_cast<int>(reading.kind));
            text.resize(size);
        }
    };
    compose(compose, 0, 0);
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> readings;
    for (auto& [kinds, reading] : found) {
        if (readings.size() == MaxShownReadings) break;
        if (std::find(readings.begin(), readings.end(), reading) == readings.end()) {
            readings.push_back(std::move(reading));
        }
    }
    return readings;
}

void SearchAllNames(const NameSearchFilters& filters, const Tables& tables,
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
    std::vector<std::vector<std::uint32_t>> byStroke;
    for (std::uint32_t index = 0; index < kanji.size(); ++index) {
        const int strokes = strokesOf(index);
        if (strokes <= 0 || HoldsAnyOf(kanji[index], filters.excluded)) continue;
        if (static_cast<std::size_t>(strokes) >= byStroke.size()) {
            byStroke.resize(static_cast<std::size_t>(strokes) + 1);
        }
        byStroke[static_cast<std::size_t>(strokes)].push_back(index);
    }

    std::array<std::optional<std::uint32_t>, MaxAllSpaceChars> pinned{};
    std::vector<std::uint32_t> anywhere;
    for (const RequiredCharacter& required : filters.required) {
        const std::uint32_t index = indexOf(required.character);
        if (required.position > 0) {
            pinned[static_cast<std::size_t>(required.position - 1)] = index;
        } else if (std::find(anywhere.begin(), anywhere.end(), index) == anywhere.end()) {
            anywhere.push_back(index);
        }
    }

    const ReadingMatcher matcher(HiraganaReading(filters.reading));
    ReadingSets sets(matcher, data);
    PatternNames names(byStroke, pinned, anywhere, sets);
    const int surnameChars = surname.Lengths[Surname];
    const std::uint16_t surnameOdd = OddMask(surname.Strokes[Surname], surnameChars);
    const int fewest = filters.chars != 0 ? filters.chars : 1;
    const int most = std::min(filters.chars != 0 ? filters.chars : MaxAllSpaceChars,
                              MaxTotalChars - surnameChars);
    Evaluator evaluator(surname, filters, tables);
    std::vector<StrokePattern> patterns;
    const int maxStroke = static_cast<int>(byStroke.size()) - 1;

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
                for (int p = 0; p < chars; ++p) sum += pattern.strokes[static_cast<std::size_t>(p)];
                const Evaluation& evaluation = evaluator.Evaluate(chars, pattern.strokes[0], sum);
                if (!evaluation.passes) return;
                if (filters.inyoOk) {
                    std::uint16_t givenOdd = 0;
                    for (int p = 0; p < chars; ++p) {
                        if (pattern.strokes[static_cast<std::size_t>(p)] % 2 != 0) {
                            givenOdd = static_cast<std::uint16_t>(givenOdd | 1u << p);
                        }
                    }
                    if (JudgeInyo(surnameOdd, surnameChars, givenOdd, chars).verdict ==
                        InyoVerdict::Bad) {
                        return;
                    }
                }
                pattern.count = names.Count(pattern);
                if (pattern.count == 0) return;
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

    std::sort(patterns.begin(), patterns.end(), [](const StrokePattern& a, const StrokePattern& b) {
        if (a.sortValue != b.sortValue) return a.sortValue < b.sortValue;
        if (a.score != b.score) return a.score > b.score;
        if (a.totalGrade != b.totalGrade) return a.totalGrade < b.totalGrade;
        if (a.chars != b.chars) return a.chars < b.chars;
        return a.strokes < b.strokes;
    });
    for (const StrokePattern& pattern : patterns) result.count += pattern.count;

    auto offset = PageStart(filters.page, result.limit, result.count);
    if (!offset) return;
    for (const StrokePattern& pattern : patterns) {
        if (*offset >= pattern.count) {
            *offset -= pattern.count;
            continue;
        }
        for (std::uint64_t rank = *offset; rank < pattern.count; ++rank) {
            if (static_cast<int>(result.candidates.size()) >= result.limit) break;
            const std::vector<std::uint32_t> name = names.Name(pattern, rank);
            std::string given;
            for (const std::uint32_t index : name) given += kanji[index];
            auto candidate = MakeCandidate(filters, tables, std::move(given));
            if (!candidate) continue;
            candidate->readings = ComposedReadings(name, data, matcher);
            if (!candidate->readings.empty()) candidate->reading = candidate->readings.front();
            result.candidates.push_back(std::move(*candidate));
        }
        *offset = 0;
        if (static_cast<int>(result.candidates.size()) >= result.limit) break;
    }

    // Name and reading order: the page's own.
    if (filters.sort == SortKey::Name || filters.sort == SortKey::Reading) {
        auto key = [&](const NameCandidate& c) {
            return filters.sort == SortKey::Name ? c.given : GojuonKey(c.reading);
        };
        std::stable_sort(result.candidates.begin(), result.candidates.end(),
                         [&](const NameCandidate& a, const NameCandidate& b) {
                             return filters.reversed ? key(b) < key(a) : key(a) < key(b);
                         });
    }
}

// Why the filters cannot be used or cannot all hold, or an empty text.
std::string FilterProblem(const NameSearchFilters& filters, const NameSearchData& data,
                          int surnameChars) {
    const bool allNames = filters.space == SearchSpace::All;
    const int maxChars = allNames ? MaxAllSpaceChars : MaxPartChars;
    if (allNames && filters.gender != GenderFilter::Any) {
        return Message("性別は実在の名前を探すときだけ指定できます");
    }
    if (filters.chars < 0 || filters.chars > maxChars) {
        return Message(allNames ? "すべての組み合わせは3文字までです"
                                : "名前の文字数は10文字までです");
    }
    if (surnameChars + std::max(filters.chars, 1) > MaxTotalChars) {
        return Message("名字と名前を合わせて12文字までです");
    }
    const ReadingFilters reading = HiraganaReading(filters.reading);
    if (reading.length < 0 || reading.length > MaxReadingKana || reading.morae < 0 ||
        reading.morae > MaxReadingKana) {
        return Message("読みの文字数が正しくありません");
    }
    for (const std::string* text :
         {&reading.exact, &reading.prefix, &reading.suffix, &reading.contains}) {
        if (text->size() % 2 != 0 || text->size() / 2 > static_cast<std::size_t>(MaxReadingKana)) {
            return Message("読みはひらがなかカタカナで指定してください");
        }
        if (!IsHiraganaText(*text)) return Message("読みはひらがなかカタカナで指定してください");
    }
    if (!reading.exact.empty() &&
        (!reading.exact.starts_with(reading.prefix) || !reading.exact.ends_with(reading.suffix) ||
         reading.exact.find(reading.contains) == std::string::npos)) {
        return Message("読みと、読みの始まり・終わり・含む音の指定が合いません");
    }
    auto kana = [](const std::string& text) { return static_cast<int>(text.size() / 2); };
    if (reading.length != 0 &&
        ((!reading.exact.empty() && kana(reading.exact) != reading.length) ||
         kana(reading.prefix) > reading.length || kana(reading.suffix) > reading.length ||
         kana(reading.contains) > reading.length)) {
        return Message("読みの長さと読みの指定が合いません");
    }
    if (reading.morae != 0 &&
        ((!reading.exact.empty() && CountMorae(reading.exact) != reading.morae) ||
         CountMorae(reading.prefix) > reading.morae || CountMorae(reading.suffix) > reading.morae ||
         CountMorae(reading.contains) > reading.morae ||
         (reading.length != 0 && reading.morae > reading.length))) {
        return Message("音の数と読みの指定が合いません");
    }
    if (filters.minScore < 0 || filters.minScore > MaxScore) {
        return Message("評点は0点から12点までです");
    }
    for (const int grade : filters.worstGrade) {
        if (grade < 1 || grade > 4) return Message("運の等級が正しくありません");
    }
    if (filters.required.size() > static_cast<std::size_t>(MaxRequiredCharacters)) {
        return Message("指定できる文字は3つまでです");
    }
    auto isOneCharacter = [](const std::string& character) {
        return character.size() == 2 && IsLeadByte(static_cast<unsigned char>(character[0]));
    };
    for (const std::string& character : filters.excluded) {
        if (!isOneCharacter(character)) return Message("除く文字は1文字ずつ全角で指定してください");
    }
    std::array<const std::string*, MaxPartChars> pinned{};
    std::vector<std::string> distinct;
    for (const RequiredCharacter& required : filters.required) {
        const std::string& character = required.character;
        if (!isOneCharacter(character)) {
            return Message("含める文字は1文字ずつ全角で指定してください");
        }
        if (required.position < 0 || required.position > maxChars ||
            (filters.chars != 0 && required.position > filters.chars)) {
            return Message("文字の位置が名前の文字数を超えています");
        }
        if (allNames && !std::binary_search(data.Kanji().begin(), data.Kanji().end(), character)) {
            return Message("含める文字が名前に使える漢字にありません");
        }
        if (std::find(filters.excluded.begin(), filters.excluded.end(), character) !=
            filters.excluded.end()) {
            return Message("含める文字と除く文字が重なっています");
        }
        if (required.position > 0) {
            const std::string*& slot = pinned[static_cast<std::size_t>(required.position - 1)];
            if (slot && *slot != character) return Message("同じ位置に別の文字は指定できません");
            slot = &character;
        }
        if (std::find(distinct.begin(), distinct.end(), character) == distinct.end()) {
            distinct.push_back(character);
        }
    }
    const int mostChars = filters.chars != 0 ? filters.chars : maxChars;
    if (static_cast<int>(distinct.size()) > mostChars) {
        return Message("含める文字が名前の文字数より多くなっています");
    }
    return {};
}

}  // namespace

int GradePoints(int grade) {
    return grade >= 1 && grade <= 4 ? 4 - grade : 0;
}

NameJudgement JudgeName(const NameRecord& record, const Tables& tables) {
    NameJudgement judgement;
    for (std::size_t kind = 0; kind < FortuneCount; ++kind) {
        judgement.keywords[kind] = LookupKeyword(tables, record.Fortunes[kind]);
    }
    for (const FortuneKind kind : ScoredKinds) {
        judgement.score += GradePoints(judgement.keywords[kind].grade);
    }
    judgement.sansai = ReadSansai(record);
    judgement.inyo = ReadInyo(record);
    return judgement;
}

bool IsHiraganaText(std::string_view cp932) {
    if (cp932.size() % 2 != 0) return false;
    for (std::size_t k = 1; k <= cp932.size() / 2; ++k) {
        const unsigned code = UnitCode(Unit(cp932, k));
        if (!((code >= 0x829F && code <= 0x82F1) || code == 0x815B)) return false;  // ぁ..ん, ー
    }
    return true;
}

std::string ToHiragana(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size());
    for (const std::string_view character : Cp932Characters(cp932)) {
        if (character.size() == 1) {
            out.append(character);
            continue;
        }
        const unsigned code = UnitCode(character);
        unsigned mapped = code;
        if (code >= 0x8340 && code <= 0x837E) mapped = code - 0x8340 + 0x829F;  // ァ..ミ
        if (code >= 0x8380 && code <= 0x8393) mapped = code - 0x8380 + 0x82DE;  // ム..ン
        out += static_cast<char>(mapped >> 8);
        out += static_cast<char>(mapped & 0xFF);
    }
    return out;
}

NameSearchResult SearchNames(const NameSearchFilters& filters, const Tables& tables,
                             const NameSearchData& data) {
    NameSearchResult result;
    if (filters.surname.empty()) {
        result.problem = Message("名字を入力してください");
        return result;
    }
    // The surname goes through the entry dialog's checks with a one-character
    // given name, so a refusal is the program's own message.
    auto probe = CountName({filters.surname, Cp932Text("一")}, filters.style, tables);
    if (auto* refusal = std::get_if<Refusal>(&probe)) {
        result.refusal = std::move(*refusal);
        return result;
    }
    const NameRecord& surname = std::get<NameRecord>(probe);
    result.limit = std::clamp(filters.limit, 1, MaxSearchLimit);
    if (filters.limit > MaxSearchLimit) {
        result.notes.push_back(Message("表示件数は1ページ10,000件までにしました"));
    }
    result.problem = FilterProblem(filters, data, surname.Lengths[Surname]);
    if (!result.problem.empty()) return result;
    if (filters.space == SearchSpace::Names) {
        SearchGivenNames(filters, tables, data, surname, result);
    } else {
        SearchAllNames(filters, tables, data, surname, result);
    }
    return result;
}

}  // namespace soten
