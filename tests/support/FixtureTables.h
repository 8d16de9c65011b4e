#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/text/Cp932.h"

namespace soten::test {

// UTF-8 test literal in code page 932 (fails the test run loudly if the
// literal cannot be encoded).
std::string Sjis(std::string_view utf8);

// UTF-8 of code page 932 bytes, for readable failure messages.
std::string Utf8(std::string_view cp932);

// Small tables for the engine's own tests, independent of the committed data:
// a dictionary with the characters of the worked examples in both styles, the
// real keyword table, and reading rows that name their own index
// ("これは，第１２３行の文章です。…", padded to a realistic length).
const Tables& FixtureTables();

// The lines of a report, without their CR LF; text after the last CR LF is
// left out.
std::vector<std::string> ReportLines(const std::string& report);

// The reading of names given in UTF-8; throws (failing the test) when they
// are refused.
Reading ReadingOf(std::string_view surname, std::string_view given,
                  StrokeStyle style = StrokeStyle::Shinji, const Tables& tables = FixtureTables());

// The fixture text of reading row `row`.
std::string FixtureReadingRow(int row);

}  // namespace soten::test
