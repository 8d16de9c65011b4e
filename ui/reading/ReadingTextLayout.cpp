#include "ui/reading/ReadingTextLayout.h"

#include <algorithm>
#include <cstdlib>

#include "ui/reading/ReadingPicture.h"

namespace soten::ui {

ReadingTextLayout::ReadingTextLayout(const QString& text) : cells_(ReadingFont()) {
    if (text.isEmpty()) return;
    const QStringList lines = text.split(u'\n');
    const int lastLine = static_cast<int>(lines.size()) - 1;
    int start = 0;
    for (int k = 0; k <= lastLine; ++k) {
        lines_.push_back({start, ReadingLineTop(k, lastLine), lines[k]});
        start += static_cast<int>(lines[k].size()) + 1;
    }
}

int ReadingTextLayout::LineOf(int offset) const {
    int k = 0;
    while (k + 1 < static_cast<int>(lines_.size()) && lines_[k + 1].start <= offset) ++k;
    return k;
}

int ReadingTextLayout::XOf(const Line& line, int column) const {
    return ReadingLineLeft + cells_.Width(QStringView(line.text).left(column));
}

int ReadingTextLayout::OffsetAt(QPoint point) const {
    if (lines_.empty()) return 0;
    const int half = cells_.CellHeight() / 2;
    const auto nearest = std::min_element(lines_.begin(), lines_.end(), [&](auto& a, auto& b) {
        return std::abs(point.y() - (a.top + half)) < std::abs(point.y() - (b.top + half));
    });
    const Line& line = *nearest;
    int x = ReadingLineLeft;
    for (int column = 0; column < line.text.size(); ++column) {
        const int width = cells_.CellsOf(line.text[column].unicode()) * cells_.HalfCell();
        if (point.x() < x + width / 2) return line.start + column;
        x += width;
    }
    return line.start + static_cast<int>(line.text.size());
}

QRect ReadingTextLayout::CharacterRect(int offset) const {
    if (lines_.empty() || offset < 0) return {};
    const Line& line = lines_[static_cast<std::size_t>(LineOf(offset))];
    const int column = offset - line.start;
    if (column > line.text.size()) return {};
    const int x = XOf(line, column);
    const int width = column < line.text.size()
                          ? cells_.CellsOf(line.text[column].unicode()) * cells_.HalfCell()
                          : 0;
    return QRect(x, line.top, width, cells_.CellHeight());
}

std::vector<QRect> ReadingTextLayout::RangeRects(int start, int end) const {
    std::vector<QRect> rects;
    if (start > end) std::swap(start, end);
    for (const Line& line : lines_) {
        const int lineEnd = line.start + static_cast<int>(line.text.size());
        const int from = std::max(start, line.start);
        const int to = std::min(end, lineEnd);
        if (from >= to) continue;
        const int left = XOf(line, from - line.start);
        const int right = XOf(line, to - line.start);
        rects.emplace_back(left, line.top, right - left, cells_.CellHeight());
    }
    return rects;
}

}  // namespace soten::ui
