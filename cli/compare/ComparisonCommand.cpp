#include "cli/compare/ComparisonCommand.h"

#include <optional>
#include <ostream>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Reading.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/records/RecordWriter.h"
#include "analysis/shortlist/NameComparison.h"
#include "analysis/text/Cp932.h"
#include "cli/app/TerminalText.h"
#include "cli/batch/BatchLine.h"

namespace soten::cli {
namespace {

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

// A refusal as said to the user: its message and the characters not
// counted, named as they were typed (UTF-8).
struct SaidRefusal {
    std::string message;
    std::vector<std::string> characters;
};

// A name listed: its entry (code page 932) and its names as typed (UTF-8;
// a refusal names what was typed).
struct ListedName {
    ShortlistEntry entry;
    std::string surname;
    std::string given;
};

// What became of a listed name. Each is made, written and let go in turn:
// a reading holds its whole report, and a listing may hold a hundred
// thousand names.
struct JudgedName {
    ComparedName compared;
    std::optional<SaidRefusal> refusal;
};

// What is listed: --compare gives one surname and style for all its names.
struct Listing {
    bool shortlist = false;
    std::string surname;  // UTF-8, --compare only
    StrokeStyle style = StrokeStyle::Shinji;
    std::vector<ListedName> names;
};

JudgedName Judge(const ListedName& name, const Tables& tables) {
    JudgedName judged{CompareName(name.entry, tables), std::nullopt};
    if (!judged.compared.refusal) return judged;
    const Refusal& refusal = *judged.compared.refusal;
    SaidRefusal& said = judged.refusal.emplace();
    said.message = Utf8(refusal.Message());
    if (refusal.reason == Refusal::Reason::UncountableCharacters) {
        said.characters = UnknownCharacters({name.entry.surname, name.entry.given},
                                            name.entry.style, tables, name.surname, name.given);
    }
    return judged;
}

// A JSON string on its own, escaped as the records escape theirs.
std::string JsonString(std::string_view text) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> json(buffer);
    json.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    return {buffer.GetString(), buffer.GetSize()};
}

// "3-5": the counts of the given name.
std::string GivenStrokes(const NameRecord& record) {
    std::string text;
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        if (k > 1) text += '-';
        text += std::to_string(record.Strokes[GivenName][static_cast<std::size_t>(k)]);
    }
    return text;
}

constexpr std::array<FortuneKind, FortuneCount> TableFortunes = {Heaven, Person, Earth, Outer,
                                                                 Total};

// A row of the table; a refused name's refusal spans the columns of the
// reading.
struct TableRow {
    std::vector<std::string> cells;
    std::optional<std::string> refusal;
};

struct TableColumns {
    std::vector<std::string> titles;
    std::vector<bool> right;   // numbers are aligned to the right
    std::size_t spanFrom = 0;  // the columns a refusal spans
    std::size_t spanTo = 0;    // one past the last
};

TableColumns ColumnsOf(bool shortlist) {
    TableColumns columns;
    const auto add = [&columns](const std::string& title, bool right) {
        columns.titles.push_back(title);
        columns.right.push_back(right);
    };
    using enum JudgedColumn;
    const auto title = [](JudgedColumn column) { return std::string(TitleOf(column)); };
    add(title(Given), false);
    add(title(Yomi), false);
    // Named by what it is to a reader of plain text, where 方式 alone says little.
    if (shortlist) add("画数式", false);
    columns.spanFrom = columns.titles.size();
    add(title(Strokes), false);
    for (const FortuneKind kind : TableFortunes) add(title(FortuneColumn(kind)), true);
    add(title(Score), true);
    add(title(Registrable), false);
    add(title(Sansai), false);
    add(title(Inyo), false);
    columns.spanTo = columns.titles.size();
    add(title(Romaji), false);
    if (shortlist) add(title(Note), false);
    return columns;
}

