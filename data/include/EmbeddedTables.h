#pragma once

#include <string_view>

// The text of the tables in data/, compiled into the program: as it stands
// (UTF-8), and the three tables of a reading converted to code page 932 at
// build time, so that the program converts nothing when it starts.
namespace soten::embedded {
std::string_view StrokeDictionaryText();
std::string_view KeywordTableText();
std::string_view ReadingTextTableText();
std::string_view AvoidedKanjiText();

std::string_view StrokeDictionaryCp932();
std::string_view KeywordTableCp932();
std::string_view ReadingTextTableCp932();

// What glibc's iconv makes of code page 932, asked at build time (see
// data/Cp932TableMain.cpp for the layout).
std::string_view Cp932CodeTable();
}  // namespace soten::embedded
