#include "ui/reading/DetailWindow.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/JudgementExplanation.h"
#include "analysis/reading/ShownText.h"
#include "analysis/text/ShiftJis.h"
#include "printing/pages/DetailPage.h"
#include "printing/pages/PrintPreview.h"
#include "ui/app/DefaultErrorHandler.h"
#include "ui/reading/PaneColors.h"
#include "ui/widgets/Cp932Conversion.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

namespace {

QString Html(const std::string& cp932) {
    return FromCp932(cp932).toHtmlEscaped();
}

// Nothing is bold: the Japanese faces have no bold, and the one Qt makes up
// smears 凶 into a blot at the window's size. Colour marks the verdicts and
// the headings instead, and the marks and verdicts are a size or two up,
// where 凶 keeps its open top.
const QString PlainWeights =
    QStringLiteral("<style>h2, h3, th { font-weight: normal; } h2, h3 { color: %1; }</style>");

QString Coloured(const QString& text, const QColor& colour, const char* size = "large") {
    return QStringLiteral("<span style=\"color:%1; font-size:%2\">%3</span>")
        .arg(colour.name(), QLatin1String(size), text);
}

QString Cell(const QString& text, bool header = false) {
    return header ? QStringLiteral("<th align=\"left\">%1</th>").arg(text)
                  : QStringLiteral("<td>%1</td>").arg(text);
}

}  // namespace

DetailWindow::DetailWindow(QWidget* owner, const Tables& tables, PrintDialog& printDialog)
    : QWidget(owner, Qt::Window), tables_(tables), printDialog_(printDialog) {
    setObjectName(QStringLiteral("DetailWindow"));
    setWindowTitle(QStringLiteral("詳しい鑑定"));
    // Tall enough for the whole detail of a short name, never taller than the
    // screen; in its middle, over the main window and the reading it explains.
    QSize size(560, 640);
    const QRect screen = AvailableScreenArea(owner);
    if (!screen.isEmpty()) size = size.boundedTo(screen.size() - QSize(40, 60));
    resize(size);
    CentreWindow(*this, screen, size);
    detailBrowser = new QTextBrowser(this);
    detailBrowser->setObjectName(QStringLiteral("detailBrowser"));
    detailBrowser->setAccessibleName(QStringLiteral("詳しい鑑定"));
    printButton = new QPushButton(QStringLiteral("印刷(&P)..."), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    previewButton = new QPushButton(QStringLiteral("印刷プレビュー(&V)"), this);
    previewButton->setObjectName(QStringLiteral("previewButton"));
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(previewButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(detailBrowser, 1);
    layout->addLayout(buttons);

    connect(printButton, &QPushButton::clicked, this, &DetailWindow::Print);
    connect(previewButton, &QPushButton::clicked, this, &DetailWindow::Preview);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this), &QShortcut::activated, this,
            &DetailWindow::Print);
    Refresh();
}

void DetailWindow::ShowReading(const Reading& reading) {
    reading_ = reading;
    Refresh();
}

void DetailWindow::Refresh() {
    detailBrowser->setHtml(reading_ ? DetailHtml(*reading_, tables_)
                                    : QStringLiteral("<p>まだ鑑定していません。</p>"));
    const bool valid = reading_.has_value();
    printButton->setEnabled(valid);
    previewButton->setEnabled(valid);
    setWindowTitle(valid ? QStringLiteral("詳しい鑑定 — ") +
                               FromCp932(NameWithStyle(reading_->Counted(), reading_->Style(),
                                                       reading_->GivenYomi()))
                         : QStringLiteral("詳しい鑑定"));
}

