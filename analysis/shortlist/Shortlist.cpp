#include "analysis/shortlist/Shortlist.h"

#include <algorithm>
#include <array>

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
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

// Reads one text member of an entry; false (with the reason) when it is
// there but is not text code page 932 can hold. A missing member is empty.
bool ReadText(const rapidjson::Value& entry, const char* key, bool name, std::string& out,
              std::string& error) {
    const auto member = entry.FindMember(key);
    if (member == entry.MemberEnd()) return true;
    if (!member->value.IsString()) {
        error = Cp932Text("「") + key + Cp932Text("」が文字列ではありません");
        return false;
    }
    const std::string_view utf8(member->value.GetString(), member->value.GetStringLength());
    // A name keeps a character code page 932 lacks as one unknown
    // character, so the reading refuses it and says which it is; other text
    // is never changed.
    auto converted = name ? Cp932::NameFromUtf8(utf8) : Cp932::FromUtf8(utf8);
    if (!converted) {
        error = Cp932Text("「") + key + Cp932Text("」に使えない文字があります");
        return false;
    }
    out = std::move(*converted);
    return true;
}

}  // namespace

std::optional<std::size_t> Shortlist::Find(const ShortlistEntry& name) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const ShortlistEntry& entry) { return entry.SameName(name); });
    if (it == entries_.end()) return std::nullopt;
    return static_cast<std::size_t>(it - entries_.begin());
}

bool Shortlist::Add(ShortlistEntry entry) {
    if (Find(entry)) return false;
    entries_.push_back(std::move(entry));
    return true;
}

void Shortlist::Remove(std::size_t index) {
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Shortlist::Move(std::size_t from, std::size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to) return;
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
    if (reordered.size() == entries_.size()) entries_ = std::move(reordered);
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
    for (const ShortlistEntry& entry : list.Entries()) {
        json.StartObject();
        text("surname", entry.surname);
        text("given", entry.given);
        text("reading", entry.reading);
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
    document.Parse<rapidjson::kParseValidateEncodingFlag | rapidjson::kParseStopWhenDoneFlag>(
        utf8.data(), utf8.size());
    if (document.HasParseError()) {
        error = Cp932Text("JSON として読めません（") + std::to_string(document.GetErrorOffset()) +
                Cp932Text(" バイト目）");
        return std::nullopt;
    }
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
        if (!value.IsObject() || !ReadText(value, "surname", true, entry.surname, error) ||
            !ReadText(value, "given", true, entry.given, error) ||
            !ReadText(value, "reading", false, entry.reading, error) ||
            !ReadText(value, "style", false, style, error) ||
            !ReadText(value, "note", false, entry.note, error)) {
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
