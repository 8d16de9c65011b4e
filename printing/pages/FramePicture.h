#pragma once

#include <memory>

class QSvgRenderer;

namespace soten::printing {

// FramePicture, the border of the printed reading: our own vector artwork,
// embedded in the program. A fresh renderer per page; it needs a
// QGuiApplication.
std::shared_ptr<QSvgRenderer> LoadFramePicture();

}  // namespace soten::printing
