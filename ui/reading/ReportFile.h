#pragma once

#include <QString>
#include <stdexcept>
#include <string>

namespace soten::ui {

// Why a file could not be written: platform::FileErrorReason, as text.
QString FileErrorReason(int error);

// A report file that could not be written. The message is
// "ファイル "<full path>" を作成できません。<reason>", in UTF-8.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const QString& path, const QString& reason);
};

// Writes the report bytes to the file exactly as given (code page 932, CR LF,
// no byte-order mark), replacing the file if it exists. The new file takes
// the old one's place only once it is complete, so a failed save (a full
// disk, a folder that cannot be written) leaves the old file as it was. A
// path that exists and is not a regular file (a folder, a FIFO, a device) is
// refused; a symbolic link keeps pointing where it did, unless another user
// (not root) made it (platform::FileReplacement has the rules).
// Throws FileWriteError.
void WriteReportFile(const QString& path, const std::string& bytes);

}  // namespace soten::ui
