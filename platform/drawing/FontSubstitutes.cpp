#include "platform/drawing/FontSubstitutes.h"

#include <QFont>
#include <QRawFont>
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

std::vector<std::string> MissingFontPackages(const QString& text) {
    InstallFontSubstitutes();
    static const struct {
        const char* face;
        const char* package;
    } faces[] = {
        {GothicFace, "fonts-ipafont-gothic"},
        {MinchoFace, "fonts-ipafont-mincho"},
    };
    std::vector<std::string> missing;
    for (const auto& entry : faces) {
        const QRawFont font = QRawFont::fromFont(QFont(QString::fromUtf8(entry.face)));
        // With no font at all Qt draws boxes with an engine that claims every
        // character; a real font has a character map.
        bool covers = font.isValid() && !font.fontTable("cmap").isEmpty();
        for (const char32_t character : text.toUcs4()) {
            if (!covers) break;
            if (character > U' ') covers = font.supportsCharacter(character);
        }
        if (!covers) missing.emplace_back(entry.package);
    }
    return missing;
}

}  // namespace soten::platform
