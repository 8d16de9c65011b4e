// Build-time tool: renders the application icon's SVG into the PNG files of
// the sizes the window and the icon theme take.
//
//   soten_render_art <in.svg> <out.png> <width> <height>
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

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: soten_render_art in.svg out.png width height\n");
        return 2;
    }
    const QImage image = Render(args[1], args[3].toInt(), args[4].toInt());
    if (image.isNull()) {
        std::fprintf(stderr, "cannot render %s\n", qPrintable(args[1]));
        return 1;
    }
    return image.save(args[2]) ? 0 : 1;
}
