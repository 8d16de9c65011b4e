#pragma once

#include <QFont>
#include <QString>
#include <QVariant>
#include <string>
#include <vector>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/reading/DetailedReading.h"
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

// The tooltips of the verdicts of 三才配置 and 陰陽配列 and of the score:
// "三才配置 大吉：天運 木・人運 火・地運 土（相生・相生）",
// "陰陽配列 凶：○●●○（分裂）", "評点 9（12点満点）".
QString SansaiTip(const SansaiReading& sansai);
QString InyoTip(const InyoReading& inyo);
QString ScoreTip(int score);

// The face of the verdicts of 三才配置 and 陰陽配列 in a table: the table's,
// a quarter bigger, where 凶 still shows its open top (at 12 pixels it
// closes into a ⊠).
QFont VerdictFont();

// The tooltips of the headers of 三才配置, 陰陽配列 and 評点: how they are judged.
QString SansaiHeaderTip();
QString InyoHeaderTip();
QString ScoreHeaderTip();

// The tooltip of a name a registry office refuses, naming the characters.
QString UnregistrableTip(const std::vector<std::string>& characters);

// The tooltip of the header of 戸籍: what 可, 読み要確認 and 字× mean.
QString RegistryHeaderTip();

// The tooltip of a name in a table: the note on the kanji of the avoid list
// it holds (if any), then why it is judged as it is, one line each.
QString CandidateTip(const std::vector<AvoidedKanjiEntry>& avoided,
                     const std::vector<std::string>& explanation);

}  // namespace soten::ui
