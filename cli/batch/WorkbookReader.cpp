#include "cli/batch/WorkbookReader.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <pugixml.hpp>
#include <string_view>

#include "platform/files/FileErrors.h"

namespace soten::cli {
namespace {

constexpr std::size_t ReadBytes = 64 * 1024;
constexpr std::size_t MaxSmallPartBytes = 64u << 20;  // workbook.xml, styles.xml, the relations

std::string Quoted(const std::string& path) {
    std::string text = "\"";
    text += path;
    text += '"';
    return text;
}

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
    std::string message = "標準入力のブック";
    if (path != "-") {
        message = "ブック ";
        message += Quoted(path);
        message += " ";
    }
    message += "を読めません。";
    message += why;
    throw WorkbookError(message);
}

// Why libzip could not open or unpack: our own words, as for every file
// error, rather than libzip's English.
std::string ZipReason(zip_error_t& error) {
    const int system =
        zip_error_system_type(&error) == ZIP_ET_SYS ? zip_error_code_system(&error) : 0;
    if (zip_error_code_zip(&error) == ZIP_ER_NOENT || system == ENOENT) {
        // The file layer's words for ENOENT speak of a folder to write in.
        return "ファイルが見つかりません";
    }
    if (system != 0) return platform::FileErrorReason(system);
    switch (zip_error_code_zip(&error)) {
        case ZIP_ER_OPNOTSUPP:  // a folder, a device
            return platform::FileErrorReason(platform::NotARegularFile);
        case ZIP_ER_NOZIP:
            return "zip 形式のファイルではありません";
        case ZIP_ER_INCONS:
        case ZIP_ER_EOF:
            return "zip ファイルが壊れているか、途中で切れています";
        case ZIP_ER_CRC:
        case ZIP_ER_ZLIB:
            return "圧縮された中身が壊れています";
        case ZIP_ER_COMPNOTSUPP:
            return "対応していない方式で圧縮されています";
        case ZIP_ER_ENCRNOTSUPP:
        case ZIP_ER_NOPASSWD:
        case ZIP_ER_WRONGPASSWD:
            return "パスワードで保護されています";
        case ZIP_ER_MEMORY:
            return platform::FileErrorReason(ENOMEM);
        default:
            return std::string("zip ファイルとして読めません（libzip のエラー ") +
                   std::to_string(zip_error_code_zip(&error)) + "）";
    }
}

// A zip archive, from a file or from the bytes of a pipe.
class ZipArchive {
public:
    explicit ZipArchive(const std::string& path, bool quiet = false) : path_(path) {
        int error = 0;
        if (path == "-") {
            ReadStandardInput();
            zip_error_t zipError;
            zip_error_init(&zipError);
            zip_source_t* source =
                zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &zipError);
            if (source) {
                zip_ = zip_open_from_source(source, ZIP_RDONLY, &zipError);
                if (!zip_) zip_source_free(source);
            }
            error = zip_error_code_zip(&zipError);
            zip_error_fini(&zipError);
        } else {
            zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
        }
        if (!zip_ && !quiet) {
            zip_error_t zipError;
            zip_error_init_with_code(&zipError, error);
            const std::string why = ZipReason(zipError);
            zip_error_fini(&zipError);
            Damaged(path, why);
        }
    }
    ~ZipArchive() {
        if (zip_) zip_discard(zip_);
    }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool IsOpen() const { return zip_ != nullptr; }
    const std::string& Path() const { return path_; }
    bool Has(const std::string& name) const { return zip_name_locate(zip_, name.c_str(), 0) >= 0; }
    zip_t* Get() const { return zip_; }

private:
    void ReadStandardInput() {
        std::array<char, ReadBytes> chunk;
        while (std::cin.read(chunk.data(), chunk.size()) || std::cin.gcount() > 0) {
            bytes_.append(chunk.data(), static_cast<std::size_t>(std::cin.gcount()));
            if (bytes_.size() > MaxWorkbookInputBytes) {
                Damaged(path_, std::string("標準入力から読むブックは ") +
                                   std::to_string(MaxWorkbookInputBytes >> 20) + " MB までです");
            }
        }
    }

