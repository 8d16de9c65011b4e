#include "analysis/shortlist/Shortlist.h"

#include <algorithm>
#include <array>
#include <functional>

#include <rapidjson/document.h>
#include <rapidjson/encodedstream.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>

#include "analysis/reading/DetailedReading.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

constexpr int FileVersion = 1;

std::string Utf8(std::string_view cp932) {
    return Cp932::ToUtf8Lossy(cp932);
}

// Reads one text member of an entry as the file holds it (UTF-8); false
// (with the reason) when it is there but is not text. A missing member is
// empty.
bool ReadMember(const rapidjson::Value& entry, const char* key, std::string_view& out,
                std::string& error) {
    const auto member = entry.FindMember(key);
    if (member == entry.MemberEnd()) return true;
    if (!member->value.IsString()) {
        error = Cp932Text("「") + key + Cp932Text("」が文字列ではありません");
        return false;
    }
    out = std::string_view(member->value.GetString(), member->value.GetStringLength());
    return true;
}

// Reads a text member other than a name: it is never changed, so text code
// page 932 cannot hold is refused.
bool ReadText(const rapidjson::Value& entry, const char* key, std::string& out,
              std::string& error) {
    std::string_view utf8;
    if (!ReadMember(entry, key, utf8, error)) return false;
    auto converted = Cp932::FromUtf8(utf8);
    if (!converted) {
        error = Cp932Text("「") + key + Cp932Text("」に使えない文字があります");
        return false;
    }
    out = std::move(*converted);
    return true;
}

// A name keeps a character code page 932 lacks: the reading refuses it and
// says which it is, and the file keeps it as it was.
bool ReadNames(const rapidjson::Value& value, ShortlistEntry& entry, std::string& error) {
    std::string_view surname;
    std::string_view given;
    if (!ReadMember(value, "surname", surname, error) ||
        !ReadMember(value, "given", given, error)) {
        return false;
    }
    if (entry.SetNames(surname, given)) return true;
    error = Cp932Text("「") + (Cp932::IsUtf8(surname) ? "given" : "surname") +
            Cp932Text("」に使えない文字があります");
    return false;
}

// Builds the document as its own handler does, but refuses to nest deeper
// than MaxShortlistDepth; with the iterative parser no file can exhaust
// the stack.
class DepthLimitedHandler {
public:
    explicit DepthLimitedHandler(rapidjson::Document& document) : document_(document) {}

    bool TooDeep() const { return tooDeep_; }

    bool Null() { return document_.Null(); }
    bool Bool(bool b) { return document_.Bool(b); }
    bool Int(int i) { return document_.Int(i); }
    bool Uint(unsigned i) { return document_.Uint(i); }
    bool Int64(std::int64_t i) { return document_.Int64(i); }
    bool Uint64(std::uint64_t i) { return document_.Uint64(i); }
    bool Double(double d) { return document_.Double(d); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.RawNumber(text, length, copy);
    }
    bool String(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.String(text, length, copy);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.Key(text, length, copy);
    }
    bool StartObject() { return Deeper() && document_.StartObject(); }
    bool EndObject(rapidjson::SizeType members) {
        --depth_;
        return document_.EndObject(members);
    }
    bool StartArray() { return Deeper() && document_.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) {
        --depth_;
        return document_.EndArray(elements);
    }

private:
    bool Deeper() {
        if (depth_ == MaxShortlistDepth) {
            tooDeep_ = true;
            return false;
        }
        ++depth_;
        return true;
    }

    rapidjson::Document& document_;
    int depth_ = 0;
    bool tooDeep_ = false;
};

// Parses exactly one JSON document followed by nothing but white space;
// false with the reason otherwise.
bool ParseDocument(std::string_view utf8, rapidjson::Document& document, std::string& error) {
    constexpr unsigned flags = rapidjson::kParseValidateEncodingFlag |
                               rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;
    rapidjson::MemoryStream memory(utf8.data(), utf8.size());
    rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> stream(memory);
    rapidjson::Reader reader;
    rapidjson::ParseResult result;
    bool tooDeep = false;
    auto parse = [&](rapidjson::Document& built) {
        DepthLimitedHandler handler(built);
        result = reader.Parse<flags>(stream, handler);
        tooDeep = handler.TooDeep();
        return !result.IsError();
    };
    document.Populate(parse);
    if (tooDeep) {
        error = Cp932Text("JSON の入れ子が ") + std::to_string(MaxShortlistDepth) +
                Cp932Text(" 段を超えています");
        return false;
    }
    if (result.IsError()) {
        error = Cp932Text("JSON として読めません（") + std::to_string(result.Offset()) +
                Cp932Text(" バイト目）");
        return false;
    }
    // The parser stops after the document; a NUL byte would stop it too.
    const std::size_t end = utf8.find_first_not_of(" \t\r\n", stream.Tell());
    if (end != std::string_view::npos) {
        error = Cp932Text("JSON のあとに余分なデータがあります（") + std::to_string(end) +
                Cp932Text(" バイト目）");
        return false;
    }
    return true;
}

}  // namespace

bool ShortlistEntry::SetNames(std::string_view surnameUtf8, std::string_view givenUtf8) {
    auto surnameCp932 = Cp932::NameFromUtf8(surnameUtf8);
    auto givenCp932 = Cp932::NameFromUtf8(givenUtf8);
    if (!surnameCp932 || !givenCp932) return false;
    const auto typed = [](std::string_view utf8, const std::string& cp932) {
        return cp932.find('\x1A') == std::string::npos ? std::string() : std::string(utf8);
    };
    typedSurname = typed(surnameUtf8, *surnameCp932);
    typedGiven = typed(givenUtf8, *givenCp932);
    surname = std::move(*surnameCp932);
    given = std::move(*givenCp932);
    return true;
}

