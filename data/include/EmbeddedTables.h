#pragma once

#include <string_view>

// The UTF-8 text of the tables in data/, compiled into the program.
namespace soten::embedded {
std::string_view StrokeDictionaryText();
std::string_view KeywordTableText();
std::string_view ReadingTextTableText();
std::string_view AvoidedKanjiText();
}  // namespace soten::embedded
