#pragma once

#include <QString>

class QWidget;

namespace soten::ui {

// The input error box of the new-reading flow: caption "エラー", stop icon,
// one OK button, centred on the screen. `detail`, when given, is a second
// line under the text. Returns when the user closes it.
void ShowErrorBox(const QString& text, const QString& detail = {});

// The box of the application's default error handler: caption "蒼天姓名判断",
// error icon, one OK button, over the active window.
void ShowApplicationErrorBox(const QString& message);

// A note about a file just written (not an error): caption "蒼天姓名判断",
// information icon, one OK button, over the active window.
void ShowFileNoteBox(const QString& note);

}  // namespace soten::ui
