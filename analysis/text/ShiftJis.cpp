#include "analysis/text/ShiftJis.h"

#include <stdexcept>

#include "analysis/text/Cp932.h"

namespace soten {

int CountCharacters(std::string_view cp932) {
    int count = 0;
    for (std::size_t i = 0; i < cp932.size(); ++count) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size();
        i += pair ? 2 : 1;
    }
    return count;
}

std::string Cp932Text(std::string_view utf8) {
    auto converted = Cp932::FromUtf8(utf8);
    if (!converted) throw std::logic_error("text not representable in code page 932");
    return *converted;
}

}  // namespace soten
