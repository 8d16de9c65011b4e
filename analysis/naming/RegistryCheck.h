#pragma once

// What the 戸籍 column says of a given name: whether a registry office takes
// its characters and its yomi.

#include <cstdint>
#include <optional>
#include <string_view>

#include "analysis/naming/NameLikeness.h"

namespace soten {

// Registrable: its characters are allowed and its yomi aligns with them (or
// it has no yomi to check). YomiUnverified: the characters are allowed but the
// yomi is unverified (YomiClass::Unverified), which the office may question.
// Unregistrable: a character is outside the registrable set, whatever the yomi.
enum class RegistryVerdict : std::uint8_t { Registrable, YomiUnverified, Unregistrable };

// `yomi`: the class of the yomi's check, nothing when the name has no yomi.
RegistryVerdict JudgeRegistry(bool charactersAllowed, std::optional<YomiClass> yomi);

// 可, 読み要確認, 字× (UTF-8).
std::string_view RegistryLabel(RegistryVerdict verdict);
// "ok", "checkReading", "unregistrable": the value in records.
std::string_view RegistryKey(RegistryVerdict verdict);

}  // namespace soten
