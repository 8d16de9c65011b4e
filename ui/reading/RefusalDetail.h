#pragma once

#include <QString>
#include <string>
#include <vector>

namespace soten::ui {

// The second line of the refusal box: the characters the dictionary cannot
// count ("「s」「a」は辞書にありません"), then, when one of them is a Latin
// letter, a hint that Japanese input is off. `characters` are the
// refusal's (code page 932); one that code page 932 lacks arrives as SUB and
// is named from `typed`, the names as the user typed them: each such
// character as itself, or as U+XXXX when it is not printable. Empty when
// there are no characters.
QString RefusalDetail(const std::vector<std::string>& characters, const QString& typed);

}  // namespace soten::ui
