#include "printing/device/PdfFile.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"

namespace soten::printing {

namespace {

using platform::FileReplacement;

std::optional<qsizetype> NumberAt(const QByteArray& bytes, qsizetype& at) {
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    const qsizetype start = at;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9') ++at;
    if (at == start || at - start > 12) return std::nullopt;
    return bytes.mid(start, at - start).toLongLong();
}

std::optional<QByteArray> ReadAll(int descriptor) {
    QByteArray bytes;
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(descriptor, buffer, sizeof buffer, offset);
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, got);
        offset += got;
    }
}

}  // namespace

bool IsCompletePdf(const QByteArray& bytes) {
    if (!bytes.startsWith("%PDF-")) return false;
    if (!bytes.trimmed().endsWith("%%EOF")) return false;
    qsizetype at = bytes.lastIndexOf("startxref");
    if (at < 0) return false;
    at += 9;
    const std::optional<qsizetype> table = NumberAt(bytes, at);
    if (!table || *table <= 0 || *table >= bytes.size()) return false;
    at = *table;
    if (bytes.mid(at, 4) != "xref") return false;
    at += 4;
    const std::optional<qsizetype> first = NumberAt(bytes, at);
    const std::optional<qsizetype> count = NumberAt(bytes, at);
    if (!first || !count || *count <= 0) return false;
    while (at < bytes.size() && (bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    // Each entry is 20 bytes: ten digits of offset, five of generation, 'n' or 'f'.
    for (qsizetype i = 0; i < *count; ++i, at += 20) {
        if (at + 20 > bytes.size()) return false;
        if (bytes[at + 17] != 'n') continue;
        const qsizetype object = bytes.mid(at, 10).toLongLong();
        const QByteArray heading = QByteArray::number(*first + i) + " 0 obj";
        if (object <= 0 || bytes.mid(object, heading.size()) != heading) return false;
    }
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    return bytes.mid(at, 7) == "trailer";
}

std::string WritePdfFile(const std::string& path,
                         const std::function<std::string(const QString& newFile)>& render) {
    const auto failed = [&path](int error) {
        return platform::FileCreateErrorMessage(path, platform::FileErrorReason(error));
    };
    if (path.empty()) return failed(ENOENT);
    FileReplacement replacement(path);
    if (const int error = replacement.Begin()) return failed(error);

    // Qt opens its output by name. The new file's descriptor names it for
    // good, whatever anyone does to its folder meanwhile, and Qt never has to
    // hold the path's bytes as text.
    const QString newFile = QString::fromStdString(replacement.DescriptorPath());
    if (!QFileInfo::exists(newFile)) return failed(ENOENT);
    if (const std::string failure = render(newFile); !failure.empty()) {
        return platform::FileCreateErrorMessage(path, failure);
    }

    errno = 0;
    const std::optional<QByteArray> written = ReadAll(replacement.Descriptor());
    if (!written) return failed(errno);
    if (!IsCompletePdf(*written)) return failed(ENOSPC);
    if (const int error = replacement.Commit()) return failed(error);
    return {};
}

}  // namespace soten::printing
