#pragma once

#include <string>
#include <string_view>

namespace soten {

// The reading of a surname (code page 932) in hiragana, from the surnames
// of the name dictionary that have one reading there (data/README.md);
// empty for a surname it does not know or reads more than one way.
std::string SurnameYomiOf(std::string_view surnameCp932);

}  // namespace soten
