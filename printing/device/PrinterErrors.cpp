#include "printing/device/PrinterErrors.h"

#include <filesystem>

namespace soten {

namespace {

std::string WithLocation(const std::string& message, const std::source_location& where) {
    const std::string file = std::filesystem::path(where.file_name()).filename().string();
    return message + " (" + file + ", line " + std::to_string(where.line()) + ")";
}

}  // namespace

PrinterAssertionError::PrinterAssertionError(const std::string& message, std::source_location where)
    : std::logic_error(WithLocation(message, where)), message_(message) {}

}  // namespace soten
