#include "analysis/naming/NamesSpace.h"

#include <algorithm>
#include <limits>

#include "analysis/naming/CandidateReading.h"
#include "analysis/naming/SearchFilters.h"
#include "analysis/reading/DetailedReading.h"

namespace soten::naming {
namespace {

// The default order's groups: one per (score, 総運 grade), best first.
constexpr int BucketCount = (MaxScore + 1) * 4;

int Bucket(const Evaluation& evaluation) {
    return (MaxScore - evaluation.score) * 4 + evaluation.grades[Total] - 1;
}

// A name's place in a sort by another key than the default: the key, then
// the default order's bucket, then the name's index, in one number that
// compares as the three in turn.
class SortedPlace {
public:
    static constexpr int IndexBits = 36;
    static constexpr int BucketBits = 6;
    static constexpr int KeyBits = 64 - BucketBits - IndexBits;
    // Keys run from −2^(KeyBits − 1) to 2^(KeyBits − 1): a name's index or
    // rank (reversed, negated) and the numeric sort values (a grade times
    // 1000 plus a number, or a stroke sum).
    static constexpr std::int64_t KeyOffset = std::int64_t{1} << (KeyBits - 1);
    static_assert(BucketCount <= (1 << BucketBits));
    static_assert(MaxGivenNames <= static_cast<std::uint64_t>(KeyOffset));
    static_assert(MaxGivenNames <= std::uint64_t{1} << IndexBits);
    static_assert(std::numeric_limits<decltype(GivenStrokePattern::sum)>::max() < KeyOffset);

    SortedPlace(std::int64_t key, int bucket, std::uint32_t index)
        : value_(static_cast<std::uint64_t>(key + KeyOffset) << (BucketBits + IndexBits) |
                 static_cast<std::uint64_t>(bucket) << IndexBits | index) {}
    std::uint32_t Index() const {
        return static_cast<std::uint32_t>(value_ & ((std::uint64_t{1} << IndexBits) - 1));
    }
    bool operator<(const SortedPlace& other) const { return value_ < other.value_; }

private:
    std::uint64_t value_;
};

// Whether 陰陽配列 is 凶 for a given name of `chars` characters whose odd
// counts are `oddMask` (bit k − 1 for character k), judged once for each.
class InyoVerdicts {
public:
    explicit InyoVerdicts(const NameRecord& surname)
        : surnameChars_(surname.Lengths[Surname]),
          surnameOdd_(OddMask(surname.Strokes[Surname], surnameChars_)),
          known_(std::size_t{MaxPartChars + 1} << MaxPartChars, Unknown) {}

    bool Bad(int chars, std::uint16_t oddMask) {
        static_assert(MaxPartChars <= std::numeric_limits<std::uint16_t>::digits);
        std::uint8_t& known = known_[static_cast<std::size_t>(chars) << MaxPartChars | oddMask];
        if (known == Unknown) {
            known =
                JudgeInyo(surnameOdd_, surnameChars_, oddMask, chars).verdict == InyoVerdict::Bad
                    ? IsBad
                    : Passes;
        }
        return known == IsBad;
    }

private:
    enum : std::uint8_t { Unknown, Passes, IsBad };
    int surnameChars_;
    std::uint16_t surnameOdd_;
    std::vector<std::uint8_t> known_;
};

}  // namespace

void SearchGivenNames(const NameSearchFilters& filters, const Tables& tables,
                      const NameSearchData& data, const NameRecord& surname,
                      NameSearchResult& result) {
    const auto& patterns = data.Patterns(filters.style, tables.dictionary);
    const int surnameChars = surname.Lengths[Surname];
    std::optional<InyoVerdicts> inyo;
    if (filters.inyoOk) inyo.emplace(surname);
    const YomiMatcher matcher(HiraganaYomi(filters.yomi));
    Evaluator evaluator(surname, filters, tables);
    const bool sorted = filters.sort != SortKey::Score;
    const std::vector<std::uint32_t>* writtenOrder =
        filters.sort == SortKey::Name ? &data.WrittenOrder() : nullptr;

    // Default order: one bucket per (score, 総運 grade) in result order; the
    // names come in yomi order already, so the buckets need no sorting.
    // Another key: one SortedPlace per name.
    std::array<std::vector<std::uint32_t>, BucketCount> buckets;
    std::vector<SortedPlace> keys;
    for (std::size_t i = 0; i < data.NameCount(); ++i) {
        const GivenStrokePattern& pattern = patterns[i];
        if (!pattern.ok()) continue;
        const int chars = pattern.chars;
        if (filters.chars != 0 && chars != filters.chars) continue;
        if (surnameChars + chars > MaxTotalChars) continue;
        const GivenNameView entry = data.Name(i);
        if (!entry.registrable && !filters.includeUnregistrable) continue;
        if (!GenderPasses(filters, entry.gender)) continue;
        if (matcher.Active() && !matcher.Matches(entry.yomi)) continue;
        if (!filters.excluded.empty() && HoldsAnyOf(entry.written, filters.excluded)) continue;
        if (!filters.includeAvoided && BuiltInAvoidedKanji().Holds(entry.written)) continue;
        const bool holdsAll = std::all_of(
            filters.required.begin(), filters.required.end(),
            [&](const RequiredCharacter& r) { return HoldsCharacter(entry.written, r); });
        if (!holdsAll) continue;
        const Evaluation& evaluation = evaluator.Evaluate(chars, pattern.first, pattern.sum);
        if (!evaluation.passes) continue;
        if (inyo && inyo->Bad(chars, pattern.oddMask)) continue;
        const int bucket = Bucket(evaluation);
        if (!sorted) {
            buckets[static_cast<std::size_t>(bucket)].push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        std::int64_t primary = 0;
        if (filters.sort == SortKey::Name) {
            primary = (*writtenOrder)[i];
        } else if (filters.sort == SortKey::Yomi) {
            primary = static_cast<std::int64_t>(i);
        } else {
            primary = NumericSortValue(filters.sort, evaluation, pattern.sum);
        }
        if (filters.reversed) primary = -primary;
        keys.emplace_back(primary, bucket, static_cast<std::uint32_t>(i));
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
            page.push_back(key->Index());
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
        candidate->yomi = entry.yomi;
        candidate->yomis = {std::string(entry.yomi)};
        candidate->gender = entry.gender;
        candidate->registrable = entry.registrable;
        if (!entry.registrable) {
            candidate->unregistrable = UnregistrableCharacters(entry.written, data.Kanji());
        }
        result.candidates.push_back(std::move(*candidate));
    }
}

}  // namespace soten::naming
