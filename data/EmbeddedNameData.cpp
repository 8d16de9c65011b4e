#include "data/include/EmbeddedNameData.h"

// Includes the files' bytes at assembly time, each between two symbols.
#define SOTEN_EMBED_FILE(symbol, file)        \
    asm(".pushsection .rodata\n"              \
        ".global " #symbol "_begin\n" #symbol \
        "_begin:\n"                           \
        ".incbin \"" file                     \
        "\"\n"                                \
        ".global " #symbol "_end\n" #symbol   \
        "_end:\n"                             \
        ".byte 0\n"                           \
        ".popsection\n")

SOTEN_EMBED_FILE(soten_given_names, SOTEN_GIVEN_NAMES_FILE);
SOTEN_EMBED_FILE(soten_name_kanji, SOTEN_NAME_KANJI_FILE);
SOTEN_EMBED_FILE(soten_kanji_readings, SOTEN_KANJI_READINGS_FILE);
SOTEN_EMBED_FILE(soten_name_likeness, SOTEN_NAME_LIKENESS_FILE);
SOTEN_EMBED_FILE(soten_kanji_folds, SOTEN_KANJI_FOLDS_FILE);
SOTEN_EMBED_FILE(soten_given_name_traits, SOTEN_GIVEN_NAME_TRAITS_FILE);
SOTEN_EMBED_FILE(soten_surname_readings, SOTEN_SURNAME_READINGS_FILE);
SOTEN_EMBED_FILE(soten_common_words, SOTEN_COMMON_WORDS_FILE);

extern "C" {
extern const char soten_given_names_begin[];
extern const char soten_given_names_end[];
extern const char soten_name_kanji_begin[];
extern const char soten_name_kanji_end[];
extern const char soten_kanji_readings_begin[];
extern const char soten_kanji_readings_end[];
extern const char soten_name_likeness_begin[];
extern const char soten_name_likeness_end[];
extern const char soten_kanji_folds_begin[];
extern const char soten_kanji_folds_end[];
extern const char soten_given_name_traits_begin[];
extern const char soten_given_name_traits_end[];
extern const char soten_surname_readings_begin[];
extern const char soten_surname_readings_end[];
extern const char soten_common_words_begin[];
extern const char soten_common_words_end[];
}

namespace soten::embedded {

std::string_view GivenNamesCp932() {
    return {soten_given_names_begin,
            static_cast<std::size_t>(soten_given_names_end - soten_given_names_begin)};
}

std::string_view NameKanjiCp932() {
    return {soten_name_kanji_begin,
            static_cast<std::size_t>(soten_name_kanji_end - soten_name_kanji_begin)};
}

std::string_view KanjiReadingsCp932() {
    return {soten_kanji_readings_begin,
            static_cast<std::size_t>(soten_kanji_readings_end - soten_kanji_readings_begin)};
}

std::string_view NameLikenessCp932() {
    return {soten_name_likeness_begin,
            static_cast<std::size_t>(soten_name_likeness_end - soten_name_likeness_begin)};
}

std::string_view KanjiFoldsCp932() {
    return {soten_kanji_folds_begin,
            static_cast<std::size_t>(soten_kanji_folds_end - soten_kanji_folds_begin)};
}

std::string_view GivenNameTraitsCp932() {
    return {soten_given_name_traits_begin,
            static_cast<std::size_t>(soten_given_name_traits_end - soten_given_name_traits_begin)};
}

std::string_view SurnameReadingsCp932() {
    return {soten_surname_readings_begin,
            static_cast<std::size_t>(soten_surname_readings_end - soten_surname_readings_begin)};
}

std::string_view CommonWordsCp932() {
    return {soten_common_words_begin,
            static_cast<std::size_t>(soten_common_words_end - soten_common_words_begin)};
}

}  // namespace soten::embedded
