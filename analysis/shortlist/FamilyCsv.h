#pragma once

#include <string>
#include <vector>

#include "analysis/shortlist/NameComparison.h"

namespace soten {

// The compared names as a spreadsheet opens them without being asked: UTF-8
// with a byte order mark, rows ended by CR LF, fields quoted as RFC 4180,
// and the columns headed in Japanese (名字, 名前, 読み, 名字の読み, ローマ字,
// 方式, 画数, the five numbers with their grade marks, 評点, 戸籍, 三才, 陰陽,
// 頭文字, 音の注意, メモ). 名字の読み is the entry's or, failing that, the name
// dictionary's. A refused name has its refusal under 画数.
std::string FamilyCsv(const std::vector<ComparedName>& names);

// The cells of FamilyCsv, unquoted UTF-8: the headings, then one row a name.
std::vector<std::vector<std::string>> FamilyTable(const std::vector<ComparedName>& names);

}  // namespace soten
