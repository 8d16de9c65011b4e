#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "ProgramState.h"
#include "Tables.h"

namespace soten::cli {

// The reading on show as one JSON object; every string in UTF-8.
nlohmann::json ReadingToJson(const ShownReading& reading, const Tables& tables);

// {"surname", "given", "error"} for a refused attempt.
nlohmann::json RefusalToJson(const std::string& surnameUtf8, const std::string& givenUtf8,
                             const std::string& messageCp932);

}  // namespace soten::cli
