#include "ui/reading/ReportHolder.h"

#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

QString ReportHolder::UnicodeText() const {
    return FromCp932(text_);
}

}  // namespace soten::ui
