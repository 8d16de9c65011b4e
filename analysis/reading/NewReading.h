#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/reading/ProgramState.h"
#include "analysis/reading/Tables.h"

namespace soten {

// The two texts of the name entry dialog, in code page 932.
struct EnteredNames {
    std::string surname;
    std::string given;
};

// What the new-reading flow needs from its surroundings: the entry dialog, the
// error box, the enabling of the result commands and the main routine. The
// desktop program answers with its windows, soten-cli and the tests without.
class NewReadingHost {
public:
    virtual ~NewReadingHost() = default;
    // Shows the entry dialog; nothing on Cancel. The dialog writes the stroke
    // style into the program state itself while it is open.
    virtual std::optional<EnteredNames> ShowEntryDialog() = 0;
    // A modal error box with the given code page 932 text.
    virtual void ShowErrorBox(const std::string& message) = 0;
    // A refusal: the error box with the message, and for an unknown
    // character the characters (code page 932) that cannot be counted.
    // Hosts that do not name them show the message alone.
    virtual void ShowRefusal(const std::string& message,
                             const std::vector<std::string>& /*characters*/) {
        ShowErrorBox(message);
    }
    virtual void EnableResultCommands() = 0;
    virtual void RunMainRoutine() = 0;
};

// The three panes and the report holder, as the main routine draws and fills
// them. Headless callers pass NoResultPanes.
class ResultPanes {
public:
    virtual ~ResultPanes() = default;
    virtual void ClearResultPanes() {}
    virtual void DrawNameColumn() {}
    virtual void DrawFortuneList() {}
    virtual void SetReportHolder(const std::string& /*reportText*/) {}
    virtual void DrawReadingLines() {}
};

class NoResultPanes final : public ResultPanes {};

// The system's own messages, in code page 932.
const std::string& TooManyCharactersMessage();  // "文字数が多すぎます"
const std::string& InvalidCharacterMessage();   // "不適切な文字があります"

// Stores the dialog texts as typed and their character counts.
void ReadNames(NameRecord& record, const std::string& surname, const std::string& given);

// Length limits and lookup for the names already read: nothing when they are
// accepted, otherwise the message to show. An empty part (which the dialog
// never hands over) is refused as a name that cannot be counted.
std::optional<std::string> CheckNames(ProgramState& state, const Tables& tables);

// The distinct characters (code page 932) of the names already read that
// cannot be counted in the state's style, in order.
std::vector<std::string> UncountableCharacters(const ProgramState& state, const Tables& tables);

// Asks for names until they are accepted or the dialog is cancelled, then
// enables the result commands and runs the main routine.
void NewReading(NewReadingHost& host, ProgramState& state, const Tables& tables);

// The main routine of an accepted reading: clears the panes, computes the five
// numbers, draws the name column and the list, composes the report and the
// wrapped reading, fills the report holder, draws the reading, and keeps the
// result as the reading on show.
void RunMainRoutine(ProgramState& state, const Tables& tables, ResultPanes& panes);

}  // namespace soten
