#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/reading/ReadingLines.h"
#include "analysis/reading/Report.h"
#include "analysis/reading/Tables.h"

namespace soten {

// The names to read, in code page 932, as typed or picked. `givenYomi` is
// the given name's pronunciation in hiragana when it is known (a name picked
// from the name search or the shortlist), else empty.
struct EnteredNames {
    std::string surname;
    std::string given;
    std::string givenYomi = {};
};

// Why names get no reading. Each reason has the program's own message.
struct Refusal {
    enum class Reason {
        TooManyCharacters,      // "文字数が多すぎます"
        UncountableCharacters,  // "不適切な文字があります"
    };
    Reason reason = Reason::UncountableCharacters;
    // For UncountableCharacters: the distinct characters (code page 932, in
    // the order typed) that the dictionary cannot count; empty for a name
    // with an empty part. A character that code page 932 lacks is SUB.
    std::vector<std::string> characters;

    const std::string& Message() const;
};

const std::string& MessageOf(Refusal::Reason reason);

// The characters the dictionary lacks, named for the user:
// "「a」「b」は辞書にありません"; empty when there are none. The characters
// and the text are code page 932, or UTF-8 when `utf8` is set.
std::string LackedCharactersText(const std::vector<std::string>& characters, bool utf8 = false);

// The distinct characters of the names that the dictionary cannot count in
// the style, named as typed (UTF-8): what a refused reading's record lists.
std::vector<std::string> UnknownCharacters(const EnteredNames& names, StrokeStyle style,
                                           const Tables& tables, std::string_view surnameUtf8,
                                           std::string_view givenUtf8);

// How much of a reading is written out. Composing and wrapping the texts is
// most of a reading's cost, and a batch record often holds only the numbers.
enum class ReadingDetail {
    Whole,    // the report and the lines wrapped for the screen and the page
    Report,   // the report; Lines() is empty
    Numbers,  // neither: Report() and Lines() are empty
};

// 鑑定: everything that is known of an accepted name once it has been read:
// its counted characters, the five numbers with their grades and keywords,
// the report and the reading wrapped for the screen and the printed page
// (as far as its ReadingDetail asks). Made only by MakeReading and never
// changed afterwards.
class Reading {
public:
    const NameRecord& Counted() const { return counted_; }
    const std::string& Surname() const { return counted_.Names[soten::Surname]; }
    const std::string& Given() const { return counted_.Names[GivenName]; }
    const std::string& GivenYomi() const { return givenYomi_; }
    StrokeStyle Style() const { return style_; }

    std::int32_t Fortune(FortuneKind kind) const { return counted_.Fortunes[kind]; }
    const Keyword& KeywordOf(FortuneKind kind) const { return keywords_[kind]; }
    // By FortuneKind.
    const std::array<Keyword, FortuneCount>& Keywords() const { return keywords_; }

    // The report as saved and copied: CR LF after every line.
    const std::string& Report() const { return report_; }
    const ReadingLines& Lines() const;

private:
    friend std::variant<Reading, Refusal> MakeReading(const EnteredNames&, StrokeStyle,
                                                      const Tables&, ReadingDetail);
    Reading() = default;

    NameRecord counted_;
    std::string givenYomi_;
    StrokeStyle style_ = StrokeStyle::Shinji;
    std::array<Keyword, FortuneCount> keywords_{};
    std::string report_;
    // Shared, as it never changes: 62 lines would make every copy and move
    // of a reading slow, and a batch's readings have none.
    std::shared_ptr<const ReadingLines> lines_;
};

// Counts the names in the style: their characters' strokes and the five
// numbers, or why they cannot be read. What MakeReading refuses, this refuses.
std::variant<NameRecord, Refusal> CountName(const EnteredNames& names, StrokeStyle style,
                                            const Tables& tables);

// Reads the names in the style: the reading, or why there is none. A part
// longer than ten characters, or more than twelve in all, is refused first;
// then an empty part or a character the dictionary cannot count. `detail`
// says which texts are composed; the numbers are the same in every detail.
std::variant<Reading, Refusal> MakeReading(const EnteredNames& names, StrokeStyle style,
                                           const Tables& tables,
                                           ReadingDetail detail = ReadingDetail::Whole);

}  // namespace soten
