#pragma once

#include <QString>
#include <string>
#include <vector>

namespace soten::platform {

// The program names the Windows faces "ＭＳ ゴシック", "ＭＳ 明朝",
// "ＭＳ Ｐゴシック" and "MS UI Gothic". Linux has none of them; map them to
// the IPA faces (fixed-pitch where the MS face is fixed-pitch) so a font
// asked for by its Windows name gets the right Japanese face. Idempotent;
// needs a QGuiApplication.
void InstallFontSubstitutes();

// The Debian packages of the faces the printed page draws with (Gothic,
// Mincho) whose face, or whatever the system gives in its place, cannot draw
// every character of `text`: without them each character would print as a
// black box. Empty when nothing is missing. Needs a QGuiApplication.
std::vector<std::string> MissingFontPackages(const QString& text);

// The face names as the program asks for them (UTF-8).
inline constexpr const char* GothicFace = "ＭＳ ゴシック";
inline constexpr const char* MinchoFace = "ＭＳ 明朝";
inline constexpr const char* ProportionalGothicFace = "ＭＳ Ｐゴシック";
inline constexpr const char* UiGothicFace = "MS UI Gothic";

}  // namespace soten::platform
