#include "Art.h"

#include <QString>

namespace soten::ui {

namespace {

QIcon Glyph(const QString& name) {
    QIcon icon;
    icon.addFile(QStringLiteral(":/art/%1.png").arg(name), QSize(16, 16), QIcon::Normal);
    icon.addFile(QStringLiteral(":/art/%1-disabled.png").arg(name), QSize(16, 16), QIcon::Disabled);
    return icon;
}

// Window icons; the desktop takes larger ones from the installed icon theme.
constexpr int IconSizes[] = {16, 24, 32, 48, 64};

}  // namespace

QPixmap SplashPicture() {
    return QPixmap(QStringLiteral(":/art/splash.png"));
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : IconSizes) {
        icon.addFile(QStringLiteral(":/art/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QPixmap ApplicationIconPixmap(int size) {
    return QPixmap(QStringLiteral(":/art/icon-%1.png").arg(size));
}

QIcon NewGlyph() {
    return Glyph(QStringLiteral("new"));
}
QIcon PrintGlyph() {
    return Glyph(QStringLiteral("print"));
}

}  // namespace soten::ui
