#include "ui/reading/NameColumnLayout.h"

namespace soten::ui {

NameColumnLayout NameColumnLayout::For(int surnameLength, int givenLength) {
    NameColumnLayout layout;
    layout.surnameLength = surnameLength;
    layout.givenLength = givenLength;
    layout.upperMarker = surnameLength == 1 ? 1 : 0;
    layout.lowerMarker = givenLength == 1 ? 1 : 0;
    layout.rowCount = surnameLength + givenLength + layout.upperMarker + layout.lowerMarker;
    layout.top = layout.IsTall() ? 9 : 19;
    layout.height = layout.IsTall() ? 235 : 200;
    layout.pitch = layout.height / (layout.rowCount - 1);
    return layout;
}

}  // namespace soten::ui