TableRow RowOf(const ListedName& name, const JudgedName& judged, const TableColumns& columns,
               bool shortlist) {
    TableRow row;
    row.cells.resize(columns.titles.size());
    std::size_t at = 0;
    row.cells[at++] = shortlist ? name.surname + " " + name.given : name.given;
    row.cells[at++] = Utf8(name.entry.reading);
    if (shortlist) row.cells[at++] = Utf8(StrokeStyleName(name.entry.style));
    if (shortlist) row.cells.back() = Utf8(name.entry.note);
    const SpokenName& spoken = judged.compared.spoken;
    row.cells[columns.spanTo] = spoken.fullName.empty() ? spoken.romaji : spoken.fullName;
    if (judged.refusal) {
        std::string refusal = judged.refusal->message;
        if (!judged.refusal->characters.empty()) {
            refusal += "　";
            refusal += LackedCharactersText(judged.refusal->characters, true);
        }
        row.refusal = std::move(refusal);
        return row;
    }
    const ComparedName& compared = judged.compared;
    const NameRecord& record = compared.reading->Counted();
    row.cells[at++] = GivenStrokes(record);
    for (const FortuneKind kind : TableFortunes) {
        std::string& cell = row.cells[at++];
        cell = std::to_string(record.Fortunes[kind]);
        cell += Utf8(GradeMark(compared.keywords[kind].grade));
    }
    row.cells[at++] = std::to_string(compared.score);
    std::string& registry = row.cells[at++];
    registry = RegistryText(compared);
    if (!compared.registrable) {
        registry += "（";
        for (const std::string& character : compared.unregistrable) registry += Utf8(character);
        registry += "）";
    }
    row.cells[at++] = Utf8(VerdictName(compared.sansai.verdict));
    row.cells[at++] = Utf8(VerdictName(compared.inyo.verdict));
    return row;
}

void Pad(std::size_t width, std::string& out) {
    out.append(width, ' ');
}

// The names in columns two spaces apart, aligned by their width on a
// terminal; a line ends with its last character. Only the cells are kept
// until the widths are known.
class TextListing {
public:
    explicit TextListing(bool shortlist)
        : columns_(ColumnsOf(shortlist)), shortlist_(shortlist), rows_{{columns_.titles, {}}} {}

    void Add(const ListedName& name, const JudgedName& judged) {
        TableRow row = RowOf(name, judged, columns_, shortlist_);
        // Names and notes come from the user's list: no control character
        // of theirs reaches the terminal.
        for (std::string& cell : row.cells) cell = TerminalText(cell);
        if (row.refusal) row.refusal = TerminalText(*row.refusal);
        rows_.push_back(std::move(row));
        // Below the table, so that its columns stay as they are.
        if (!judged.compared.avoided.empty()) {
            notes_ += "※避けたい字（";
            notes_ += TerminalText(shortlist_ ? name.surname + " " + name.given : name.given);
            notes_ += "） ";
            notes_ += Utf8(AvoidedKanjiNote(judged.compared.avoided));
            notes_ += '\n';
        }
    }

    std::string Text(const Listing& listing) const {
        std::vector<std::size_t> widths(columns_.titles.size(), 0);
        for (const TableRow& row : rows_) {
            for (std::size_t c = 0; c < widths.size(); ++c) {
                if (row.refusal && c >= columns_.spanFrom && c < columns_.spanTo) continue;
                widths[c] = std::max(widths[c], DisplayWidth(row.cells[c]));
            }
        }
        std::string text;
        if (!listing.shortlist) {
            text += TerminalText(listing.surname);
            text += "（";
            text += Utf8(StrokeStyleName(listing.style));
            text += "）\n";
        }
        for (const TableRow& row : rows_) AppendLine(row, widths, text);
        text += notes_;
        return text;
    }

private:
    void AppendLine(const TableRow& row, const std::vector<std::size_t>& widths,
                    std::string& text) const {
        std::string line;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            if (c > 0) line += "  ";
            if (row.refusal && c == columns_.spanFrom) {
                std::size_t span = 2 * (columns_.spanTo - columns_.spanFrom - 1);
                for (std::size_t s = columns_.spanFrom; s < columns_.spanTo; ++s) span += widths[s];
                line += *row.refusal;
                Pad(span - std::min(span, DisplayWidth(*row.refusal)), line);
                c = columns_.spanTo - 1;
                continue;
            }
            const std::string& cell = row.cells[c];
            const std::size_t padding = widths[c] - DisplayWidth(cell);
            if (columns_.right[c]) Pad(padding, line);
            line += cell;
            if (!columns_.right[c]) Pad(padding, line);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line;
        text += '\n';
    }

    TableColumns columns_;
    bool shortlist_;
    std::vector<TableRow> rows_;
    std::string notes_;
};

// Records go out a block at a time, so the output never holds the listing.
constexpr std::size_t OutputBlock = 1 << 16;

