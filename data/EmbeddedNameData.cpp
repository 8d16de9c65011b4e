#include "data/include/EmbeddedNameData.h"

#include "data/include/EmbedFile.h"

SOTEN_EMBED_FILE(soten_given_names, SOTEN_GIVEN_NAMES_FILE);
SOTEN_EMBED_FILE(soten_name_kanji, SOTEN_NAME_KANJI_FILE);
SOTEN_EMBED_FILE(soten_kanji_readings, SOTEN_KANJI_READINGS_FILE);
SOTEN_EMBED_FILE(soten_name_likeness, SOTEN_NAME_LIKENESS_FILE);
SOTEN_EMBED_FILE(soten_kanji_folds, SOTEN_KANJI_FOLDS_FILE);
SOTEN_EMBED_FILE(soten_given_name_traits, SOTEN_GIVEN_NAME_TRAITS_FILE);
SOTEN_EMBED_FILE(soten_surname_readings, SOTEN_SURNAME_READINGS_FILE);
SOTEN_EMBED_FILE(soten_common_words, SOTEN_COMMON_WORDS_FILE);

SOTEN_EMBEDDED_SYMBOLS(soten_given_names);
SOTEN_EMBEDDED_SYMBOLS(soten_name_kanji);
SOTEN_EMBEDDED_SYMBOLS(soten_kanji_readings);
SOTEN_EMBEDDED_SYMBOLS(soten_name_likeness);
SOTEN_EMBEDDED_SYMBOLS(soten_kanji_folds);
SOTEN_EMBEDDED_SYMBOLS(soten_given_name_traits);
SOTEN_EMBEDDED_SYMBOLS(soten_surname_readings);
SOTEN_EMBEDDED_SYMBOLS(soten_common_words);

namespace soten::embedded {

std::string_view GivenNamesCp932() {
    return SOTEN_EMBEDDED(soten_given_names);
}

std::string_view NameKanjiCp932() {
    return SOTEN_EMBEDDED(soten_name_kanji);
}

std::string_view KanjiReadingsCp932() {
    return SOTEN_EMBEDDED(soten_kanji_readings);
}

std::string_view NameLikenessCp932() {
    return SOTEN_EMBEDDED(soten_name_likeness);
}

std::string_view KanjiFoldsCp932() {
    return SOTEN_EMBEDDED(soten_kanji_folds);
}

std::string_view GivenNameTraitsCp932() {
    return SOTEN_EMBEDDED(soten_given_name_traits);
}

std::string_view SurnameReadingsCp932() {
    return SOTEN_EMBEDDED(soten_surname_readings);
}

std::string_view CommonWordsCp932() {
    return SOTEN_EMBEDDED(soten_common_words);
}

}  // namespace soten::embedded
