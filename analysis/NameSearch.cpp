#include "NameSearch.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "NewReading.h"
#include "ProgramState.h"
#include "ShiftJis.h"
#include "StrokeLookup.h"

namespace soten {
namespace {

constexpr int MaxScore = 12;
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
    ProgramState state;
    state.strokeStyle = filters.style;
    ReadNames(state.record, filters.surname, given);
    if (CheckNames(state, tables)) return std::nullopt;
    ComputeFortunes(state.record);
    NameCandidate candidate;
    candidate.given = std::move(given);
    candidate.record = state.record;
    for (int kind = 0; kind < FortuneCount; ++kind) {
        const auto index = static_cast<std::size_t>(kind);
        candidate.keywords[index] = LookupKeyword(tables, state.record.Fortunes[index]);
    }
    for (const FortuneKind kind : ScoredKinds) {
        candidate.score += GradePoints(candidate.keywords[kind].grade);
    }
    candidate.sansai = ReadSansai(state.record);
    candidate.inyo = ReadInyo(state.record);
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

// The offset of the first name of the page, or nothing when the page lies
// beyond the last name.
std::optional<std::uint64_t> PageStart(std::uint64_t page, int limit, std::uint64_t count) {
    if (page < 1) return std::nullopt;
    const auto perPage = static_cast<std::uint64_t>(limit);
    if (page - 1 >= (count + perPage - 1) / perPage) return std::nullopt;
    return (page - 1) * perPage;
}

// ---- The names space ----

void SearchGivenNames(const NameSearchFilters& filters, const Tables& tables,
                      const NameSearchData& data, const NameRecord& surname,
                      NameSearchResult& result) {
    const auto& patterns = data.Patterns(filters.style, tables.dictionary);
    const int surnameChars = surname.Lengths[Surname];
    const std::uint16_t surnameOdd = OddMask(surname.Strokes[Surname], surnameChars);
    // 0 not judged yet, 1 passes, 2 陰陽配列 凶.
    std::vector<std::uint8_t> inyoKnown;
    if (filters.inyoOk) inyoKnown.assign(std::size_t{MaxPartChars + 1} << MaxPartChars, 0);
    const std::string reading = ToHiragana(filters.reading);
    Evaluator evaluator(surname, filters, tables);

    // One bucket per (score, 総運 grade) in result order; the names come in
    // reading order already, so the buckets need no sorting.
    constexpr std::size_t Refused = (MaxScore + 1) * 4;
    std::array<std::vector<std::uint32_t>, Refused + 1> buckets;
    for (std::size_t i = 0; i < data.NameCount(); ++i) {
        const GivenStrokePattern& pattern = patterns[i];
        if (!pattern.ok()) continue;
        const int chars = pattern.chars;
        if (filters.chars != 0 && chars != filters.chars) continue;
        if (surnameChars + chars > MaxTotalChars) continue;
        const GivenNameView entry = data.Name(i);
        if (filters.gender == GenderFilter::Female && entry.gender != 'f') continue;
        if (filters.gender == GenderFilter::Male && entry.gender != 'm') continue;
        if (filters.readingLength != 0 && CountCharacters(entry.reading) != filters.readingLength) {
            continue;
        }
        if (!reading.empty()) {
            const bool matches = filters.readingMatch == ReadingMatch::Prefix
                                     ? entry.reading.starts_with(reading)
                                     : entry.reading.find(reading) != std::string_view::npos;
            if (!matches) continue;
        }
        const bool holdsAll = std::all_of(
            filters.required.begin(), filters.required.end(),
            [&](const RequiredCharacter& r) { return HoldsCharacter(entry.written, r); });
        if (!holdsAll) continue;
        const Evaluation& evaluation = evaluator.Evaluate(chars, pattern.first, pattern.sum);
        bool passes = evaluation.passes;
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
            passes = passes && known == 1;
        }
        // A name the numbers or the verdicts refuse goes to a last bucket that
        // is never read: such filters then cost no mispredicted branch.
        const auto bucket = passes ? static_cast<std::size_t>((MaxScore - evaluation.score) * 4 +
                                                              evaluation.grades[Total] - 1)
                                   : Refused;
        buckets[bucket].push_back(static_cast<std::uint32_t>(i));
    }
    buckets[Refused].clear();

