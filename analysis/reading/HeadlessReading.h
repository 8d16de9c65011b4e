#pragma once

#include <optional>
#include <string>

#include "analysis/reading/NewReading.h"

namespace soten {

// One pass of the new-reading flow without windows: the names are entered
// once, and a refusal cancels the dialog that would come back. Returns the
// refusal message (code page 932), or nothing when the reading was made.
// The style is the one already in `state.strokeStyle`.
std::optional<std::string> ReadHeadless(ProgramState& state, const Tables& tables,
                                        EnteredNames names);

}  // namespace soten
