#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>

namespace soten::printing {

// Whether the bytes are a whole PDF file as Qt writes it: the header, the
// end-of-file mark, and a cross-reference table at the place the trailer
// names whose every object stands where the table says. A file cut short or
// missing a piece anywhere fails.
bool IsCompletePdf(const QByteArray& bytes);

// Writes a PDF in place of the file `path` (the system's bytes, used as they
// are) so that no failure can destroy the file that was there: `render`
// writes the PDF to the path it is given, a new file in the same folder,
// and returns an empty string or why it could not. The new file must then be
// a complete PDF; it is flushed to the disk and renamed over the old file.
// A symbolic link keeps pointing where it did; a path that exists and is not
// a regular file is refused. Returns an empty string on success, else the
// reason in English.
std::string WritePdfFile(const std::string& path,
                         const std::function<std::string(const QString& newFile)>& render);

}  // namespace soten::printing
