#include "tests/support/FixtureTables.h"

#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "analysis/text/ShiftJis.h"

namespace soten::test {
namespace {

// Characters by stroke count, 新字式 then 本字式. Enough for the worked
// examples and the edge cases the engine tests walk through.
struct FixtureLine {
    int strokes;
    const char* shinji;
    const char* honji;
};

constexpr std::array<FixtureLine, 30> FixtureLines = {{
    {1, "①一ーゝヽ", "一ー"},
    {2, "②二", "二"},
    {3, "③三山子々ゞヾ", "三山子"},
    {4, "④太木", "太木"},
    {5, "⑤田辺", "田"},
    {6, "⑥池", ""},
    {7, "⑦花佐村", "佐村池"},
    {8, "⑧奈林", "奈林"},
    {9, "⑨郎", ""},
    {10, "⑩", "花"},
    {11, "⑪", ""},
    {12, "⑫渡", ""},
    {13, "⑬﨩", "渡"},
    {14, "⑭﨩", "郎"},
    {15, "⑮", ""},
    {16, "⑯", ""},
    {17, "⑰", ""},
    {18, "⑱", "﨩"},
    {19, "⑲", ""},
    {20, "⑳", ""},
    {21, "", ""},
    {22, "", "辺"},
    {23, "", ""},
    {24, "", ""},
    {25, "", ""},
    {26, "", ""},
    {27, "", ""},
    {28, "", "鬱"},
    {29, "", ""},
    {30, "驫", "驫"},
}};

std::string FixtureStrokeText() {
    std::string text;
    for (const auto& line : FixtureLines) text.append(line.shinji).append("\n");
    for (const auto& line : FixtureLines) text.append(line.honji).append("\n");
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

std::string FullWidthNumber(int number) {
    static const std::array<const char*, 10> digits = {"０", "１", "２", "３", "４",
                                                       "５", "６", "７", "８", "９"};
    std::string text;
    for (char c : std::to_string(number)) text += digits[static_cast<std::size_t>(c - '0')];
    return text;
}

}  // namespace

std::string Sjis(std::string_view utf8) {
    auto converted = Cp932::FromUtf8(utf8);
    if (!converted) throw std::invalid_argument("test literal not encodable: " + std::string(utf8));
    return *converted;
}

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

std::vector<std::string> ReportLines(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(report.substr(start, end - start));
    }
    return lines;
}

std::string FixtureReadingRow(int row) {
    // About a hundred characters, like the real texts, so readings wrap over
    // a realistic number of lines.
    std::string text = "これは，第" + FullWidthNumber(row) + "行の文章です。";
    static const char* const filler[] = {"あさひがのぼる", "かぜがふく", "はながさく", "とりがなく",
                                         "つきがでる"};
    for (int i = 0; CountCharacters(Sjis(text)) < 92; ++i) {
        text += filler[(row + i) % 5];
        text += i % 3 == 2 ? "。" : "，";
    }
    if (text.substr(text.size() - 3) == "，") text.replace(text.size() - 3, 3, "。");
    return text;
}

const Tables& FixtureTables() {
    static const Tables tables = [] {
        std::string readings;
        for (int row = 0; row < 110; ++row) readings += FixtureReadingRow(row) + "\n";
        return Tables::FromUtf8(FixtureStrokeText(),
                                ReadFile(std::string(SOTEN_SOURCE_DIR) + "/data/keywords.txt"),
                                readings);
    }();
    return tables;
}

Reading ReadingOf(std::string_view surname, std::string_view given, StrokeStyle style,
                  const Tables& tables) {
    auto outcome = MakeReading({Sjis(surname), Sjis(given)}, style, tables);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        throw std::runtime_error("refused: " + std::string(surname) + " " + std::string(given) +
                                 ": " + Utf8(refusal->Message()));
    }
    return std::get<Reading>(std::move(outcome));
}

}  // namespace soten::test
