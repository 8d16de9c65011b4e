#pragma once

#include <QString>
#include <QVariant>
#include <string>
#include <vector>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/NameRecord.h"

namespace soten::ui {

// What the tables of names (the search's candidates, the shortlist) show in
// a cell of one of the five numbers for `role`: the number and its grade
// mark in the grade's colour, and the label, number, mark and keyword for
// tooltips and screen readers. Nothing for other roles.
QVariant FortuneCell(FortuneKind kind, int number, const Keyword& keyword, int role);

// The given name's stroke counts, "9・6".
QString GivenStrokeCounts(const NameRecord& record);

// Code page 932 texts joined by `separator`.
QString JoinedCp932(const std::vector<std::string>& texts, const QString& separator);

// The tooltip of a name a registry office refuses, naming the characters.
QString UnregistrableTip(const std::vector<std::string>& characters);

// The tooltip of a name in a table: the note on the kanji of the avoid list
// it holds (if any), then why it is judged as it is, one line each.
QString CandidateTip(const std::vector<AvoidedKanjiEntry>& avoided,
                     const std::vector<std::string>& explanation);

}  // namespace soten::ui
