#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "analysis/text/Cp932.h"
#include "platform/drawing/Cp932Strings.h"

namespace soten::ui {

// The analysis holds all text as code page 932 bytes; widgets and painters
// take Unicode. These are the window side of that edge.

using platform::FromCp932;

// A name as typed into the entry dialog. A character code page 932 cannot
// hold becomes a byte the stroke lookup refuses, so it is reported as "不適切な
// 文字があります" rather than silently dropped.
inline std::string NameToCp932(const QString& typed) {
    return Cp932::NameFromUtf8(typed.toStdString()).value_or(std::string(1, '\x1A'));
}

}  // namespace soten::ui
