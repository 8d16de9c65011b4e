#include "ui/reading/NameColumnPicture.h"

#include <QPainter>
#include <QString>

#include "analysis/reading/ShownText.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"
#include "platform/drawing/CellFont.h"
#include "platform/drawing/CellText.h"
#include "platform/drawing/FontSubstitutes.h"
#include "platform/drawing/PixelLines.h"
#include "ui/reading/NameColumnLayout.h"
#include "ui/reading/PaneColors.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

namespace {

using platform::CellFont;
using platform::CellMetrics;
using platform::CellTextOut;
using platform::GothicFace;
using platform::PenPosition;
using platform::TextBackground;

constexpr int X = NameColumnLayout::X;

int DigitCount(int number) {
    return QString::number(number).size();
}

// One font of the pane with its cell widths.
struct PaneFont {
    explicit PaneFont(QFont f) : font(std::move(f)), cells(font) {}
    QFont font;
    CellMetrics cells;
};

class NameColumnPainter {
public:
    NameColumnPainter(QPainter& painter, const NameRecord& record)
        : painter_(painter),
          record_(record),
          layout_(NameColumnLayout::For(record.Lengths[Surname], record.Lengths[GivenName])),
          nameFont_(CellFont(GothicFace, 19, true)),
          markerFont_(CellFont(GothicFace, 17)),
          smallFont_(CellFont(GothicFace, 15)) {}

    void Paint() {
        PaintCharacters();
        PaintRightNumbers();
        PaintOuter();
        PaintTotal();
    }

private:
    void Text(const PaneFont& font, const QColor& color, int x, int y, const QString& text) {
        painter_.setFont(font.font);
        painter_.setPen(color);
        CellTextOut(painter_, font.cells, x, y, text, TextBackground::Transparent);
    }

    int W(const QString& text) const { return smallFont_.cells.Width(text); }

    void Bracket(QPoint a, QPoint b, QPoint c, QPoint d) {
        pen_.MoveTo(a);
        pen_.LineTo(painter_, b);
        pen_.LineTo(painter_, c);
        pen_.LineTo(painter_, d);
    }

    void PaintCharacter(NamePart part, int k, int row) {
        const std::string character =
            ColumnCharacter(Unit(record_.Names[part], static_cast<std::size_t>(k)));
        const int y = layout_.RowY(row);
        Text(nameFont_, colors::Black, X - 2, y - 2, FromCp932(character));
        Text(smallFont_, colors::Black, X + 20, y,
             QString::fromStdString(
                 PaddedNumber(record_.Strokes[part][static_cast<std::size_t>(k)], 2)));
    }

    void PaintCharacters() {
        const int s = layout_.surnameLength;
        const int g = layout_.givenLength;
        const int f1 = layout_.upperMarker;
        if (f1 == 1) Text(markerFont_, colors::Black, X, layout_.top - 1, QStringLiteral("①"));
        for (int j = 1; j <= s; ++j) PaintCharacter(Surname, j, f1 + j - 1);
        for (int j = 1; j <= g; ++j) PaintCharacter(GivenName, j, f1 + s + j - 1);
        if (layout_.lowerMarker == 1) {
            Text(markerFont_, colors::Black, X, layout_.LastRowY() - 1, QStringLiteral("①"));
        }
    }

    // A number right of the column with its two-line label; the label moves
    // right by one half-width cell per digit after the first, so one blank
    // cell always separates the number from the label.
    void PaintRightNumber(int number, const QString& character, int yc) {
        const int w = W(QString(DigitCount(number) - 1, u' '));
        Text(smallFont_, colors::Maroon, X + 54 + w, yc - 7, QStringLiteral("　") + character);
        Text(smallFont_, colors::Maroon, X + 54 + w, yc + 8, QStringLiteral("　運"));
        Text(smallFont_, colors::Black, X + 54, yc, QString::number(number));
    }

