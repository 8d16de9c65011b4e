#pragma once

#include <string>
#include <string_view>

namespace soten {

// The dictionary (gojūon) order of readings in hiragana, code page 932: kana
// compare first as their plain sound (が as か, っ as つ, ー as the vowel
// before it), so かき, がく, かこ stand in that order; ties then fall to the
// code order, which puts small kana before large and plain before voiced.
// The key compares bytewise; other characters keep their own code.
std::string GojuonKey(std::string_view reading);

}  // namespace soten
