// The printer access layer over a fake printing service: the printer check,
// the supported settings, the setters' rules, ApplySettings, Refresh and the
// change watch.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <tuple>

#include "printing/device/PrinterSession.h"
#include "tests/support/printing/FakePrinterBackend.h"

namespace soten {
namespace {

using printing::FakePrinterBackend;

// A layer over a fake service; `fake` stays valid for the test.
struct Layer {
    explicit Layer(std::vector<FakePrinterBackend::Printer> printers) {
        auto backend = std::make_unique<FakePrinterBackend>();
        backend->printers = std::move(printers);
        fake = backend.get();
        printer = std::make_unique<PrinterSession>(std::move(backend));
    }
    FakePrinterBackend* fake;
    std::unique_ptr<PrinterSession> printer;
};

FakePrinterBackend::Printer Plain(const std::string& name, std::uint32_t attributes = 0) {
    return FakePrinterBackend::StandardPrinter(name, attributes);
}

FakePrinterBackend::Printer Hidden(const std::string& name) {
    return Plain(name, printing::PrinterAttributeHidden);
}

template <typename Error = std::exception>
std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PrinterAssertionError& error) {
        return error.Message();  // without the source line
    } catch (const Error& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

const std::string NoPrinter = "TRbPrinter.CheckNoPrinter: No Printer";

TEST(PrinterSessionTest, CheckNoPrinterNeedsOnePrinterThatIsNotHidden) {
    const std::pair<std::vector<FakePrinterBackend::Printer>, std::string> cases[] = {
        {{}, NoPrinter},
        {{Hidden("a"), Hidden("b")}, NoPrinter},
        {{Hidden("a"), Plain("b")}, "(nothing thrown)"},
    };
    for (const auto& [printers, expected] : cases) {
        Layer layer(printers);
        EXPECT_EQ(MessageOf<NoPrinterError>([&] { layer.printer->CheckNoPrinter(); }), expected)
            << printers.size() << " printers";
    }
}

TEST(PrinterSessionTest, OnlyHiddenPrintersRaiseNoPrinter) {
    Layer layer({Hidden("a")});
    // Refresh asks for the current printer's settings.
    EXPECT_EQ(MessageOf<NoPrinterError>([&] { layer.printer->Refresh(); }), NoPrinter);
    for (const std::function<void()>& operation : std::vector<std::function<void()>>{
             [&] { layer.printer->SupportedSettings(); }, [&] { layer.printer->SetScale(100); },
             [&] { layer.printer->Resolution(); }, [&] { layer.printer->PhysicalOffset(); }}) {
        EXPECT_EQ(MessageOf<NoPrinterError>(operation), NoPrinter);
    }
}

TEST(PrinterSessionTest, PrinterWithoutASettingsRecordIsAnAssertionNamingItsSource) {
    auto printer = Plain("p");
    printer.hasSettings = false;
    Layer layer({printer});
    try {
        layer.printer->SupportedSettings();
        FAIL() << "no error";
    } catch (const PrinterAssertionError& error) {
        EXPECT_EQ(error.Message(), "Assertion failure");
        EXPECT_NE(std::string(error.what()).find("(PrinterSession.cpp, line "), std::string::npos)
            << error.what();
    }
}

// ---- The setters ---------------------------------------------------------------

PrinterSettings Mode(std::int32_t paper, std::int16_t orientation, std::int16_t color,
                     std::int16_t scale) {
    PrinterSettings mode = FakePrinterBackend::StandardPrinter("p").mode;
    mode.paperSize = paper;
    mode.orientation = orientation;
    mode.color = color;
    mode.scale = scale;
    return mode;
}

struct SetterCase {
    const char* what;
    PrinterSettings before;
    std::function<void(PrinterSession&)> set;
    PrinterSettings after;
    bool changed;
};

void PrintTo(const SetterCase& c, std::ostream* out) {
    *out << c.what;
}

class SetterTest : public ::testing::TestWithParam<SetterCase> {};

TEST_P(SetterTest, OnlyARealChangeReachesTheDriverAndOnlyAtApplySettings) {
    auto printer = Plain("p");
    printer.mode = GetParam().before;
    Layer layer({printer});

    GetParam().set(*layer.printer);
    EXPECT_TRUE(layer.fake->merged.empty());
    layer.printer->ApplySettings();

    EXPECT_EQ(layer.fake->merged.size(), GetParam().changed ? 1u : 0u);
    EXPECT_EQ(layer.fake->printers[0].mode, GetParam().after);
}

const auto A4 = [](PrinterSession& p) { p.SetPaperSizeNumber(9); };
const auto Landscape = [](PrinterSession& p) { p.SetOrientation(PageOrientation::Landscape); };
const auto Monochrome = [](PrinterSession& p) { p.SetColor(false); };
const auto Full = [](PrinterSession& p) { p.SetScale(100); };

INSTANTIATE_TEST_SUITE_P(
    Rules, SetterTest,
    ::testing::Values(
        SetterCase{"A4 over A3", Mode(8, 1, 2, 100), A4, Mode(9, 1, 2, 100), true},
        SetterCase{"A4 over A4", Mode(9, 1, 2, 100), A4, Mode(9, 1, 2, 100), false},
        SetterCase{"user size over A4", Mode(9, 1, 2, 100),
                   [](PrinterSession& p) { p.SetPaperSizeNumber(256); }, Mode(256, 1, 2, 100),
                   true},
        SetterCase{"landscape over portrait", Mode(9, 1, 2, 100), Landscape, Mode(9, 2, 2, 100),
                   true},
        SetterCase{"landscape over landscape", Mode(9, 2, 2, 100), Landscape, Mode(9, 2, 2, 100),
                   false},
        SetterCase{"monochrome over colour", Mode(9, 1, 2, 100), Monochrome, Mode(9, 1, 1, 100),
                   true},
        SetterCase{"monochrome over monochrome", Mode(9, 1, 1, 100), Monochrome, Mode(9, 1, 1, 100),
                   false},
        SetterCase{"monochrome over a code of the driver", Mode(9, 1, 3, 100), Monochrome,
                   Mode(9, 1, 3, 100), false},
        SetterCase{"colour over monochrome", Mode(9, 1, 1, 100),
                   [](PrinterSession& p) { p.SetColor(true); }, Mode(9, 1, 2, 100), true},
        SetterCase{"100 percent over 75", Mode(9, 1, 2, 75), Full, Mode(9, 1, 2, 100), true},
        SetterCase{"100 percent over 100", Mode(9, 1, 2, 100), Full, Mode(9, 1, 2, 100), false}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(PrinterSessionTest, SetterOfAnUnsupportedSettingRaisesItsMessage) {
    using enum PrinterSetting;
    const std::tuple<SupportedSettingSet, std::function<void(PrinterSession&)>, const char*>
        cases[] = {
            {{Orientation, Scale, Color},
             A4,
             "TRbPrinter.SetPaperSizeNumber: PaperSize is not Supported"},
            {{PaperSize, Scale, Color},
             Landscape,
             "TRbPrinter.SetOrientation: Orientation is not Supported"},
            {{Orientation, PaperSize, Scale},
             Monochrome,
             "TRbPrinter.SetColor: Color is not Supported"},
            {{Orientation, PaperSize, Color}, Full, "TRbPrinter.SetScale: Scale is not Supported"},
        };
    for (const auto& [supported, set, message] : cases) {
        auto printer = Plain("p");
        printer.mode.supported = supported;
        Layer layer({printer});
        EXPECT_EQ(MessageOf<UnsupportedSettingError>([&] { set(*layer.printer); }), message);
    }
}

// ---- ApplySettings ---------------------------------------------------------------

TEST(PrinterSessionTest, ApplySettingsHandsAllChangesToTheDriverInOneStep) {
    Layer layer({Plain("p")});
    layer.printer->Refresh();
    Landscape(*layer.printer);
    Monochrome(*layer.printer);

    layer.printer->ApplySettings();
    layer.printer->ApplySettings();  // nothing left to hand over

    ASSERT_EQ(layer.fake->merged.size(), 1u);
    EXPECT_EQ(layer.fake->printers[0].mode, Mode(9, 2, 1, 100));
}

TEST(PrinterSessionTest, ApplySettingsWithoutAChangeDoesNothing) {
    Layer layer({Plain("p")});
    A4(*layer.printer);  // already A4
    layer.printer->ApplySettings();
    EXPECT_TRUE(layer.fake->merged.empty());
}

TEST(PrinterSessionTest, ApplySettingsFailures) {
    struct Case {
        const char* message;
        std::function<void(Layer&)> between;  // after SetScale(50), before ApplySettings
        bool keepsTheChange;
    };
    const Case cases[] = {
        // The list changed: the watch dropped the copy but not the change.
        {"TRbPrinter.ApplySettings; No Setteing Info",
         [](Layer& l) {
             l.fake->printers.push_back(Plain("new"));
             l.printer->SettingsChanged();
         },
         true},
        {"TRbPrinter.ApplySettings; Devmode Size Should be greater than 0",
         [](Layer& l) { l.fake->printers[0].hasSettings = false; }, true},
        {"Assertion failure", [](Layer& l) { l.fake->refuseMerge = true; }, false},
        {"TRbPrinter.ApplySettings: Printer \"p\" is not available",
         [](Layer& l) { l.fake->printers.erase(l.fake->printers.begin()); }, true},
    };
    for (const Case& c : cases) {
        Layer layer({Plain("p"), Plain("q")});
        layer.printer->SetScale(50);
        c.between(layer);
        EXPECT_EQ(MessageOf<>([&] { layer.printer->ApplySettings(); }), c.message);
        EXPECT_EQ(layer.fake->printers.front().mode.scale, 100) << c.message;
        // A change still waiting is tried again, and fails again; one the
        // driver was given is not.
        EXPECT_EQ(MessageOf<>([&] { layer.printer->ApplySettings(); }),
                  c.keepsTheChange ? c.message : "(nothing thrown)")
            << c.message;
    }
}

// ---- Refresh and the change watch ---------------------------------------------------

TEST(PrinterSessionTest, RefreshStartsOverFromThePrinterChosen) {
    Layer layer({Plain("a"), Plain("b")});
    layer.printer->SetScale(50);
    layer.fake->current = "b";  // as the dialog leaves it
    layer.fake->printers[1].mode.orientation = OrientationLandscape;

    layer.printer->Refresh();

    // The scale set before is dropped; the next change starts from "b".
    layer.printer->ApplySettings();
    EXPECT_TRUE(layer.fake->merged.empty());
    Monochrome(*layer.printer);
    layer.printer->ApplySettings();
    ASSERT_EQ(layer.fake->merged.size(), 1u);
    EXPECT_EQ(layer.fake->merged[0], Mode(9, 2, 1, 100));
    EXPECT_EQ(layer.fake->printers[0].mode, Mode(9, 1, 2, 100));
}

TEST(PrinterSessionTest, WatchKeepsEverythingWhenTheListIsTheSame) {
    Layer layer({Plain("a")});
    layer.printer->Refresh();
    layer.printer->SetScale(50);
    layer.printer->SettingsChanged();
    EXPECT_EQ(layer.fake->resets, 0);
    layer.printer->ApplySettings();
    ASSERT_EQ(layer.fake->merged.size(), 1u);
    EXPECT_EQ(layer.fake->printers[0].mode.scale, 50);
}

TEST(PrinterSessionTest, WatchStartsOverOnAnyDifferenceOfTheList) {
    using List = std::vector<FakePrinterBackend::Printer>;
    const std::pair<const char*, std::function<void(List&)>> differences[] = {
        {"added", [](List& l) { l.push_back(Plain("c")); }},
        {"removed", [](List& l) { l.pop_back(); }},
        {"renamed", [](List& l) { l[1].name = "B"; }},
        {"reordered", [](List& l) { std::swap(l[0], l[1]); }},
        {"new default", [](List& l) { l[1].attributes = printing::PrinterAttributeDefault; }},
    };
    for (const auto& [what, change] : differences) {
        Layer layer({Plain("a"), Plain("b")});
        layer.fake->current = "b";
        layer.printer->Refresh();
        change(layer.fake->printers);
        // Settings made meanwhile, which the copy taken by Refresh lacks.
        for (auto& p : layer.fake->printers) p.mode.scale = 80;

        layer.printer->SettingsChanged();

        EXPECT_EQ(layer.fake->resets, 1) << what;
        // The next change starts from a fresh copy.
        Monochrome(*layer.printer);
        layer.printer->ApplySettings();
        ASSERT_EQ(layer.fake->merged.size(), 1u) << what;
        EXPECT_EQ(layer.fake->merged[0].scale, 80) << what;
        // The new list is the one kept: the same list again changes nothing.
        layer.printer->SettingsChanged();
        EXPECT_EQ(layer.fake->resets, 1) << what;
    }
}

// ---- Device and documents ------------------------------------------------------------

TEST(PrinterSessionTest, PageReachesThePrinterOnlyAtEndDocument) {
    Layer layer({Plain("a")});
    layer.printer->BeginDocument(QStringLiteral("first"));
    layer.printer->PageCanvas().TextOut(10, 20, QStringLiteral("x"));
    layer.printer->AbortDocument();
    layer.printer->BeginDocument(QStringLiteral("second"));
    EXPECT_TRUE(layer.fake->documents.empty());

    layer.printer->EndDocument();

    ASSERT_EQ(layer.fake->documents.size(), 1u);
    EXPECT_EQ(layer.fake->documents[0].title, QStringLiteral("second"));
    EXPECT_TRUE(layer.fake->documents[0].page.empty());
    EXPECT_FALSE(layer.printer->DocumentOpen());
}

}  // namespace
}  // namespace soten
