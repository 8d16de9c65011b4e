#include "analysis/naming/SearchFilters.h"

#include <algorithm>
#include <mutex>

#include "analysis/reading/DetailedReading.h"
#include "analysis/text/ShiftJis.h"

namespace soten::naming {

const std::string& Message(const char* utf8) {
    static std::mutex mutex;
    static std::unordered_map<const char*, std::string> converted;
    const std::lock_guard lock(mutex);
    auto [it, inserted] = converted.try_emplace(utf8);
    if (inserted) it->second = Cp932Text(utf8);
    return it->second;
}

const Evaluation& Evaluator::Evaluate(int chars, int first, int sum) {
    const Key key(chars, first, sum);
    auto [it, inserted] = memo_.try_emplace(key.Value());
    if (!inserted) return it->second;
    NameRecord record;
    record.Lengths[Surname] = surname_.Lengths[Surname];
    record.Strokes[Surname] = surname_.Strokes[Surname];
    record.Lengths[GivenName] = key.Chars();
    record.Strokes[GivenName][1] = key.First();
    if (key.Chars() >= 2) {
        // Any split of the rest gives the same numbers; each count is at
        // least 1 as in a real name.
        record.Strokes[GivenName][2] = key.Sum() - key.First() - (key.Chars() - 2);
        for (int k = 3; k <= key.Chars(); ++k) record.Strokes[GivenName][k] = 1;
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
    evaluation.sansai = ReadSansai(record).verdict;
    if (evaluation.sansai > filters_.worstSansai) evaluation.passes = false;
    return evaluation;
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

namespace {

NameGender AskedGender(const NameSearchFilters& filters) {
    return filters.gender == GenderFilter::Female ? NameGender::Female : NameGender::Male;
}

}  // namespace

NameGender GenderOfLean(GenderLean lean) {
    switch (lean) {
        case GenderLean::Girls:
            return NameGender::Female;
        case GenderLean::Boys:
            return NameGender::Male;
        case GenderLean::Neither:
            break;
    }
    return NameGender::Unspecified;
}

bool GenderPasses(const NameSearchFilters& filters, NameGender gender, GenderLean lean) {
    if (filters.gender == GenderFilter::Any) return true;
    if (gender == NameGender::Unspecified) {
        return filters.includeUnspecified || GenderOfLean(lean) == AskedGender(filters);
    }
    if (gender == NameGender::Both) return true;
    return gender == AskedGender(filters);
}

bool LeanPasses(const NameSearchFilters& filters, GenderLean lean) {
    if (filters.gender == GenderFilter::Any || lean == GenderLean::Neither) return true;
    return GenderOfLean(lean) == AskedGender(filters);
}

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

YomiFilters HiraganaYomi(const YomiFilters& yomi) {
    YomiFilters hiragana = yomi;
    for (std::string* text :
         {&hiragana.exact, &hiragana.prefix, &hiragana.suffix, &hiragana.contains}) {
        *text = ToHiragana(*text);
    }
    return hiragana;
}

std::optional<std::uint64_t> PageStart(std::uint64_t page, int limit, std::uint64_t count) {
    if (page < 1) return std::nullopt;
    const auto perPage = static_cast<std::uint64_t>(limit);
    if (page - 1 >= (count + perPage - 1) / perPage) return std::nullopt;
    return (page - 1) * perPage;
}

std::string FilterProblem(const NameSearchFilters& filters, const NameSearchData& data,
                          int surnameChars) {
    const bool allNames = filters.space == SearchSpace::All;
    const int maxChars = allNames ? MaxAllSpaceChars : MaxPartChars;
    if (filters.chars < 0 || filters.chars > maxChars) {
        return Message(allNames ? "すべての組み合わせは3文字までです"
                                : "名前の文字数は10文字までです");
    }
    if (surnameChars + std::max(filters.chars, 1) > MaxTotalChars) {
        return Message("名字と名前を合わせて12文字までです");
    }
    const YomiFilters yomi = HiraganaYomi(filters.yomi);
    if (yomi.length < 0 || yomi.length > MaxYomiKana || yomi.morae < 0 ||
        yomi.morae > MaxYomiKana) {
        return Message("読みの文字数が正しくありません");
    }
    for (const std::string* text : {&yomi.exact, &yomi.prefix, &yomi.suffix, &yomi.contains}) {
        if (text->size() % 2 != 0 || text->size() / 2 > static_cast<std::size_t>(MaxYomiKana)) {
            return Message("読みはひらがなかカタカナで指定してください");
        }
        if (!IsHiraganaText(*text)) return Message("読みはひらがなかカタカナで指定してください");
    }
    if (!yomi.exact.empty() &&
        (!yomi.exact.starts_with(yomi.prefix) || !yomi.exact.ends_with(yomi.suffix) ||
         yomi.exact.find(yomi.contains) == std::string::npos)) {
        return Message("読みと、読みの始まり・終わり・含む音の指定が合いません");
    }
    auto kana = [](const std::string& text) { return static_cast<int>(text.size() / 2); };
    if (yomi.length != 0 && ((!yomi.exact.empty() && kana(yomi.exact) != yomi.length) ||
                             kana(yomi.prefix) > yomi.length || kana(yomi.suffix) > yomi.length ||
                             kana(yomi.contains) > yomi.length)) {
        return Message("読みの長さと読みの指定が合いません");
    }
    if (yomi.morae != 0 &&
        ((!yomi.exact.empty() && CountMorae(yomi.exact) != yomi.morae) ||
         CountMorae(yomi.prefix) > yomi.morae || CountMorae(yomi.suffix) > yomi.morae ||
         CountMorae(yomi.contains) > yomi.morae ||
         (yomi.length != 0 && yomi.morae > yomi.length))) {
        return Message("音の数と読みの指定が合いません");
    }
    if (!YomiMatcher(yomi).Satisfiable()) {
        // The texts fit together (checked above); the length or the morae
        // leave no room for them.
        YomiFilters withoutMorae = yomi;
        withoutMorae.morae = 0;
        return Message(YomiMatcher(withoutMorae).Satisfiable()
                           ? "音の数と読みの指定が合いません"
                           : "読みの長さと読みの指定が合いません");
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
        if (!filters.includeAvoided && BuiltInAvoidedKanji().Find(character)) {
            return Message(
                "含める文字は避けたい字です（避けたい字を含む名前も表示すると探せます）");
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

}  // namespace soten::naming
