#pragma once

#include <string>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/ReadingLines.h"

namespace soten {

// A copy of a reading that was accepted and drawn. The record itself also
// holds the names of a later rejected attempt; everything that belongs to the
// reading on show (the Save As file name, the printout) reads this copy so it
// never pairs rejected names with the old numbers.
struct ShownReading {
    bool valid = false;
    NameRecord record;
    StrokeStyle style = StrokeStyle::Shinji;
    ReadingLines lines;
    std::string givenReading;  // hiragana, when the name came from the name search
};

// The program-wide state of the run: the record, the style choice, the
// wrapped lines and the reading on show. One instance lives as long as the
// program (see ui/), tests make their own.
struct ProgramState {
    NameRecord record;
    StrokeStyle strokeStyle = StrokeStyle::Shinji;
    ReadingLines lines;
    // The reading of the given name about to be read, when it was picked
    // from the name search; empty for a typed name.
    std::string givenReading;
    ShownReading shown;
};

}  // namespace soten
