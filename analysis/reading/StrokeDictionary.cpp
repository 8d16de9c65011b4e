#include "analysis/reading/StrokeDictionary.h"

#include <stdexcept>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

constexpr std::size_t CodeSpace = 0x10000;

std::size_t IndexSlot(StrokeStyle style, unsigned code) {
    return static_cast<std::size_t>(style) * CodeSpace + code;
}

bool IsDoubleByteUnit(std::string_view unit) {
    return unit.size() == 2 && IsLeadByte(static_cast<unsigned char>(unit[0]));
}

}  // namespace

StrokeDictionary::StrokeDictionary(std::vector<std::string> lines)
    : lines_(std::move(lines)), index_(2 * CodeSpace, 0) {
    if (lines_.size() != LineCount) {
        throw std::invalid_argument("stroke dictionary must have 60 lines");
    }
    for (int line = 0; line < LineCount; ++line) {
        const std::string& text = lines_[static_cast<std::size_t>(line)];
        if (text.size() % 2 != 0) {
            throw std::invalid_argument("stroke dictionary line with an odd byte count");
        }
        const auto style = static_cast<StrokeStyle>(line / LinesPerStyle);
        const int strokes = line % LinesPerStyle + 1;
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const std::string_view unit(text.data() + i, 2);
            if (!IsDoubleByteUnit(unit)) {
                throw std::invalid_argument("stroke dictionary holds a single-byte character");
            }
            auto& slot = index_[IndexSlot(style, Cp932::CanonicalCode(UnitCode(unit)))];
            if (slot == 0) slot = static_cast<std::uint8_t>(strokes);
        }
    }
}

int StrokeDictionary::Find(StrokeStyle style, std::string_view unit) const {
    if (!IsDoubleByteUnit(unit)) return 0;
    return index_[IndexSlot(style, Cp932::CanonicalCode(UnitCode(unit)))];
}

int StrokeDictionary::FindByScan(StrokeStyle style, std::string_view unit) const {
    if (!IsDoubleByteUnit(unit)) return 0;
    const unsigned wanted = Cp932::CanonicalCode(UnitCode(unit));
    const int first = static_cast<int>(style) * LinesPerStyle;
    for (int n = 1; n <= LinesPerStyle; ++n) {
        const std::string& text = lines_[static_cast<std::size_t>(first + n - 1)];
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            if (Cp932::CanonicalCode(UnitCode(std::string_view(text.data() + i, 2))) == wanted) {
                return n;
            }
        }
    }
    return 0;
}

}  // namespace soten
