#include "RuntimeFolder.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>

namespace soten::platform {

void EnsureRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QString runtime = QDir::tempPath() + QStringLiteral("/runtime-") +
                            QString::number(static_cast<unsigned long>(::getuid()));
    if (QDir().mkpath(runtime) &&
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
}

}  // namespace soten::platform
