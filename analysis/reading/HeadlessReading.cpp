#include "analysis/reading/HeadlessReading.h"

namespace soten {
namespace {

class HeadlessHost final : public NewReadingHost {
public:
    HeadlessHost(ProgramState& state, const Tables& tables, EnteredNames names)
        : state_(state), tables_(tables), names_(std::move(names)) {}

    std::optional<EnteredNames> ShowEntryDialog() override {
        if (asked_) return std::nullopt;
        asked_ = true;
        return names_;
    }
    void ShowErrorBox(const std::string& message) override { refusal = message; }
    void EnableResultCommands() override {}
    void RunMainRoutine() override {
        NoResultPanes panes;
        soten::RunMainRoutine(state_, tables_, panes);
    }

    std::optional<std::string> refusal;

private:
    ProgramState& state_;
    const Tables& tables_;
    EnteredNames names_;
    bool asked_ = false;
};

}  // namespace

std::optional<std::string> ReadHeadless(ProgramState& state, const Tables& tables,
                                        EnteredNames names) {
    HeadlessHost host(state, tables, std::move(names));
    NewReading(host, state, tables);
    return host.refusal;
}

}  // namespace soten
