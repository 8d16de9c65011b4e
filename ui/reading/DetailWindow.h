#pragma once

#include <QWidget>
#include <optional>

#include "analysis/reading/Reading.h"
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
    DetailWindow(QWidget* owner, const Tables& tables, PrintDialog& printDialog);

    // Shows the reading (the main window's, after every new reading).
    void ShowReading(const Reading& reading);

    // The window's content as HTML, for the reading given.
    static QString DetailHtml(const Reading& reading, const Tables& tables);

    QTextBrowser* detailBrowser;
    QPushButton* printButton;
    QPushButton* previewButton;
    QPushButton* closeButton;

private:
    void Refresh();
    void Print();
    void Preview();

    std::optional<Reading> reading_;
    const Tables& tables_;
    PrintDialog& printDialog_;
};

}  // namespace soten::ui