    void PaintRightNumbers() {
        const int y0 = layout_.top;
        const int ys = layout_.LastSurnameY();
        const int yg = layout_.FirstGivenY();
        const int yl = layout_.LastRowY();
        const auto& f = record_.Fortunes;

        PaintRightNumber(f[Heaven], QStringLiteral("天"), (y0 + ys) / 2);
        painter_.setPen(QPen(colors::Green, 1));
        Bracket({X + 40, y0 + 7}, {X + 48, y0 + 7}, {X + 48, ys + 5}, {X + 39, ys + 5});

        PaintRightNumber(f[Person], QStringLiteral("人"), (ys + yg) / 2);
        painter_.setPen(QPen(colors::Green, 1));
        Bracket({X + 40, ys + 9}, {X + 48, ys + 9}, {X + 48, yg + 5}, {X + 39, yg + 5});

        PaintRightNumber(f[Earth], QStringLiteral("地"), (yg + y0 + layout_.height) / 2);
        painter_.setPen(QPen(colors::Green, 1));
        Bracket({X + 40, yg + 9}, {X + 48, yg + 9}, {X + 48, yl + 7}, {X + 39, yl + 7});
    }

    void PaintOuter() {
        const int s = layout_.surnameLength;
        const int g = layout_.givenLength;
        const int y0 = layout_.top;
        const int yl = layout_.LastRowY();
        const int p = layout_.pitch;
        const bool longSurname = s > 2;
        const bool longGiven = g > 2;

        painter_.setPen(QPen(colors::Green, 1));
        if (longSurname) {
            const int ya = layout_.RowY(s - 2);
            Bracket({X - 7, y0 + 7}, {X - 11, y0 + 7}, {X - 11, ya + 7}, {X - 6, ya + 7});
        }
        if (longGiven) {
            const int yb = yl - (g - 2) * p;
            Bracket({X - 7, yb + 7}, {X - 11, yb + 7}, {X - 11, yl + 7}, {X - 6, yl + 7});
        }
        const bool compound = longSurname || longGiven;
        if (!compound) {
            Bracket({X - 7, y0 + 7}, {X - 14, y0 + 7}, {X - 14, yl + 7}, {X - 6, yl + 7});
        } else {
            const int a = longSurname ? 5 : 9;
            const int yt = longSurname ? y0 + 7 + ((s - 2) * p) / 2 : y0 + 7;
            const int b = longGiven ? 5 : 9;
            const int yb = longGiven ? yl + 7 - ((g - 2) * p) / 2 : yl + 7;
            Bracket({X - 16 + a, yt}, {X - 16, yt}, {X - 16, yb}, {X - 15 + b, yb});
        }

        const int xb = compound ? X - 44 : X - 42;
        const int top = y0 + (longSurname ? ((s - 2) * p) / 2 : 0);
        const int bottom = yl - (longGiven ? ((g - 2) * p) / 2 : 0);
        const int yc = (top + bottom) / 2;
        // The number always ends three half-width cells right of xb.
        const int outer = record_.Fortunes[Outer];
        const int w = W(QString(std::max(0, 3 - DigitCount(outer)), u' '));
        Text(smallFont_, colors::Maroon, xb - 21 + w, yc - 7, QStringLiteral("外"));
        Text(smallFont_, colors::Maroon, xb - 21 + w, yc + 8, QStringLiteral("運"));
        Text(smallFont_, colors::Black, xb + w, yc, QString::number(outer));
    }

    void PaintTotal() {
        // Fixed positions, moved down when the column is tall.
        const int e = layout_.IsTall() ? 10 : 0;
        const int yr = layout_.IsTall() ? 265 : 250;
        painter_.setPen(QPen(colors::Green, 1));
        pen_.MoveTo({52, yr});
        pen_.LineTo(painter_, {133, yr});
        Text(smallFont_, colors::Maroon, X + 12, 259 + e, QStringLiteral("  　総"));
        Text(smallFont_, colors::Maroon, X + 12, 274 + e, QStringLiteral("  　運"));
        Text(smallFont_, colors::Black, X + 12, 266 + e,
             QString::fromStdString(PaddedNumber(record_.Fortunes[Total], 3)));
    }

    QPainter& painter_;
    const NameRecord& record_;
    const NameColumnLayout layout_;
    const PaneFont nameFont_;
    const PaneFont markerFont_;
    const PaneFont smallFont_;
    PenPosition pen_;
};

}  // namespace

void PaintNameColumn(QPainter& painter, const NameRecord& record) {
    NameColumnPainter(painter, record).Paint();
}

}  // namespace soten::ui
