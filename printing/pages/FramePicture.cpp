#include "printing/pages/FramePicture.h"

#include <QString>
#include <QSvgRenderer>

namespace soten::printing {

std::shared_ptr<QSvgRenderer> LoadFramePicture() {
    auto renderer = std::make_shared<QSvgRenderer>(QStringLiteral(":/printing/FramePicture.svg"));
    if (!renderer->isValid()) return nullptr;
    return renderer;
}

}  // namespace soten::printing
