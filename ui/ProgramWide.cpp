#include "ProgramWide.h"

namespace soten::ui {

ProgramState& ProgramWide() {
    static ProgramState state;
    return state;
}

}  // namespace soten::ui
