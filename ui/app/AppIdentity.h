#pragma once

#include <QString>

#include "SotenIdentity.h"

namespace soten::ui {

// The application title: the main window's caption and the caption of the
// default error box.
inline QString ApplicationTitle() {
    return QStringLiteral(SOTEN_PROGRAM_NAME);
}

// The reverse-DNS name the desktop knows the program by (.desktop file,
// AppStream component, icon name).
inline QString ApplicationId() {
    return QStringLiteral(SOTEN_APP_ID);
}

// "Version " and the version number.
inline QString VersionText() {
    return QStringLiteral("Version " SOTEN_VERSION);
}

}  // namespace soten::ui
