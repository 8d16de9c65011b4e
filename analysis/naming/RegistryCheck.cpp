#include "analysis/naming/RegistryCheck.h"

namespace soten {

RegistryVerdict JudgeRegistry(bool charactersAllowed, std::optional<YomiClass> yomi) {
    if (!charactersAllowed) return RegistryVerdict::Unregistrable;
    if (yomi == YomiClass::Unverified) return RegistryVerdict::YomiUnverified;
    return RegistryVerdict::Registrable;
}

std::string_view RegistryLabel(RegistryVerdict verdict) {
    switch (verdict) {
        case RegistryVerdict::Registrable:
            return "可";
        case RegistryVerdict::YomiUnverified:
            return "読み要確認";
        case RegistryVerdict::Unregistrable:
            break;
    }
    return "字×";
}

std::string_view RegistryKey(RegistryVerdict verdict) {
    switch (verdict) {
        case RegistryVerdict::Registrable:
            return "ok";
        case RegistryVerdict::YomiUnverified:
            return "checkReading";
        case RegistryVerdict::Unregistrable:
            break;
    }
    return "unregistrable";
}

}  // namespace soten
