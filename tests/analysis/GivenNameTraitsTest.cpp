#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "analysis/naming/GivenNameTraits.h"
#include "analysis/naming/NameSearch.h"
#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/YomiPartsCache.h"
#include "data/include/EmbeddedNameData.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

// The committed table against the engine, on names spread over the whole
// dictionary: a table left behind by a change to the names, their readings
// or the likeness counts is refused or orders these names otherwise.
TEST(GivenNameTraits, CommittedTableMatchesTheEngine) {
    const NameSearchData& data = BuiltInNameSearchData();
    const GivenNameTraitsTable* traits = data.PrecomputedTraits();
    ASSERT_NE(traits, nullptr) << "data/given-name-traits.txt does not fit given-names.txt";
    ASSERT_EQ(traits->FirstMalformedRow(), std::nullopt);
    const YomiPartsCache cache(data);
    struct Weighed {
        double likeness;
        std::size_t index;
    };
    std::vector<Weighed> sample;
    for (std::size_t i = 0; i < data.NameCount(); i += 97) {
        const GivenNameView entry = data.Name(i);
        const YomiCheck check = CheckYomi(entry.written, entry.yomi, data);
        EXPECT_EQ((*traits)[i].lean, LeanOf(check.girls, check.boys, data.Likeness().Balance()))
            << Utf8(entry.written);
        sample.push_back({check.likeness, i});
    }
    std::sort(sample.begin(), sample.end(),
              [](const Weighed& a, const Weighed& b) { return a.likeness > b.likeness; });
    for (std::size_t k = 1; k < sample.size(); ++k) {
        const std::uint32_t rank = (*traits)[sample[k].index].likenessRank;
        const std::uint32_t rankBefore = (*traits)[sample[k - 1].index].likenessRank;
        if (sample[k].likeness == sample[k - 1].likeness) {
            EXPECT_EQ(rank, rankBefore) << Utf8(data.Name(sample[k].index).written);
        } else {
            EXPECT_GT(rank, rankBefore) << Utf8(data.Name(sample[k].index).written);
        }
    }
}

TEST(GivenNameTraits, RowsReadBackAsWritten) {
    const std::vector<GivenNameTraits> traits = {
        {0, GenderLean::Girls}, {41, GenderLean::Neither}, {7, GenderLean::Boys}};
    const std::string text = FormatGivenNameTraits(traits);
    EXPECT_EQ(text, "00\tf\n41\t-\n07\tm\n");
    const GivenNameTraitsTable table(text, traits.size());
    ASSERT_EQ(table.Size(), traits.size());
    EXPECT_EQ(table.FirstMalformedRow(), std::nullopt);
    for (std::size_t i = 0; i < traits.size(); ++i) EXPECT_EQ(table[i], traits[i]) << i;
}

