#include "analysis/naming/SpokenName.h"

#include "analysis/naming/PassportRomaji.h"
#include "analysis/naming/SoundNotes.h"

namespace soten {

SpokenName SpeakName(std::string_view surname, std::string_view surnameYomi, std::string_view given,
                     std::string_view givenYomi) {
    SpokenName spoken;
    if (auto spelling = SpellForPassport(givenYomi)) {
        spoken.romaji = std::move(spelling->romaji);
        spoken.alternatives = std::move(spelling->alternatives);
    }
    if (const auto surnameSpelling = SpellForPassport(surnameYomi)) {
        PassportName name = PassportNameOf(surnameSpelling->romaji, spoken.romaji);
        spoken.fullName = std::move(name.fullName);
        spoken.initials = std::move(name.initials);
    }
    spoken.notes = SoundNotes(surname, surnameYomi, given, givenYomi, spoken.initials);
    return spoken;
}

}  // namespace soten
