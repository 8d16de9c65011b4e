#include "SuggestCommand.h"

#include <charconv>
#include <optional>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "CliOptions.h"
#include "CliRunner.h"
#include "Cp932.h"
#include "NameSearch.h"
#include "ShiftJis.h"

namespace soten::cli {
namespace {

enum class SuggestFormat { Text, Json, Tsv };

struct SuggestOptions {
    NameSearchFilters filters;
    SuggestFormat format = SuggestFormat::Text;
};

struct UsageError {
    std::string message;
};

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

std::int64_t ParseNumber(const std::string& text, const char* option, std::int64_t low,
                         std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw UsageError{std::string(option) + " needs a number from " + std::to_string(low) +
                         " to " + std::to_string(high)};
    }
    return value;
}

std::string Cp932Option(const std::string& utf8, const char* option) {
    auto cp932 = Cp932::FromUtf8(utf8);
    if (!cp932) throw UsageError{std::string(option) + " holds a character soten cannot use"};
    return *cp932;
}

int ParseGrade(const std::string& text) {
    if (text == "1" || text == "◎") return 1;
    if (text == "2" || text == "○") return 2;
    if (text == "3" || text == "△") return 3;
    if (text == "4" || text == "×") return 4;
    throw UsageError{"--min-grade takes grades 1 to 4 (or ◎ ○ △ ×)"};
}

// "total=1,person=2": the worst grade accepted for each named number.
void ParseMinGrades(const std::string& text, std::array<int, FortuneCount>& worst) {
    static const std::array<std::pair<const char*, FortuneKind>, 4> keys = {
        {{"person", Person}, {"earth", Earth}, {"outer", Outer}, {"total", Total}}};
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        const std::size_t equals = item.find('=');
        const std::string key = item.substr(0, equals);
        const auto found =
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return key == k.first; });
        if (equals == std::string::npos || found == keys.end()) {
            throw UsageError{"--min-grade takes person=, earth=, outer= and total= grades"};
        }
        worst[found->second] = ParseGrade(item.substr(equals + 1));
    }
}

// "翔" (anywhere) or "大:1" (at that position), one or more characters
// before the colon.
void ParseContains(const std::string& text, std::vector<RequiredCharacter>& required) {
    std::string characters = text;
    int position = 0;
    if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        characters = text.substr(0, colon);
        position = static_cast<int>(
            ParseNumber(text.substr(colon + 1), "--contains POSITION", 1, MaxPartChars));
    }
    const std::string cp932 = Cp932Option(characters, "--contains");
    if (cp932.empty()) throw UsageError{"--contains needs a character"};
    std::size_t k = 0;
    for (std::size_t i = 0; i < cp932.size(); ++k) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size();
        if (required.size() >= static_cast<std::size_t>(MaxRequiredCharacters)) {
            throw UsageError{"--contains takes at most 3 characters in all"};
        }
        required.push_back(
            {cp932.substr(i, pair ? 2 : 1), position == 0 ? 0 : position + static_cast<int>(k)});
        i += pair ? 2 : 1;
    }
}

