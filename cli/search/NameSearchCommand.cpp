#include "cli/search/NameSearchCommand.h"

#include <ostream>

#include "analysis/naming/NameSearch.h"
#include "analysis/naming/SurnameYomi.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/records/RecordWriter.h"
#include "analysis/text/Cp932.h"
#include "cli/app/CliRunner.h"
#include "cli/app/TerminalText.h"

namespace soten::cli {
namespace {

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

// "3-5": the counts of the given name.
std::string GivenStrokes(const NameRecord& record) {
    std::string text;
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        if (k > 1) text += '-';
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

void AppendText(const NameSearchFilters& filters, const NameSearchResult& result,
                std::string& out) {
    out += TerminalText(Utf8(filters.surname)) + "（" +
           (filters.style == StrokeStyle::Honji ? "本字式" : "新字式") + "） 該当 " +
           GroupedNumber(result.count) + " 件\n";
    std::uint64_t rank = (filters.page - 1) * static_cast<std::uint64_t>(result.limit);
    // Appended piece by piece: GCC 12 at -O3 misreads `"literal" + string`
    // as an overlapping copy (-Wrestrict).
    const auto field = [&out](std::string_view label, const std::string& value) {
        out += '\t';
        out += label;
        out += value;
    };
    for (const NameCandidate& candidate : result.candidates) {
        out += std::to_string(++rank);
        out += '\t';
        out += Utf8(candidate.given);
        if (!candidate.registrable) out += "※";
        if (candidate.gender != NameGender::None || !candidate.yomis.empty()) {
            out += "（";
            out += Utf8(candidate.yomi);
            if (candidate.gender != NameGender::None) {
                out += "・";
                out += Utf8(CandidateGenderLabel(candidate));
            }
            out += "）";
        }
        field("画数 ", GivenStrokes(candidate.record));
        for (const FortuneKind kind : {Person, Earth, Outer, Total}) {
            field(Utf8(FortuneLabels()[kind]), " ");
            out += std::to_string(candidate.record.Fortunes[kind]);
            out += Utf8(GradeMark(candidate.keywords[kind].grade));
        }
        field("評点 ", std::to_string(candidate.score));
        field("三才 ", Utf8(VerdictName(candidate.sansai.verdict)));
        field("陰陽 ", Utf8(VerdictName(candidate.inyo.verdict)));
        field(TitleOf(JudgedColumn::Registrable), " ");
        out += RegistryLabel(CandidateRegistry(candidate));
        field(TitleOf(JudgedColumn::GenderLean), " ");
        out += Utf8(GenderLeanLabel(candidate.lean));
        if (!candidate.registrable) {
            out += "\t※戸籍に使えない字 ";
            for (const std::string& character : candidate.unregistrable) out += Utf8(character);
        }
        if (!candidate.avoided.empty()) {
            out += "\t※避けたい字 ";
            out += Utf8(AvoidedKanjiNote(candidate.avoided));
        }
        out += "\n";
    }
}

}  // namespace

int RunNameSearch(const CliOptions& options, std::ostream& out, std::ostream& err,
                  const Tables& tables, const NameSearchData& data) {
    const NameSearchFilters& filters = options.search;
    const NameSearchResult result = SearchNames(filters, tables, data);
    if (result.refusal) {
        err << Utf8(result.refusal->Message()) << "\n";
        return ExitRefused;
    }
    for (const std::string& note : result.notes)
        err << "soten-cli: " << TerminalText(Utf8(note)) << "\n";
    if (!result.problem.empty()) {
        err << "soten-cli: " << TerminalText(Utf8(result.problem)) << "\n";
        return ExitUsage;
    }
    std::string text;
    if (options.format == Format::Text) {
        AppendText(filters, result, text);
    } else {
        RecordWriter(tables, {options.format, false, true, {}})
            .AppendSearch(filters, result, text, SurnameYomiOf(filters.surname));
    }
    return WriteAll(out, err, text) ? ExitReadingMade : ExitIo;
}

}  // namespace soten::cli
