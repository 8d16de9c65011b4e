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
// writes the PDF to the name it is given (the descriptor of a new file in the
// same folder) and returns an empty string or why it could not. The new file
// must then be a complete PDF; it is flushed to the disk and renamed over
// the old file, as platform::FileReplacement does it. Returns an empty string
// on success, else the message that names the file and the reason in
// Japanese.
std::string WritePdfFile(const std::string& path,
                         const std::function<std::string(const QString& newFile)>& render);

}  // namespace soten::printing