    std::string path_;
    std::string bytes_;
    zip_t* zip_ = nullptr;
};

// One member of the archive, unpacked as it is read; no more than `limit`
// bytes are ever unpacked, whatever the archive's directory claims.
class PartStream {
public:
    PartStream(const ZipArchive& archive, const std::string& name, std::size_t limit)
        : archive_(archive), name_(name), limit_(limit) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive.Get(), name.c_str(), 0, &stat) != 0) {
            Damaged(archive.Path(), name + " がありません");
        }
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit) TooLarge();
        file_ = zip_fopen(archive.Get(), name.c_str(), 0);
        if (!file_) Damaged(archive.Path(), name + " を展開できません");
    }
    ~PartStream() {
        if (file_) zip_fclose(file_);
    }
    PartStream(const PartStream&) = delete;
    PartStream& operator=(const PartStream&) = delete;

    // Appends up to ReadBytes bytes to `out`; false at the end.
    bool Read(std::string& out) {
        const std::size_t before = out.size();
        out.resize(before + ReadBytes);
        const zip_int64_t got = zip_fread(file_, out.data() + before, ReadBytes);
        if (got < 0) {
            out.resize(before);
            Damaged(archive_.Path(),
                    name_ + " が壊れています。" + ZipReason(*zip_file_get_error(file_)));
        }
        out.resize(before + static_cast<std::size_t>(got));
        total_ += static_cast<std::size_t>(got);
        if (total_ > limit_) TooLarge();
        return got > 0;
    }

private:
    [[noreturn]] void TooLarge() const {
        Damaged(archive_.Path(),
                name_ + " は展開すると " + std::to_string(limit_ >> 20) + " MB を超えます");
    }

    const ZipArchive& archive_;
    std::string name_;
    std::size_t limit_;
    zip_file_t* file_ = nullptr;
    std::size_t total_ = 0;
};

std::string ReadWholePart(const ZipArchive& archive, const std::string& name) {
    PartStream stream(archive, name, MaxSmallPartBytes);
    std::string bytes;
    while (stream.Read(bytes)) {
    }
    return bytes;
}

std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_attribute Attribute(const pugi::xml_node& node, std::string_view local) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        if (LocalName(attribute.name()) == local) return attribute;
    }
    return {};
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view local) {
    for (pugi::xml_node child : node.children()) {
        if (LocalName(child.name()) == local) return child;
    }
    return {};
}

void Parse(pugi::xml_document& document, std::string_view xml, const ZipArchive& archive,
           const std::string& part) {
    const pugi::xml_parse_result parsed = document.load_buffer(
        xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
        pugi::encoding_utf8);
    if (!parsed) Damaged(archive.Path(), part + " が正しい XML ではありません");
}

// Finds elements in a part as it is unpacked, so a sheet of any length is
// read holding one row at a time. An element is found by its tag's text;
// character data cannot hold a "<", so only comments and CDATA could fool it,
// and no spreadsheet writes them around rows.
class ElementScanner {
public:
    ElementScanner(const ZipArchive& archive, const std::string& part)
        : archive_(archive), part_(part), stream_(archive, part, MaxWorkbookPartBytes) {}

    // The prefix of the root element's name ("x:" or ""), which the part's
    // other elements share.
    std::string RootPrefix() {
        std::size_t at = 0;
        while (true) {
            at = buffer_.find('<', at);
            while (at == std::string::npos || at + 1 >= buffer_.size()) {
                if (!Fill()) return {};
                at = buffer_.find('<');
            }
            if (buffer_[at + 1] != '?' && buffer_[at + 1] != '!') break;
            ++at;
        }
        std::size_t end = at + 1;
        while (true) {
            while (end < buffer_.size() && !std::strchr(" \t\r\n/>", buffer_[end])) ++end;
            if (end < buffer_.size() || !Fill()) break;
        }
        const std::string name = buffer_.substr(at + 1, end - at - 1);
        const std::size_t colon = name.find(':');
        return colon == std::string::npos ? std::string() : name.substr(0, colon + 1);
    }

    enum class Found { Element, Stop, End };

