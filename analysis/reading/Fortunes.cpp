#include "analysis/reading/Fortunes.h"

#include "analysis/text/ShiftJis.h"

namespace soten {

void ComputeFortunes(NameRecord& record) {
    const int m = record.Lengths[Surname];
    const int n = record.Lengths[GivenName];
    record.SpiritOne[Surname] = m == 1 ? 1 : 0;
    record.SpiritOne[GivenName] = n == 1 ? 1 : 0;

    std::int32_t surnameSum = 0;
    for (int k = 1; k <= m; ++k) surnameSum += record.Strokes[Surname][k];
    std::int32_t givenSum = 0;
    for (int k = 1; k <= n; ++k) givenSum += record.Strokes[GivenName][k];

    auto& f = record.Fortunes;
    f[Heaven] = record.SpiritOne[Surname] + surnameSum;
    f[Person] = record.Strokes[Surname][m] + record.Strokes[GivenName][1];
    f[Earth] = record.SpiritOne[GivenName] + givenSum;
    f[Outer] = f[Heaven] + f[Earth] - f[Person];
    f[Total] = f[Heaven] + f[Earth] - record.SpiritOne[Surname] - record.SpiritOne[GivenName];
}

Keyword LookupKeyword(const Tables& tables, std::int32_t number) {
    const std::string& row = tables.KeywordRow(static_cast<std::size_t>((number - 1) % 80));
    return Keyword{row[0] - '0', row.substr(1, 4)};
}

const std::array<std::string, FortuneCount>& FortuneLabels() {
    static const std::array<std::string, FortuneCount> labels = {
        Cp932Text("天運"), Cp932Text("人運"), Cp932Text("地運"), Cp932Text("外運"),
        Cp932Text("総運")};
    return labels;
}

const std::string& GradeMark(int grade) {
    static const std::array<std::string, 4> marks = {Cp932Text("◎"), Cp932Text("○"), Cp932Text("△"),
                                                     Cp932Text("×")};
    return marks.at(static_cast<std::size_t>(grade - 1));
}

}  // namespace soten