int WriteListing(const Listing& listing, const CliOptions& options, std::ostream& out,
                 std::ostream& err, const Tables& tables, const CliServices& services) {
    bool refused = false;
    if (options.format == Format::Text) {
        TextListing text(listing.shortlist);
        for (const ListedName& name : listing.names) {
            const JudgedName judged = Judge(name, tables);
            refused = refused || judged.refusal.has_value();
            text.Add(name, judged);
        }
        if (!WriteAll(out, err, text.Text(listing))) return ExitIo;
    } else {
        RecordOptions recordOptions = RecordOptionsOf(options);
        recordOptions.reading = true;
        recordOptions.note = listing.shortlist;
        RecordWriter writer(tables, recordOptions);
        const bool json = options.format == Format::Json;
        // {"surname":…,"style":…,"names":[…]} (--compare) or {"names":[…]},
        // on one line; TSV and CSV are a header and a line a name.
        std::string block;
        if (json) {
            block += '{';
            if (!listing.shortlist) {
                block += "\"surname\":";
                block += JsonString(listing.surname);
                block += ",\"style\":";
                block += JsonString(StyleName(listing.style));
                block += ',';
            }
            block += "\"names\":[";
        } else {
            if (options.bom) block = "\xEF\xBB\xBF";
            writer.AppendHeader(block);
        }
        std::string record;
        for (const ListedName& name : listing.names) {
            const JudgedName judged = Judge(name, tables);
            refused = refused || judged.refusal.has_value();
            record.clear();
            writer.AppendCompared(
                judged.compared, listing.shortlist, record, name.surname, name.given,
                judged.refusal ? std::span<const std::string>(judged.refusal->characters)
                               : std::span<const std::string>());
            if (json) {
                // Each record is whole JSON already, ended by its line break.
                if (&name != &listing.names.front()) block += ',';
                record.pop_back();
            }
            block += record;
            if (block.size() >= OutputBlock) {
                if (!WriteAll(out, err, block)) return ExitIo;
                block.clear();
            }
        }
        if (json) block += "]}\n";
        if (!WriteAll(out, err, block)) return ExitIo;
    }
    if (!options.pdfPath.empty()) {
        std::vector<ShortlistEntry> entries;
        for (const ListedName& name : listing.names) entries.push_back(name.entry);
        if (entries.empty()) {
            err << "soten-cli: " << TerminalText(options.pdfPath)
                << " に書き込めません。候補リストが空です\n";
            return ExitIo;
        }
        const std::string failure = services.writeComparisonPdf(entries, options.pdfPath);
        if (!failure.empty()) {
            err << "soten-cli: " << failure << "\n";
            return ExitIo;
        }
    }
    return refused ? ExitRefused : ExitReadingMade;
}

bool CanPrint(const CliOptions& options, std::ostream& err, const CliServices& services) {
    if (options.pdfPath.empty() || services.writeComparisonPdf) return true;
    err << "soten-cli: このビルドには印刷の機能がありません\n";
    return false;
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        while (i + length < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        // U+FF61..U+FF9F, half-width katakana: EF BD A1..EF BD BF, EF BE 80..EF BE 9F.
        const bool halfWidthKana =
            length == 3 && lead == 0xEF &&
            ((utf8[i + 1] == '\xBD' && static_cast<unsigned char>(utf8[i + 2]) >= 0xA1) ||
             (utf8[i + 1] == '\xBE' && static_cast<unsigned char>(utf8[i + 2]) <= 0x9F));
        width += lead < 0x80 || halfWidthKana ? 1 : 2;
        i += length;
    }
    return width;
}

int RunCompare(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables, const CliServices& services) {
    if (!CanPrint(options, err, services)) return ExitUsage;
    Listing listing;
    listing.surname = options.surname;
    listing.style = options.style;
    const auto surname = Cp932::NameFromUtf8(options.surname);
    for (const GivenToCompare& compared : options.compared) {
        const auto given = Cp932::NameFromUtf8(compared.given);
        if (!surname || !given) {
            err << "soten-cli: 名前が UTF-8 ではありません\n";
            return ExitUsage;
        }
        ListedName& name = listing.names.emplace_back();
        name.entry = {*surname, *given, compared.reading, options.style, {}};
        name.surname = options.surname;
        name.given = compared.given;
    }
    return WriteListing(listing, options, out, err, tables, services);
}

int RunShortlist(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const Tables& tables, const CliServices& services) {
    if (!CanPrint(options, err, services)) return ExitUsage;
    if (!services.loadShortlist) {
        err << "soten-cli: このビルドは候補リストを読めません\n";
        return ExitUsage;
    }
    const SavedShortlist saved = services.loadShortlist();
    if (!saved.problem.empty()) err << "soten-cli: " << TerminalText(saved.problem) << "\n";
    Listing listing;
    listing.shortlist = true;
    for (const ShortlistEntry& entry : saved.list.Entries()) {
        ListedName& name = listing.names.emplace_back();
        name.entry = entry;
        name.surname = entry.SurnameUtf8();
        name.given = entry.GivenUtf8();
    }
    return WriteListing(listing, options, out, err, tables, services);
}

}  // namespace soten::cli
