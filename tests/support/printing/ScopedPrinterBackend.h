#pragma once

#include <memory>
#include <utility>

#include "printing/device/PrinterSession.h"
#include "tests/support/printing/FakePrinterBackend.h"

namespace soten::test {

// Puts a fake printing service under the program's one printer object for the
// life of a test and gives the object its previous service back afterwards,
// so no later test runs over what this one left behind.
class ScopedPrinterBackend {
public:
    explicit ScopedPrinterBackend(std::unique_ptr<printing::FakePrinterBackend> backend =
                                      std::make_unique<printing::FakePrinterBackend>())
        : fake_(backend.get()), previous_(SharedPrinterSession().UseBackend(std::move(backend))) {}
    ~ScopedPrinterBackend() { SharedPrinterSession().UseBackend(std::move(previous_)); }
    ScopedPrinterBackend(const ScopedPrinterBackend&) = delete;
    ScopedPrinterBackend& operator=(const ScopedPrinterBackend&) = delete;

    printing::FakePrinterBackend& Fake() const { return *fake_; }

private:
    printing::FakePrinterBackend* fake_;
    std::unique_ptr<printing::PrinterBackend> previous_;
};

}  // namespace soten::test
