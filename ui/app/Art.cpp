#include "ui/app/Art.h"

#include <QIconEngine>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

namespace soten::ui {

namespace {

QImage RenderSvg(const QString& path, QSize deviceSize) {
    QImage image(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    return image;
}

constexpr int GlyphSize = 16;

// A button glyph drawn from its SVG at the size asked for, greyed when
// disabled.
class GlyphEngine final : public QIconEngine {
public:
    explicit GlyphEngine(QString path) : path_(std::move(path)) {}

    QIconEngine* clone() const override { return new GlyphEngine(path_); }
    QString key() const override { return QStringLiteral("soten-glyph"); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override {
        QImage image = RenderSvg(path_, size);
        if (mode == QIcon::Disabled) {
            image = Greyed(image.convertToFormat(QImage::Format_ARGB32),
                           std::max(1, static_cast<int>(std::lround(
                                           static_cast<double>(size.width()) / GlyphSize))));
        }
        return QPixmap::fromImage(std::move(image));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), drawn);
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return size;
    }

private:
    QString path_;
};

QIcon Glyph(const QString& name) {
    return QIcon(new GlyphEngine(QStringLiteral(":/art/%1.svg").arg(name)));
}

// Window icons; the desktop takes larger ones from the installed icon theme.
constexpr int IconSizes[] = {16, 24, 32, 48, 64};

}  // namespace

QImage Greyed(const QImage& glyph, int offset) {
    QImage greyed(glyph.size(), QImage::Format_ARGB32);
    greyed.fill(Qt::transparent);
    auto isInk = [&](int x, int y) {
        const QRgb pixel = glyph.pixel(x, y);
        return qAlpha(pixel) > 127 && qGray(pixel) < 176;
    };
    for (int y = 0; y + offset < glyph.height(); ++y) {
        for (int x = 0; x + offset < glyph.width(); ++x) {
            if (isInk(x, y)) greyed.setPixel(x + offset, y + offset, qRgb(255, 255, 255));
        }
    }
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (isInk(x, y)) greyed.setPixel(x, y, qRgb(128, 128, 128));
        }
    }
    return greyed;
}

QPixmap SplashPicture(qreal ratio) {
    const QSize logical(512, 341);
    QImage image = RenderSvg(QStringLiteral(":/art/splash.svg"),
                             QSize(static_cast<int>(std::ceil(logical.width() * ratio - 1e-6)),
                                   static_cast<int>(std::ceil(logical.height() * ratio - 1e-6))));
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(image));
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : IconSizes) {
        icon.addFile(QStringLiteral(":/art/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon NewGlyph() {
    return Glyph(QStringLiteral("new"));
}
QIcon PrintGlyph() {
    return Glyph(QStringLiteral("print"));
}

}  // namespace soten::ui