    // The next element named `name` (its start tag alone when `startOnly`),
    // unless "</stop>" comes first.
    Found Next(std::string_view name, std::string_view stop, std::string& element,
               bool startOnly = false) {
        while (true) {
            if (position_ > (1u << 20)) {
                buffer_.erase(0, position_);
                position_ = 0;
            }
            const std::size_t lt = buffer_.find('<', position_);
            if (lt == std::string::npos) {
                position_ = buffer_.size();
                if (!Fill()) return Found::End;
                continue;
            }
            const std::size_t need = lt + 3 + std::max(name.size(), stop.size());
            while (buffer_.size() < need && Fill()) {
            }
            const std::string_view rest = std::string_view(buffer_).substr(lt);
            if (!stop.empty() && rest.starts_with("</") && rest.substr(2).starts_with(stop) &&
                Boundary(rest, 2 + stop.size())) {
                position_ = lt + 2;
                return Found::Stop;
            }
            if (rest.substr(1).starts_with(name) && Boundary(rest, 1 + name.size())) {
                const std::size_t tagEnd = TagEnd(lt);
                std::size_t end = tagEnd + 1;
                if (!startOnly && buffer_[tagEnd - 1] != '/') end = CloseEnd(name, tagEnd + 1);
                element.assign(buffer_, lt, end - lt);
                position_ = end;
                return Found::Element;
            }
            position_ = lt + 1;
        }
    }

private:
    static bool Boundary(std::string_view text, std::size_t at) {
        return at < text.size() && std::strchr(" \t\r\n/>", text[at]) != nullptr;
    }

    bool Fill() {
        if (buffer_.size() - position_ > MaxWorkbookRowBytes) {
            Damaged(archive_.Path(), part_ + " に " + std::to_string(MaxWorkbookRowBytes >> 20) +
                                         " MB を超える行があります");
        }
        return stream_.Read(buffer_);
    }

    // The ">" that ends the tag opened at `lt` (not one inside a quoted value).
    std::size_t TagEnd(std::size_t lt) {
        char quote = 0;
        for (std::size_t i = lt + 1;; ++i) {
            while (i >= buffer_.size()) {
                if (!Fill()) Damaged(archive_.Path(), part_ + " がタグの途中で終わっています");
            }
            const char c = buffer_[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i;
            }
        }
    }

    // Just past the "</name>" that closes the element whose content starts at `from`.
    std::size_t CloseEnd(std::string_view name, std::size_t from) {
        std::string close = "</";
        close += name;
        std::size_t at = from;
        while (true) {
            const std::size_t found = buffer_.find(close, at);
            if (found == std::string::npos) {
                at = std::max(at,
                              buffer_.size() >= close.size() ? buffer_.size() - close.size() : 0);
                if (!Fill()) Damaged(archive_.Path(), part_ + " が要素の途中で終わっています");
                continue;
            }
            std::size_t end = found + close.size();
            while (end >= buffer_.size()) {
                if (!Fill()) Damaged(archive_.Path(), part_ + " が要素の途中で終わっています");
            }
            if (buffer_[end] == '>') return end + 1;
            at = found + 1;
        }
    }

    const ZipArchive& archive_;
    std::string part_;
    PartStream stream_;
    std::string buffer_;
    std::size_t position_ = 0;
};

// "1", "0.1", "1234567": the shortest decimal that reads back as the same
// double, without an exponent for whole numbers a sheet shows in full.
std::string ShortestDecimal(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::string(text);
    }
    if (value == 0) return "0";
    std::array<char, 64> digits;
    std::to_chars_result written;
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        written = std::to_chars(digits.data(), digits.data() + digits.size(),
                                static_cast<long long>(value));
    } else {
        written = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    }
    return std::string(digits.data(), written.ptr);
}

