#include "analysis/reading/LineWrapper.h"

#include <algorithm>
#include <string_view>

#include "analysis/text/ShiftJis.h"

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
    // Whole 2-byte units only: a trailing odd byte is ignored.
    const std::size_t end = text.size() & ~std::size_t{1};
    std::size_t i = 0;
    while (i < end) {
        std::string& line = set[static_cast<std::size_t>(counter)];
        const std::size_t length = line.size();
        if (length == wideWidth ||
            (length == normalWidth && !IsProhibitedAtLineStart(text.substr(i, 2)))) {
            if (counter == LastLine) return;
            ++counter;
            continue;
        }
        // Up to the normal width nothing needs looking at, so copy that run at
        // once; on a full line only the one hanging mark goes on.
        const std::size_t room = length < normalWidth ? normalWidth - length : wideWidth - length;
        const std::size_t take = std::min(room, end - i);
        line.append(text.substr(i, take));
        i += take;
    }
    if (paragraphEnd && counter < LastLine) ++counter;
}

void WrapReading(std::string_view text, bool paragraphEnd, ReadingLines& lines) {
    Wrap(text, paragraphEnd, lines.ScreenLines, lines.lastScreenLine, 52, 54);
    Wrap(text, paragraphEnd, lines.PrintLines, lines.lastPrintLine, 70, 72);
}

}  // namespace

ReadingLines WrapReading(std::span<const ReadingParagraph> paragraphs) {
    ReadingLines lines;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        WrapReading(paragraphs[i].lead, false, lines);
        WrapReading(paragraphs[i].text, i + 1 < paragraphs.size(), lines);
    }
    return lines;
}

}  // namespace soten
