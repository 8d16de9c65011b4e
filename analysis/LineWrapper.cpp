#include "LineWrapper.h"

#include <string_view>

#include "ShiftJis.h"

namespace soten {
namespace {

constexpr int LastLine = WrappedLineCount - 1;

// Marks that may not begin a line: "。", "，" and "”".
bool IsProhibitedAtLineStart(std::string_view unit) {
    const unsigned code = UnitCode(unit);
    return code == 0x8142 || code == 0x8143 || code == 0x8168;
}

void Wrap(std::string_view text, bool paragraphEnd, std::array<std::string, WrappedLineCount>& set,
          std::int32_t& counter, std::size_t normalWidth, std::size_t wideWidth) {
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const std::string_view unit = text.substr(i, 2);
        const std::size_t length = set[static_cast<std::size_t>(counter)].size();
        if ((length == normalWidth && !IsProhibitedAtLineStart(unit)) || length == wideWidth) {
            if (counter == LastLine) return;
            ++counter;
        }
        set[static_cast<std::size_t>(counter)].append(unit);
    }
    if (paragraphEnd && counter < LastLine) ++counter;
}

}  // namespace

void ResetLines(NameRecord& record, ReadingLines& lines) {
    record.ScreenLineIndex = 0;
    record.PrintLineIndex = 0;
    for (auto& line : lines.ScreenLines) line.clear();
    for (auto& line : lines.PrintLines) line.clear();
}

void WrapReading(NameRecord& record, ReadingLines& lines) {
    const bool paragraphEnd = record.ParagraphEnd == 1;
    Wrap(record.ReadingText, paragraphEnd, lines.ScreenLines, record.ScreenLineIndex, 52, 54);
    Wrap(record.ReadingText, paragraphEnd, lines.PrintLines, record.PrintLineIndex, 70, 72);
}

}  // namespace soten