// Excel's "_x000D_" escapes of characters XML cannot carry as they are.
std::string UnescapeXlsx(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned code = 0;
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
            std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16).ptr ==
                text.data() + i + 6) {
            if (code < 0x80) {
                out.push_back(static_cast<char>(code));
            } else if (code < 0x800) {
                out.push_back(static_cast<char>(0xC0 | (code >> 6)));
                out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            } else {
                out.push_back(static_cast<char>(0xE0 | (code >> 12)));
                out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
                out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            }
            i += 6;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// The text of a shared or inline string: its runs joined, without the
// phonetic guide (ふりがな) a Japanese Excel keeps beside it.
void AppendRichText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node child : node.children()) {
        const std::string_view name = LocalName(child.name());
        if (name == "t") {
            out += child.text().get();
        } else if (name == "r") {
            AppendRichText(child, out);
        }
    }
}

std::string RichText(const pugi::xml_node& node) {
    std::string text;
    AppendRichText(node, text);
    return UnescapeXlsx(text);
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar, and back.
void CivilFromDays(long long days, long long& year, unsigned& month, unsigned& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// A date cell's serial number (from 0 to 9999-12-31) as ISO 8601.
std::string DateText(double serial, bool date1904) {
    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * 86400);
    if (seconds == 86400) {
        ++days;
        seconds = 0;
    }
    std::array<char, 32> text;
    int length = 0;
    const auto clock = [&](int at) {
        return std::snprintf(text.data() + at, text.size() - static_cast<std::size_t>(at),
                             "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                             seconds % 60);
    };
    if (days == 0 && !date1904) {
        length = clock(0);
        return std::string(text.data(), static_cast<std::size_t>(length));
    }
    long long year = 1900;
    unsigned month = 2;
    unsigned day = 29;  // serial 60: the day Lotus 1-2-3 believed in, kept by Excel
    if (date1904) {
        CivilFromDays(days - 24107, year, month, day);
    } else if (days != 60) {
        CivilFromDays(days - (days < 60 ? 25568 : 25569), year, month, day);
    }
    length = std::snprintf(text.data(), text.size(), "%04lld-%02u-%02u", year, month, day);
    if (seconds != 0) {
        text[static_cast<std::size_t>(length++)] = ' ';
        length += clock(length);
    }
    return std::string(text.data(), static_cast<std::size_t>(length));
}

// Whether a number format shows a date or a time: a built-in date format,
// or a code with a date or time part outside its quoted texts and brackets.
bool IsDateFormat(int id, std::string_view code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
        (id >= 50 && id <= 58)) {
        return true;
    }
    if (code.empty() || code == "General") return false;
    bool quoted = false;
    int bracket = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            ++bracket;
        } else if (c == ']') {
            bracket = std::max(0, bracket - 1);
        } else if (bracket == 0 && std::strchr("dmyhsDMYHS", c)) {
            return true;
        }
    }
    return false;
}

std::size_t ColumnOfReference(std::string_view reference) {
    std::size_t column = 0;
    for (const char c : reference) {
        if (c >= 'A' && c <= 'Z') {
            column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        } else if (c >= 'a' && c <= 'z') {
            column = column * 26 + static_cast<std::size_t>(c - 'a' + 1);
        } else {
            break;
        }
        if (column > MaxSheetColumns) break;
    }
    return column;
}

long Count(const pugi::xml_attribute& attribute, long most) {
    if (!attribute) return 1;
    const long long value = attribute.as_llong(1);
    return static_cast<long>(std::clamp<long long>(value, 1, most));
}

bool AllEmpty(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const std::string& cell) { return cell.empty(); });
}

}  // namespace

std::optional<WorkbookKind> DetectWorkbook(const std::string& path) {
    const ZipArchive archive(path, true);
    if (!archive.IsOpen()) return std::nullopt;
    if (archive.Has("[Content_Types].xml") && archive.Has("xl/workbook.xml")) {
        return WorkbookKind::Xlsx;
    }
    if (archive.Has("mimetype") && archive.Has("content.xml")) {
        PartStream stream(archive, "mimetype", 256);
        std::string type;
        while (stream.Read(type)) {
        }
        if (type == "application/vnd.oasis.opendocument.spreadsheet") return WorkbookKind::Ods;
    }
    return std::nullopt;
}