std::string ShortlistEntry::SurnameUtf8() const {
    return typedSurname.empty() ? Utf8(surname) : typedSurname;
}

std::string ShortlistEntry::GivenUtf8() const {
    return typedGiven.empty() ? Utf8(given) : typedGiven;
}

std::size_t NameHash(const ShortlistEntry& entry) {
    std::size_t hash = static_cast<std::size_t>(entry.style);
    for (const std::string* text :
         {&entry.surname, &entry.given, &entry.reading, &entry.typedSurname, &entry.typedGiven}) {
        hash ^= std::hash<std::string>{}(*text) + 0x9e3779b97f4a7c15u + (hash << 6) + (hash >> 2);
    }
    return hash;
}

std::optional<std::size_t> Shortlist::Find(const ShortlistEntry& name) const {
    const auto [first, last] = positions_.equal_range(NameHash(name));
    for (auto it = first; it != last; ++it) {
        if (entries_[it->second].SameName(name)) return it->second;
    }
    return std::nullopt;
}

bool Shortlist::Add(ShortlistEntry entry) {
    if (Find(entry)) return false;
    positions_.emplace(NameHash(entry), entries_.size());
    entries_.push_back(std::move(entry));
    return true;
}

void Shortlist::IndexAll() {
    positions_.clear();
    positions_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) positions_.emplace(NameHash(entries_[i]), i);
}

void Shortlist::Remove(std::size_t index) {
    if (index >= entries_.size()) return;
    const auto [first, last] = positions_.equal_range(NameHash(entries_[index]));
    for (auto it = first; it != last; ++it) {
        if (it->second == index) {
            positions_.erase(it);
            break;
        }
    }
    for (auto& position : positions_) {
        if (position.second > index) --position.second;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Shortlist::Move(std::size_t from, std::size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to) return;
    for (auto& position : positions_) {
        std::size_t& at = position.second;
        if (at == from) {
            at = to;
        } else if (from < to && at > from && at <= to) {
            --at;
        } else if (to < from && at >= to && at < from) {
            ++at;
        }
    }
    const auto first = entries_.begin();
    if (from < to) {
        std::rotate(first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    } else {
        std::rotate(first + static_cast<std::ptrdiff_t>(to),
                    first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    }
}

void Shortlist::SetNote(std::size_t index, std::string note) {
    if (index < entries_.size()) entries_[index].note = std::move(note);
}

void Shortlist::Reorder(const std::vector<std::size_t>& order) {
    std::vector<ShortlistEntry> reordered;
    reordered.reserve(entries_.size());
    for (const std::size_t index : order) reordered.push_back(std::move(entries_.at(index)));
    if (reordered.size() != entries_.size()) return;
    entries_ = std::move(reordered);
    IndexAll();
}

std::string ShortlistToJson(const Shortlist& list) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> json(buffer);
    json.SetIndent(' ', 2);
    json.StartObject();
    json.Key("version");
    json.Int(FileVersion);
    json.Key("entries");
    json.StartArray();
    const auto text = [&json](const char* key, std::string_view cp932) {
        json.Key(key);
        const std::string utf8 = Utf8(cp932);
        json.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    };
    const auto utf8Text = [&json](const char* key, const std::string& utf8) {
        json.Key(key);
        json.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    };
    for (const ShortlistEntry& entry : list.Entries()) {
        json.StartObject();
        utf8Text("surname", entry.SurnameUtf8());
        utf8Text("given", entry.GivenUtf8());
        text("reading", entry.reading);
        if (!entry.surnameReading.empty()) text("surnameReading", entry.surnameReading);
        json.Key("style");
        json.String(StyleName(entry.style));
        text("note", entry.note);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::string out(buffer.GetString(), buffer.GetSize());
    out.push_back('\n');
    return out;
}

std::optional<Shortlist> ShortlistFromJson(std::string_view utf8, std::string& error) {
    rapidjson::Document document;
    if (!ParseDocument(utf8, document, error)) return std::nullopt;
    if (!document.IsObject()) {
        error = Cp932Text("候補リストの形ではありません");
        return std::nullopt;
    }
    const auto version = document.FindMember("version");
    if (version == document.MemberEnd() || !version->value.IsInt() ||
        version->value.GetInt() != FileVersion) {
        error = Cp932Text("この版の候補リストではありません（version が 1 ではありません）");
        return std::nullopt;
    }
    const auto entries = document.FindMember("entries");
    if (entries == document.MemberEnd() || !entries->value.IsArray()) {
        error = Cp932Text("「entries」がありません");
        return std::nullopt;
    }
    Shortlist list;
    for (const rapidjson::Value& value : entries->value.GetArray()) {
        ShortlistEntry entry;
        std::string style;
        if (!value.IsObject() || !ReadNames(value, entry, error) ||
            !ReadText(value, "reading", entry.reading, error) ||
            !ReadText(value, "surnameReading", entry.surnameReading, error) ||
            !ReadText(value, "style", style, error) ||
            !ReadText(value, "note", entry.note, error)) {
            if (error.empty()) error = Cp932Text("候補の形ではない項目があります");
            return std::nullopt;
        }
        if (style == "honji") {
            entry.style = StrokeStyle::Honji;
        } else if (style == "shinji" || style.empty()) {
            entry.style = StrokeStyle::Shinji;
        } else {
            error = Cp932Text("「style」は shinji か honji です");
            return std::nullopt;
        }
        // A name entered twice by hand is kept once.
        list.Add(std::move(entry));
    }
    return list;
}

}  // namespace soten
