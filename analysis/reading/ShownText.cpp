#include "analysis/reading/ShownText.h"

#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"

namespace soten {

namespace {

// "ー" and "｜" in code page 932.
constexpr std::string_view LongVowelMark = "\x81\x5B";
constexpr std::string_view VerticalLine = "\x81\x62";

}  // namespace

std::string FortuneValueText(std::int32_t number) {
    static const std::string colon = Cp932Text("：");
    static const std::string open = Cp932Text("［");
    std::string text = number < 100 ? colon : std::string(":");
    text += PaddedNumber(number, number < 100 ? 2 : 3);
    text += open;
    return text;
}

std::string GradeText(const Keyword& keyword) {
    static const std::string numberSuffix = Cp932Text("数");
    return GradeMark(keyword.grade) + ' ' + keyword.word + numberSuffix;
}

std::string ColumnCharacter(std::string_view unit) {
    return std::string(unit == LongVowelMark ? VerticalLine : unit);
}

}  // namespace soten
