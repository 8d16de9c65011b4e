#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "analysis/reading/NewReading.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::Sjis;
using test::Utf8;

// Plays the user: answers the dialog from a script and records what the flow
// asked the window to do.
class ScriptedHost : public NewReadingHost {
public:
    explicit ScriptedHost(ProgramState& state) : state_(state) {}

    void Enter(const char* surname, const char* given) {
        script_.push_back(EnteredNames{Sjis(surname), Sjis(given)});
    }
    void EnterRaw(std::string surname, std::string given) {
        script_.push_back(EnteredNames{std::move(surname), std::move(given)});
    }
    void Cancel() { script_.push_back(std::nullopt); }

    std::optional<EnteredNames> ShowEntryDialog() override {
        events.push_back("dialog");
        if (script_.empty()) return std::nullopt;
        auto next = script_.front();
        script_.pop_front();
        return next;
    }
    void ShowErrorBox(const std::string& message) override {
        events.push_back("error:" + Utf8(message));
    }
    void EnableResultCommands() override { events.push_back("enable"); }
    void RunMainRoutine() override {
        events.push_back("main");
        NoResultPanes panes;
        soten::RunMainRoutine(state_, FixtureTables(), panes);
    }

    std::vector<std::string> events;

private:
    ProgramState& state_;
    std::deque<std::optional<EnteredNames>> script_;
};

const std::string TooMany = "error:文字数が多すぎます";
const std::string Invalid = "error:不適切な文字があります";

struct LimitCase {
    const char* surname;
    const char* given;
    std::vector<std::string> events;
};

class Limits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(Limits, AreCountedInCharactersAndInclusive) {
    ProgramState state;
    ScriptedHost host(state);
    host.Enter(GetParam().surname, GetParam().given);
    NewReading(host, state, FixtureTables());
    EXPECT_EQ(host.events, GetParam().events);
}

const std::vector<std::string> Accepted = {"dialog", "enable", "main"};
const std::vector<std::string> RefusedTooMany = {"dialog", TooMany, "dialog"};
const std::vector<std::string> RefusedInvalid = {"dialog", Invalid, "dialog"};

INSTANTIATE_TEST_SUITE_P(
    Names, Limits,
    ::testing::Values(LimitCase{"山山山山山山山山山山", "子子", Accepted},
                      LimitCase{"山山山山山山山山山山", "子子子", RefusedTooMany},
                      LimitCase{"山山山山山山山山山山山", "子", RefusedTooMany},
                      LimitCase{"山山山山山山", "子子子子子子", Accepted},
                      LimitCase{"山山山山山山山", "子子子子子子", RefusedTooMany},
                      LimitCase{"abcdefghijk", "子", RefusedTooMany},
                      LimitCase{"abc", "子", RefusedInvalid},
                      // Too long and uncountable: the length rule speaks first.
                      LimitCase{"、、、、、、、、、、、", "子", RefusedTooMany},
                      LimitCase{"山", "々子", RefusedInvalid},
                      LimitCase{"山\x7F", "子", RefusedInvalid},
                      LimitCase{"山\n", "子", RefusedInvalid}));

TEST(NewReading, TenAndTwoFillsTheStrokesOfEachPartOnly) {
    ProgramState state;
    ScriptedHost host(state);
    host.Enter("山田山田山田山田山田", "太郎");
    NewReading(host, state, FixtureTables());
    const NameRecord& r = state.record;
    EXPECT_EQ(r.Lengths[Surname], 10);
    EXPECT_EQ(r.Lengths[GivenName], 2);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(r.Strokes[Surname][k], k % 2 ? 3 : 5) << k;
    EXPECT_EQ(r.Strokes[GivenName][1], 4);
    EXPECT_EQ(r.Strokes[GivenName][2], 9);
    for (int k = 3; k <= 10; ++k) EXPECT_EQ(r.Strokes[GivenName][k], 0) << k;
}

TEST(NewReading, AsksAgainUntilTheNamesPass) {
    ProgramState state;
    ScriptedHost host(state);
    host.Enter("山田", "太a");
    host.Enter("山田", "太郎");
    NewReading(host, state, FixtureTables());
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"dialog", Invalid, "dialog", "enable", "main"}));
    EXPECT_EQ(state.record.Fortunes[Total], 21);
    EXPECT_TRUE(state.shown.valid);
}

