#include "analysis/reading/NewReading.h"

#include <algorithm>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Report.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/ShiftJis.h"

namespace soten {

const std::string& TooManyCharactersMessage() {
    static const std::string message = Cp932Text("文字数が多すぎます");
    return message;
}

const std::string& InvalidCharacterMessage() {
    static const std::string message = Cp932Text("不適切な文字があります");
    return message;
}

void ReadNames(NameRecord& record, const std::string& surname, const std::string& given) {
    record.Names[Surname] = surname;
    record.Names[GivenName] = given;
    record.Lengths[Surname] = CountCharacters(surname);
    record.Lengths[GivenName] = CountCharacters(given);
}

std::optional<std::string> CheckNames(ProgramState& state, const Tables& tables) {
    NameRecord& record = state.record;
    const int surname = record.Lengths[Surname];
    const int given = record.Lengths[GivenName];
    if (surname > MaxPartChars || given > MaxPartChars || surname + given > MaxTotalChars) {
        record.LookupOk = false;
        return TooManyCharactersMessage();
    }
    if (surname == 0 || given == 0) {
        record.LookupOk = false;
        return InvalidCharacterMessage();
    }
    LookupStrokes(record, state.strokeStyle, tables.dictionary);
    if (!record.LookupOk) return InvalidCharacterMessage();
    return std::nullopt;
}

std::vector<std::string> UncountableCharacters(const ProgramState& state, const Tables& tables) {
    std::vector<std::string> characters;
    const NameRecord& record = state.record;
    for (const UncountableCharacter& found :
         soten::UncountableCharacters(record, state.strokeStyle, tables.dictionary)) {
        std::string character(found.character);
        if (std::find(characters.begin(), characters.end(), character) == characters.end()) {
            characters.push_back(std::move(character));
        }
    }
    return characters;
}

void NewReading(NewReadingHost& host, ProgramState& state, const Tables& tables) {
    for (;;) {
        const auto names = host.ShowEntryDialog();
        if (!names) return;
        ReadNames(state.record, names->surname, names->given);
        const auto refusal = CheckNames(state, tables);
        if (!refusal) break;
        host.ShowRefusal(*refusal, *refusal == InvalidCharacterMessage()
                                       ? UncountableCharacters(state, tables)
                                       : std::vector<std::string>());
    }
    host.EnableResultCommands();
    host.RunMainRoutine();
}

void RunMainRoutine(ProgramState& state, const Tables& tables, ResultPanes& panes) {
    NameRecord& record = state.record;
    panes.ClearResultPanes();
    record.Lengths[Surname] = CountCharacters(record.Names[Surname]);
    record.Lengths[GivenName] = CountCharacters(record.Names[GivenName]);
    ComputeFortunes(record);
    panes.DrawNameColumn();
    panes.DrawFortuneList();
    ComposeReport(record, state.lines, tables);
    panes.SetReportHolder(record.ReportText);
    // Member-wise, so the strings of the previous copy keep their buffers.
    state.shown.valid = true;
    state.shown.record = record;
    state.shown.style = state.strokeStyle;
    state.shown.lines = state.lines;
    state.shown.givenReading = state.givenReading;
    panes.DrawReadingLines();
}

}  // namespace soten
