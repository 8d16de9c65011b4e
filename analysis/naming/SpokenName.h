#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace soten {

// How a name is written in Latin letters and how it sounds with the
// surname: the given name's passport spelling (PassportRomaji.h), with the
// surname's reading also the whole name and its initials, and the sound
// notes (SoundNotes.h). Everything is empty that the readings cannot give.
struct SpokenName {
    std::string romaji;  // the given name: "TARO"
    std::vector<std::string> alternatives;
    std::string fullName;            // "YAMADA TARO"
    std::string initials;            // "T.Y."
    std::vector<std::string> notes;  // UTF-8
};

// The names and readings are code page 932; a reading may be empty.
SpokenName SpeakName(std::string_view surname, std::string_view surnameYomi, std::string_view given,
                     std::string_view givenYomi);

}  // namespace soten
