#include "cli/app/TerminalText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace soten::cli {
namespace {

using namespace std::string_literals;

TEST(TerminalText, EscapesControlsAndReplacesIllFormedUtf8) {
    const std::string fffd = "\xEF\xBF\xBD";
    for (const auto& [text, shown] : std::vector<std::pair<std::string, std::string>>{
             {"山田 太郎 a~", "山田 太郎 a~"},
             {"\x1b[31m赤", "\\x1b[31m赤"},
             {"a\tb\nc\r"s + '\0', "a\\x09b\\x0ac\\x0d\\x00"},
             {"\x7f\x1f ", "\\x7f\\x1f "},
             {"\xC2\x9B[2J\xC2\x80", "\\u009b[2J\\u0080"},  // C1: CSI, PAD
             {"\xC2\xA0\xC2\xBF", "\xC2\xA0\xC2\xBF"},      // the first after the C1 block
             {"𠮷😀\xEF\xBF\xBD", "𠮷😀" + fffd},
             {"\xFFz\xFE", fffd + "z" + fffd},
             {"\xE5\xB1z", fffd + "z"},                        // 山 cut short
             {"\xF0\x9F\x98", fffd},                           // 😀 cut short at the end
             {"\xC0\xAF", fffd + fffd},                        // overlong '/'
             {"\xE0\x80\xAF", fffd + fffd + fffd},             // overlong, three bytes
             {"\xED\xA0\x80", fffd + fffd + fffd},             // a surrogate
             {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // above U+10FFFF
             {"\x80\xBF", fffd + fffd},                        // lone continuations
         }) {
        EXPECT_EQ(TerminalText(text), shown) << text;
        EXPECT_EQ(TerminalText(shown), shown) << "shown twice: " << text;
    }
}

}  // namespace
}  // namespace soten::cli
