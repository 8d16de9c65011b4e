#pragma once

#include <string_view>

// The UTF-8 text of the name search's data files in data/, compiled into the
// program: given-names.txt and name-kanji.txt (see data/README.md).
namespace soten::embedded {
std::string_view GivenNamesText();
std::string_view NameKanjiText();
}  // namespace soten::embedded
