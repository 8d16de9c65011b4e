#include "ReportFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "FileReplacement.h"

namespace soten::ui {

namespace {

using platform::FileReplacement;

std::string CreateErrorMessage(const QString& path, const QString& reason) {
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return QStringLiteral("ファイル \"%1\". %2 を作成できません")
        .arg(fullPath, reason)
        .toStdString();
}

}  // namespace

QString FileErrorReason(int error) {
    switch (error) {
        case FileReplacement::NotARegularFile:
        case EISDIR:
            return QStringLiteral("通常のファイルではありません");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("フォルダが見つかりません");
        case EACCES:
        case EPERM:
            return QStringLiteral("アクセスが拒否されました");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("ディスクに空きがありません");
        case EROFS:
            return QStringLiteral("読み取り専用のファイルシステムです");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
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
