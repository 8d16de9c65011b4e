#pragma once

#include <QIcon>
#include <QPixmap>

namespace soten::ui {

// The program's own pictures, drawn from the SVG sources in ui/art and
// rendered into the program when it is built.

// The splash picture, 512 × 341, 256 colours, with the product caption.
QPixmap SplashPicture();

// The application icon, at every size it was rendered at.
QIcon ApplicationIcon();
QPixmap ApplicationIconPixmap(int size);

// The 16 × 16 button glyphs with their greyed form for a disabled button: a
// blank page (New) and a printer (Print).
QIcon NewGlyph();
QIcon PrintGlyph();

}  // namespace soten::ui
