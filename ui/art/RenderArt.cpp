// Build-time tool: renders the program's SVG artwork into the PNG files that
// are compiled into it, so the program itself needs no SVG renderer.
//
//   soten_render_art <in.svg> <out.png> <width> <height> [--disabled <out.png>]
//
// --disabled also writes the greyed form of a button glyph: its dark lines in
// grey with a white highlight one pixel down and right, light areas dropped.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

QImage Render(const QString& svg, int width, int height) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage Greyed(const QImage& glyph) {
    QImage greyed(glyph.size(), QImage::Format_ARGB32);
    greyed.fill(Qt::transparent);
    auto isInk = [&](int x, int y) {
        const QRgb pixel = glyph.pixel(x, y);
        return qAlpha(pixel) > 127 && qGray(pixel) < 176;
    };
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (!isInk(x, y)) continue;
            if (x + 1 < glyph.width() && y + 1 < glyph.height()) {
                greyed.setPixel(x + 1, y + 1, qRgb(255, 255, 255));
            }
        }
    }
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (isInk(x, y)) greyed.setPixel(x, y, qRgb(128, 128, 128));
        }
    }
    return greyed;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5 && !(args.size() == 7 && args[5] == QLatin1String("--disabled"))) {
        std::fprintf(stderr,
                     "usage: soten_render_art in.svg out.png width height "
                     "[--disabled out.png]\n");
        return 2;
    }
    const QImage image = Render(args[1], args[3].toInt(), args[4].toInt());
    if (image.isNull()) {
        std::fprintf(stderr, "cannot render %s\n", qPrintable(args[1]));
        return 1;
    }
    if (!image.save(args[2])) return 1;
    if (args.size() == 7 && !Greyed(image).save(args[6])) return 1;
    return 0;
}