    for (const auto& bucket : buckets) result.count += bucket.size();
    auto offset = PageStart(filters.page, result.limit, result.count);
    if (!offset) return;
    for (const auto& bucket : buckets) {
        for (const std::uint32_t index : bucket) {
            if (*offset > 0) {
                --*offset;
                continue;
            }
            if (static_cast<int>(result.candidates.size()) >= result.limit) return;
            const GivenNameView entry = data.Name(index);
            auto candidate = MakeCandidate(filters, tables, std::string(entry.written));
            if (!candidate) continue;
            candidate->reading = entry.reading;
            candidate->gender = entry.gender;
            result.candidates.push_back(std::move(*candidate));
        }
    }
}

// ---- The all-names space ----

// The characters one position of a stroke pattern may hold: every name kanji
// with that stroke count, or the one character pinned there.
struct PositionChoice {
    const std::vector<std::string>* byStroke = nullptr;  // null when pinned
    const std::string* pinned = nullptr;

    std::size_t Size() const { return pinned ? 1 : byStroke->size(); }
    const std::string& At(std::size_t i) const { return pinned ? *pinned : (*byStroke)[i]; }
};

constexpr std::size_t MaskCount = std::size_t{1} << MaxRequiredCharacters;

// Counts and lists the names behind one stroke pattern that hold every
// character of `anywhere`: completions[i][mask] is the number of ways to fill
// positions i.. when the required characters in `mask` are already placed.
class PatternNames {
public:
    PatternNames(std::vector<PositionChoice> positions, const std::vector<std::string>& anywhere)
        : positions_(std::move(positions)), anywhere_(anywhere) {
        const std::size_t full = (std::size_t{1} << anywhere_.size()) - 1;
        completions_.assign(positions_.size() + 1, {});
        completions_.back()[full] = 1;
        for (std::size_t i = positions_.size(); i-- > 0;) {
            const PositionChoice& choice = positions_[i];
            std::size_t requiredHere = 0;
            std::array<std::size_t, MaxRequiredCharacters> bits{};
            for (std::size_t r = 0; r < anywhere_.size(); ++r) {
                if (Holds(choice, anywhere_[r])) bits[requiredHere++] = std::size_t{1} << r;
            }
            const std::uint64_t others = choice.Size() - requiredHere;
            for (std::size_t mask = 0; mask <= full; ++mask) {
                std::uint64_t ways = others * completions_[i + 1][mask];
                for (std::size_t b = 0; b < requiredHere; ++b) {
                    ways += completions_[i + 1][mask | bits[b]];
                }
                completions_[i][mask] = ways;
            }
        }
    }

    std::uint64_t Count() const { return completions_[0][0]; }

    // The name of 0-based rank `rank` in code order.
    std::string Name(std::uint64_t rank) const {
        std::string name;
        std::size_t mask = 0;
        for (std::size_t i = 0; i < positions_.size(); ++i) {
            const PositionChoice& choice = positions_[i];
            for (std::size_t c = 0; c < choice.Size(); ++c) {
                const std::string& character = choice.At(c);
                const std::size_t next = mask | Bit(character);
                const std::uint64_t ways = completions_[i + 1][next];
                if (rank < ways) {
                    name += character;
                    mask = next;
                    break;
                }
                rank -= ways;
            }
        }
        return name;
    }

private:
    static bool Holds(const PositionChoice& choice, const std::string& character) {
        if (choice.pinned) return *choice.pinned == character;
        return std::binary_search(choice.byStroke->begin(), choice.byStroke->end(), character);
    }

    std::size_t Bit(const std::string& character) const {
        for (std::size_t r = 0; r < anywhere_.size(); ++r) {
            if (anywhere_[r] == character) return std::size_t{1} << r;
        }
        return 0;
    }

