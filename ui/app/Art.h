#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace soten::ui {

// The program's own pictures, drawn from the SVG sources in ui/app/art. The
// splash and the button glyphs are rendered when needed, at the device pixel
// ratio of the screen they go to, so they are sharp on a scaled desktop; the
// application icon is rendered when the program is built.

// The splash picture, 512 × 341 logical pixels, with the product caption,
// at `ratio` device pixels per logical pixel.
QPixmap SplashPicture(qreal ratio = 1);

// The application icon, at every size it was rendered at.
QIcon ApplicationIcon();

// The 16 × 16 button glyphs with their greyed form for a disabled button: a
// blank page (New) and a printer (Print). Drawn at whatever size and ratio
// the button asks for.
QIcon NewGlyph();
QIcon PrintGlyph();

// The greyed form of a glyph: its dark lines in grey with a white highlight
// `offset` pixels down and right, light areas dropped.
QImage Greyed(const QImage& glyph, int offset);

}  // namespace soten::ui
