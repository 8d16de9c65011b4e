#include "ui/naming/SpokenCells.h"

#include <QStringList>

namespace soten::ui {

QVariant SpokenCell(const SpokenName& spoken, bool romaji, int role) {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    if (!romaji) {
        QStringList notes;
        for (const std::string& note : spoken.notes) notes << QString::fromStdString(note);
        return notes.join(role == Qt::ToolTipRole ? QStringLiteral("\n") : QStringLiteral("、"));
    }
    const std::string& shown = spoken.fullName.empty() ? spoken.romaji : spoken.fullName;
    if (role != Qt::ToolTipRole) return QString::fromStdString(shown);
    QStringList lines;
    if (!spoken.alternatives.empty()) {
        QStringList others;
        for (const std::string& other : spoken.alternatives)
            others << QString::fromStdString(other);
        lines << QStringLiteral("長音を書く形：%1").arg(others.join(QStringLiteral("、")));
    }
    if (!spoken.initials.empty()) {
        lines << QStringLiteral("頭文字：%1").arg(QString::fromStdString(spoken.initials));
    }
    if (spoken.fullName.empty() && !spoken.romaji.empty()) {
        lines << QStringLiteral("名字の読みがあると姓名で表示します");
    }
    return lines.isEmpty() ? QVariant() : QVariant(lines.join(QStringLiteral("\n")));
}

QString SpokenHeaderTip(bool romaji) {
    return romaji ? QStringLiteral("パスポートのヘボン式（長音は書きません）")
                  : QStringLiteral("名字と続けたときの音と字の注意（良し悪しではありません）");
}

}  // namespace soten::ui
