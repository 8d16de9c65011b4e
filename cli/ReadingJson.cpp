#include "ReadingJson.h"

#include "CliOptions.h"
#include "Cp932.h"
#include "Fortunes.h"
#include "ShiftJis.h"

namespace soten::cli {
namespace {

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

nlohmann::json StrokeList(const NameRecord& record, NamePart part) {
    nlohmann::json list = nlohmann::json::array();
    for (int k = 1; k <= record.Lengths[part]; ++k) list.push_back(record.Strokes[part][k]);
    return list;
}

nlohmann::json Lines(const std::array<std::string, WrappedLineCount>& lines, int lastIndex) {
    nlohmann::json list = nlohmann::json::array();
    for (int i = 0; i <= lastIndex; ++i) list.push_back(Utf8(lines[static_cast<std::size_t>(i)]));
    return list;
}

}  // namespace

nlohmann::json ReadingToJson(const ShownReading& reading, const Tables& tables) {
    const NameRecord& record = reading.record;
    static const std::array<std::pair<const char*, FortuneKind>, FortuneCount> keys = {
        {{"total", Total},
         {"heaven", Heaven},
         {"person", Person},
         {"earth", Earth},
         {"outer", Outer}}};
    nlohmann::json fortunes = nlohmann::json::object();
    nlohmann::json grades = nlohmann::json::object();
    nlohmann::json keywords = nlohmann::json::object();
    for (const auto& [key, kind] : keys) {
        const std::int32_t number = record.Fortunes[kind];
        const Keyword keyword = LookupKeyword(tables, number);
        fortunes[key] = number;
        grades[key] = keyword.grade;
        keywords[key] = Utf8(keyword.word);
    }
    return nlohmann::json{
        {"surname", Utf8(record.Names[Surname])},
        {"given", Utf8(record.Names[GivenName])},
        {"style", StyleName(reading.style)},
        {"strokes",
         {{"surname", StrokeList(record, Surname)}, {"given", StrokeList(record, GivenName)}}},
        {"fortunes", fortunes},
        {"grades", grades},
        {"keywords", keywords},
        {"report", Utf8(record.ReportText)},
        {"screenLines", Lines(reading.lines.ScreenLines, record.ScreenLineIndex)},
        {"printLines", Lines(reading.lines.PrintLines, record.PrintLineIndex)},
        {"screenLineIndex", record.ScreenLineIndex},
        {"printLineIndex", record.PrintLineIndex},
    };
}

nlohmann::json RefusalToJson(const std::string& surnameUtf8, const std::string& givenUtf8,
                             const std::string& messageCp932) {
    return nlohmann::json{
        {"surname", surnameUtf8}, {"given", givenUtf8}, {"error", Utf8(messageCp932)}};
}

}  // namespace soten::cli
