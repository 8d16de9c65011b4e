#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/NameRecord.h"

namespace soten {

// The 60 lines of double-byte characters: line 30 × style + (n − 1) holds the
// characters counted with n strokes in that style. The first line that holds
// a character decides its count. An index built once answers a lookup without
// scanning the lines.
class StrokeDictionary {
public:
    static constexpr int LinesPerStyle = 30;
    static constexpr int LineCount = 2 * LinesPerStyle;

    // Takes the lines in code page 932; throws std::invalid_argument unless
    // there are exactly 60 lines of double-byte characters.
    explicit StrokeDictionary(std::vector<std::string> lines);

    const std::string& Line(int index) const { return lines_.at(static_cast<std::size_t>(index)); }

    // The stroke count of a 2-byte unit in a style, 0 when no line of that
    // style holds it. Anything but a double-byte unit is never found.
    int Find(StrokeStyle style, std::string_view unit) const;

    // The same answer by walking the lines in order, as the lookup is defined;
    // kept as the reference the index is checked and measured against.
    int FindByScan(StrokeStyle style, std::string_view unit) const;

private:
    std::vector<std::string> lines_;
    std::vector<std::uint8_t> index_;  // [style][code] -> strokes, 0 when absent
};

}  // namespace soten
