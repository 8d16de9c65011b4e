#pragma once

#include <QString>
#include <string_view>

#include "analysis/text/Cp932.h"

namespace soten::platform {

// The analysis holds all text as code page 932 bytes; painters and widgets
// take Unicode. A byte sequence that is not code page 932 shows as U+FFFD.
inline QString FromCp932(std::string_view cp932) {
    return QString::fromStdString(Cp932::ToUtf8Lossy(cp932));
}

}  // namespace soten::platform
