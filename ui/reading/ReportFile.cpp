#include "ui/reading/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"

namespace soten::ui {

namespace {

using platform::FileReplacement;

std::string CreateErrorMessage(const QString& path, const QString& reason) {
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return platform::FileCreateErrorMessage(fullPath.toStdString(), reason.toStdString());
}

}  // namespace

QString FileErrorReason(int error) {
    return QString::fromStdString(platform::FileErrorReason(error));
}

FileWriteError::FileWriteError(const QString& path, const QString& reason)
    : std::runtime_error(CreateErrorMessage(path, reason)) {}

void WriteReportFile(const QString& path, const std::string& bytes) {
    FileReplacement file(QFile::encodeName(path).toStdString());
    int error = file.Begin();
    if (!error) error = file.Write(bytes.data(), bytes.size());
    if (!error) error = file.Commit();
    if (error) throw FileWriteError(path, FileErrorReason(error));
}

}  // namespace soten::ui
