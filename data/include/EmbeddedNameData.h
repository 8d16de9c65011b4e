#pragma once

#include <string_view>

// The text of the name search's data files in data/, given-names.txt,
// name-kanji.txt, kanji-readings.txt, name-likeness.txt, kanji-folds.txt and
// given-name-traits.txt, of the surnames' readings, surname-readings.txt, and of the words a whole
// name may sound like, common-words.txt (see data/README.md), converted to
// code page 932 at build time and compiled into the program.
namespace soten::embedded {
std::string_view GivenNamesCp932();
std::string_view NameKanjiCp932();
std::string_view KanjiReadingsCp932();
std::string_view NameLikenessCp932();
std::string_view KanjiFoldsCp932();
std::string_view GivenNameTraitsCp932();
std::string_view SurnameReadingsCp932();
std::string_view CommonWordsCp932();
}  // namespace soten::embedded