// A host that names the characters of a refusal, as the desktop window does.
class NamingHost : public ScriptedHost {
public:
    using ScriptedHost::ScriptedHost;
    void ShowRefusal(const std::string& message,
                     const std::vector<std::string>& characters) override {
        std::string named;
        for (const std::string& character : characters) named += "「" + Utf8(character) + "」";
        events.push_back("error:" + Utf8(message) + named);
    }
};

TEST(NewReading, ARefusalNamesTheCharactersThatCannotBeCounted) {
    for (const auto& [surname, given, event] :
         {std::tuple{"山a", "太郎a", Invalid + "「a」"},
          std::tuple{"山", "々子、", Invalid + "「々」「、」"},
          std::tuple{"山山山山山山山山山山山", "子", TooMany}}) {
        ProgramState state;
        NamingHost host(state);
        host.Enter(surname, given);
        NewReading(host, state, FixtureTables());
        EXPECT_EQ(host.events, (std::vector<std::string>{"dialog", event, "dialog"})) << surname;
    }
}

TEST(NewReading, CancelOnTheFirstDialogChangesNothing) {
    ProgramState state;
    ScriptedHost host(state);
    host.Cancel();
    NewReading(host, state, FixtureTables());
    EXPECT_EQ(host.events, std::vector<std::string>{"dialog"});
    EXPECT_FALSE(state.shown.valid);
    EXPECT_TRUE(state.record.ReportText.empty());
}

TEST(NewReading, RejectedAttemptThenCancelKeepsTheReadingOnShow) {
    ProgramState state;
    {
        ScriptedHost host(state);
        host.Enter("山田", "太郎");
        NewReading(host, state, FixtureTables());
    }
    const ShownReading before = state.shown;
    const std::string report = state.record.ReportText;

    ScriptedHost host(state);
    host.Enter("渡渡渡渡渡渡渡渡渡渡渡", "子子");  // 11 characters: refused
    host.Cancel();
    NewReading(host, state, FixtureTables());

    // The record holds the rejected attempt...
    EXPECT_EQ(state.record.Lengths[Surname], 11);
    EXPECT_EQ(Utf8(state.record.Names[Surname]), "渡渡渡渡渡渡渡渡渡渡渡");
    // ...while everything of the reading on show is untouched.
    EXPECT_EQ(state.record.ReportText, report);
    EXPECT_EQ(state.record.Fortunes, before.record.Fortunes);
    EXPECT_EQ(state.shown.record.Names, before.record.Names);
    EXPECT_EQ(state.shown.record.Lengths, before.record.Lengths);
    EXPECT_EQ(state.shown.record.Strokes, before.record.Strokes);
    EXPECT_EQ(state.shown.lines.PrintLines, before.lines.PrintLines);
    EXPECT_EQ(Utf8(state.shown.record.Names[Surname]), "山田");
    EXPECT_THROW((void)state.record.Strokes[Surname][11], std::out_of_range);
}

TEST(NewReading, StyleChangeAfterAReadingDoesNotAlterTheShownStyle) {
    ProgramState state;
    ScriptedHost host(state);
    host.Enter("山田", "太郎");
    NewReading(host, state, FixtureTables());
    state.strokeStyle = StrokeStyle::Honji;  // picked in the dialog, then cancelled
    EXPECT_EQ(state.shown.style, StrokeStyle::Shinji);
}

TEST(NewReading, RefusesAnEmptyPartFromACallerWithoutTheDialog) {
    ProgramState state;
    ScriptedHost host(state);
    host.EnterRaw("", Sjis("太郎"));
    NewReading(host, state, FixtureTables());
    EXPECT_EQ(host.events, RefusedInvalid);
}

TEST(NewReading, RefusesTenThousandCharactersQuickly) {
    ProgramState state;
    ScriptedHost host(state);
    host.EnterRaw(std::string(10000, 'a'), Sjis("太郎"));
    NewReading(host, state, FixtureTables());
    EXPECT_EQ(host.events, RefusedTooMany);
    EXPECT_EQ(state.record.Lengths[Surname], 10000);
}

TEST(ReadNames, StoresTextsAsTypedAndCountsCharacters) {
    NameRecord record;
    ReadNames(record, Sjis(" 山ｱ"), Sjis("太郎　"));
    EXPECT_EQ(record.Names[Surname], Sjis(" 山ｱ"));
    EXPECT_EQ(record.Lengths[Surname], 3);
    EXPECT_EQ(record.Lengths[GivenName], 3);
}

}  // namespace
}  // namespace soten
