#pragma once

#include <QSettings>

namespace soten::ui {

// What the windows remember between runs (a dialog's conditions, size and
// place): soten/soten.conf in the user's configuration folder
// (XDG_CONFIG_HOME), beside the data folder's soten/.
inline QSettings ProgramSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("soten"),
                     QStringLiteral("soten"));
}

}  // namespace soten::ui
