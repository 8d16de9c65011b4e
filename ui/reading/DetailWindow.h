#pragma once

#include <QWidget>

#include "analysis/reading/ProgramState.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"

class QPushButton;
class QTextBrowser;

namespace soten::ui {

// The window "詳しい鑑定": the supplementary 陰陽配列 and 三才配置 of the
// reading on show, with plain explanations and the five numbers for
// reference. The text is real text (a screen reader reads it and it stays
// crisp at any scale). It follows the reading on show; Esc and Ctrl+W close
// it.
class DetailWindow : public QWidget {
    Q_OBJECT

public:
    DetailWindow(QWidget* owner, const ShownReading& shown, const Tables& tables,
                 PrintDialog& printDialog);

    // Shows the reading on show now (called after every new reading).
    void Refresh();

    // The window's content as HTML, for the reading given.
    static QString DetailHtml(const ShownReading& shown, const Tables& tables);

    QTextBrowser* detailBrowser;
    QPushButton* printButton;
    QPushButton* previewButton;
    QPushButton* closeButton;

private:
    void Print();
    void Preview();

    const ShownReading& shown_;
    const Tables& tables_;
    PrintDialog& printDialog_;
};

}  // namespace soten::ui
