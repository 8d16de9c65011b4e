#pragma once

#include "ProgramState.h"

namespace soten::ui {

// The one program-wide state of the run: NameRecord, StrokeStyle, the wrapped
// lines and the reading on show. Only the start-up hands it out; every window
// gets it passed in, so tests can give theirs a state of their own.
ProgramState& ProgramWide();

}  // namespace soten::ui
