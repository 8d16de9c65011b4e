#include "analysis/text/ShiftJis.h"

#include <stdexcept>

#include "analysis/text/Cp932.h"

namespace soten {

std::string Cp932Text(std::string_view utf8) {
    auto converted = Cp932::FromUtf8(utf8);
    if (!converted) throw std::logic_error("text not representable in code page 932");
    return *converted;
}

}  // namespace soten