class WorkbookReader::Impl {
public:
    Impl(const std::string& path, WorkbookKind kind, const std::string& sheet)
        : kind_(kind), archive_(path) {
        if (kind == WorkbookKind::Xlsx) {
            OpenXlsx(sheet);
        } else {
            OpenOds(sheet);
        }
    }

    bool Next(WorkbookRow& row) {
        if (repeats_ > 0) {
            --repeats_;
            row.number = ++number_;
            row.cells = repeated_;
            return true;
        }
        while (true) {
            const auto found = scanner_->Next(rowTag_, stopTag_, element_);
            if (found != ElementScanner::Found::Element) return false;
            pugi::xml_document document;
            Parse(document, element_, archive_, sheetPart_);
            const pugi::xml_node rowNode = document.first_child();
            row.cells.clear();
            if (kind_ == WorkbookKind::Xlsx) {
                XlsxRow(rowNode, row);
            } else {
                const long count = Count(Attribute(rowNode, "number-rows-repeated"), MaxSheetRows);
                OdsRow(rowNode, row.cells);
                if (AllEmpty(row.cells)) {
                    number_ += count;
                    continue;
                }
                row.number = ++number_;
                if (count > 1) {
                    repeats_ = std::min<long>(count - 1, MaxSheetRows - number_);
                    repeated_ = row.cells;
                }
            }
            if (row.number > MaxSheetRows) {
                Damaged(archive_.Path(), "シートに入る数より多くの行があります");
            }
            if (!AllEmpty(row.cells)) return true;
        }
    }

private:
    void OpenXlsx(const std::string& sheet) {
        pugi::xml_document workbook;
        const std::string workbookXml = ReadWholePart(archive_, "xl/workbook.xml");
        Parse(workbook, workbookXml, archive_, "xl/workbook.xml");
        const pugi::xml_node root = workbook.document_element();
        if (const pugi::xml_node properties = Child(root, "workbookPr")) {
            const std::string_view flag = Attribute(properties, "date1904").value();
            date1904_ = flag == "1" || flag == "true";
        }
        std::string relation;
        std::vector<std::string> names;
        for (pugi::xml_node entry : Child(root, "sheets").children()) {
            if (LocalName(entry.name()) != "sheet") continue;
            names.emplace_back(Attribute(entry, "name").value());
            if (relation.empty() && (sheet.empty() || names.back() == sheet)) {
                relation = Attribute(entry, "id").value();
            }
        }
        if (relation.empty()) MissingSheet(sheet, names);

        std::string sharedStrings;
        std::string styles;
        pugi::xml_document relations;
        const std::string relationsPart = "xl/_rels/workbook.xml.rels";
        const std::string relationsXml = ReadWholePart(archive_, relationsPart);
        Parse(relations, relationsXml, archive_, relationsPart);
        for (pugi::xml_node entry : relations.document_element().children()) {
            std::string target = Attribute(entry, "Target").value();
            target = target.starts_with('/') ? target.substr(1) : "xl/" + target;
            const std::string_view type = Attribute(entry, "Type").value();
            if (Attribute(entry, "Id").value() == relation) sheetPart_ = target;
            if (type.ends_with("/sharedStrings")) sharedStrings = target;
            if (type.ends_with("/styles")) styles = target;
        }
        if (sheetPart_.empty()) Damaged(archive_.Path(), "シートの中身がありません");
        if (!sharedStrings.empty() && archive_.Has(sharedStrings)) ReadSharedStrings(sharedStrings);
        if (!styles.empty() && archive_.Has(styles)) ReadStyles(styles);

        scanner_ = std::make_unique<ElementScanner>(archive_, sheetPart_);
        const std::string prefix = scanner_->RootPrefix();
        rowTag_ = prefix + "row";
        stopTag_ = prefix + "sheetData";
    }

    void ReadSharedStrings(const std::string& part) {
        ElementScanner scanner(archive_, part);
        const std::string prefix = scanner.RootPrefix();
        const std::string item = prefix + "si";
        const std::string end = prefix + "sst";
        std::string element;
        std::size_t bytes = 0;
        while (scanner.Next(item, end, element) == ElementScanner::Found::Element) {
            pugi::xml_document document;
            Parse(document, element, archive_, part);
            sharedStrings_.push_back(RichText(document.first_child()));
            bytes += sharedStrings_.back().size() + sizeof(std::string);
            if (bytes > MaxSharedStringBytes) {
                Damaged(archive_.Path(), std::string("共有文字列が ") +
                                             std::to_string(MaxSharedStringBytes >> 20) +
                                             " MB を超えています");
            }
        }
    }

