#pragma once

#include <string>
#include <string_view>

namespace soten::cli {

// `text`, which may hold bytes from a list file or the arguments, as it may
// be shown on a terminal: C0 controls (line breaks and tabs too) and DEL as
// "\x1b", C1 controls as "\u009b", and each ill-formed UTF-8 sequence as one
// U+FFFD, so that no escape sequence reaches the terminal. For the messages
// and the text output; JSON, CSV and TSV quote on their own.
std::string TerminalText(std::string_view text);

}  // namespace soten::cli
