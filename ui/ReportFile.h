#pragma once

#include <QString>
#include <stdexcept>
#include <string>

namespace soten::ui {

// A report file that could not be written. The message is the system's own,
// "ファイル "<full path>". <reason> を作成できません", in UTF-8.
class EFCreateError : public std::runtime_error {
public:
    EFCreateError(const QString& path, const QString& reason);
};

// Writes the report bytes to the file exactly as given (code page 932, CR LF,
// no byte-order mark), replacing the file if it exists. The new file takes
// the old one's place only once it is complete, so a failed save (a full
// disk, a folder that cannot be written) leaves the old file as it was.
// Throws EFCreateError.
void WriteReportFile(const QString& path, const std::string& bytes);

}  // namespace soten::ui
