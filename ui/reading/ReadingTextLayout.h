#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/drawing/CellText.h"

namespace soten::ui {

// Where each character of the reading pane stands, taken from the layout the
// reading picture is drawn with (its font's cells, its line positions). The
// text is the pane's content: the screen lines joined by "\n"; offsets are
// positions in that text, a line's end being the offset of its "\n".
class ReadingTextLayout {
public:
    explicit ReadingTextLayout(const QString& text = {});

    // The character boundary nearest to a point of the pane: on the line
    // whose cell lies nearest, before or after the character under the point
    // by which half of it the point is in.
    int OffsetAt(QPoint point) const;
    // The cell of the character at `offset` (the empty cell after a line's
    // last character for its end); null outside the text.
    QRect CharacterRect(int offset) const;
    // The cells covered by the characters from `start` to `end`, one
    // rectangle per line.
    std::vector<QRect> RangeRects(int start, int end) const;

private:
    struct Line {
        int start;  // offset of the first character
        int top;
        QString text;
    };
    int LineOf(int offset) const;
    int XOf(const Line& line, int column) const;

    platform::CellMetrics cells_;
    std::vector<Line> lines_;
};

}  // namespace soten::ui
