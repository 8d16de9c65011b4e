#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "analysis/reading/NameRecord.h"

namespace soten {

// The columns in which a judged name (a kept name compared, a candidate of
// the name search) is shown, wherever it is shown: the shortlist and the
// candidates in the window, the printed comparison, soten-cli's tables and
// records. Each table takes the columns it needs, in its own order.
enum class JudgedColumn : std::size_t {
    Surname,
    Given,
    Yomi,
    Style,
    Gender,
    Strokes,
    Heaven,
    Person,
    Earth,
    Outer,
    Total,
    Score,
    Registrable,
    Sansai,
    Inyo,
    Note,
    SurnameYomi,
    Romaji,
    Initials,
    SoundNotes,
    GenderLean,  // whom the parts of the yomi lean to (LeanOf)
};

namespace detail {

struct JudgedColumnNames {
    std::string_view title;  // for people, UTF-8
    std::string_view key;    // in records
};

inline constexpr std::array<JudgedColumnNames, 21> JudgedColumnTable = {{
    {"名字", "surname"},
    {"名前", "given"},
    {"読み", "reading"},
    {"方式", "style"},
    {"性別", "gender"},
    {"画数", "strokes"},
    {"天運", "heaven"},
    {"人運", "person"},
    {"地運", "earth"},
    {"外運", "outer"},
    {"総運", "total"},
    {"評点", "score"},
    {"戸籍", "registrable"},
    {"三才", "sansai"},
    {"陰陽", "inyo"},
    {"メモ", "note"},
    {"名字の読み", "surnameReading"},
    {"ローマ字", "romaji"},
    {"頭文字", "initials"},
    {"音の注意", "soundNotes"},
    {"性別の傾向", "genderLean"},
}};

}  // namespace detail

// The column's heading for people (UTF-8): "名字", "天運", "戸籍", ...
constexpr std::string_view TitleOf(JudgedColumn column) {
    return detail::JudgedColumnTable[static_cast<std::size_t>(column)].title;
}

// The column's key in records (JSON keys, TSV and CSV headers): "surname",
// "heaven", "registrable", ... Each is a null-terminated literal.
constexpr std::string_view KeyOf(JudgedColumn column) {
    return detail::JudgedColumnTable[static_cast<std::size_t>(column)].key;
}

// The column of one of the five numbers.
constexpr JudgedColumn FortuneColumn(FortuneKind kind) {
    return static_cast<JudgedColumn>(static_cast<std::size_t>(JudgedColumn::Heaven) +
                                     static_cast<std::size_t>(kind));
}

}  // namespace soten
