#include "ReportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace soten::ui {

namespace {

std::string CreateErrorMessage(const QString& path, const QString& reason) {
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return QStringLiteral("ファイル \"%1\". %2 を作成できません")
        .arg(fullPath, reason)
        .toStdString();
}

}  // namespace

EFCreateError::EFCreateError(const QString& path, const QString& reason)
    : std::runtime_error(CreateErrorMessage(path, reason)) {}

void WriteReportFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    // Unbuffered, and every short write retried: a buffered QSaveFile takes a
    // short write at its final flush (a disk that fills up half way) for
    // success and commits a truncated file. Retrying the rest makes the
    // system report the error itself.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw EFCreateError(path, file.errorString());
    }
    const char* next = bytes.data();
    qint64 remaining = static_cast<qint64>(bytes.size());
    while (remaining > 0) {
        const qint64 written = file.write(next, remaining);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw EFCreateError(path, reason);
        }
        next += written;
        remaining -= written;
    }
    if (!file.commit()) throw EFCreateError(path, file.errorString());
}

}  // namespace soten::ui
