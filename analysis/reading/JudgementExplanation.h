#pragma once

// Why a name is judged as it is, in plain lines of code page 932 for the
// tooltips of the name search and the detail window: the numbers that bring
// the score down, what 三才配置 and 陰陽配列 look at and what they say here,
// and which characters count differently in 新字式 and 本字式.

#include <string>
#include <vector>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"

namespace soten {

// "評点を下げている数：地運 12 ×，総運 24 △" (人運, 地運, 外運 and 総運
// graded △ or ×, in that order), or "評点を下げている数：なし" when all are ◎ or ○.
std::string WeakNumbersLine(const NameRecord& record, const Tables& tables);

// "三才配置 大吉（木→火→土）：…" and "陰陽配列 凶（分裂，○○●●）：…": the
// verdict, what decides it, and in one sentence what the method looks at.
std::string SansaiLine(const NameRecord& record);
std::string InyoLine(const NameRecord& record);

// "新字式と本字式の違い：藤 18 → 21（本字式）": each character of the name
// whose count differs between the styles, once, 新字式 count first; "新字式と
// 本字式で画数の違う字はありません" when none does. Empty when the name cannot
// be counted in one of the styles.
std::string StyleDifferenceLine(const NameRecord& record, const Tables& tables);

// The four lines above, in that order (the style line left out when empty).
std::vector<std::string> JudgementExplanation(const NameRecord& record, const Tables& tables);

}  // namespace soten
