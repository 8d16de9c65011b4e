#pragma once

// Builds a NameRecord for a picture test: the names and the stroke count of
// every character are chosen by the test, and the five numbers follow from
// them as the analysis computes them.

#include <string>
#include <utility>
#include <vector>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/text/ShiftJis.h"
#include "ui/reading/NameColumnLayout.h"

namespace soten::test {

struct CountedCharacter {
    const char* utf8;
    int strokes;
};

inline NameRecord MakeRecord(const std::vector<CountedCharacter>& surname,
                             const std::vector<CountedCharacter>& given) {
    NameRecord record;
    auto fill = [&](NamePart part, const std::vector<CountedCharacter>& characters) {
        std::string name;
        for (std::size_t k = 0; k < characters.size(); ++k) {
            name += Cp932Text(characters[k].utf8);
            record.Strokes[part][k + 1] = characters[k].strokes;
        }
        record.Names[part] = name;
        record.Lengths[part] = static_cast<std::int32_t>(characters.size());
    };
    fill(Surname, surname);
    fill(GivenName, given);
    ComputeFortunes(record);
    return record;
}

}  // namespace soten::test