TEST(GivenNameTraits, FindsMalformedRows) {
    struct Case {
        const char* text;
        std::size_t rows;
        std::optional<std::size_t> malformed;  // nullopt: not rows of one width
    };
    const std::vector<Case> cases = {
        {"1\tf\n22\tm\n", 2, std::nullopt},  // widths differ
        {"1\tf\n2\tm\n", 3, std::nullopt},   // fewer rows than names
        {"1\tf", 1, std::nullopt},
        {"\tf\n", 1, std::nullopt},
        {"1234567890\tf\n", 1, std::nullopt},
        {"1\tf\n2\tx\n", 2, 1},
        {"1\tf\nx\tm\n", 2, 1},
        {"1 f\n", 1, std::nullopt},
        {"1\t\t\n", 1, 0},
        {"1\tf\r", 1, 0},
        {"-1\tf\n11\tm\n", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const GivenNameTraitsTable table(c.text, c.rows);
        if (!c.malformed) {
            EXPECT_TRUE(table.Empty());
            continue;
        }
        ASSERT_FALSE(table.Empty());
        EXPECT_EQ(table.FirstMalformedRow(), c.malformed);
    }
}

// A table that does not hold one row a name is not used: the search then
// weighs the names itself.
TEST(GivenNameTraits, TableOfOtherNamesIsNotUsed) {
    const std::string names = Sjis("結衣\tゆい\tf\n唯\tゆい\tg\n");
    const auto data = NameSearchData::FromCp932(
        names, embedded::NameKanjiCp932(), embedded::KanjiReadingsCp932(),
        embedded::NameLikenessCp932(), embedded::KanjiFoldsCp932(), "0\tf\n");
    EXPECT_EQ(data.PrecomputedTraits(), nullptr);
}

// The dictionary's names read ゆ…, in code page 932 rows.
const std::string& YuNames() {
    static const std::string names = [] {
        const NameSearchData& all = BuiltInNameSearchData();
        std::string text;
        for (std::size_t i = 0; i < all.NameCount(); ++i) {
            const GivenNameView entry = all.Name(i);
            if (!entry.yomi.starts_with(Sjis("ゆ"))) continue;
            text.append(entry.written).append("\t").append(entry.yomi).append("\t");
            text.append(GenderTag(entry.gender)).append("\n");
        }
        return text;
    }();
    return names;
}

NameSearchData LoadYuNames(std::string_view traits) {
    return NameSearchData::FromCp932(YuNames(), embedded::NameKanjiCp932(),
                                     embedded::KanjiReadingsCp932(), embedded::NameLikenessCp932(),
                                     embedded::KanjiFoldsCp932(), traits);
}

// Those names without a table, each weighed by the search, and with the
// table made for them.
const NameSearchData& WeighedYuNames() {
    static const NameSearchData data = LoadYuNames({});
    return data;
}

const NameSearchData& LookedUpYuNames() {
    static const std::string table =
        FormatGivenNameTraits(ComputeGivenNameTraits(WeighedYuNames()));
    static const NameSearchData data = LoadYuNames(table);
    return data;
}

NameSearchFilters YamadaFilters(SortKey sort, int limit, std::uint64_t page) {
    NameSearchFilters filters;
    filters.surname = Sjis("山田");
    filters.sort = sort;
    filters.limit = limit;
    filters.page = page;
    return filters;
}

std::vector<std::string> Written(const NameSearchResult& result) {
    std::vector<std::string> written;
    for (const NameCandidate& candidate : result.candidates) written.push_back(candidate.given);
    return written;
}

// The search answers from the table exactly as it does weighing every name,
// for the filters and orders that need the likeness or the lean.
TEST(GivenNameTraits, SearchAnswersAsWithoutTheTable) {
    ASSERT_NE(LookedUpYuNames().PrecomputedTraits(), nullptr);
    struct Case {
        GenderFilter gender;
        SortKey sort;
        bool includeUnspecified;
        std::uint64_t page;
    };
    const std::vector<Case> cases = {
        {GenderFilter::Any, SortKey::Score, false, 1},
        {GenderFilter::Female, SortKey::Score, false, 2},
        {GenderFilter::Male, SortKey::Score, false, 1},
        {GenderFilter::Any, SortKey::Common, false, 1},
        {GenderFilter::Female, SortKey::Common, false, 1},
        {GenderFilter::Male, SortKey::Common, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.gender) * 100 + static_cast<int>(c.sort) * 10 +
                     static_cast<int>(c.page));
        NameSearchFilters filters = YamadaFilters(c.sort, 20, c.page);
        filters.gender = c.gender;
        filters.includeUnspecified = c.includeUnspecified;
        const auto expected = SearchNames(filters, BuiltInTables(), WeighedYuNames());
        const auto result = SearchNames(filters, BuiltInTables(), LookedUpYuNames());
        EXPECT_EQ(result.count, expected.count);
        ASSERT_FALSE(result.candidates.empty());
        EXPECT_EQ(Written(result), Written(expected));
        for (std::size_t k = 0; k < result.candidates.size() && k < expected.candidates.size();
             ++k) {
            EXPECT_EQ(result.candidates[k].yomi, expected.candidates[k].yomi) << k;
            EXPECT_EQ(result.candidates[k].gender, expected.candidates[k].gender) << k;
        }
    }
}

// Sorted by likeness, a short page is the same slice of the order as one
// page of every name gives, though the search keeps only the names up to
// the short page's end.
TEST(GivenNameTraits, LikenessPagesAreSlicesOfTheWholeOrder) {
    const NameSearchData& data = LookedUpYuNames();
    const auto whole =
        SearchNames(YamadaFilters(SortKey::Common, MaxSearchLimit, 1), BuiltInTables(), data);
    ASSERT_GT(whole.count, 4096u * 2);
    ASSERT_EQ(whole.candidates.size(), whole.count);
    const std::vector<std::string> order = Written(whole);
    const std::uint64_t lastPage = (whole.count + 19) / 20;
    for (const std::uint64_t page :
         {std::uint64_t{1}, std::uint64_t{2}, std::uint64_t{150}, lastPage}) {
        SCOPED_TRACE(page);
        const auto result =
            SearchNames(YamadaFilters(SortKey::Common, 20, page), BuiltInTables(), data);
        EXPECT_EQ(result.count, whole.count);
        const auto first = order.begin() + static_cast<std::ptrdiff_t>((page - 1) * 20);
        const auto last = order.begin() + static_cast<std::ptrdiff_t>(
                                              std::min<std::uint64_t>(page * 20, order.size()));
        EXPECT_EQ(Written(result), std::vector<std::string>(first, last));
    }
}

}  // namespace
}  // namespace soten
