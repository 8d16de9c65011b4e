#include "analysis/naming/NamesSpace.h"

#include <algorithm>
#include <limits>

#include "analysis/naming/CandidateReading.h"
#include "analysis/naming/SearchFilters.h"
#include "analysis/reading/DetailedReading.h"

namespace soten::naming {
namespace {

// The default order's groups: one per (score, 総運 grade, 三才配置's verdict,
// 陰陽配列's verdict), best first.
constexpr int SansaiVerdicts = 4;
constexpr int InyoVerdicts = 3;
constexpr int BucketCount = (MaxScore + 1) * 4 * SansaiVerdicts * InyoVerdicts;

int Bucket(const Evaluation& evaluation, InyoVerdict inyo) {
    const int grouped = (MaxScore - evaluation.score) * 4 + evaluation.grades[Total] - 1;
    return (grouped * SansaiVerdicts + static_cast<int>(evaluation.sansai)) * InyoVerdicts +
           static_cast<int>(inyo);
}

// A name's place in a sort by another key than the default: the key, then
// the default order's bucket, then the name's index, in one number that
// compares as the three in turn.
class SortedPlace {
public:
    static constexpr int IndexBits = 22;
    static constexpr int BucketBits = 10;
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

// 陰陽配列's verdict for a given name of `chars` characters whose odd
// counts are `oddMask` (bit k − 1 for character k), judged once for each.
class InyoMemo {
public:
    explicit InyoMemo(const NameRecord& surname)
        : surnameChars_(surname.Lengths[Surname]),
          surnameOdd_(OddMask(surname.Strokes[Surname], surnameChars_)),
          known_(std::size_t{MaxPartChars + 1} << MaxPartChars, Unknown) {}

    InyoVerdict Verdict(int chars, std::uint16_t oddMask) {
        static_assert(MaxPartChars <= std::numeric_limits<std::uint16_t>::digits);
        std::uint8_t& known = known_[static_cast<std::size_t>(chars) << MaxPartChars | oddMask];
        if (known == Unknown) {
            known = static_cast<std::uint8_t>(
                JudgeInyo(surnameOdd_, surnameChars_, oddMask, chars).verdict);
        }
        return static_cast<InyoVerdict>(known);
    }

private:
    static constexpr std::uint8_t Unknown = 0xFF;
    int surnameChars_;
    std::uint16_t surnameOdd_;
    std::vector<std::uint8_t> known_;
};

// The lean and likeness of a name, looked up where they were computed ahead,
// else weighed from its yomi.
class NameWeigher {
public:
    explicit NameWeigher(const NameSearchData& data)
        : data_(data), traits_(data.PrecomputedTraits()) {}

    GenderLean Lean(std::uint32_t index) const {
        if (traits_) return (*traits_)[index].lean;
        const GivenNameView entry = data_.Name(index);
        const YomiCheck check = CheckYomi(entry.written, entry.yomi, data_);
        return LeanOf(check.girls, check.boys, data_.Likeness().Balance());
    }

