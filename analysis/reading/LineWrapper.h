#pragma once

#include <span>
#include <string_view>

#include "analysis/reading/ReadingLines.h"

namespace soten {

// A paragraph of the reading: its lead sentence and the text of its table row.
struct ReadingParagraph {
    std::string_view lead;
    std::string_view text;
};

// Wraps the paragraphs into the screen lines (26 full-width characters, 27
// with a hanging "。", "，" or "”") and the print lines (35, or 36), an empty
// line after each paragraph but the last. Never writes past line 30: a
// character that would need line 31 is dropped. Text is walked two bytes at
// a time: a trailing odd byte is ignored.
ReadingLines WrapReading(std::span<const ReadingParagraph> paragraphs);

}  // namespace soten
