#include "ui/reading/PaneColors.h"

namespace soten::ui::colors {

QColor GradeColor(int grade) {
    switch (grade) {
        case 1:
        case 2:
            return Red;
        case 3:
            return DarkGreen;
        default:
            return Blue;
    }
}

QColor VerdictColor(SansaiVerdict verdict) {
    return verdict <= SansaiVerdict::Good ? Red : Blue;
}

QColor VerdictColor(InyoVerdict verdict) {
    switch (verdict) {
        case InyoVerdict::Good:
            return Red;
        case InyoVerdict::Caution:
            return DarkGreen;
        default:
            return Blue;
    }
}

}  // namespace soten::ui::colors