SuggestOptions ParseSuggestOptions(const std::vector<std::string>& args) {
    SuggestOptions options;
    NameSearchFilters& filters = options.filters;
    bool haveSurname = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
            return args[++i];
        };
        if (arg == "--suggest") {
            const std::string& surname = value();
            const auto cp932 = Cp932::NameFromUtf8(surname);
            if (!cp932) throw UsageError{"the surname is not valid UTF-8"};
            if (cp932->empty()) throw UsageError{"--suggest needs a surname"};
            filters.surname = *cp932;
            haveSurname = true;
        } else if (arg == "--style") {
            const auto style = ParseStyle(value());
            if (!style) throw UsageError{"--style must be shinji or honji"};
            filters.style = *style;
        } else if (arg == "--space") {
            const std::string& space = value();
            if (space != "names" && space != "all")
                throw UsageError{"--space must be names or all"};
            filters.space = space == "all" ? SearchSpace::All : SearchSpace::Names;
        } else if (arg == "--gender") {
            const std::string& gender = value();
            if (gender == "f") {
                filters.gender = GenderFilter::Female;
            } else if (gender == "m") {
                filters.gender = GenderFilter::Male;
            } else if (gender == "any") {
                filters.gender = GenderFilter::Any;
            } else {
                throw UsageError{"--gender must be f, m or any"};
            }
        } else if (arg == "--chars") {
            const std::string& chars = value();
            filters.chars = chars == "any"
                                ? 0
                                : static_cast<int>(ParseNumber(chars, "--chars", 1, MaxPartChars));
        } else if (arg == "--reading-length") {
            filters.readingLength = static_cast<int>(ParseNumber(value(), arg.c_str(), 1, 40));
        } else if (arg == "--reading-prefix" || arg == "--reading-contains") {
            filters.reading = Cp932Option(value(), arg.c_str());
            filters.readingMatch =
                arg == "--reading-prefix" ? ReadingMatch::Prefix : ReadingMatch::Contains;
        } else if (arg == "--contains") {
            ParseContains(value(), filters.required);
        } else if (arg == "--min-grade") {
            ParseMinGrades(value(), filters.worstGrade);
        } else if (arg == "--min-score") {
            filters.minScore = static_cast<int>(ParseNumber(value(), "--min-score", 0, 12));
        } else if (arg == "--limit") {
            // Larger values are capped by the search, with a note.
            filters.limit = static_cast<int>(ParseNumber(value(), "--limit", 1, 1'000'000'000));
        } else if (arg == "--page") {
            filters.page = static_cast<std::uint64_t>(
                ParseNumber(value(), "--page", 1, 1'000'000'000'000'000));
        } else if (arg == "--format") {
            const std::string& format = value();
            if (format == "text") {
                options.format = SuggestFormat::Text;
            } else if (format == "json") {
                options.format = SuggestFormat::Json;
            } else if (format == "tsv") {
                options.format = SuggestFormat::Tsv;
            } else {
                throw UsageError{"--format must be text, json or tsv"};
            }
        } else {
            throw UsageError{"unknown argument " + arg + " for --suggest"};
        }
    }
    if (!haveSurname) throw UsageError{"--suggest needs a surname"};
    return options;
}

constexpr std::array<std::pair<const char*, FortuneKind>, FortuneCount> JsonKeys = {
    {{"total", Total}, {"heaven", Heaven}, {"person", Person}, {"earth", Earth}, {"outer", Outer}}};

nlohmann::json StrokeList(const NameRecord& record, NamePart part) {
    nlohmann::json list = nlohmann::json::array();
    for (int k = 1; k <= record.Lengths[part]; ++k) list.push_back(record.Strokes[part][k]);
    return list;
}

nlohmann::json CandidateToJson(const NameCandidate& candidate) {
    nlohmann::json fortunes = nlohmann::json::object();
    nlohmann::json grades = nlohmann::json::object();
    nlohmann::json keywords = nlohmann::json::object();
    for (const auto& [key, kind] : JsonKeys) {
        fortunes[key] = candidate.record.Fortunes[kind];
        grades[key] = candidate.keywords[kind].grade;
        keywords[key] = Utf8(candidate.keywords[kind].word);
    }
    return nlohmann::json{
        {"given", Utf8(candidate.given)},
        {"reading", candidate.gender ? nlohmann::json(Utf8(candidate.reading)) : nlohmann::json()},
        {"gender",
         candidate.gender ? nlohmann::json(std::string(1, candidate.gender)) : nlohmann::json()},
        {"strokes",
         {{"surname", StrokeList(candidate.record, Surname)},
          {"given", StrokeList(candidate.record, GivenName)}}},
        {"fortunes", fortunes},
        {"grades", grades},
        {"keywords", keywords},
        {"score", candidate.score},
    };
}

std::string GenderText(char gender) {
    switch (gender) {
        case 'f':
            return "女性";
        case 'm':
            return "男性";
        case 'g':
            return "男女";
        default:
            return "";
    }
}

std::string GivenStrokes(const NameRecord& record, char separator) {
    std::string text;
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        if (k > 1) text += separator;
        text += std::to_string(record.Strokes[GivenName][k]);
    }
    return text;
}

// 1234567 as "1,234,567".
std::string GroupedNumber(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

void WriteText(const NameSearchFilters& filters, const NameSearchResult& result,
               std::ostream& out) {
    out << Utf8(filters.surname) << "（"
        << (filters.style == StrokeStyle::Honji ? "本字式" : "新字式") << "） 該当 "
        << GroupedNumber(result.count) << " 件\n";
    std::uint64_t rank = (filters.page - 1) * static_cast<std::uint64_t>(result.limit);
    for (const NameCandidate& candidate : result.candidates) {
        out << ++rank << "\t" << Utf8(candidate.given);
        if (candidate.gender) {
            out << "（" << Utf8(candidate.reading) << "・" << GenderText(candidate.gender) << "）";
        }
        out << "\t画数 " << GivenStrokes(candidate.record, '-');
        for (const FortuneKind kind : {Person, Earth, Outer, Total}) {
            out << "\t" << Utf8(FortuneLabels()[kind]) << " " << candidate.record.Fortunes[kind]
                << Utf8(GradeMark(candidate.keywords[kind].grade).substr(0, 2));
        }
        out << "\t評点 " << candidate.score << "\n";
    }
}

void WriteTsv(const NameSearchResult& result, std::ostream& out) {
    out << "given\treading\tgender\tstrokes";
    for (const auto& [key, kind] : JsonKeys)
        out << "\t" << key << "\t" << key << "_grade\t" << key << "_keyword";
    out << "\tscore\n";
    for (const NameCandidate& candidate : result.candidates) {
        out << Utf8(candidate.given) << "\t" << Utf8(candidate.reading) << "\t"
            << (candidate.gender ? std::string(1, candidate.gender) : "") << "\t"
            << GivenStrokes(candidate.record, ' ');
        for (const auto& [key, kind] : JsonKeys) {
            out << "\t" << candidate.record.Fortunes[kind] << "\t" << candidate.keywords[kind].grade
                << "\t" << Utf8(candidate.keywords[kind].word);
        }
        out << "\t" << candidate.score << "\n";
    }
}

}  // namespace

const char* const SuggestUsageText =
    "       soten-cli --suggest SURNAME [--style shinji|honji] [--space names|all]\n"
    "                 [--gender f|m] [--chars N] [--reading-length N]\n"
    "                 [--reading-prefix KANA | --reading-contains KANA]\n"
    "                 [--contains TEXT[:POSITION]] [--min-grade total=1,person=2,...]\n"
    "                 [--min-score N] [--limit N] [--page N] [--format text|json|tsv]\n";

bool IsSuggestCommand(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--suggest") return true;
    }
    return false;
}