QString DetailWindow::DetailHtml(const Reading& reading, const Tables& tables) {
    const NameRecord& record = reading.Counted();
    QString html = PlainWeights.arg(colors::Maroon.name());
    html += QStringLiteral("<h2>%1</h2>")
                .arg(Html(NameWithStyle(record, reading.Style(), reading.GivenYomi())));
    html += QStringLiteral(
                "<p>三才配置と陰陽配列は，五運と占文の鑑定を補う参考の見方です。"
                "流派によって見方が異なり，ここでは一般的な一つの流派の決まりによっています。"
                "画数は%1で数えています。</p>")
                .arg(Html(StrokeStyleName(reading.Style())));

    // 陰陽配列
    const InyoReading inyo = ReadInyo(record);
    html += QStringLiteral("<h3>陰陽配列</h3><p>%1</p>").arg(Html(InyoRuleSentence()));
    html += QStringLiteral("<table cellpadding=\"3\"><tr>%1%2%3</tr>")
                .arg(Cell(QStringLiteral("字"), true), Cell(QStringLiteral("画数"), true),
                     Cell(QStringLiteral("陰陽"), true));
    for (const NamePart part : {Surname, GivenName}) {
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            const auto index = static_cast<std::size_t>(k);
            const int strokes = record.Strokes[part][index];
            const QString mark = strokes % 2 != 0 ? QStringLiteral("○ 陽") : QStringLiteral("● 陰");
            html += QStringLiteral("<tr>%1%2%3</tr>")
                        .arg(Cell(Html(std::string(Unit(record.Names[part], index)))),
                             Cell(QStringLiteral("%1画").arg(strokes)), Cell(mark));
        }
    }
    html += QStringLiteral("</table>");
    QString shape;
    if (inyo.shape != InyoShape::Mixed)
        shape = QStringLiteral("（%1）").arg(Html(ShapeName(inyo.shape)));
    html += QStringLiteral("<p>並び：%1　判定：%2%3</p><p>%4</p>")
                .arg(Html(InyoPattern(inyo)),
                     Coloured(Html(VerdictName(inyo.verdict)), colors::VerdictColor(inyo.verdict),
                              "x-large"),
                     shape, Html(InyoVerdictSentence(inyo)));

    // 三才配置
    const SansaiReading sansai = ReadSansai(record);
    html += QStringLiteral("<h3>三才配置</h3><p>%1</p>").arg(Html(SansaiRuleSentence()));
    html += QStringLiteral("<table cellpadding=\"3\">");
    for (const FortuneKind kind : {Heaven, Person, Earth}) {
        const auto index = static_cast<std::size_t>(kind);
        html += QStringLiteral("<tr>%1%2%3</tr>")
                    .arg(Cell(Html(FortuneLabels()[kind])),
                         Cell(QString::number(record.Fortunes[index])),
                         Cell(Html(ElementName(sansai.elements[index]))));
    }
    html += QStringLiteral("</table><ul>");
    for (int pair = 0; pair < 2; ++pair) {
        const auto p = static_cast<std::size_t>(pair);
        html +=
            QStringLiteral("<li>%1：%2</li>")
                .arg(Html(RelationName(sansai.relations[p])), Html(RelationSentence(sansai, pair)));
    }
    html += QStringLiteral("</ul><p>判定：%1</p><p>%2</p>")
                .arg(Coloured(Html(VerdictName(sansai.verdict)),
                              colors::VerdictColor(sansai.verdict), "x-large"),
                     Html(SansaiVerdictSentence(sansai.verdict)));

    // The five numbers, for reference.
    html += QStringLiteral("<h3>五運（参考）</h3><table cellpadding=\"3\">");
    for (int position = 0; position < FortuneCount; ++position) {
        const FortuneKind kind = ListedFortune(position);
        const int number = record.Fortunes[static_cast<std::size_t>(kind)];
        const Keyword keyword = LookupKeyword(tables, number);
        html +=
            QStringLiteral("<tr>%1%2%3</tr>")
                .arg(Cell(Html(FortuneLabels()[kind])), Cell(QString::number(number)),
                     Cell(Coloured(Html(GradeText(keyword)), colors::GradeColor(keyword.grade))));
    }
    html += QStringLiteral("</table>");
    // Why the numbers come out as they do, and the avoid list's note.
    html += QStringLiteral("<h3>判定の理由</h3>");
    if (const std::string avoided =
            AvoidedKanjiLine(BuiltInAvoidedKanji().In(record.Names[GivenName]));
        !avoided.empty()) {
        html += QStringLiteral("<p>%1</p>").arg(Coloured(Html(avoided), colors::Blue));
    }
    for (const std::string& line : JudgementExplanation(record, tables)) {
        html += QStringLiteral("<p>%1</p>").arg(Html(line));
    }
    return html;
}

void DetailWindow::Print() {
    RunCommand([this] {
        if (reading_) printing::PrintDetail(printDialog_, *reading_, tables_);
    });
}

void DetailWindow::Preview() {
    RunCommand([this] {
        if (reading_ && printing::PreviewDetail(*reading_, tables_, this)) Print();
    });
}

}  // namespace soten::ui
