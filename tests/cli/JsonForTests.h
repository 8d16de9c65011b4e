#pragma once

// Reading the JSON that soten-cli writes, with rapidjson, in a form that
// gtest compares and prints: a missing key is a value that fails the
// comparison, not an assertion inside the parser.

#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/pointer.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace soten::test {

inline rapidjson::Document ParseJson(const std::string& text) {
    rapidjson::Document document;
    document.Parse(text.c_str(), text.size());
    EXPECT_FALSE(document.HasParseError()) << "not JSON: " << text.substr(0, 200);
    return document;
}

// One document per line.
inline std::vector<rapidjson::Document> ParseJsonLines(const std::string& text) {
    std::vector<rapidjson::Document> records;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) records.push_back(ParseJson(line));
    return records;
}

inline const rapidjson::Value* Find(const rapidjson::Value& json, const char* pointer) {
    return rapidjson::Pointer(pointer).Get(json);
}

// The JSON text at `pointer` ("/strokes/surname"), or "(missing)".
inline std::string JsonAt(const rapidjson::Value& json, const char* pointer = "") {
    const rapidjson::Value* value = Find(json, pointer);
    if (!value) return "(missing)";
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    value->Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

// The string at `pointer`, or "(not a string)".
inline std::string StringAt(const rapidjson::Value& json, const char* pointer) {
    const rapidjson::Value* value = Find(json, pointer);
    if (!value || !value->IsString()) return "(not a string)";
    return std::string(value->GetString(), value->GetStringLength());
}

inline std::int64_t IntAt(const rapidjson::Value& json, const char* pointer) {
    const rapidjson::Value* value = Find(json, pointer);
    EXPECT_TRUE(value && value->IsInt64()) << pointer << " is not a number";
    return value && value->IsInt64() ? value->GetInt64() : -1;
}

// The number of elements or members at `pointer`; 0 when it holds neither.
inline std::size_t SizeAt(const rapidjson::Value& json, const char* pointer) {
    const rapidjson::Value* value = Find(json, pointer);
    if (value && value->IsArray()) return value->Size();
    if (value && value->IsObject()) return value->MemberCount();
    return 0;
}

inline std::set<std::string> KeysOf(const rapidjson::Value& json) {
    std::set<std::string> keys;
    if (!json.IsObject()) return keys;
    for (const auto& member : json.GetObject()) keys.insert(member.name.GetString());
    return keys;
}

}  // namespace soten::test
