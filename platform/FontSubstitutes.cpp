#include "FontSubstitutes.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace soten::platform {

void InstallFontSubstitutes() {
    static const struct {
        const char* windowsFace;
        const char* linuxFace;
    } substitutes[] = {
        {GothicFace, "IPAGothic"},
        {MinchoFace, "IPAMincho"},
        {ProportionalGothicFace, "IPAPGothic"},
        {UiGothicFace, "IPAPGothic"},
    };
    for (const auto& entry : substitutes) {
        const QString face = QString::fromUtf8(entry.windowsFace);
        if (QFont::substitutes(face).isEmpty()) {
            QFont::insertSubstitution(face, QString::fromUtf8(entry.linuxFace));
        }
    }
}

}  // namespace soten::platform
