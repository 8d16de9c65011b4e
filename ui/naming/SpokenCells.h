#pragma once

#include <QString>
#include <QVariant>

#include "analysis/naming/SpokenName.h"

namespace soten::ui {

// What the tables of names show of how a name is spelled and sounds, for
// `role`: in the romaji column the passport spelling (the whole name when
// the surname's reading is known; the other spellings and the initials in
// the tooltip), in the notes' column the sound notes (one a line in the
// tooltip). Nothing for other roles.
QVariant SpokenCell(const SpokenName& spoken, bool romaji, int role);

// The tooltip of the romaji or the notes' header.
QString SpokenHeaderTip(bool romaji);

}  // namespace soten::ui