    void ReadStyles(const std::string& part) {
        pugi::xml_document styles;
        const std::string xml = ReadWholePart(archive_, part);
        Parse(styles, xml, archive_, part);
        const pugi::xml_node root = styles.document_element();
        std::vector<std::pair<int, std::string>> codes;
        for (pugi::xml_node format : Child(root, "numFmts").children()) {
            codes.emplace_back(Attribute(format, "numFmtId").as_int(),
                               Attribute(format, "formatCode").value());
        }
        for (pugi::xml_node format : Child(root, "cellXfs").children()) {
            const int id = Attribute(format, "numFmtId").as_int();
            const auto custom = std::find_if(codes.begin(), codes.end(),
                                             [id](const auto& code) { return code.first == id; });
            dateStyles_.push_back(IsDateFormat(id, custom == codes.end() ? "" : custom->second));
        }
    }

    void XlsxRow(const pugi::xml_node& rowNode, WorkbookRow& row) {
        const long long given = Attribute(rowNode, "r").as_llong(0);
        row.number = given > 0 ? static_cast<long>(std::min<long long>(given, MaxSheetRows + 1))
                               : number_ + 1;
        number_ = row.number;
        std::size_t column = 0;
        for (pugi::xml_node cell : rowNode.children()) {
            if (LocalName(cell.name()) != "c") continue;
            const std::size_t referenced = ColumnOfReference(Attribute(cell, "r").value());
            column = referenced > 0 ? referenced : column + 1;
            if (column > MaxSheetColumns) {
                Damaged(archive_.Path(), "シートに入る数より多くの列がある行があります");
            }
            std::string value = XlsxCell(cell);
            if (value.empty()) continue;
            if (row.cells.size() < column) row.cells.resize(column);
            row.cells[column - 1] = std::move(value);
        }
    }

    std::string XlsxCell(const pugi::xml_node& cell) {
        const std::string_view type = Attribute(cell, "t").value();
        const std::string_view value = Child(cell, "v").text().get();
        if (type == "s") {
            const std::size_t index = Child(cell, "v").text().as_ullong(sharedStrings_.size());
            if (index >= sharedStrings_.size()) {
                Damaged(archive_.Path(), "共有文字列にない番号を指すセルがあります");
            }
            return sharedStrings_[index];
        }
        if (type == "inlineStr") return RichText(Child(cell, "is"));
        if (type == "b") return value == "1" ? "TRUE" : "FALSE";
        if (type == "str" || type == "e" || type == "d") return UnescapeXlsx(value);
        if (value.empty()) return {};
        const std::size_t style = Attribute(cell, "s").as_uint(0);
        if (style < dateStyles_.size() && dateStyles_[style]) {
            double serial = 0;
            // Up to 9999-12-31; anything else is shown as the number it is.
            if (std::from_chars(value.data(), value.data() + value.size(), serial).ec ==
                    std::errc() &&
                serial >= 0 && serial < 2958466) {
                return DateText(serial, date1904_);
            }
        }
        return ShortestDecimal(value);
    }

    void OpenOds(const std::string& sheet) {
        sheetPart_ = "content.xml";
        scanner_ = std::make_unique<ElementScanner>(archive_, sheetPart_);
        std::vector<std::string> names;
        std::string tag;
        while (scanner_->Next("table:table", "", tag, true) == ElementScanner::Found::Element) {
            if (!tag.ends_with("/>")) tag.insert(tag.size() - 1, "/");
            pugi::xml_document document;
            Parse(document, tag, archive_, sheetPart_);
            names.emplace_back(Attribute(document.first_child(), "name").value());
            if (sheet.empty() || names.back() == sheet) {
                rowTag_ = "table:table-row";
                stopTag_ = "table:table";
                return;
            }
        }
        MissingSheet(sheet, names);
    }