int RunSuggest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const Tables& tables, const NameSearchData& data) {
    SuggestOptions options;
    try {
        options = ParseSuggestOptions(args);
    } catch (const UsageError& error) {
        err << "soten-cli: " << error.message << "\n" << SuggestUsageText;
        return ExitUsage;
    }
    const NameSearchResult result = SearchNames(options.filters, tables, data);
    if (result.refusal) {
        err << Utf8(*result.refusal) << "\n";
        return ExitRefused;
    }
    for (const std::string& note : result.notes) err << "soten-cli: " << Utf8(note) << "\n";
    if (!result.problem.empty()) {
        err << "soten-cli: " << Utf8(result.problem) << "\n";
        return ExitUsage;
    }
    switch (options.format) {
        case SuggestFormat::Json: {
            nlohmann::json candidates = nlohmann::json::array();
            for (const NameCandidate& candidate : result.candidates) {
                candidates.push_back(CandidateToJson(candidate));
            }
            out << nlohmann::json{{"surname", Utf8(options.filters.surname)},
                                  {"style", StyleName(options.filters.style)},
                                  {"space",
                                   options.filters.space == SearchSpace::All ? "all" : "names"},
                                  {"count", result.count},
                                  {"candidates", std::move(candidates)}}
                       .dump()
                << "\n";
            break;
        }
        case SuggestFormat::Tsv:
            WriteTsv(result, out);
            break;
        case SuggestFormat::Text:
            WriteText(options.filters, result, out);
            break;
    }
    return ExitReadingMade;
}

}  // namespace soten::cli
