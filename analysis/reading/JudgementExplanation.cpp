#include "analysis/reading/JudgementExplanation.h"

#include <algorithm>
#include <variant>

#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Reading.h"
#include "analysis/text/ShiftJis.h"

namespace soten {

std::string WeakNumbersLine(const NameRecord& record, const Tables& tables) {
    std::string weak;
    for (const FortuneKind kind : {Person, Earth, Outer, Total}) {
        const int number = record.Fortunes[static_cast<std::size_t>(kind)];
        const int grade = LookupKeyword(tables, number).grade;
        if (grade < 3) continue;
        if (!weak.empty()) weak += Cp932Text("，");
        weak += FortuneLabels()[kind];
        weak += ' ';
        weak += std::to_string(number);
        weak += ' ';
        weak += GradeMark(grade);
    }
    return Cp932Text("評点を下げている数：") + (weak.empty() ? Cp932Text("なし") : weak);
}

std::string SansaiLine(const NameRecord& record) {
    const SansaiReading sansai = ReadSansai(record);
    static const std::string arrow = Cp932Text("→");
    std::string line = Cp932Text("三才配置 ");
    line += VerdictName(sansai.verdict);
    line += Cp932Text("（");
    for (std::size_t i = 0; i < sansai.elements.size(); ++i) {
        if (i > 0) line += arrow;
        line += ElementName(sansai.elements[i]);
    }
    line += Cp932Text(
        "）：天運・人運・地運の末尾の数字を五行に当て，"
        "隣どうしが生かし合うか剋し合うかで運の流れを見るものです。");
    return line;
}

std::string InyoLine(const NameRecord& record) {
    const InyoReading inyo = ReadInyo(record);
    std::string line = Cp932Text("陰陽配列 ");
    line += VerdictName(inyo.verdict);
    line += Cp932Text("（");
    if (inyo.shape != InyoShape::Mixed) {
        line += ShapeName(inyo.shape);
        line += Cp932Text("，");
    }
    line += InyoPattern(inyo);
    line += Cp932Text(
        "）：画数が奇数の字を陽，偶数の字を陰とし，"
        "姓から名への並びに偏りがないかを見るものです。");
    return line;
}

std::string StyleDifferenceLine(const NameRecord& record, const Tables& tables) {
    const EnteredNames names{record.Names[Surname], record.Names[GivenName]};
    const auto shinji = CountName(names, StrokeStyle::Shinji, tables);
    const auto honji = CountName(names, StrokeStyle::Honji, tables);
    if (!std::holds_alternative<NameRecord>(shinji) || !std::holds_alternative<NameRecord>(honji)) {
        return {};
    }
    const NameRecord& a = std::get<NameRecord>(shinji);
    const NameRecord& b = std::get<NameRecord>(honji);
    std::vector<std::string> seen;
    std::string differences;
    for (const NamePart part : {Surname, GivenName}) {
        for (int k = 1; k <= a.Lengths[part]; ++k) {
            const auto index = static_cast<std::size_t>(k);
            const int from = a.Strokes[part][index];
            const int to = b.Strokes[part][index];
            std::string character(Unit(a.Names[part], index));
            if (from == to || std::find(seen.begin(), seen.end(), character) != seen.end()) {
                continue;
            }
            if (!differences.empty()) differences += Cp932Text("，");
            differences += character;
            differences += ' ';
            differences += std::to_string(from);
            differences += Cp932Text(" → ");
            differences += std::to_string(to);
            seen.push_back(std::move(character));
        }
    }
    if (differences.empty()) return Cp932Text("新字式と本字式で画数の違う字はありません");
    return Cp932Text("新字式と本字式の違い：") + differences + Cp932Text("（本字式）");
}

std::vector<std::string> JudgementExplanation(const NameRecord& record, const Tables& tables) {
    std::vector<std::string> lines = {WeakNumbersLine(record, tables), SansaiLine(record),
                                      InyoLine(record)};
    if (std::string style = StyleDifferenceLine(record, tables); !style.empty()) {
        lines.push_back(std::move(style));
    }
    return lines;
}

}  // namespace soten