    // Orders names as their likeness does, the most name-like greatest (the
    // order alone is ever used: a precomputed rank stands for the value).
    double Likeness(std::uint32_t index) const {
        if (traits_) return -static_cast<double>((*traits_)[index].likenessRank);
        const GivenNameView entry = data_.Name(index);
        return CheckYomi(entry.written, entry.yomi, data_).likeness;
    }

private:
    const NameSearchData& data_;
    const GivenNameTraitsTable* traits_;
};

}  // namespace

void SearchGivenNames(const NameSearchFilters& filters, const Tables& tables,
                      const NameSearchData& data, const NameRecord& surname,
                      NameSearchResult& result) {
    const auto& patterns = data.Patterns(filters.style, tables.dictionary);
    const int surnameChars = surname.Lengths[Surname];
    InyoMemo inyo(surname);
    const YomiMatcher matcher(HiraganaYomi(filters.yomi));
    Evaluator evaluator(surname, filters, tables);
    const bool byLikeness = filters.sort == SortKey::Common;
    const bool sorted = filters.sort != SortKey::Score && !byLikeness;
    // The name-likeness of a name's yomi, weighed only for the names the
    // order needs (a bucket on the page, or every name for SortKey::Common).
    const NameWeigher weigher(data);
    auto likenessOf = [&](std::uint32_t index) { return weigher.Likeness(index); };
    struct Liked {
        double likeness;
        int bucket;
        std::uint32_t index;
    };
    auto before = [](const Liked& a, const Liked& b) {
        if (a.likeness != b.likeness) return a.likeness > b.likeness;
        if (a.bucket != b.bucket) return a.bucket < b.bucket;
        return a.index < b.index;
    };
    // Only the most name-like up to the page's end can be on it: the rest
    // are dropped as the list grows, so it stays small for the first pages
    // (and is not allocated, and faulted in, at the size of every name).
    std::vector<Liked> liked;
    std::uint64_t likedCount = 0;
    const std::uint64_t pageEnd = filters.page <= MaxGivenNames
                                      ? filters.page * static_cast<std::uint64_t>(result.limit)
                                      : std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t pruneAt =
        pageEnd <= MaxGivenNames ? std::max<std::uint64_t>(2 * pageEnd, 4096) : pageEnd;
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
        // A name with no gender given is weighed for its lean only once the
        // cheaper filters have passed it.
        const bool untagged = entry.gender == NameGender::Unspecified;
        if (!untagged && !GenderPasses(filters, entry.gender, GenderLean::Neither)) continue;
        if (matcher.Active() && !matcher.Matches(entry.yomi)) continue;
        if (!filters.excluded.empty() && HoldsAnyOf(entry.written, filters.excluded)) continue;
        if (!filters.includeAvoided && BuiltInAvoidedKanji().Holds(entry.written)) continue;
        const bool holdsAll = std::all_of(
            filters.required.begin(), filters.required.end(),
            [&](const RequiredCharacter& r) { return HoldsCharacter(entry.written, r); });
        if (!holdsAll) continue;
        const Evaluation& evaluation = evaluator.Evaluate(chars, pattern.first, pattern.sum);
        if (!evaluation.passes) continue;
        const InyoVerdict inyoVerdict = inyo.Verdict(chars, pattern.oddMask);
        if (filters.inyoOk && inyoVerdict == InyoVerdict::Bad) continue;
        if (untagged && filters.gender != GenderFilter::Any && !filters.includeUnspecified &&
            !GenderPasses(filters, entry.gender, weigher.Lean(static_cast<std::uint32_t>(i)))) {
            continue;
        }
        const int bucket = Bucket(evaluation, inyoVerdict);
        if (byLikeness) {
            liked.push_back(
                {likenessOf(static_cast<std::uint32_t>(i)), bucket, static_cast<std::uint32_t>(i)});
            ++likedCount;
            if (liked.size() >= pruneAt) {
                const auto kept = liked.begin() + static_cast<std::ptrdiff_t>(pageEnd);
                std::nth_element(liked.begin(), kept, liked.end(), before);
                liked.erase(kept, liked.end());
            }
            continue;
        }
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
    if (byLikeness) {
        result.count = likedCount;
        const auto offset = PageStart(filters.page, result.limit, result.count);
        if (!offset) return;
        const auto first = liked.begin() + static_cast<std::ptrdiff_t>(*offset);
        const auto last =
            liked.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(
                                *offset + static_cast<std::uint64_t>(result.limit), liked.size()));
        std::nth_element(liked.begin(), first, liked.end(), before);
        std::partial_sort(first, last, liked.end(), before);
        for (auto name = first; name != last; ++name) page.push_back(name->index);
    } else if (sorted) {
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
        for (auto& bucket : buckets) {
            if (*offset >= bucket.size()) {
                *offset -= bucket.size();
                continue;
            }
            // Within a bucket the most name-like first, then yomi order.
            std::vector<std::pair<double, std::uint32_t>> weighed;
            weighed.reserve(bucket.size());
            for (const std::uint32_t index : bucket)
                weighed.emplace_back(-likenessOf(index), index);
            std::stable_sort(weighed.begin(), weighed.end());
            for (std::size_t k = 0; k < bucket.size(); ++k) bucket[k] = weighed[k].second;
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
