#pragma once

#include <QColor>

#include "analysis/reading/DetailedReading.h"

// The colours of the main window's panes and of what is drawn in them.
namespace soten::ui::colors {

inline const QColor Black(0x00, 0x00, 0x00);
inline const QColor Maroon(0x80, 0x00, 0x00);     // labels
inline const QColor Green(0x00, 0x80, 0x00);      // brackets and the 総運 rule
inline const QColor Red(0xFF, 0x00, 0x00);        // grades 1 and 2
inline const QColor DarkGreen(0x00, 0x60, 0x00);  // grade 3
inline const QColor Blue(0x00, 0x00, 0xFF);       // grade 4, frame outlines
inline const QColor White(0xFF, 0xFF, 0xFF);      // the panes' background

inline const QColor WindowBackground(0x8C, 0xAA, 0xE6);
inline const QColor ReadingFrame(0xE0, 0xF0, 0xFF);  // behind readingPane
inline const QColor NameFrame(0xD8, 0xFA, 0xD8);     // behind namePane
inline const QColor FortuneFrame(0xF8, 0xF8, 0xD8);  // behind fortunePane

// The colour of a grade's mark and keyword in the fortune list.
QColor GradeColor(int grade);

// The colour of a verdict of 三才配置 or 陰陽配列: red when good, dark green
// for 注意, blue when bad.
QColor VerdictColor(SansaiVerdict verdict);
QColor VerdictColor(InyoVerdict verdict);

}  // namespace soten::ui::colors