    void OdsRow(const pugi::xml_node& rowNode, std::vector<std::string>& cells) {
        std::size_t emptyBefore = 0;  // empty cells not yet added: only those before a value are
        for (pugi::xml_node cell : rowNode.children()) {
            const std::string_view name = LocalName(cell.name());
            if (name != "table-cell" && name != "covered-table-cell") continue;
            const auto count = static_cast<std::size_t>(
                Count(Attribute(cell, "number-columns-repeated"), MaxSheetColumns));
            std::string value = OdsCell(cell);
            if (value.empty()) {
                emptyBefore = std::min(emptyBefore + count, MaxSheetColumns);
                continue;
            }
            if (cells.size() + emptyBefore + 1 > MaxSheetColumns) {
                Damaged(archive_.Path(), "シートに入る数より多くの列がある行があります");
            }
            cells.resize(cells.size() + emptyBefore);
            emptyBefore = 0;
            const std::size_t copies = std::min(count, MaxSheetColumns - cells.size());
            for (std::size_t i = 1; i < copies; ++i) cells.push_back(value);
            cells.push_back(std::move(value));
        }
    }

    static void AppendOdsText(const pugi::xml_node& node, std::string& out) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                out += child.value();
                continue;
            }
            const std::string_view name = LocalName(child.name());
            if (name == "s") {
                out.append(static_cast<std::size_t>(Count(Attribute(child, "c"), 1024)), ' ');
            } else if (name == "tab") {
                out.push_back('\t');
            } else if (name == "line-break") {
                out.push_back('\n');
            } else if (name != "annotation") {
                AppendOdsText(child, out);
            }
        }
    }

    static std::string OdsCell(const pugi::xml_node& cell) {
        const std::string_view type = Attribute(cell, "value-type").value();
        if (type == "float" || type == "percentage" || type == "currency") {
            return ShortestDecimal(Attribute(cell, "value").value());
        }
        if (type == "date") {
            std::string date = Attribute(cell, "date-value").value();
            if (date.size() > 10 && date[10] == 'T') date[10] = ' ';
            return date;
        }
        if (type == "boolean") {
            const std::string_view value = Attribute(cell, "boolean-value").value();
            return value == "true" || value == "1" ? "TRUE" : "FALSE";
        }
        if (const pugi::xml_attribute given = Attribute(cell, "string-value")) {
            return given.value();
        }
        std::string text;
        bool first = true;
        for (pugi::xml_node paragraph : cell.children()) {
            if (LocalName(paragraph.name()) != "p") continue;
            if (!first) text.push_back('\n');
            first = false;
            AppendOdsText(paragraph, text);
        }
        return text;
    }

    [[noreturn]] void MissingSheet(const std::string& sheet,
                                   const std::vector<std::string>& names) {
        if (sheet.empty()) Damaged(archive_.Path(), "シートがありません");
        std::string message = "ブック ";
        message += Quoted(archive_.Path());
        message += " にシート「";
        message += sheet;
        message += "」はありません（あるシート：";
        for (const std::string& name : names) {
            message += "「";
            message += name;
            message += "」";
        }
        message += "）";
        throw MissingSheetError(message);
    }

    WorkbookKind kind_;
    ZipArchive archive_;
    bool date1904_ = false;
    std::vector<std::string> sharedStrings_;
    std::vector<bool> dateStyles_;  // by cell style index
    std::string sheetPart_;
    std::unique_ptr<ElementScanner> scanner_;
    std::string rowTag_;
    std::string stopTag_;
    std::string element_;
    long number_ = 0;  // the last row's number
    long repeats_ = 0;
    std::vector<std::string> repeated_;
};

WorkbookReader::WorkbookReader(const std::string& path, WorkbookKind kind, const std::string& sheet)
    : impl_(std::make_unique<Impl>(path, kind, sheet)) {}

WorkbookReader::~WorkbookReader() = default;

bool WorkbookReader::Next(WorkbookRow& row) {
    return impl_->Next(row);
}

}  // namespace soten::cli