    std::vector<PositionChoice> positions_;
    const std::vector<std::string>& anywhere_;
    std::vector<std::array<std::uint64_t, MaskCount>> completions_;
};

struct StrokePattern {
    int score = 0;
    int totalGrade = 0;
    int chars = 0;
    std::array<int, MaxAllSpaceChars> strokes{};
    std::uint64_t count = 0;
};

void SearchAllNames(const NameSearchFilters& filters, const Tables& tables,
                    const NameSearchData& data, const NameRecord& surname,
                    NameSearchResult& result) {
    // The name kanji grouped by their count in this style, each group in code
    // order.
    std::vector<std::vector<std::string>> byStroke;
    auto strokesOf = [&](const std::string& kanji) {
        return CountUnit(kanji, 1, 0, filters.style, tables.dictionary);
    };
    for (const std::string& kanji : data.Kanji()) {
        const int strokes = strokesOf(kanji);
        if (strokes <= 0) continue;
        if (static_cast<std::size_t>(strokes) >= byStroke.size()) {
            byStroke.resize(static_cast<std::size_t>(strokes) + 1);
        }
        byStroke[static_cast<std::size_t>(strokes)].push_back(kanji);
    }

    std::array<const std::string*, MaxAllSpaceChars> pinned{};
    std::vector<std::string> anywhere;
    for (const RequiredCharacter& required : filters.required) {
        if (required.position > 0) {
            pinned[static_cast<std::size_t>(required.position - 1)] = &required.character;
        } else if (std::find(anywhere.begin(), anywhere.end(), required.character) ==
                   anywhere.end()) {
            anywhere.push_back(required.character);
        }
    }

    const int surnameChars = surname.Lengths[Surname];
    const std::uint16_t surnameOdd = OddMask(surname.Strokes[Surname], surnameChars);
    const int fewest = filters.chars != 0 ? filters.chars : 1;
    const int most = std::min(filters.chars != 0 ? filters.chars : MaxAllSpaceChars,
                              MaxTotalChars - surnameChars);
    Evaluator evaluator(surname, filters, tables);
    std::vector<StrokePattern> patterns;
    const int maxStroke = static_cast<int>(byStroke.size()) - 1;

    auto choiceAt = [&](int position, int strokes) {
        PositionChoice choice;
        if (const std::string* character = pinned[static_cast<std::size_t>(position)]) {
            choice.pinned = character;
        } else {
            choice.byStroke = &byStroke[static_cast<std::size_t>(strokes)];
        }
        return choice;
    };
    auto strokeRange = [&](int position, int& from, int& to) {
        if (const std::string* character = pinned[static_cast<std::size_t>(position)]) {
            from = to = strokesOf(*character);
        } else {
            from = 1;
            to = maxStroke;
        }
    };

    for (int chars = fewest; chars <= most; ++chars) {
        // A pin beyond the name's last character leaves nothing of this length.
        bool pinsFit = true;
        for (int p = chars; p < MaxAllSpaceChars; ++p)
            pinsFit = pinsFit && !pinned[static_cast<std::size_t>(p)];
        if (!pinsFit) continue;
        std::array<int, MaxAllSpaceChars> from{1, 1, 1};
        std::array<int, MaxAllSpaceChars> to{0, 0, 0};
        for (int p = 0; p < chars; ++p) {
            strokeRange(p, from[static_cast<std::size_t>(p)], to[static_cast<std::size_t>(p)]);
        }
        std::array<int, MaxAllSpaceChars> g{};
        // Walks every stroke tuple of this length (at most maxStroke³).
        auto walk = [&](auto& self, int position) -> void {
            if (position == chars) {
                int sum = 0;
                for (int p = 0; p < chars; ++p) sum += g[static_cast<std::size_t>(p)];
                const Evaluation& evaluation = evaluator.Evaluate(chars, g[0], sum);
                if (!evaluation.passes) return;
                if (filters.inyoOk) {
                    std::uint16_t givenOdd = 0;
                    for (int p = 0; p < chars; ++p) {
                        if (g[static_cast<std::size_t>(p)] % 2 != 0) {
                            givenOdd = static_cast<std::uint16_t>(givenOdd | 1u << p);
                        }
                    }
                    if (JudgeInyo(surnameOdd, surnameChars, givenOdd, chars).verdict ==
                        InyoVerdict::Bad) {
                        return;
                    }
                }
                std::vector<PositionChoice> positions;
                for (int p = 0; p < chars; ++p) {
                    positions.push_back(choiceAt(p, g[static_cast<std::size_t>(p)]));
                }
                const std::uint64_t count = PatternNames(std::move(positions), anywhere).Count();
                if (count == 0) return;
                patterns.push_back({evaluation.score, evaluation.grades[Total], chars, g, count});
                return;
            }
            const auto p = static_cast<std::size_t>(position);
            for (int s = from[p]; s <= to[p]; ++s) {
                if (!pinned[p] && byStroke[static_cast<std::size_t>(s)].empty()) continue;
                g[p] = s;
                self(self, position + 1);
            }
        };
        walk(walk, 0);
    }

    std::sort(patterns.begin(), patterns.end(), [](const StrokePattern& a, const StrokePattern& b) {
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
        std::vector<PositionChoice> positions;
        for (int p = 0; p < pattern.chars; ++p) {
            positions.push_back(choiceAt(p, pattern.strokes[static_cast<std::size_t>(p)]));
        }
        const PatternNames names(std::move(positions), anywhere);
        for (std::uint64_t rank = *offset; rank < pattern.count; ++rank) {
            if (static_cast<int>(result.candidates.size()) >= result.limit) return;
            auto candidate = MakeCandidate(filters, tables, names.Name(rank));
            if (candidate) result.candidates.push_back(std::move(*candidate));
        }
        *offset = 0;
    }
}

// Why the filters cannot be used, or an empty text.
std::string FilterProblem(const NameSearchFilters& filters, const NameSearchData& data,
                          int surnameChars) {
    const bool allNames = filters.space == SearchSpace::All;
    const int maxChars = allNames ? MaxAllSpaceChars : MaxPartChars;
    if (allNames && (filters.gender != GenderFilter::Any || filters.readingLength != 0 ||
                     !filters.reading.empty())) {
        return Message("性別と読みは実在の名前を探すときだけ指定できます");
    }
    if (filters.chars < 0 || filters.chars > maxChars) {
        return Message(allNames ? "すべての組み合わせは3文字までです"
                                : "名前の文字数は10文字までです");
    }
    if (surnameChars + std::max(filters.chars, 1) > MaxTotalChars) {
        return Message("名字と名前を合わせて12文字までです");
    }
    if (filters.readingLength < 0 || filters.readingLength > 40) {
        return Message("読みの文字数が正しくありません");
    }
    if (!filters.reading.empty()) {
        const std::string reading = ToHiragana(filters.reading);
        for (std::size_t k = 1; k <= reading.size() / 2; ++k) {
            const unsigned code = UnitCode(Unit(reading, k));
            const bool kana = (code >= 0x829F && code <= 0x82F1) || code == 0x815B;
            if (!kana || reading.size() % 2 != 0) {
                return Message("読みはひらがなかカタカナで指定してください");
            }
        }
        if (reading.size() % 2 != 0) return Message("読みはひらがなかカタカナで指定してください");
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
    std::array<const std::string*, MaxPartChars> pinned{};
    for (const RequiredCharacter& required : filters.required) {
        const std::string& character = required.character;
        if (character.size() != 2 || !IsLeadByte(static_cast<unsigned char>(character[0]))) {
            return Message("含める文字は1文字ずつ全角で指定してください");
        }
        if (required.position < 0 || required.position > maxChars ||
            (filters.chars != 0 && required.position > filters.chars)) {
            return Message("文字の位置が名前の文字数を超えています");
        }
        if (allNames && !std::binary_search(data.Kanji().begin(), data.Kanji().end(), character)) {
            return Message("含める文字が名前に使える漢字にありません");
        }
        if (required.position > 0) {
            const std::string*& slot = pinned[static_cast<std::size_t>(required.position - 1)];
            if (slot && *slot != character) return Message("同じ位置に別の文字は指定できません");
            slot = &character;
        }
    }
    return {};
}

}  // namespace

int GradePoints(int grade) {
    return grade >= 1 && grade <= 4 ? 4 - grade : 0;
}

std::string ToHiragana(std::string_view cp932) {
    std::string out(cp932);
    for (std::size_t i = 0; i + 1 < out.size();) {
        const auto lead = static_cast<unsigned char>(out[i]);
        if (!IsLeadByte(lead)) {
            ++i;
            continue;
        }
        const unsigned code = lead << 8 | static_cast<unsigned char>(out[i + 1]);
        unsigned mapped = code;
        if (code >= 0x8340 && code <= 0x837E) mapped = code - 0x8340 + 0x829F;  // ァ..ミ
        if (code >= 0x8380 && code <= 0x8393) mapped = code - 0x8380 + 0x82DE;  // ム..ン
        out[i] = static_cast<char>(mapped >> 8);
        out[i + 1] = static_cast<char>(mapped & 0xFF);
        i += 2;
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
    ProgramState probe;
    probe.strokeStyle = filters.style;
    ReadNames(probe.record, filters.surname, Cp932Text("一"));
    if (auto refusal = CheckNames(probe, tables)) {
        result.refusal = std::move(refusal);
        return result;
    }
    result.limit = std::clamp(filters.limit, 1, MaxSearchLimit);
    if (filters.limit > MaxSearchLimit) {
        result.notes.push_back(Message("表示件数は1ページ10,000件までにしました"));
    }
    result.problem = FilterProblem(filters, data, probe.record.Lengths[Surname]);
    if (!result.problem.empty()) return result;
    if (filters.space == SearchSpace::Names) {
        SearchGivenNames(filters, tables, data, probe.record, result);
    } else {
        SearchAllNames(filters, tables, data, probe.record, result);
    }
    return result;
}

}  // namespace soten
