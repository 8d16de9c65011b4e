#include "analysis/shortlist/NameComparison.h"

#include <algorithm>
#include <numeric>

#include "analysis/naming/Kana.h"
#include "analysis/naming/NameSearch.h"
#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/SurnameYomi.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/KanaCollation.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

int StrokeSum(const NameRecord& record) {
    int sum = 0;
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        sum += record.Strokes[GivenName][static_cast<std::size_t>(k)];
    }
    return sum;
}

// -1, 0 or 1 as `a` comes before, with or after `b` in the key's own order.
int CompareBy(const ComparedName& a, const ComparedName& b, ComparisonKey key) {
    const auto order = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    const auto fortune = [&](FortuneKind kind) {
        // Best grade first (1 is ◎), then the lower number.
        const int byGrade = order(a.keywords[kind].grade, b.keywords[kind].grade);
        return byGrade != 0 ? byGrade
                            : order(a.reading->Counted().Fortunes[kind],
                                    b.reading->Counted().Fortunes[kind]);
    };
    switch (key) {
        case ComparisonKey::Surname:
            return order(a.entry.surname, b.entry.surname);
        case ComparisonKey::Given:
            return order(a.entry.given, b.entry.given);
        case ComparisonKey::Reading:
            // A name without a reading comes after those with one.
            if (a.entry.reading.empty() != b.entry.reading.empty()) {
                return a.entry.reading.empty() ? 1 : -1;
            }
            return order(GojuonKey(a.entry.reading), GojuonKey(b.entry.reading));
        case ComparisonKey::Style:
            return order(a.entry.style, b.entry.style);
        case ComparisonKey::Strokes:
            return order(StrokeSum(a.reading->Counted()), StrokeSum(b.reading->Counted()));
        case ComparisonKey::Heaven:
            return fortune(Heaven);
        case ComparisonKey::Person:
            return fortune(Person);
        case ComparisonKey::Earth:
            return fortune(Earth);
        case ComparisonKey::Outer:
            return fortune(Outer);
        case ComparisonKey::Total:
            return fortune(Total);
        case ComparisonKey::Score:
            return order(b.score, a.score);
        case ComparisonKey::Registrable:
            return order(a.registry, b.registry);
        case ComparisonKey::Sansai:
            return order(a.sansai.verdict, b.sansai.verdict);
        case ComparisonKey::Inyo:
            return order(a.inyo.verdict, b.inyo.verdict);
        case ComparisonKey::Note:
            // Names with a note first.
            if (a.entry.note.empty() != b.entry.note.empty()) return a.entry.note.empty() ? 1 : -1;
            return order(a.entry.note, b.entry.note);
        case ComparisonKey::Romaji: {
            const std::string& x = a.spoken.fullName.empty() ? a.spoken.romaji : a.spoken.fullName;
            const std::string& y = b.spoken.fullName.empty() ? b.spoken.romaji : b.spoken.fullName;
            if (x.empty() != y.empty()) return x.empty() ? 1 : -1;
            return order(x, y);
        }
        case ComparisonKey::SoundNotes:
            return order(a.spoken.notes.size(), b.spoken.notes.size());
    }
    return 0;
}

// Whether the key reads only the entry, so that a refused name sorts by it
// like any other.
bool ReadsEntryOnly(ComparisonKey key) {
    switch (key) {
        case ComparisonKey::Surname:
        case ComparisonKey::Given:
        case ComparisonKey::Reading:
        case ComparisonKey::Style:
        case ComparisonKey::Note:
        case ComparisonKey::Romaji:
        case ComparisonKey::SoundNotes:
            return true;
        default:
            return false;
    }
}

}  // namespace

ComparedName CompareName(const ShortlistEntry& entry, const Tables& tables) {
    ComparedName compared;
    compared.entry = entry;
    compared.unregistrable = UnregistrableCharacters(entry.given);
    compared.registrable = compared.unregistrable.empty();
    std::optional<YomiClass> yomi;
    if (const std::string reading = ToHiragana(entry.reading); !reading.empty()) {
        yomi = CheckYomi(entry.given, reading, BuiltInNameSearchData()).kind;
    }
    compared.registry = JudgeRegistry(compared.registrable, yomi);
    compared.avoided = BuiltInAvoidedKanji().In(entry.given);
    compared.spoken = SpeakName(
        entry.surname,
        entry.surnameReading.empty() ? SurnameYomiOf(entry.surname) : entry.surnameReading,
        entry.given, entry.reading);
    auto outcome = MakeReading({entry.surname, entry.given, entry.reading}, entry.style, tables);
    if (auto* refusal = std::get_if<Refusal>(&outcome)) {
        compared.refusal = std::move(*refusal);
        if (compared.refusal->reason != Refusal::Reason::UncountableCharacters) return compared;
        compared.lacked = UnknownCharacters({entry.surname, entry.given}, entry.style, tables,
                                            entry.SurnameUtf8(), entry.GivenUtf8());
        return compared;
    }
    compared.reading = std::move(std::get<Reading>(outcome));
    static_cast<NameJudgement&>(compared) = JudgeName(compared.reading->Counted(), tables);
    return compared;
}

std::string RegistryText(const ComparedName& name) {
    return std::string(RegistryLabel(name.registry));
}

std::string RefusalText(const ComparedName& name) {
    if (!name.refusal) return {};
    std::string text = Cp932::ToUtf8Lossy(name.refusal->Message());
    if (name.lacked.empty()) return text;
    return text + "　" + LackedCharactersText(name.lacked, true);
}

std::vector<ComparedName> CompareNames(const std::vector<ShortlistEntry>& entries,
                                       const Tables& tables) {
    std::vector<ComparedName> names;
    names.reserve(entries.size());
    for (const ShortlistEntry& entry : entries) names.push_back(CompareName(entry, tables));
    return names;
}

std::vector<std::size_t> ComparisonOrder(const std::vector<ComparedName>& names, ComparisonKey key,
                                         bool reversed) {
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool entryOnly = ReadsEntryOnly(key);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        const ComparedName& a = names[i];
        const ComparedName& b = names[j];
        if (!entryOnly && a.refusal.has_value() != b.refusal.has_value()) {
            return !a.refusal.has_value();
        }
        if (!entryOnly && a.refusal) return false;
        const int compared = CompareBy(a, b, key);
        return reversed ? compared > 0 : compared < 0;
    });
    return order;
}

}  // namespace soten
