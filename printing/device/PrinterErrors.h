#pragma once

// The errors of the printer access layer, apart from the layer itself so a
// printing service can raise them without knowing the layer.

#include <source_location>
#include <stdexcept>
#include <string>

namespace soten {

// A printer error; the program's default error handler shows what().
class PrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No usable printer exists.
class NoPrinterError : public PrinterError {
public:
    using PrinterError::PrinterError;
};

// The current printer does not accept a setting.
class UnsupportedSettingError : public PrinterError {
public:
    using PrinterError::PrinterError;
};

// A broken assumption about the printer's settings record. what() carries the
// source file and line beside the message, Message() the message alone.
class PrinterAssertionError : public std::logic_error {
public:
    explicit PrinterAssertionError(const std::string& message,
                                   std::source_location where = std::source_location::current());
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

}  // namespace soten
